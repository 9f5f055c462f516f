#include "PanelTestSupport.h"

#include "panel/MovePositionPage.h"
#include "panel/OptionsPanel.h"
#include "panel/ReadingOptionsPage.h"
#include "view/FontMapping.h"

#include <QComboBox>
#include <QFrame>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>

#include <cstring>
#include <vector>

namespace {

enum : int {
    TargetSelectorId = 1004,
    PageSelectorId = 1007,
    DisplayModeListId = 1008,
    PageHostId = 1020,
    HideId = 1013,
    DefaultId = 1014,
    BkgrId = 1012,
    FontId = 1005,
    BetweenId = 1002,
    MinSimbId = 1022,
    StopSymbolsId = 1011,
    BookmarkListId = 1040,
    StepEditId = 1042,
};

class OptionsPanelFixture : public PanelViewFixture {
protected:
    void SetUp() override {
        PanelViewFixture::SetUp();
        View->show();
    }

    // Shows the panel the first time, at the reading options page.
    COptionsPanel& Shown() {
        if (!View->OptionsPanel() || !(View->PlayFlags() & CFlashView::PanelShownBit))
            View->ShowOptionsPanel(COptionsPanel::ReadingOptions);
        return *View->OptionsPanel();
    }
    COptionsPanel& Panel() { return *View->OptionsPanel(); }
    bool PanelShown() const { return View->PlayFlags() & CFlashView::PanelShownBit; }
    QComboBox& Combo(int id) { return *ControlIn<QComboBox>(Panel(), id); }
    QPushButton& Button(int id) { return *ControlIn<QPushButton>(Panel(), id); }
    QFrame& Host() { return *ControlIn<QFrame>(Panel(), PageHostId); }
    void Click(int id) { QTest::mouseClick(&Button(id), Qt::LeftButton); }
    QString ReadingText(int id) {
        auto* spin = ControlIn<QSpinBox>(*Panel().ReadingPage(), id);
        if (spin)
            return spin->findChild<QLineEdit*>()->text();
        return ControlIn<QLineEdit>(*Panel().ReadingPage(), id)->text();
    }
    QStringList Entries(int id) {
        QStringList entries;
        for (int i = 0; i < Combo(id).count(); ++i)
            entries << Combo(id).itemText(i);
        return entries;
    }
    QRect Placed() const { return View->OptionsPanel()->geometry(); }
};

using OptionsPanelTest = OptionsPanelFixture;

// --- template ----------------------------------------------------------------------

TEST_F(OptionsPanelTest, Template_EveryControlWithIdKindAndText) {
    Shown();
    EXPECT_EQ(Entries(TargetSelectorId), QStringList{QStringLiteral("MainText")});
    EXPECT_EQ(Entries(PageSelectorId),
              (QStringList{QStringLiteral("Reading options"), QStringLiteral("Move")}));
    ASSERT_NE(ControlIn<QComboBox>(Panel(), DisplayModeListId), nullptr);
    ASSERT_NE(ControlIn<QFrame>(Panel(), PageHostId), nullptr);
    EXPECT_EQ(Host().frameShadow(), QFrame::Sunken);
    for (const auto& [id, text] : {std::pair{int(HideId), "Hide"},
                                   {int(DefaultId), "Default"},
                                   {int(BkgrId), "Bkgr"},
                                   {int(FontId), "Font"}}) {
        auto* button = ControlIn<QPushButton>(Panel(), id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->text(), QString::fromLatin1(text));
    }
    QStringList labels;
    for (QLabel* label : Panel().findChildren<QLabel*>())
        if (TemplateOf(label) == &Panel())
            labels << label->text();
    EXPECT_TRUE(labels.contains(QStringLiteral("Adjust...")));
    EXPECT_TRUE(labels.contains(QStringLiteral("Full Screen Modes:")));
}

TEST_F(OptionsPanelTest, Template_TabOrder_FollowsTheTemplate) {
    Shown();
    const std::vector<QWidget*> expected{
        &Combo(TargetSelectorId), &Combo(PageSelectorId), &Combo(DisplayModeListId),
        &Button(HideId),          &Button(DefaultId),     &Button(BkgrId),
        &Button(FontId)};
    const auto chain = FocusChain(expected.front(), expected.size(),
                                  [this](QWidget* w) { return TemplateOf(w) == &Panel(); });
    EXPECT_EQ(chain, expected);
}

TEST_F(OptionsPanelTest, Template_BothPages_FillTheHostNothingClippedButtonsStayInPlace) {
    Shown();
    QCoreApplication::processEvents();
    ExpectNothingClipped(Panel());
    const QPoint hideAt = Button(HideId).pos();
    View->ShowOptionsPanel(COptionsPanel::MovePosition);
    QCoreApplication::processEvents();
    ExpectNothingClipped(Panel());
    EXPECT_EQ(Button(HideId).pos(), hideAt);
    EXPECT_EQ(Panel().ReadingPage()->parentWidget(), &Host());
    EXPECT_EQ(Panel().MovePage()->parentWidget(), &Host());
    EXPECT_EQ(Panel().MovePage()->geometry(), Host().contentsRect());
}

// --- showing, hiding, pages --------------------------------------------------------

TEST_F(OptionsPanelTest, OptionsPanelTwice_ShowsAtReadingOptionsThenHides) {
    QSignalSpy flags(View.get(), &CFlashView::PlayFlagsChanged);
    View->ShowOptionsPanel(COptionsPanel::CurrentPage);
    ASSERT_NE(View->OptionsPanel(), nullptr);
    EXPECT_TRUE(PanelShown());
    EXPECT_TRUE(Panel().isVisible());
    EXPECT_EQ(Combo(PageSelectorId).currentIndex(), 0);
    EXPECT_TRUE(Panel().ReadingPage()->isVisible());
    EXPECT_EQ(Panel().MovePage(), nullptr);

    View->ShowOptionsPanel(COptionsPanel::CurrentPage);
    EXPECT_FALSE(PanelShown());
    EXPECT_FALSE(Panel().isVisible());
    ASSERT_EQ(flags.size(), 2);
    EXPECT_EQ(flags[0][0].toUInt() & CFlashView::PanelShownBit, 1u);
    EXPECT_EQ(flags[1][0].toUInt() & CFlashView::PanelShownBit, 0u);
}

TEST_F(OptionsPanelTest, MovePositionWhileHidden_MovePageShownAndKeptAcrossHideAndShow) {
    View->ShowOptionsPanel(COptionsPanel::MovePosition);
    EXPECT_TRUE(PanelShown());
    CMovePositionPage* const movePage = Panel().MovePage();
    ASSERT_NE(movePage, nullptr);
    EXPECT_TRUE(movePage->isVisible());
    EXPECT_FALSE(Panel().ReadingPage()->isVisible());
    EXPECT_EQ(Combo(PageSelectorId).currentIndex(), 1);
    Panel().SelectPage(COptionsPanel::CurrentPage); // page zero keeps the selection
    EXPECT_EQ(Combo(PageSelectorId).currentIndex(), 1);
    EXPECT_TRUE(movePage->isVisible());
    View->ShowOptionsPanel(COptionsPanel::CurrentPage);
    View->ShowOptionsPanel(COptionsPanel::CurrentPage);
    EXPECT_TRUE(PanelShown());
    EXPECT_EQ(Panel().MovePage(), movePage);
    EXPECT_TRUE(movePage->isVisible());
}

TEST_F(OptionsPanelTest, ReadingOptionsAndMovePosition_NeverHide) {
    for (const int page :
         {COptionsPanel::ReadingOptions, COptionsPanel::ReadingOptions, COptionsPanel::MovePosition,
          COptionsPanel::MovePosition, COptionsPanel::ReadingOptions}) {
        View->ShowOptionsPanel(page);
        EXPECT_TRUE(PanelShown()) << page;
        EXPECT_TRUE(Panel().isVisible()) << page;
        EXPECT_EQ(Combo(PageSelectorId).currentIndex(), page - 1);
    }
    EXPECT_TRUE(Panel().ReadingPage()->isVisible());
    EXPECT_FALSE(Panel().MovePage()->isVisible());
}

TEST_F(OptionsPanelTest, PageSelector_ChosenByTheUser_SwitchesPages) {
    Shown();
    Combo(PageSelectorId).setCurrentIndex(1);
    ASSERT_NE(Panel().MovePage(), nullptr);
    EXPECT_TRUE(Panel().MovePage()->isVisible());
    Combo(PageSelectorId).setCurrentIndex(0);
    EXPECT_TRUE(Panel().ReadingPage()->isVisible());
    EXPECT_FALSE(Panel().MovePage()->isVisible());
}

TEST_F(OptionsPanelTest, Hide_HidesAndGivesTheViewTheFocus) {
    Shown();
    View->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(View.get()));
    Button(BkgrId).setFocus();
    ASSERT_EQ(QApplication::focusWidget(), &Button(BkgrId));
    Click(HideId);
    EXPECT_FALSE(PanelShown());
    EXPECT_FALSE(Panel().isVisible());
    EXPECT_EQ(QApplication::focusWidget(), View.get());
}

