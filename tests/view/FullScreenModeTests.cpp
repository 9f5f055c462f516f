#include "support/gui/FakeServices.h"

#include "platform/DisplayModes.h"
#include "view/FullScreenMode.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

#include <climits>
#include <memory>

namespace {

// A main window with a toolbar, so that its central widget does not start at (0, 0).
class FullScreenModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* bar = new QToolBar(&Window);
        bar->addAction(QStringLiteral("Tool"));
        Window.addToolBar(Qt::TopToolBarArea, bar);
        View = std::make_unique<QWidget>();
        Window.setCentralWidget(View.get());
        Window.resize(700, 500);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        FramedGeometry = View->geometry();
        ASSERT_GT(FramedGeometry.top(), 0);
        Mode = std::make_unique<CFullScreenMode>(*View, Modes);
    }

    CFakeDisplayModes Modes;
    QMainWindow Window;
    // Owned here like the program's frame owns its view: while full screen the view has
    // no parent.
    std::unique_ptr<QWidget> View;
    std::unique_ptr<CFullScreenMode> Mode;
    QRect FramedGeometry;
};

TEST(FullScreenModeIndex, ModeIndex_NumbersInAndOutOfTheList_ThatModeOrTheLast) {
    struct Case {
        std::size_t Count;
        int Number;
        std::size_t Index;
    };
    for (const Case& c :
         {Case{3, 0, 0}, Case{3, 1, 1}, Case{3, 2, 2}, Case{3, 3, 2}, Case{3, INT_MAX, 2},
          Case{3, -1, 2}, Case{3, INT_MIN, 2}, Case{1, 0, 0}, Case{1, 7, 0}, Case{1, -7, 0}})
        EXPECT_EQ(CFullScreenMode::ModeIndex(c.Count, c.Number), c.Index)
            << c.Number << " of " << c.Count;
}

// Which number picks which mode is ModeIndex's table above.
TEST_F(FullScreenModeTest, Enter_DisplaySettingNum_SwitchesToThatModeAndCoversIt) {
    Mode->Enter(1);
    ASSERT_EQ(Modes.Switches, std::vector<DisplayMode>{Modes.List[1]});
    EXPECT_EQ(Mode->SwitchedMode(), Modes.List[1]);
    EXPECT_EQ(View->geometry(), QRect(Window.screen()->geometry().topLeft(), QSize(800, 600)));
}

