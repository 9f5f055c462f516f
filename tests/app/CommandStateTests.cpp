#include "AppTestSupport.h"

#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <functional>
#include <map>
#include <vector>

namespace {

namespace Id = CommandId;

// '-' greyed, 'e' enabled and unchecked, 'c' enabled and checked.
using StateRow = std::map<int, char>;

char Shown(const QAction* action) {
    if (!action->isEnabled())
        return '-';
    return action->isChecked() ? 'c' : 'e';
}

// The commands whose state never changes with the reading.
StateRow FixedStates() {
    return {
        // Handled by the application.
        {Id::AppExit, 'e'},
        {Id::AppAbout, 'e'},
        // Handled by the frame.
        {Id::HomePage, 'e'},
        {Id::FullScreen, 'e'},
        {Id::ViewToolBar, 'c'},
        {Id::ViewStatusBar, 'c'},
        // Nothing handles these: greyed whatever the state.
        {Id::EditUndo, '-'},
        {Id::EditCut, '-'},
        {Id::EditCopy, '-'},
        {Id::EditPaste, '-'},
        {Id::NextPane, '-'},
        {Id::PrevPane, '-'},
        // The document commands that need no text.
        {Id::FileOpen, 'e'},
        {Id::LoadSettings, 'e'},
        {Id::SaveAsDefault, 'e'},
        // The panel commands; the panel is hidden.
        {Id::OptionsPanel, 'e'},
        {Id::ReadingOptions, 'e'},
        {Id::MovePosition, 'e'},
    };
}

struct ReadingCase {
    const char* Name;
    std::function<void(AppFixture&, CMainFrame&)> Enter;
    char RunState, PauseState, StopState, BookmarkState;
};

class CommandStates : public AppFixture, public ::testing::WithParamInterface<ReadingCase> {};

TEST_P(CommandStates, EveryCommand_InReadingState_EnabledAndCheckedAsRuled) {
    const ReadingCase& c = GetParam();
    c.Enter(*this, *Frame);

    StateRow expected = FixedStates();
    expected[Id::Run] = c.RunState;
    expected[Id::Pause] = c.PauseState;
    expected[Id::Stop] = c.StopState;
    expected[Id::AddBookmark] = c.BookmarkState;
    // Enabled whenever there is a text, as Run is.
    expected[Id::SaveFileSettings] = c.RunState == '-' ? '-' : 'e';

    StateRow actual;
    for (const CommandInfo& command : Commands())
        actual[command.Id] = Shown(Frame->ActionFor(command.Id));
    EXPECT_EQ(actual, expected);
    // The menu and the toolbar show one state: they share the action, and StateOf is
    // what the action was last told.
    for (const auto& [id, state] : actual) {
        const CommandState routed = Frame->StateOf(id);
        EXPECT_EQ(routed.Enabled, state != '-') << id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ReadingStates, CommandStates,
    ::testing::Values(ReadingCase{"NoText", [](AppFixture&, CMainFrame&) {}, '-', '-', '-', '-'},
                      ReadingCase{"Stopped", [](AppFixture& f, CMainFrame&) { f.LoadText(); }, 'e',
                                  'e', 'c', '-'},
                      ReadingCase{"Running",
                                  [](AppFixture& f, CMainFrame& frame) {
                                      f.LoadText();
                                      frame.ExecuteCommand(Id::Run);
                                  },
                                  'c', 'e', 'e', 'e'},
                      ReadingCase{"Paused",
                                  [](AppFixture& f, CMainFrame& frame) {
                                      f.LoadText();
                                      frame.ExecuteCommand(Id::Run);
                                      frame.ExecuteCommand(Id::Pause);
                                  },
                                  'e', 'c', 'e', '-'},
                      ReadingCase{"StoppedAfterRunning",
                                  [](AppFixture& f, CMainFrame& frame) {
                                      f.LoadText();
                                      frame.ExecuteCommand(Id::Run);
                                      frame.ExecuteCommand(Id::Stop);
                                  },
                                  'e', 'e', 'c', '-'},
                      ReadingCase{"AfterAddBookmark",
                                  [](AppFixture& f, CMainFrame& frame) {
                                      f.LoadText();
                                      frame.ExecuteCommand(Id::Run);
                                      frame.ExecuteCommand(Id::AddBookmark);
                                  },
                                  'e', 'c', 'e', '-'},
                      ReadingCase{"AtTheEnd",
                                  [](AppFixture& f, CMainFrame& frame) {
                                      f.LoadText();
                                      frame.ExecuteCommand(Id::Run);
                                      f.ReadToTheEnd();
                                  },
                                  'e', 'e', 'c', '-'},
                      // Clicking a checked button again must not uncheck it.
                      ReadingCase{"RunTwice",
                                  [](AppFixture& f, CMainFrame& frame) {
                                      f.LoadText();
                                      frame.ActionFor(Id::Run)->trigger();
                                      frame.ActionFor(Id::Run)->trigger();
                                  },
                                  'c', 'e', 'e', 'e'},
                      ReadingCase{"StopWhileStopped",
                                  [](AppFixture& f, CMainFrame& frame) {
                                      f.LoadText();
                                      frame.ActionFor(Id::Stop)->trigger();
                                  },
                                  'e', 'e', 'c', '-'}),
    [](const ::testing::TestParamInfo<ReadingCase>& info) { return info.param.Name; });

TEST_F(AppFixture, PlayState_ChangedByTheViewItself_CommandsFollowAtOnce) {
    LoadText();
    EXPECT_FALSE(Frame->ActionFor(Id::Run)->isChecked());

    View().SetPlayState(CFlashView::Run);
    EXPECT_TRUE(Frame->ActionFor(Id::Run)->isChecked());
    EXPECT_TRUE(Frame->ActionFor(Id::AddBookmark)->isEnabled());

    View().SetPlayState(CFlashView::Pause);
    EXPECT_TRUE(Frame->ActionFor(Id::Pause)->isChecked());
    EXPECT_FALSE(Frame->ActionFor(Id::Run)->isChecked());
    EXPECT_FALSE(Frame->ActionFor(Id::AddBookmark)->isEnabled());
}

TEST_F(AppFixture, DisabledCommand_Executed_DoesNothing) {
    Frame->ExecuteCommand(Id::Run);

    EXPECT_EQ(View().PlayFlags() & CFlashView::RunningBit, 0u);
    EXPECT_EQ(Fakes.ScreenSaver.Inhibitions, 0);
    EXPECT_FALSE(Frame->ActionFor(Id::Run)->isChecked());
}

TEST_F(AppFixture, AddBookmark_WhileRunning_AddsTheCursorAndPauses) {
    LoadText();
    Frame->ExecuteCommand(Id::Run);
    for (int i = 0; i < 4; ++i) {
        Fakes.Clock.Advance(5000);
        View().OnTimer();
    }
    const int32_t offset = static_cast<int32_t>(View().Cursor() - View().TextStart());
    ASSERT_GT(offset, 0);

    Frame->ExecuteCommand(Id::AddBookmark);

    int32_t stored = -1;
    EXPECT_NE(Frame->Settings().GetBookmark(0, stored), nullptr);
    EXPECT_EQ(stored, offset);
    EXPECT_EQ(View().PlayFlags() & (CFlashView::RunningBit | CFlashView::StoppedBit), 0u);
    EXPECT_FALSE(Fakes.ScreenSaver.IsInhibited());
}

struct BarCase {
    const char* Name;
    int Id;
    std::function<QWidget*(CMainFrame&)> Bar;
};

class BarToggles : public AppFixture, public ::testing::WithParamInterface<BarCase> {};

TEST_P(BarToggles, Command_TwiceFromTheMenu_HidesThenShowsAndChecks) {
    QAction* action = Frame->ActionFor(GetParam().Id);
    QWidget* bar = GetParam().Bar(*Frame);
    ASSERT_TRUE(bar->isVisible());

    action->trigger();
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(action->isChecked());
    EXPECT_TRUE(action->isEnabled());

    action->trigger();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(action->isChecked());
}

TEST_P(BarToggles, BarHiddenOtherwise_CheckFollows) {
    QAction* action = Frame->ActionFor(GetParam().Id);
    QWidget* bar = GetParam().Bar(*Frame);

    bar->hide();
    EXPECT_FALSE(action->isChecked());
    bar->show();
    EXPECT_TRUE(action->isChecked());
}

INSTANTIATE_TEST_SUITE_P(Bars, BarToggles,
                         ::testing::Values(BarCase{"ToolBar", Id::ViewToolBar,
                                                   [](CMainFrame& f) -> QWidget* {
                                                       return f.ToolBar();
                                                   }},
                                           BarCase{"StatusBar", Id::ViewStatusBar,
                                                   [](CMainFrame& f) -> QWidget* {
                                                       return f.statusBar();
                                                   }}),
                         [](const ::testing::TestParamInfo<BarCase>& info) {
                             return info.param.Name;
                         });

TEST_F(AppFixture, HiddenToolBar_AcceleratorStillWorks) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame));
    Frame->ActionFor(Id::ViewToolBar)->trigger();
    Frame->ActionFor(Id::ViewStatusBar)->trigger();
    QAction* fullScreen = Frame->AcceleratorFor(Id::FullScreen);
    fullScreen->setEnabled(true);
    QSignalSpy triggered(fullScreen, &QAction::triggered);

    QTest::keyClick(&View(), Qt::Key_Return, Qt::AltModifier);

    EXPECT_EQ(triggered.count(), 1);
}

} // namespace
