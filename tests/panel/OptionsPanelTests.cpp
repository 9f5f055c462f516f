// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/FontMapping.h"
#include "panel/MovePositionPage.h"
#include "panel/OptionsPanel.h"
#include "panel/ReadingOptionsPage.h"
#include "settings/ReadingSettings.h"
#include "support/gui/ControlLookup.h"
#include "support/gui/FakeServices.h"
#include "support/gui/FakeViewControl.h"
#include <QTest>
#include <QtWidgets>
#include <gtest/gtest.h>

namespace {
// The panel on a fake view; Load binds the text as the view binds it, `length` a shorter one.
struct OptionsPanelTest : ::testing::Test {
    void TestBody() override {}
    void Load(const std::string& text, int length = -1) {
        Settings.BindText(&Start, &Cursor);
        Start = Cursor = (Text = text).c_str();
        Settings.TextLength = length < 0 ? static_cast<int32_t>(Text.size()) : length;
        View.Flags |= 0x04; // text loaded
        Panel.Refresh();
    }
    int32_t Offset() const { return static_cast<int32_t>(Cursor - Start); }
    std::string Text;
    const char *Start = nullptr, *Cursor = nullptr;
    CFakeServices Fakes;
    CReadingSettings Settings;
    CFakeViewControl View;
    COptionsPanel Panel{Settings, View, Fakes.Services, nullptr};
};

enum : int { BetweenId = 1002, DurationId = 1003, MaxId = 1021, MinId = 1022, WidthId = 1010 };
enum : int { StopsId = 1011, UncondId = 1012, TextColorId = 1006, ForwardId = 1036, BackId = 1038 };
enum : int { ModesId = 1008, HideId = 1013, DefaultId = 1014, BkgrId = 1012, FontId = 1005 };
enum : int { SliderId = 1039, ListId = 1040, StepBackId = 1006, StepForwardId = 1007 };
enum : int { StepEditId = 1042, PositionId = 1041 };

using R = CReadingSettings;
using V = CFakeViewControl;
using Case = std::tuple<bool, int, QString, std::string (*)(const R&), std::string, int V::*>;
template <auto Member> std::string Of(const R& s) {
    if constexpr (requires { std::to_string(s.*Member); })
        return std::to_string(s.*Member);
    else if constexpr (requires { std::string(s.*Member); })
        return s.*Member;
    else
        return (s.*Member).lfFaceName;
}

TEST(OptionsPanel, EveryControl_EditsTheSettingItNames) {
    // Keys as a user types them: two spaces press a button (its dialog answers, then is
    // cancelled), a digit picks the display mode it starts.
    const Case cases[] = {
        {false, BetweenId, "250", Of<&R::freq>, "250", &V::TimingChanges},
        {false, DurationId, "30000", Of<&R::durat>, "30000", &V::TimingChanges},
        {false, MaxId, "1234", Of<&R::MaxText>, "123", nullptr},
        {false, MinId, "0", Of<&R::MinText>, "1", nullptr},
        {false, WidthId, "3000", Of<&R::Width>, "3000", nullptr},
        {false, StopsId, QString(70, 'x'), Of<&R::StopSimbols>, std::string(62, 'x'), nullptr},
        {false, StopsId, QString(61, 'x') + "é", Of<&R::StopSimbols>, std::string(61, 'x'),
         nullptr},
        {false, BackId, "  ", Of<&R::UcOffset>, "0", nullptr},
        {false, ForwardId, "  ", Of<&R::UcOffset>, "4", nullptr},
        {false, TextColorId, "  ", Of<&R::TexColor>, std::to_string(0x00563412), nullptr},
        {true, BkgrId, "  ", Of<&R::BkgColor>, std::to_string(0x00563412), &V::Repaints},
        {true, FontId, "  ", Of<&R::Font>, "DejaVu Serif", &V::FontRecreations},
        {true, ModesId, "8", Of<&R::DisplaySettingNum>, "1", nullptr},
    };
    for (const auto& [onPanel, id, input, field, expected, told] : cases) {
        SCOPED_TRACE(testing::Message() << id << " '" << input.toStdString() << "'");
        OptionsPanelTest rig;
        rig.Fakes.Dialogs.ColorAnswers = {QColor(0x123456u), std::nullopt};
        rig.Fakes.Dialogs.FontAnswers = {QFont(QStringLiteral("DejaVu Serif")), std::nullopt};
        const int toldBefore = told ? rig.View.*told : 0;
        QWidget& form = onPanel ? static_cast<QWidget&>(rig.Panel) : *rig.Panel.ReadingPage();
        QWidget* const control = ControlById<QWidget>(form, id);
        QTest::sendKeyEvent(QTest::Click, control, Qt::Key_A, QString(), Qt::ControlModifier);
        for (const QChar ch : input) // typed over all of it, one key each, non-ASCII too
            QTest::sendKeyEvent(QTest::Click, control, ch == ' ' ? Qt::Key_Space : Qt::Key_unknown,
                                QString(ch), {});
        EXPECT_EQ(field(rig.Settings), expected);
        EXPECT_TRUE(!told || rig.View.*told > toldBefore);
    }
}

TEST(OptionsPanel, FontDialog_OpensAtTheFaceShownAndOkUnchangedKeepsTheSettings) {
    OptionsPanelTest rig;
    rig.View.Font = FontFromLogFont(rig.Settings.Font);
    const LogFont before = rig.Settings.Font;
    rig.Fakes.Dialogs.FontOkUnchanged = true;
    QTest::keyClick(ControlById<QWidget>(rig.Panel, FontId), Qt::Key_Space);
    EXPECT_EQ(rig.Fakes.Dialogs.FontAsked.family(), QFontInfo(rig.View.Font).family());
    EXPECT_EQ(rig.Fakes.Dialogs.FontAsked.italic(), QFontInfo(rig.View.Font).italic());
    EXPECT_EQ(std::memcmp(&before, &rig.Settings.Font, sizeof before), 0);
    EXPECT_EQ(rig.View.FontRecreations, 0);
}

TEST(OptionsPanel, StopSymbols_OfACodePageText_TakenInItAndRefusedWhereItHasNoSuchCharacter) {
    OptionsPanelTest rig;
    rig.Settings.Encoding = "windows-1251";
    auto* edit = ControlById<QLineEdit>(*rig.Panel.ReadingPage(), StopsId);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_A, QString(), Qt::ControlModifier);
    for (const QString& typed : {QStringLiteral("ж"), QStringLiteral("語")}) // 語: not in 1251
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, typed, {});
    EXPECT_STREQ(rig.Settings.StopSimbols, "\xE6");
    EXPECT_EQ(edit->text(), QStringLiteral("ж"));
}

