#include "AppTestSupport.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <set>
#include <vector>

namespace {

namespace Id = CommandId;

// One line per menu entry: its depth, then the text and the command id, "---" for a
// separator, "> title" for a submenu.
void DescribeMenu(const QList<QAction*>& actions, const std::string& indent,
                  std::vector<std::string>& lines) {
    for (QAction* action : actions) {
        if (action->isSeparator()) {
            lines.push_back(indent + "---");
        } else if (QMenu* sub = action->menu()) {
            lines.push_back(indent + "> " + sub->title().toStdString());
            DescribeMenu(sub->actions(), indent + "  ", lines);
        } else {
            lines.push_back(indent + action->text().toStdString() + " " +
                            std::to_string(action->data().toInt()));
        }
    }
}

TEST_F(AppFixture, MenuBar_EveryMenu_TextsIdsAndOrderAsListed) {
    std::vector<std::string> lines;
    DescribeMenu(Frame->menuBar()->actions(), "", lines);

    const std::vector<std::string> expected{
        "> &File",
        "  Open... 57601",
        "  ---",
        "  Load settings... 32796",
        "  > Save settings",
        "    ...as default 32792",
        "    ...of this file 32794",
        "  ---",
        "  E&xit 57665",
        "> &Edit",
        "  &Undo\tCtrl+Z 57643",
        "  ---",
        "  Cu&t\tCtrl+X 57635",
        "  &Copy\tCtrl+C 57634",
        "  &Paste\tCtrl+V 57637",
        "> &View",
        "  &Toolbar 59392",
        "  &Status Bar 59393",
        "  ---",
        "  Full Screen 32772",
        "  Options panel 32773",
        "  > SubOptions",
        "    Reading options 32805",
        "    Move position 32807",
        "> Run",
        "  Run 32782",
        "  Pause 32783",
        "  STOP 32784",
        "  ---",
        "  Add Bookmark 32799",
        "> &Help",
        "  &About Skimmet... 57664",
        "  Home Page 32787",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(AppFixture, ToolBar_FourteenButtons_InOrderWithSeparatorsAndTooltips) {
    std::vector<std::string> buttons;
    for (QAction* action : Frame->ToolBar()->actions()) {
        if (action->isSeparator()) {
            buttons.push_back("|");
            continue;
        }
        buttons.push_back(std::to_string(action->data().toInt()) + " " +
                          action->toolTip().toStdString());
        EXPECT_FALSE(action->icon().isNull()) << action->toolTip().toStdString();
        const auto* button = qobject_cast<QToolButton*>(Frame->ToolBar()->widgetForAction(action));
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->autoRaise());
        EXPECT_EQ(button->toolTip(), action->toolTip());
    }

    const std::vector<std::string> expected{
        "57601 Open",
        "|",
        "32782 Run",
        "32783 Pause",
        "32784 Stop",
        "32799 Add Bookmark",
        "|",
        "32772 Full Screen",
        "|",
        "32773 Option panel",
        "32805 Reading options",
        "32807 Move position",
        "|",
        "32796 Load settings...",
        "32792 Save settings",
        "32794 Save settings of this file",
        "|",
        "32787 Home Page",
        "57664 About",
    };
    EXPECT_EQ(buttons, expected);
}

struct PromptCase {
    int Id;
    const char* Prompt;
    const char* ToolTip;
};

// Spelling as the program has always shown it.
const PromptCase PromptCases[] = {
    {57601, "Opens an existing text file", "Open"},
    {32796, "Load settings from file", "Load settings..."},
    {32792, "Saves currient settings as defaulte settings of the program", "Save settings"},
    {32794, "Saves settings as settings of the currently opened file",
     "Save settings of this file"},
    {57665, "Quit the application; prompts to save documents", "Exit"},
    {57643, "Undo the last action", "Undo"},
    {57635, "Cut the selection and put it on the Clipboard", "Cut"},
    {57634, "Copy the selection and put it on the Clipboard", "Copy"},
    {57637, "Insert Clipboard contents", "Paste"},
    {59392, "Show or hide the toolbar", "Toggle ToolBar"},
    {59393, "Show or hide the status bar", "Toggle StatusBar"},
    {32772, "Full Screen View", "Full Screen"},
    {32773, "Shows\\Hides an options panel", "Option panel"},
    {32805, "Shows the options panel and opens a page of reading options", "Reading options"},
    {32807, "Shows the options panel and opens a page of moving a text position", "Move position"},
    {32782, "", "Run"},
    {32783, "Stops and saves currient position", "Pause"},
    {32784, "Stops tand sets the position to the beginning", "Stop"},
    {32799, "Adds a bookmark associated with the current position", "Add Bookmark"},
    {57664, "Display program information, version number and copyright", "About"},
    {32787, "Visit my WWW home page", "Home Page"},
};

TEST_F(AppFixture, Prompts_EveryCommand_StatusPromptAndTooltipAsListed) {
    for (const PromptCase& c : PromptCases) {
        const QAction* action = Frame->ActionFor(c.Id);
        ASSERT_NE(action, nullptr) << c.Id;
        EXPECT_EQ(action->statusTip().toStdString(), c.Prompt) << c.Id;
        EXPECT_EQ(action->toolTip().toStdString(), c.ToolTip) << c.Id;
    }
}

TEST_F(AppFixture, MessagePane_HoverToolButton_ShowsPromptThenReady) {
    QStatusBar* status = Frame->statusBar();
    const auto* ready = status->findChild<QLabel*>(QStringLiteral("MessagePane"));
    ASSERT_NE(ready, nullptr);
    EXPECT_EQ(ready->text(), QStringLiteral("Ready"));

    for (const int id : {Id::FileOpen, Id::Stop, Id::HomePage, Id::AppAbout}) {
        QWidget* button = Frame->ToolBar()->widgetForAction(Frame->ActionFor(id));
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), button->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(button, &enter);
        EXPECT_EQ(status->currentMessage(), Frame->ActionFor(id)->statusTip()) << id;
        EXPECT_FALSE(ready->isVisible()) << id;

        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, &leave);
        EXPECT_TRUE(status->currentMessage().isEmpty()) << id;
        EXPECT_TRUE(ready->isVisible()) << id;
    }
}

