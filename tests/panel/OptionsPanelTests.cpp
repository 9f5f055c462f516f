#include "PanelTestSupport.h"

namespace {
enum : int { BetweenId = 1002, DurationId = 1003, MaxId = 1021, MinId = 1022, WidthId = 1010 };
enum : int { StopsId = 1011, UncondId = 1012, TextColorId = 1006, ForwardId = 1036, BackId = 1038 };
enum : int { ModesId = 1008, HideId = 1013, DefaultId = 1014, BkgrId = 1012, FontId = 1005 };

using R = CReadingSettings;
using V = CFakeViewControl;
template <auto Member> std::string Of(const R& s) {
    const auto& value = s.*Member;
    if constexpr (std::is_integral_v<std::remove_cvref_t<decltype(value)>>)
        return std::to_string(value);
    else if constexpr (std::is_array_v<std::remove_cvref_t<decltype(value)>>)
        return value;
    else
        return std::string(value.lfFaceName) + ' ' + std::to_string(value.lfHeight);
}

TEST(OptionsPanel, EveryControl_EditsTheSettingItNames) {
    enum Action { Type, Click, Choose };
    const struct {
        bool OnPanel; // else on the reading page
        int Id;
        Action Do;
        QString Input; // typed over the whole edit; a dialog answers when not empty
        std::string (*Field)(const R&);
        std::string Expected;
        int V::*Told = nullptr; // what the view must hear of it
    } cases[] = {
        {0, BetweenId, Type, "250", Of<&R::freq>, "250", &V::TimingChanges},
        {0, BetweenId, Type, "12ab3", Of<&R::freq>, "123"},
        {0, DurationId, Type, "30000", Of<&R::durat>, "30000", &V::TimingChanges},
        {0, MaxId, Type, "1234", Of<&R::MaxText>, "123"},
        {0, MinId, Type, "0", Of<&R::MinText>, "1"},
        {0, WidthId, Type, "3000", Of<&R::Width>, "3000"},
        {0, StopsId, Type, ".,\\t", Of<&R::StopSimbols>, ".,\t"},
        {0, StopsId, Type, QString(70, 'x'), Of<&R::StopSimbols>, std::string(62, 'x')},
        {0, StopsId, Type, QString(61, 'x') + "é", Of<&R::StopSimbols>, std::string(61, 'x')},
        {0, BackId, Click, {}, Of<&R::UcOffset>, "1"},
        {0, ForwardId, Click, {}, Of<&R::UcOffset>, "3"},
        {0, TextColorId, Click, {}, Of<&R::TexColor>, std::to_string(0x00FFFFFF)},
        {0, TextColorId, Click, "ok", Of<&R::TexColor>, std::to_string(0x00563412)}, // 0x123456
        {1, BkgrId, Click, {}, Of<&R::BkgColor>, "0"},
        {1, BkgrId, Click, "ok", Of<&R::BkgColor>, std::to_string(0x00563412), &V::Repaints},
        {1, FontId, Click, {}, Of<&R::Font>, "Arial Black -48"},
        {1, FontId, Click, "ok", Of<&R::Font>, "DejaVu Serif -31", &V::FontRecreations},
        {1, ModesId, Choose, "1", Of<&R::DisplaySettingNum>, "1"},
    };
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(31);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Id << " '" << c.Input.toStdString() << "'");
        PanelFixture rig;
        rig.SetUp();
        QWidget* form = c.OnPanel ? static_cast<QWidget*>(rig.Panel) : rig.Panel->ReadingPage();
        if (!c.Input.isEmpty()) {
            rig.Fakes.Dialogs.ColorAnswers.push_back(QColor(0x12, 0x34, 0x56));
            rig.Fakes.Dialogs.FontAnswers.push_back(font);
        }
        const int told = c.Told ? rig.View.*c.Told : 0;
        QWidget* control = ControlById<QWidget>(*form, c.Id);
        if (c.Do == Click)
            qobject_cast<QPushButton*>(control)->click();
        else if (c.Do == Choose)
            qobject_cast<QComboBox*>(control)->setCurrentIndex(c.Input.toInt());
        else
            QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier); // typed over all of it
        for (const QChar ch : c.Do == Type ? c.Input : QString())     // one key each, non-ASCII too
            QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(ch), {});
        EXPECT_EQ(c.Field(rig.Settings), c.Expected);
        EXPECT_TRUE(!c.Told || rig.View.*c.Told > told);
    }
}