TEST_F(OptionsPanelTest, Panel_MovePageMadeOnceRefreshClampsDefaultResetsKeysStayHideFocuses) {
    Panel.SelectPage(COptionsPanel::MovePosition);
    const CMovePositionPage* const movePage = Panel.MovePage();
    Panel.SelectPage(COptionsPanel::ReadingOptions);
    Panel.SelectPage(COptionsPanel::MovePosition);
    EXPECT_TRUE(Panel.MovePage() == movePage && movePage->isVisibleTo(&Panel)); // made once
    Load("one two three four five six");
    Settings.SetPosition(8);
    Settings.AddBookmark();
    std::tie(Settings.Width, Settings.MaxText, Settings.durat, Settings.DisplaySettingNum) =
        std::tuple(5000, -3, 0xFFFFFFFFu, 3); // a mode number beyond the list is kept
    std::strcpy(Settings.StopSimbols, ",\xA7.\xE2\x80\x94;\xC3"); // stray byte, em dash, cut-off
    const QComboBox& modes = *ControlById<QComboBox>(Panel, ModesId);
    Panel.Refresh();
    EXPECT_EQ(std::tuple(Settings.Width, Settings.MaxText, Settings.durat, Settings.StopSimbols,
                         Settings.DisplaySettingNum, modes.currentIndex(), View.Repaints,
                         ControlById<QLineEdit>(*Panel.ReadingPage(), UncondId)->text()),
              std::tuple(3000, 1, 30000u, std::string(",\xA7.\xE2\x80\x94;\xC3"), 3, -1, 2,
                         QString(".—;") + QChar(0xDCC3)));
    ControlById<QPushButton>(Panel, DefaultId)->click(); // the display font stays as it is
    const QListWidget& bookmarks = *ControlById<QListWidget>(*Panel.MovePage(), ListId);
    EXPECT_EQ(std::tuple(modes.currentIndex(), bookmarks.count(), Offset(), View.FontRecreations),
              std::tuple(0, 0, 8, 0));
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier); // taken before the view
        EXPECT_TRUE(qApp->sendEvent(Panel.ReadingPage(), &press) && press.isAccepted()) << key;
    }
    ControlById<QPushButton>(Panel, HideId)->click();
    EXPECT_EQ(std::pair(View.PanelRequest, View.Focusings), std::pair(0, 1)); // hidden, focused
}

