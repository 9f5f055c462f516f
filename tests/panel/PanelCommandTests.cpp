#include "app/AppTestSupport.h"

#include "panel/MovePositionPage.h"
#include "panel/OptionsPanel.h"

#include <QAction>

namespace {

namespace Id = CommandId;

// The frame's panel commands, as the menu and the toolbar give them.
class PanelCommandTest : public AppFixture {
protected:
    bool PanelShown() { return View().PlayFlags() & CFlashView::PanelShownBit; }
    bool Checked() { return Frame->ActionFor(Id::OptionsPanel)->isChecked(); }
};

TEST_F(PanelCommandTest, OptionsPanelTwice_ShowsCheckedThenHidesUnchecked) {
    Frame->ExecuteCommand(Id::OptionsPanel);
    ASSERT_NE(View().OptionsPanel(), nullptr);
    EXPECT_TRUE(PanelShown());
    EXPECT_TRUE(Checked());
    Frame->ExecuteCommand(Id::OptionsPanel);
    EXPECT_FALSE(PanelShown());
    EXPECT_FALSE(Checked());
}

TEST_F(PanelCommandTest, ReadingOptionsAndMovePosition_ShowAtTheirPageNeverHide) {
    Frame->ExecuteCommand(Id::MovePosition);
    ASSERT_TRUE(PanelShown());
    ASSERT_NE(View().OptionsPanel()->MovePage(), nullptr);
    EXPECT_TRUE(View().OptionsPanel()->MovePage()->isVisibleTo(View().OptionsPanel()));
    Frame->ExecuteCommand(Id::MovePosition);
    EXPECT_TRUE(PanelShown());
    Frame->ExecuteCommand(Id::ReadingOptions);
    EXPECT_TRUE(PanelShown());
    EXPECT_TRUE(Checked());
    EXPECT_FALSE(View().OptionsPanel()->MovePage()->isVisibleTo(View().OptionsPanel()));
}

TEST_F(PanelCommandTest, HiddenByTheView_CheckMarkFollows) {
    Frame->ExecuteCommand(Id::ReadingOptions);
    View().ShowOptionsPanel(COptionsPanel::CurrentPage);
    EXPECT_FALSE(Checked());
}

} // namespace