TEST_F(OptionsPanelTest, EnterAndEscape_NeitherCloseThePanelNorReachTheView) {
    Shown();
    struct KeyCounter : QObject {
        int Keys = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            Keys += event->type() == QEvent::KeyPress;
            return false;
        }
    } counter;
    View->installEventFilter(&counter);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(&Button(DefaultId), key);
        QTest::keyClick(ControlIn<QLineEdit>(*Panel().ReadingPage(), StopSymbolsId), key);
    }
    EXPECT_EQ(counter.Keys, 0);
    EXPECT_TRUE(PanelShown());
    EXPECT_TRUE(Panel().isVisible());
}

// --- placement ---------------------------------------------------------------------

TEST_F(OptionsPanelTest, Placement_AlongTheBottom_FollowsResizesWhileShownElseAtNextShow) {
    Shown();
    EXPECT_EQ(Placed(), QRect(1, ViewHeight - 120, ViewWidth, 120));
    View->resize(1001, 703);
    EXPECT_EQ(Placed(), QRect(1, 703 - 120, 1001, 120));
    View->ShowOptionsPanel(COptionsPanel::CurrentPage);
    View->resize(640, 480);
    EXPECT_EQ(Placed(), QRect(1, 703 - 120, 1001, 120));
    View->ShowOptionsPanel(COptionsPanel::CurrentPage);
    EXPECT_EQ(Placed(), QRect(1, 480 - 120, 640, 120));
}