using OptionsPanelTest = PanelFixture;

TEST_F(OptionsPanelTest, PagesHideAndKeys_MovePageMadeOnceOnlyHideReachesTheView) {
    Panel->SelectPage(COptionsPanel::MovePosition);
    CMovePositionPage* const movePage = Panel->MovePage();
    Panel->SelectPage(COptionsPanel::CurrentPage);
    EXPECT_TRUE(movePage && movePage->isVisible() && !Panel->ReadingPage()->isVisible());
    Panel->SelectPage(COptionsPanel::MovePosition);
    EXPECT_EQ(Panel->MovePage(), movePage);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier); // taken before the view
        QApplication::sendEvent(&Ctl<QLineEdit>(Panel->ReadingPage(), StopsId), &press);
        EXPECT_TRUE(press.isAccepted()) << key;
    }
    Ctl<QPushButton>(Panel, HideId).click();
    EXPECT_EQ(std::pair(View.PanelRequest, View.Focusings), std::pair(0, 1)); // hidden, focused
}

TEST_F(OptionsPanelTest, Refresh_ClampsKeepsStopSymbolBytesAndAModeNumberBeyondTheList) {
    Settings.Width = 5000;
    Settings.MaxText = -3;
    Settings.durat = 0xFFFFFFFFu;
    Settings.DisplaySettingNum = 3;
    const std::string stops = ",\xA7.\xE2\x80\x94;\xC3"; // stray byte, em dash, cut-off
    std::memcpy(Settings.StopSimbols, stops.c_str(), stops.size() + 1);
    Panel->Refresh();
    EXPECT_EQ(std::tuple(Settings.Width, Settings.MaxText, Settings.durat, Settings.StopSimbols),
              std::tuple(3000, 1, 30000u, stops));
    EXPECT_EQ(Ctl<QLineEdit>(Panel->ReadingPage(), UncondId).text(),
              QString(".—;") + QChar(0xDCC3));
    EXPECT_EQ(std::tuple(Ctl<QComboBox>(Panel, ModesId).currentIndex(), Settings.DisplaySettingNum,
                         View.Repaints),
              std::tuple(-1, 3, 1));
    View.Flags = 0x02; // a panel first made in full screen offers no mode switch
    COptionsPanel fullScreen(Settings, View, Fakes.Services, nullptr);
    EXPECT_FALSE(Ctl<QComboBox>(&fullScreen, ModesId).isEnabled());
}

TEST_F(OptionsPanelTest, Default_ResetsAndShowsTheSettingsOnBothPagesKeepsThePosition) {
    Load("one two three four five six");
    Panel->SelectPage(COptionsPanel::MovePosition);
    Settings.SetPosition(8);
    Settings.DisplaySettingNum = 2;
    Settings.AddBookmark();
    Settings.freq = 1234;
    Ctl<QPushButton>(Panel, DefaultId).click();
    EXPECT_EQ(Ctl<QSpinBox>(Panel->ReadingPage(), BetweenId).value(), 400);
    EXPECT_EQ(Ctl<QComboBox>(Panel, ModesId).currentIndex(), 0);
    EXPECT_EQ(ControlById<QListWidget>(*Panel->MovePage(), 1040)->count(), 0);
    EXPECT_EQ(Offset(), 8);
    EXPECT_EQ(View.FontRecreations, 0); // the display font stays until the view re-creates it
}
} // namespace
