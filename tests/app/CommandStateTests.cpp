#include "AppTestSupport.h"

#include <QStatusBar>
#include <QToolBar>

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
    bool Text;
    std::vector<int> Steps; // as AppFixture::Play takes them
    char RunState, PauseState, StopState, BookmarkState;
};

TEST(CommandStates, EveryCommand_InEachReadingState_EnabledAndCheckedAsRuled) {
    const ReadingCase cases[] = {
        {"NoText", false, {}, '-', '-', '-', '-'},
        {"Stopped", true, {}, 'e', 'e', 'c', '-'},
        {"Running", true, {Id::Run}, 'c', 'e', 'e', 'e'},
        {"Paused", true, {Id::Run, Id::Pause}, 'e', 'c', 'e', '-'},
        {"StoppedAfterRunning", true, {Id::Run, Id::Stop}, 'e', 'e', 'c', '-'},
        {"AfterAddBookmark", true, {Id::Run, Id::AddBookmark}, 'e', 'c', 'e', '-'},
        {"AtTheEnd", true, {Id::Run, 0}, 'e', 'e', 'c', '-'},
        // Clicking a checked button again must not uncheck it.
        {"RunTwice", true, {-Id::Run, -Id::Run}, 'c', 'e', 'e', 'e'},
        {"StopWhileStopped", true, {-Id::Stop}, 'e', 'e', 'c', '-'}};
    for (const ReadingCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Fresh<AppFixture> app;
        if (c.Text)
            app.LoadText();
        app.Play(c.Steps);

        StateRow expected = FixedStates();
        expected[Id::Run] = c.RunState;
        expected[Id::Pause] = c.PauseState;
        expected[Id::Stop] = c.StopState;
        expected[Id::AddBookmark] = c.BookmarkState;
        // Enabled whenever there is a text, as Run is.
        expected[Id::SaveFileSettings] = c.RunState == '-' ? '-' : 'e';

        StateRow actual;
        for (const CommandInfo& command : Commands())
            actual[command.Id] = Shown(app.Frame->ActionFor(command.Id));
        EXPECT_EQ(actual, expected);
        // The menu and the toolbar share the action; StateOf is what it was last told.
        for (const auto& [id, state] : actual)
            EXPECT_EQ(app.Frame->StateOf(id).Enabled, state != '-') << id;
    }
}

TEST_F(AppFixture, PlayState_ChangedByTheViewItself_CommandsAndScreenSaverFollowAtOnce) {
    LoadText();
    EXPECT_FALSE(Frame->ActionFor(Id::Run)->isChecked());

    View().SetPlayState(CFlashView::Run);
    EXPECT_TRUE(Frame->ActionFor(Id::Run)->isChecked());
    EXPECT_TRUE(Frame->ActionFor(Id::AddBookmark)->isEnabled());

    View().SetPlayState(CFlashView::Pause);
    EXPECT_TRUE(Frame->ActionFor(Id::Pause)->isChecked());
    EXPECT_FALSE(Frame->ActionFor(Id::Run)->isChecked());
    EXPECT_FALSE(Frame->ActionFor(Id::AddBookmark)->isEnabled());

    Frame->ExecuteCommand(Id::Run);
    ASSERT_TRUE(Fakes.ScreenSaver.IsInhibited());
    View().SetPlayState(CFlashView::Stop);
    EXPECT_TRUE(Frame->ActionFor(Id::Stop)->isChecked());
    EXPECT_FALSE(Fakes.ScreenSaver.IsInhibited());
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

TEST_F(AppFixture, BarCommandsTwiceThenBarHiddenOtherwise_BarAndCheckFollow) {
    for (const auto& [id, bar] : {std::pair<int, QWidget*>{Id::ViewToolBar, Frame->ToolBar()},
                                  {Id::ViewStatusBar, Frame->statusBar()}}) {
        SCOPED_TRACE(id);
        QAction* action = Frame->ActionFor(id);
        ASSERT_TRUE(bar->isVisible());
        action->trigger();
        EXPECT_FALSE(bar->isVisible());
        EXPECT_FALSE(action->isChecked());
        action->trigger();
        EXPECT_TRUE(bar->isVisible());
        EXPECT_TRUE(action->isChecked());
        bar->hide();
        EXPECT_FALSE(action->isChecked());
        bar->show();
        EXPECT_TRUE(action->isChecked());
    }
}

} // namespace