// --- refresh -----------------------------------------------------------------------

TEST_F(OptionsPanelTest, ShownAgain_ShowsSettingsChangedMeanwhile) {
    Shown();
    View->ShowOptionsPanel(COptionsPanel::CurrentPage);
    Settings.freq = 1234;
    Settings.DisplaySettingNum = 2;
    View->ShowOptionsPanel(COptionsPanel::CurrentPage);
    EXPECT_EQ(ReadingText(BetweenId), QStringLiteral("1234"));
    EXPECT_EQ(Combo(DisplayModeListId).currentIndex(), 2);
}

TEST_F(OptionsPanelTest, PlayStateChanged_PanelAndMovePageRefreshed) {
    View->ShowOptionsPanel(COptionsPanel::MovePosition);
    Load("alpha beta gamma delta");
    Settings.MinText = 9;
    Settings.Book.Bookmarks[0] = 6;
    Settings.Book.BookmarksNum = 1;
    View->SetPlayState(CFlashView::Pause);
    EXPECT_EQ(ReadingText(MinSimbId), QStringLiteral("9"));
    EXPECT_EQ(ControlIn<QListWidget>(*Panel().MovePage(), BookmarkListId)->count(), 1);
}

// --- display-mode list -------------------------------------------------------------

TEST_F(OptionsPanelTest, DisplayModeList_FilledInEnumerationOrder_EntryZeroSelected) {
    Shown();
    EXPECT_EQ(Entries(DisplayModeListId),
              (QStringList{QStringLiteral("1024 x 768  60 MHz  32 bpp"),
                           QStringLiteral("800 x 600  32 bpp"),
                           QStringLiteral("640 x 480  75 MHz  16 bpp")}));
    EXPECT_EQ(Combo(DisplayModeListId).currentIndex(), 0);
}

TEST_F(OptionsPanelTest, DisplayModeList_NumberBeyondTheList_NothingSelectedNumberKept) {
    for (const int number : {3, 17, -1}) {
        Settings.DisplaySettingNum = number;
        Shown().Refresh();
        EXPECT_EQ(Combo(DisplayModeListId).currentIndex(), -1) << number;
        EXPECT_EQ(Settings.DisplaySettingNum, number);
    }
}

