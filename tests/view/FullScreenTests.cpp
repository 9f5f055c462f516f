#include "support/gui/ControlLookup.h"
#include "support/gui/ViewFixture.h"

#include "panel/OptionsPanel.h"
#include "view/FullScreenMode.h"

#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QScreen>
#include <QSignalSpy>

#include <climits>

namespace {
TEST(FullScreenModeIndex, ModeIndex_NumbersInAndOutOfTheList_ThatModeOrTheLast) {
    const std::tuple<std::size_t, int, std::size_t> cases[] = {
        {3, 1, 1}, {3, 3, 2}, {3, INT_MAX, 2}, {3, -1, 2}, {3, INT_MIN, 2}, {1, 7, 0}};
    for (const auto& [count, number, index] : cases)
        EXPECT_EQ(CFullScreenMode::ModeIndex(count, number), index) << number << " of " << count;
}

// The view as the program has it, once framed: the central widget of a main window with
// an action whose shortcut has to work while the view covers the screen.
class FullScreenTest : public ViewFixture {
protected:
    void Frame() {
        Toggle.setShortcut(QKeySequence(Qt::ALT | Qt::Key_Return));
        Window.addAction(&Toggle);
        Window.setCentralWidget(View.get());
        Window.resize(700, 500);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }
    // The window must not delete the view that the fixture owns.
    void TearDown() override { View.reset(); }
    bool IsFullScreen() const { return View->PlayFlags() & CFlashView::FullScreenBit; }
    // The cursor moves on with one more unit.
    bool ReadsOn() {
        const char* at = View->Cursor();
        return Cycle(), View->Cursor() > at;
    }

    QAction Toggle;
    QMainWindow Window;
    const QSignalSpy Triggered{&Toggle, &QAction::triggered};
};

TEST_F(FullScreenTest, EnterLeave_WhileReading_CoversTheModeOrTheScreenThenBackAsItWas) {
    Load(QStringLiteral("It was late, and the house was quiet. ").repeated(20).toStdString());
    View->SetPlayState(CFlashView::Run);
    int presses = 0;
    // In turn on one view: outside any window, then framed, then on a display that refuses.
    const std::tuple<bool, int, bool, QSize> rows[] = {{false, 2, true, {640, 480}},
                                                       {true, 1, true, {800, 600}},
                                                       {true, 9, false, Window.screen()->size()}};
    for (const auto& [framed, number, accepts, covers] : rows) {
        SCOPED_TRACE(number);
        if (framed && !View->parentWidget())
            Frame(); // its failure fails the test, and the rows after it
        View->show();
        const QRect before = View->geometry();
        Settings.DisplaySettingNum = number;
        Fakes.DisplayModes.Accepts = accepts;
        View->FullScreen(1);
        EXPECT_EQ(View->geometry(), QRect(Window.screen()->geometry().topLeft(), covers));
        EXPECT_TRUE(View->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(Window.isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowActive(View.get()));
        QTest::keyClick(View.get(), Qt::Key_Return, Qt::AltModifier);
        EXPECT_EQ(Triggered.count(), presses += framed);
        EXPECT_TRUE(ReadsOn());
        View->FullScreen(0);
        EXPECT_EQ(View->parentWidget(), framed ? &Window : nullptr);
        EXPECT_FALSE(View->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(View->geometry(), before);
        EXPECT_EQ(Window.isVisible(), framed);
        EXPECT_FALSE(View->actions().contains(&Toggle));
        EXPECT_TRUE(ReadsOn());
    }
    EXPECT_EQ(Fakes.DisplayModes.Restores, 3);
}

TEST_F(FullScreenTest, Keys_WhileCovering_SpaceTogglesThePanelEscapeAndCloseLeave) {
    ASSERT_NO_FATAL_FAILURE(Frame());
    QTest::keyClick(View.get(), Qt::Key_Space);
    EXPECT_EQ(View->OptionsPanel(), nullptr); // framed, the keys do nothing
    View->FullScreen(1);
    QTest::keyClick(View.get(), Qt::Key_Space);
    ASSERT_NE(View->OptionsPanel(), nullptr);
    const auto* modes = ControlById<QComboBox>(*View->OptionsPanel(), 1008);
    EXPECT_FALSE(modes->isEnabled()); // a mode chosen now could not apply
    QTest::keyClick(View.get(), Qt::Key_Space);
    EXPECT_FALSE(View->OptionsPanel()->isVisible());
    QTest::keyClick(View.get(), Qt::Key_Space);
    QTest::keyClick(View.get(), Qt::Key_Escape);
    EXPECT_FALSE(IsFullScreen());
    EXPECT_TRUE(modes->isEnabled());
    EXPECT_EQ(View->OptionsPanel()->geometry(), QRect(1, View->height() - CFlashView::PanelHeight,
                                                      View->width(), CFlashView::PanelHeight));
    View->FullScreen(1);
    EXPECT_FALSE(View->close());
    EXPECT_FALSE(IsFullScreen());
    EXPECT_EQ(Window.centralWidget(), View.get());
}
} // namespace