TEST_F(AppFixture, Accelerators_EveryKey_BoundToItsCommand) {
    const std::pair<QKeySequence, int> expected[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_C), Id::EditCopy},
        {QKeySequence(Qt::CTRL | Qt::Key_Insert), Id::EditCopy},
        {QKeySequence(Qt::CTRL | Qt::Key_V), Id::EditPaste},
        {QKeySequence(Qt::SHIFT | Qt::Key_Insert), Id::EditPaste},
        {QKeySequence(Qt::CTRL | Qt::Key_X), Id::EditCut},
        {QKeySequence(Qt::SHIFT | Qt::Key_Delete), Id::EditCut},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), Id::EditUndo},
        {QKeySequence(Qt::ALT | Qt::Key_Backspace), Id::EditUndo},
        {QKeySequence(Qt::Key_F6), Id::NextPane},
        {QKeySequence(Qt::SHIFT | Qt::Key_F6), Id::PrevPane},
        {QKeySequence(Qt::ALT | Qt::Key_Return), Id::FullScreen},
        {QKeySequence(Qt::ALT | Qt::Key_Enter), Id::FullScreen},
    };
    std::multiset<std::pair<std::string, int>> bound;
    for (const CommandInfo& command : Commands()) {
        // The menu shows only the shortcut texts of the item texts.
        EXPECT_TRUE(Frame->ActionFor(command.Id)->shortcuts().isEmpty()) << command.Id;
        if (const QAction* accelerator = Frame->AcceleratorFor(command.Id)) {
            EXPECT_TRUE(Frame->actions().contains(accelerator)) << command.Id;
            for (const QKeySequence& keys : accelerator->shortcuts())
                bound.emplace(keys.toString().toStdString(), command.Id);
        }
    }
    std::multiset<std::pair<std::string, int>> wanted;
    for (const auto& [keys, id] : expected)
        wanted.emplace(keys.toString().toStdString(), id);
    EXPECT_EQ(bound, wanted);
}

// With the bars hidden too, the edit keys reach no command and Alt+Enter reaches Full
// Screen. The key is what is tested, not the handler: that command is let through.
TEST_F(AppFixture, AcceleratorsInMainWindow_EditKeysTriggerNothingAltEnterFullScreen) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame));
    Frame->ActionFor(Id::ViewToolBar)->trigger();
    Frame->ActionFor(Id::ViewStatusBar)->trigger();
    QAction* fullScreen = Frame->AcceleratorFor(Id::FullScreen);
    fullScreen->setEnabled(true);
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QAction* action : Frame->actions())
        spies.push_back(std::make_unique<QSignalSpy>(action, &QAction::triggered));

    QTest::keyClick(&View(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(&View(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(&View(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(&View(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&View(), Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(&View(), Qt::Key_F6);
    QTest::keyClick(&View(), Qt::Key_F6, Qt::ShiftModifier);

    for (const auto& spy : spies)
        EXPECT_EQ(spy->count(), 0);

    QSignalSpy triggered(fullScreen, &QAction::triggered);
    QTest::keyClick(&View(), Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(triggered.count(), 1);
}

TEST(CommandTable, Commands_EveryIdOnce_AndFoundById) {
    std::set<int> ids;
    for (const CommandInfo& command : Commands()) {
        EXPECT_TRUE(ids.insert(command.Id).second) << command.Id;
        EXPECT_EQ(FindCommand(command.Id), &command);
    }
    EXPECT_EQ(FindCommand(12345), nullptr);
    for (const int id : ToolBarButtons())
        EXPECT_TRUE(id == 0 || ids.contains(id)) << id;
    for (const Accelerator& accelerator : Accelerators())
        EXPECT_TRUE(ids.contains(accelerator.Id)) << accelerator.Id;
}

} // namespace