TEST_F(FullScreenModeTest, Enter_ViewLiftedIntoAFramelessTopmostWindowAndTheWindowHidden) {
    Mode->Enter(0);

    EXPECT_TRUE(Mode->IsActive());
    EXPECT_EQ(View->parentWidget(), nullptr);
    EXPECT_TRUE(View->isWindow());
    EXPECT_TRUE(View->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(View->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(View->isVisible());
    EXPECT_FALSE(Window.isVisible());
    EXPECT_EQ(Modes.Restores, 0);
}

TEST_F(FullScreenModeTest, Leave_AfterEnter_ViewBackInTheWindowsLayoutAsItWas) {
    const Qt::WindowFlags flags = View->windowFlags();
    Mode->Enter(1);

    Mode->Leave();

    EXPECT_FALSE(Mode->IsActive());
    EXPECT_EQ(Modes.Restores, 1);
    EXPECT_EQ(View->parentWidget(), &Window);
    EXPECT_EQ(Window.centralWidget(), View.get());
    EXPECT_EQ(View->windowFlags(), flags);
    EXPECT_EQ(View->geometry(), FramedGeometry);
    EXPECT_TRUE(Window.isVisible());
    EXPECT_TRUE(View->isVisible());
    EXPECT_FALSE(Mode->SwitchedMode().has_value());

    // Laid out by the window again, not merely placed where it was.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(View->geometry(), FramedGeometry);
    Window.resize(Window.width() + 50, Window.height() + 30);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(View->size(), FramedGeometry.size() + QSize(50, 30));
}

TEST_F(FullScreenModeTest, EnterLeave_Repeated_EachEntrySavesTheGeometryItLeavesFrom) {
    Mode->Enter(0);
    Mode->Leave();
    Window.resize(640, 480);
    QCoreApplication::sendPostedEvents();
    const QRect resized = View->geometry();
    ASSERT_NE(resized, FramedGeometry);

    Mode->Enter(2);
    Mode->Leave();

    EXPECT_EQ(View->geometry(), resized);
    EXPECT_EQ(Modes.Switches.size(), 2u);
    EXPECT_EQ(Modes.Restores, 2);
}

TEST_F(FullScreenModeTest, EnterLeave_OutOfTurn_NothingHappens) {
    Mode->Leave();
    EXPECT_EQ(Modes.Restores, 0);
    EXPECT_EQ(View->parentWidget(), &Window);

    Mode->Enter(0);
    const QRect covering = View->geometry();
    Mode->Enter(1); // already covering the screen: the framed geometry must survive

    EXPECT_EQ(Modes.Switches.size(), 1u);
    EXPECT_EQ(View->geometry(), covering);
    Mode->Leave();
    EXPECT_EQ(View->geometry(), FramedGeometry);
}

TEST_F(FullScreenModeTest, Destroyed_RestoresOnlyWhileActive) {
    Mode->Enter(0);
    Mode.reset();
    EXPECT_EQ(Modes.Restores, 1);

    {
        CFullScreenMode left(*View, Modes);
        left.Enter(0);
        left.Leave();
    }
    EXPECT_EQ(Modes.Restores, 2); // none of its own when a mode that left goes
}

// A display that offers modes but refuses to switch.
class CRefusingDisplayModes final : public IDisplayModes {
public:
    std::vector<DisplayMode> Modes() override { return {{320, 200, 8, 70}}; }
    bool SetMode(const DisplayMode&) override { return false; }
    void Restore() override { ++Restores; }
    int Restores = 0;
};

TEST_F(FullScreenModeTest, Enter_ModeRefused_CoversTheScreenAsItIs) {
    CRefusingDisplayModes refusing;
    CFullScreenMode mode(*View, refusing);

    mode.Enter(5);

    EXPECT_TRUE(mode.IsActive());
    EXPECT_FALSE(mode.SwitchedMode().has_value());
    EXPECT_EQ(View->geometry(), Window.screen()->geometry());
    mode.Leave();
    EXPECT_EQ(Window.centralWidget(), View.get());
    EXPECT_EQ(View->geometry(), FramedGeometry);
}

TEST_F(FullScreenModeTest, Enter_ViewOutsideAnyWindow_CoversTheScreenAndComesBackUnparented) {
    QWidget lone;
    lone.setGeometry(30, 40, 200, 100);
    lone.show();
    CFullScreenMode mode(lone, Modes);

    mode.Enter(2);
    EXPECT_EQ(lone.size(), QSize(640, 480));
    mode.Leave();

    EXPECT_EQ(lone.parentWidget(), nullptr);
    EXPECT_FALSE(lone.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(lone.geometry(), QRect(30, 40, 200, 100));
    EXPECT_TRUE(lone.isVisible());
}

TEST_F(FullScreenModeTest, Shortcuts_WindowsActionsWhileCovering_WorkFromTheViewThenReturned) {
    auto* toggle = new QAction(&Window);
    toggle->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Return));
    Window.addAction(toggle);
    const QSignalSpy triggered(toggle, &QAction::triggered);

    Mode->Enter(0);
    ASSERT_TRUE(QTest::qWaitForWindowActive(View.get()));
    QTest::keyClick(View.get(), Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(triggered.count(), 1);
    Mode->Leave();

    EXPECT_FALSE(View->actions().contains(toggle));
    EXPECT_TRUE(Window.actions().contains(toggle));
}

TEST_F(FullScreenModeTest, LeaveRequested_QuitOrWindowClosedWhileCovering_Asked) {
    const QSignalSpy requested(Mode.get(), &CFullScreenMode::LeaveRequested);
    // Keeps the quit from reaching the application: only whether the view is asked to
    // leave first matters here.
    struct QuitEater : QObject {
        bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Quit; }
    } eater;
    qApp->installEventFilter(&eater);
    QEvent quit(QEvent::Quit);

    QCoreApplication::sendEvent(qApp, &quit);
    EXPECT_EQ(requested.count(), 0);

    Mode->Enter(0);
    QCoreApplication::sendEvent(qApp, &quit);
    EXPECT_EQ(requested.count(), 1);
    QCloseEvent close;
    QCoreApplication::sendEvent(&Window, &close);
    EXPECT_EQ(requested.count(), 2);

    Mode->Leave();
    QCoreApplication::sendEvent(qApp, &quit);
    EXPECT_EQ(requested.count(), 2);
    qApp->removeEventFilter(&eater);
}

} // namespace