struct MovePageTest : OptionsPanelTest {
    MovePageTest() { Panel.SelectPage(COptionsPanel::MovePosition); }
    template <typename T> T& Ctl(int id) { return *ControlById<T>(*Panel.MovePage(), id); }
    QString Line() { return Ctl<QLabel>(PositionId).text(); }
};

TEST_F(MovePageTest, Position_SliderStepEditAndStepButtonsMoveTheCursor) {
    EXPECT_FALSE(Panel.MovePage()->isEnabled()); // no text yet
    Load("");
    EXPECT_EQ(Line(), "pos = 0 (0.00% )");
    Settings.Book.Step = 600; // from a settings file: the spin holds it within its range
    Load(std::string(100, 'a'));
    Ctl<QSlider>(SliderId).setValue(29);
    EXPECT_EQ(std::tuple(Settings.Book.Step, Offset(), Line()),
              std::tuple(512, 29, "pos = 29 (28.99% )")); // cut, not rounded
    const QLineEdit& edit = Ctl<QLineEdit>(StepEditId);   // a five-digit step fits
    EXPECT_GT(edit.maximumWidth(), edit.fontMetrics().horizontalAdvance("57920") + 4);
    for (const auto& [typed, step] : {std::pair("7a0000", 4464), {"1234567", 57920}, {"10", 10}}) {
        Ctl<QLineEdit>(StepEditId).selectAll(); // digits only, six at most, kept to 16 bits
        QTest::keyClicks(&Ctl<QLineEdit>(StepEditId), QString::fromLatin1(typed));
        EXPECT_EQ(Settings.Book.Step, step) << typed;
    }
    for (const int id : {StepBackId, StepBackId, StepForwardId})
        Ctl<QPushButton>(id).click();
    EXPECT_EQ(std::pair(Offset(), Ctl<QSlider>(SliderId).value()), std::pair(19, 19));
}

TEST_F(MovePageTest, Display_EntriesPreviewAndTheChosenEntryThenFollowsTheUnitsShown) {
    for (const int32_t at : {0, 13, 5000})
        Settings.Book.Bookmarks[Settings.Book.BookmarksNum++] = at;
    Load("\nFirst line\r\nSecond line\rthird", 26); // the text ends within its buffer
    QListWidget& list = Ctl<QListWidget>(ListId);
    EXPECT_EQ(list.item(0)->text() + '|' + list.item(1)->text() + '|' + list.item(2)->text(),
              QChar(0x240A) + QString("First line|Second line|5000 (outside the text)"));
    EXPECT_EQ(Ctl<QPlainTextEdit>(1002).toPlainText(), "\nFirst line\nSecond line\nt"); // preview
    list.setCurrentRow(1);
    Settings.SetPosition(3); // read on: a click on the same entry goes back to it
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(1)).center());
    EXPECT_EQ(Offset(), 13);
    const auto cycle = [this](int32_t cutAt) {
        Settings.SetPosition(cutAt);
        Panel.OnAboutToCutUnit();
        Settings.MoveBy(1); // the unit is cut, the cursor moves past it
        EXPECT_EQ(Line(), CMovePositionPage::PositionLine(cutAt - 2, 26)); // not yet
        Panel.OnUnitShown();
        EXPECT_EQ(Line(), CMovePositionPage::PositionLine(cutAt, 26));
    };
    cycle(15);
    Panel.MovePage()->hide(); // hidden, it still follows
    cycle(17);
    Ctl<QSlider>(SliderId).setSliderDown(true); // held, it stays
    cycle(19);
    EXPECT_EQ(std::pair(Ctl<QSlider>(SliderId).value(), list.item(1)->isSelected()),
              std::pair(17, true)); // the list is left as it is
}
} // namespace
