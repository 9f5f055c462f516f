#include "support/gui/ViewFixture.h"

#include "panel/OptionsPanel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QMainWindow>
#include <QPointer>
#include <QSignalSpy>

namespace {

const std::string Story = "It was late, and the house was quiet. Nobody moved.\r\n"
                          "The clock on the wall struck twelve.";

// The view as the program has it: the central widget of a main window.
class FullScreenViewTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        Window.setCentralWidget(View.get());
        Window.resize(700, 500);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }
    // The window must not delete the view that the fixture owns.
    void TearDown() override { View.reset(); }

    bool IsFullScreen() const { return View->PlayFlags() & CFlashView::FullScreenBit; }
    bool PanelShown() const { return View->PlayFlags() & CFlashView::PanelShownBit; }
    // The panel's list of display modes (control 1008 of its template).
    QComboBox* DisplayModeList() const {
        for (auto* combo : View->OptionsPanel()->findChildren<QComboBox*>()) {
            if (combo->property("controlId").toInt() == 1008)
                return combo;
        }
        return nullptr;
    }

    QMainWindow Window;
};

TEST_F(FullScreenViewTest, FullScreen_EnterThenLeave_BitSetAndClearedEachChangeAnnounced) {
    const QSignalSpy changes(View.get(), &CFlashView::PlayFlagsChanged);

    View->FullScreen(1);

    EXPECT_TRUE(IsFullScreen());
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).value<uint32_t>(),
              CFlashView::StoppedBit | CFlashView::FullScreenBit);
    EXPECT_EQ(Fakes.DisplayModes.Switches, std::vector<DisplayMode>{Fakes.DisplayModes.List[0]});

    View->FullScreen(0);

    EXPECT_FALSE(IsFullScreen());
    ASSERT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(1).at(0).value<uint32_t>(), CFlashView::StoppedBit);
    EXPECT_EQ(Fakes.DisplayModes.Restores, 1);
    EXPECT_EQ(View->OptionsPanel(), nullptr);
}

TEST_F(FullScreenViewTest, FullScreen_DisplaySettingNum_PicksTheModeAtEachEntry) {
    Settings.DisplaySettingNum = 1;
    View->FullScreen(1);
    View->FullScreen(0);
    Settings.DisplaySettingNum = 9;
    View->FullScreen(1);

    EXPECT_EQ(Fakes.DisplayModes.Switches,
              (std::vector<DisplayMode>{Fakes.DisplayModes.List[1], Fakes.DisplayModes.List[2]}));
    EXPECT_EQ(View->size(), QSize(640, 480));
}

TEST_F(FullScreenViewTest, FullScreen_AnyValueButOne_Leaves) {
    for (const int value : {0, 2, -1}) {
        View->FullScreen(1);
        View->FullScreen(value);
        EXPECT_FALSE(IsFullScreen()) << value;
    }
}

TEST_F(FullScreenViewTest, FullScreen_WhileReading_UnitsGoOnThroughEnterAndLeave) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(400);
    ASSERT_EQ(Shown.size(), 1u);

    View->FullScreen(1);
    EXPECT_EQ(View->State(), CFlashView::ReadingState::Running);
    EXPECT_TRUE(View->WakePending());
    Advance(700);
    Advance(400);
    EXPECT_EQ(Shown.size(), 2u);

    View->FullScreen(0);
    EXPECT_EQ(View->State(), CFlashView::ReadingState::Running);
    Advance(700);
    Advance(400);
    EXPECT_EQ(Shown, (std::vector<std::string>{"It was ", "late, and ", "the house was quiet."}));
}

TEST_F(FullScreenViewTest, Keys_EscapeLeavesFullScreenOtherwiseKeysDoNothing) {
    const uint32_t flags = View->PlayFlags();
    QTest::keyClick(View.get(), Qt::Key_Escape);
    QTest::keyClick(View.get(), Qt::Key_Space);
    EXPECT_EQ(View->PlayFlags(), flags);
    View->FullScreen(1);
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_F1}) {
        QTest::keyClick(View.get(), key);
        EXPECT_TRUE(IsFullScreen()) << key;
    }

    QTest::keyClick(View.get(), Qt::Key_Escape);

    EXPECT_FALSE(IsFullScreen());
    EXPECT_EQ(Fakes.DisplayModes.Restores, 1);
}

TEST_F(FullScreenViewTest, Keys_FullScreenSpace_ShowsThenHidesThePanelAlongTheBottom) {
    View->FullScreen(1);

    QTest::keyClick(View.get(), Qt::Key_Space);

    ASSERT_TRUE(PanelShown());
    ASSERT_NE(View->OptionsPanel(), nullptr);
    EXPECT_TRUE(View->OptionsPanel()->isVisible());
    EXPECT_EQ(View->OptionsPanel()->geometry(), QRect(1, 768 - 120, 1024, 120));
    EXPECT_FALSE(DisplayModeList()->isEnabled()); // first shown in full screen: list off
    QTest::keyClick(View.get(), Qt::Key_Space);
    EXPECT_FALSE(PanelShown());
    EXPECT_FALSE(View->OptionsPanel()->isVisible());
    EXPECT_TRUE(IsFullScreen());

    View->FullScreen(0);
    EXPECT_TRUE(DisplayModeList()->isEnabled());
}

TEST_F(FullScreenViewTest, Panel_ShownWhenEntering_FollowsTheBottomEdgeListOffMeanwhile) {
    View->ShowOptionsPanel(0);
    ASSERT_TRUE(DisplayModeList()->isEnabled());

    View->FullScreen(1);

    EXPECT_EQ(View->OptionsPanel()->geometry(), QRect(1, 768 - 120, 1024, 120));
    EXPECT_TRUE(View->OptionsPanel()->isVisible());
    EXPECT_FALSE(DisplayModeList()->isEnabled());

    View->FullScreen(0);

    EXPECT_EQ(View->OptionsPanel()->geometry(), QRect(1, View->height() - CFlashView::PanelHeight,
                                                      View->width(), CFlashView::PanelHeight));
    EXPECT_TRUE(View->OptionsPanel()->isVisible());
    EXPECT_TRUE(DisplayModeList()->isEnabled());
}

TEST_F(FullScreenViewTest, Close_FullScreen_LeavesAndTheViewStays) {
    View->FullScreen(1);
    const QPointer<CFlashView> view(View.get());

    EXPECT_FALSE(View->close());

    ASSERT_FALSE(view.isNull());
    EXPECT_FALSE(IsFullScreen());
    EXPECT_TRUE(View->isVisible());
}

} // namespace
