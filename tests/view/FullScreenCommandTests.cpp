#include "app/AppTestSupport.h"

#include <QTest>

namespace {

using FullScreenCommandTest = AppFixture;

bool IsFullScreen(CFlashView& view) {
    return view.PlayFlags() & CFlashView::FullScreenBit;
}

TEST_F(FullScreenCommandTest, Command_Twice_EntersThenLeavesWithTheFrameHiddenMeanwhile) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Frame));
    const QRect framed = View().geometry();

    Frame->ExecuteCommand(CommandId::FullScreen);

    EXPECT_TRUE(IsFullScreen(View()));
    EXPECT_TRUE(View().isWindow());
    EXPECT_FALSE(Frame->isVisible());
    EXPECT_EQ(Fakes.DisplayModes.Switches.size(), 1u);

    Frame->ExecuteCommand(CommandId::FullScreen);

    EXPECT_FALSE(IsFullScreen(View()));
    EXPECT_EQ(Frame->centralWidget(), &View());
    EXPECT_TRUE(Frame->isVisible());
    EXPECT_TRUE(Frame->windowState() & Qt::WindowMaximized);
    EXPECT_EQ(View().geometry(), framed);
    EXPECT_EQ(Fakes.DisplayModes.Restores, 1);
}

TEST_F(FullScreenCommandTest, AltEnter_InTheFrameAndInTheCoveringView_TogglesBothWays) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frame));
        QTest::keyClick(&View(), key, Qt::AltModifier);
        ASSERT_TRUE(IsFullScreen(View())) << key;

        ASSERT_TRUE(QTest::qWaitForWindowActive(&View()));
        QTest::keyClick(&View(), key, Qt::AltModifier);
        EXPECT_FALSE(IsFullScreen(View())) << key;
        EXPECT_EQ(Frame->centralWidget(), &View());
    }
    EXPECT_EQ(Fakes.DisplayModes.Restores, 2);
}

TEST_F(FullScreenCommandTest, Command_WithoutText_EnabledAndReadingCommandsFollowTheView) {
    EXPECT_TRUE(Frame->StateOf(CommandId::FullScreen).Enabled);
    LoadText();
    Frame->ExecuteCommand(CommandId::Run);
    Frame->ExecuteCommand(CommandId::FullScreen);

    Frame->ExecuteCommand(CommandId::Pause);

    EXPECT_EQ(View().State(), CFlashView::ReadingState::Paused);
    EXPECT_TRUE(IsFullScreen(View()));
}

TEST_F(FullScreenCommandTest, FrameDestroyed_WhileFullScreen_ModeRestored) {
    Frame->ExecuteCommand(CommandId::FullScreen);
    App.reset();
    EXPECT_EQ(Fakes.DisplayModes.Restores, 1);
}

} // namespace
