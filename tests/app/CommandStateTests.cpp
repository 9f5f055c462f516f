#include "AppTestSupport.h"

#include <QStatusBar>
#include <QToolBar>

#include <string>

namespace {

namespace Id = CommandId;

// '-' greyed, 'e' enabled and unchecked, 'c' enabled and checked.
char Shown(const QAction* action) {
    return !action->isEnabled() ? '-' : action->isChecked() ? 'c' : 'e';
}

TEST(CommandStates, ReadingCommands_InEachReadingState_StatesAndOneInhibitionPerReading) {
    const struct {
        const char* Name;
        bool Text;
        std::vector<int> Steps; // a command, its action clicked (negative), 0: to the end
        std::string States;     // Run, Pause, Stop, AddBookmark, SaveFileSettings
        int Inhibitions;
        bool Held;
    } cases[] = {
        {"NoTextRun", false, {Id::Run}, "-----", 0, false}, // a greyed command does nothing
        {"Stopped", true, {}, "eec-e", 0, false},
        {"Running", true, {Id::Run}, "ceeee", 1, true},
        {"RunTwice", true, {-Id::Run, -Id::Run}, "ceeee", 1, true}, // clicked again: still checked
        {"StopWhileStopped", true, {-Id::Stop}, "eec-e", 0, false},
        {"PauseWithoutRun", true, {Id::Pause}, "ece-e", 0, false},
        {"Paused", true, {Id::Run, Id::Pause}, "ece-e", 1, false},
        {"RunPauseRun", true, {Id::Run, Id::Pause, Id::Run}, "ceeee", 2, true},
        {"StoppedAfterRunning", true, {Id::Run, Id::Stop}, "eec-e", 1, false},
        {"AfterAddBookmark", true, {Id::Run, Id::AddBookmark}, "ece-e", 1, false},
        {"AtTheEnd", true, {Id::Run, 0}, "eec-e", 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        FreshApp app;
        if (c.Text)
            app.View().SetText("Every unit is cut at punctuation, a few words at a time.");
        for (const int id : c.Steps) {
            if (id < 0)
                app.Frame->ActionFor(-id)->trigger();
            else if (id > 0)
                app.Frame->ExecuteCommand(id);
            else
                app.Advance(1000);
        }
        std::string states;
        for (const int id : {Id::Run, Id::Pause, Id::Stop, Id::AddBookmark, Id::SaveFileSettings})
            states += Shown(app.Frame->ActionFor(id));
        EXPECT_EQ(states, c.States);
        EXPECT_EQ(app.Fakes.ScreenSaver.Inhibitions, c.Inhibitions);
        EXPECT_EQ(app.Fakes.ScreenSaver.IsInhibited(), c.Held);
        EXPECT_EQ(Shown(app.Frame->ActionFor(Id::EditCopy)), '-'); // nothing handles it
    }
}

// The panel's Hide button and Space in full-screen mode hide it through the view.
TEST_F(AppFixture, PanelHiddenByTheView_MenuCheckFollows) {
    Frame->ExecuteCommand(Id::OptionsPanel);
    ASSERT_EQ(Shown(Frame->ActionFor(Id::OptionsPanel)), 'c');
    View().ShowOptionsPanel(0);
    EXPECT_EQ(Shown(Frame->ActionFor(Id::OptionsPanel)), 'e');
}

TEST_F(AppFixture, BarCommandsTwiceThenBarHiddenOtherwise_BarAndCheckFollow) {
    for (const auto& [id, bar] : {std::pair<int, QWidget*>{Id::ViewToolBar, Frame->ToolBar()},
                                  {Id::ViewStatusBar, Frame->statusBar()}}) {
        SCOPED_TRACE(id);
        QAction* action = Frame->ActionFor(id);
        action->trigger();
        EXPECT_FALSE(bar->isVisible());
        EXPECT_EQ(Shown(action), 'e');
        action->trigger();
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(Shown(action), 'c');
        bar->hide();
        EXPECT_EQ(Shown(action), 'e');
    }
}

} // namespace
