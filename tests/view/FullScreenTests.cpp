#include "support/gui/ViewFixture.h"

#include "panel/OptionsPanel.h"
#include "view/FullScreenMode.h"

#include <QComboBox>
#include <QMainWindow>
#include <QScreen>

#include <climits>
#include <tuple>

namespace {
TEST(FullScreenModeIndex, ModeIndex_NumbersInAndOutOfTheList_ThatModeOrTheLast) {
    const std::tuple<std::size_t, int, std::size_t> cases[] = {
        {3, 1, 1}, {3, 3, 2}, {3, INT_MAX, 2}, {3, -1, 2}, {3, INT_MIN, 2}, {1, 7, 0}};
    for (const auto& [count, number, index] : cases)
        EXPECT_EQ(CFullScreenMode::ModeIndex(count, number), index) << number << " of " << count;
}

// The view as the program has it: the central widget of a main window.
class FullScreenTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        Window.setCentralWidget(View.get());
        Window.resize(700, 500);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        Framed = View->geometry();
    }
    // The window must not delete the view that the fixture owns.
    void TearDown() override { View.reset(); }
    bool IsFullScreen() const { return View->PlayFlags() & CFlashView::FullScreenBit; }
    // The panel's list of display modes (control 1008 of its template).
    QComboBox* DisplayModeList() const {
        for (auto* combo : View->OptionsPanel()->findChildren<QComboBox*>())
            if (combo->property("controlId").toInt() == 1008)
                return combo;
        return nullptr;
    }
    QRect PanelAlongTheBottom(int width, int height) const {
        return {1, height - CFlashView::PanelHeight, width, CFlashView::PanelHeight};
    }

    QMainWindow Window;
    QRect Framed;
};

TEST_F(FullScreenTest, EnterLeave_ViewCoversTheChosenModeOnTopThenBackInTheWindow) {
    const std::vector<DisplayMode>& modes = Fakes.DisplayModes.List;
    Settings.DisplaySettingNum = 1;
    View->FullScreen(1);
    EXPECT_TRUE(IsFullScreen());
    EXPECT_EQ(Fakes.DisplayModes.Switches, std::vector<DisplayMode>{modes[1]});
    EXPECT_EQ(View->geometry(), QRect(Window.screen()->geometry().topLeft(), QSize(800, 600)));
    EXPECT_TRUE(View->isWindow());
    EXPECT_TRUE(View->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(Window.isVisible());
    View->FullScreen(0);
    EXPECT_FALSE(IsFullScreen());
    EXPECT_EQ(Fakes.DisplayModes.Restores, 1);
    EXPECT_EQ(Window.centralWidget(), View.get());
    EXPECT_EQ(View->geometry(), Framed);
    EXPECT_TRUE(Window.isVisible());
    Settings.DisplaySettingNum = 9; // read anew at each entry
    View->FullScreen(1);
    EXPECT_EQ(Fakes.DisplayModes.Switches.back(), modes[2]);
}

TEST_F(FullScreenTest, CloseOrDestroyed_WhileCovering_LeavesAndRestoresTheMode) {
    View->FullScreen(1);
    EXPECT_FALSE(View->close());
    EXPECT_FALSE(IsFullScreen());
    EXPECT_EQ(Fakes.DisplayModes.Restores, 1);
    View->FullScreen(1);
    View.reset();
    EXPECT_EQ(Fakes.DisplayModes.Restores, 2);
}

TEST_F(FullScreenTest, Keys_SpaceTogglesThePanelAlongTheBottomEscapeLeaves) {
    QTest::keyClick(View.get(), Qt::Key_Space);
    EXPECT_EQ(View->OptionsPanel(), nullptr); // framed, the keys do nothing
    View->FullScreen(1);
    QTest::keyClick(View.get(), Qt::Key_Space);
    ASSERT_NE(View->OptionsPanel(), nullptr);
    EXPECT_TRUE(View->OptionsPanel()->isVisible());
    EXPECT_EQ(View->OptionsPanel()->geometry(), PanelAlongTheBottom(1024, 768));
    EXPECT_FALSE(DisplayModeList()->isEnabled());
    QTest::keyClick(View.get(), Qt::Key_Space);
    EXPECT_FALSE(View->OptionsPanel()->isVisible());
    QTest::keyClick(View.get(), Qt::Key_Space);
    QTest::keyClick(View.get(), Qt::Key_Escape);
    EXPECT_FALSE(IsFullScreen());
    EXPECT_EQ(View->OptionsPanel()->geometry(), PanelAlongTheBottom(View->width(), View->height()));
    EXPECT_TRUE(DisplayModeList()->isEnabled());
}
} // namespace