TEST_F(OptionsPanelTest, DisplayModeList_Chosen_StoredWithoutSwitchingTheDisplay) {
    Shown();
    Combo(DisplayModeListId).setCurrentIndex(1);
    EXPECT_EQ(Settings.DisplaySettingNum, 1);
    EXPECT_TRUE(Fakes.DisplayModes.Switches.empty());
}

TEST_F(OptionsPanelTest, DisplayModeList_PanelFirstCreatedInFullScreen_ListDisabled) {
    View->SetFlag(CFlashView::FullScreenBit, true);
    Shown();
    EXPECT_FALSE(Combo(DisplayModeListId).isEnabled());
    EXPECT_TRUE(Button(FontId).isEnabled());
}

// --- Default -----------------------------------------------------------------------

TEST_F(OptionsPanelTest, Default_RestoresSettingsAndShowsThem) {
    Load("one two three four five six");
    Settings.SetPosition(8);
    View->ShowOptionsPanel(COptionsPanel::MovePosition);
    Settings.freq = 50;
    Settings.Width = 100;
    Settings.BkgColor = 0x00112233;
    Settings.DisplaySettingNum = 2;
    std::strcpy(Settings.StopSimbols, "#");
    Settings.Book.Step = 5;
    Settings.Book.Bookmarks[0] = 4;
    Settings.Book.Bookmarks[1] = 14;
    Settings.Book.BookmarksNum = 2;
    Panel().Refresh();
    ASSERT_EQ(ControlIn<QListWidget>(*Panel().MovePage(), BookmarkListId)->count(), 2);
    const QFont font = View->DisplayFont();

    Click(DefaultId);
    EXPECT_EQ(Settings.freq, 400u);
    EXPECT_EQ(Settings.Width, 600);
    EXPECT_EQ(Settings.BkgColor, 0u);
    EXPECT_EQ(Settings.Book.BookmarksNum, 0);
    EXPECT_EQ(Combo(DisplayModeListId).currentIndex(), 0);
    EXPECT_EQ(ControlIn<QListWidget>(*Panel().MovePage(), BookmarkListId)->count(), 0);
    EXPECT_EQ(ControlIn<QLineEdit>(*Panel().MovePage(), StepEditId)->text(), QStringLiteral("1"));
    EXPECT_EQ(ReadingText(BetweenId), QStringLiteral("400"));
    EXPECT_EQ(ReadingText(StopSymbolsId), QStringLiteral(",;.:?!\\n\\r"));
    int32_t offset = 0;
    Settings.GetPosition(offset);
    EXPECT_EQ(offset, 8);
    // The display font stays until it is recreated.
    EXPECT_EQ(std::string(Settings.Font.lfFaceName), "Arial Black");
    EXPECT_EQ(View->DisplayFont(), font);
}

// --- colour and font dialogs -------------------------------------------------------

TEST_F(OptionsPanelTest, BkgrOk_StoresTheColourAndRepaintsTheView) {
    Shown();
    Fakes.Dialogs.ColorAnswers.push_back(QColor(0x12, 0x34, 0x56));
    Click(BkgrId);
    EXPECT_EQ(Settings.BkgColor, 0x00563412u);
    const QImage view = View->grab().toImage();
    EXPECT_EQ(view.pixelColor(ViewWidth - 5, ViewHeight / 2), QColor(0x12, 0x34, 0x56));
}

TEST_F(OptionsPanelTest, FontOk_ReplacesTheDescriptionAndRebuildsTheDisplayFont) {
    Shown();
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPixelSize(31);
    chosen.setItalic(true);
    Fakes.Dialogs.FontAnswers.push_back(chosen);
    Click(FontId);
    EXPECT_EQ(FaceName(Settings.Font), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(Settings.Font.lfHeight, -31);
    EXPECT_EQ(Settings.Font.lfItalic, 1);
    EXPECT_EQ(View->DisplayFont().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(View->DisplayFont().pixelSize(), 31);
}

TEST_F(OptionsPanelTest, BkgrOrFontCancelled_ChangesNothing) {
    Shown();
    Settings.BkgColor = 0x00010203;
    const LogFont before = Settings.Font;
    const QFont displayed = View->DisplayFont();
    Click(BkgrId);
    Click(FontId);
    EXPECT_EQ(Settings.BkgColor, 0x00010203u);
    EXPECT_EQ(std::memcmp(&before, &Settings.Font, sizeof before), 0);
    EXPECT_EQ(View->DisplayFont(), displayed);
}

} // namespace
