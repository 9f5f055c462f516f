// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/MovePositionPage.h"
#include "panel/OptionsPanel.h"
#include "support/gui/ControlLookup.h"
#include "support/gui/ViewFixture.h"

#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMainWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QToolBar>
#include <QToolTip>

namespace {
// The view as the program has it: the central widget of a main window with an action
// whose shortcut has to work while the view covers the screen.
class FullScreenTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        Toggle.setShortcut(QKeySequence(Qt::ALT | Qt::Key_Return));
        Window.addAction(&Toggle);
        Toggle.setToolTip(QStringLiteral("Full Screen"));
        Window.addToolBar(QStringLiteral("Toolbar"))->addAction(&Toggle);
        Window.setCentralWidget(View.get());
        Window.resize(700, 500);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
    }
    // The window must not delete the view that the fixture owns.
    void TearDown() override { View.reset(); }

    QAction Toggle;
    QMainWindow Window;
    const QSignalSpy Triggered{&Toggle, &QAction::triggered};
};

// A number past the end of the list, or below 0, picks the last mode; the last row's
// display refuses. Each way out puts the display's own mode back, refused or not.
TEST_F(FullScreenTest, EnterAndLeave_ModeNumber_CoversTheModeOrTheScreenThenRestores) {
    const struct {
        const char* Name;
        int Number;
        bool Accepts;
        QSize Covers;
    } rows[] = {{"second mode", 1, true, {800, 600}},
                {"past the end", 3, true, {640, 480}},
                {"below 0, refused", -1, false, Window.screen()->size()}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        Settings.DisplaySettingNum = row.Number;
        Fakes.DisplayModes.Accepts = row.Accepts;
        View->FullScreen(1);
        EXPECT_EQ(View->geometry(), QRect(Window.screen()->geometry().topLeft(), row.Covers));
        EXPECT_TRUE(View->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(Window.isVisible());
        View->FullScreen(0);
    }
    EXPECT_EQ(Fakes.DisplayModes.Restores, 3);
}

TEST_F(FullScreenTest, Enter_Any_WindowShortcutWorks) {
    View->FullScreen(1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(View.get()));
    QTest::keyClick(View.get(), Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(Triggered.count(), 1);
}

// The reading goes on through the way in and the way out; the window is active again, or
// its toolbar would show no tooltips.
TEST_F(FullScreenTest, Leave_WhileReading_BackInTheWindowAsItWasReadingOn) {
    Load(QStringLiteral("It was late, and the house was quiet. ").repeated(20).toStdString());
    View->SetPlayState(CFlashView::Run);
    const QRect before = View->geometry();
    View->FullScreen(1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(View.get()));
    View->FullScreen(0);
    EXPECT_EQ(View->parentWidget(), &Window);
    EXPECT_FALSE(View->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(View->geometry(), before);
    EXPECT_TRUE(Window.isVisible());
    EXPECT_FALSE(View->actions().contains(&Toggle));
    const char* at = Session.Cursor();
    Cycle();
    EXPECT_GT(Session.Cursor(), at);
    QTest::mouseMove(Window.findChild<QToolBar*>()->widgetForAction(&Toggle));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 5000));
    EXPECT_EQ(QToolTip::text(), Toggle.toolTip());
}

// A mode chosen while covering could not apply.
TEST_F(FullScreenTest, Space_WhileCovering_TogglesThePanelWithoutModes) {
    View->FullScreen(1);
    QTest::keyClick(View.get(), Qt::Key_Space);
    ASSERT_NE(View->OptionsPanel(), nullptr);
    EXPECT_TRUE(View->OptionsPanel()->isVisible());
    EXPECT_FALSE(ControlById<QComboBox>(*View->OptionsPanel(), 1008)->isEnabled());
    QTest::keyClick(View.get(), Qt::Key_Space);
    EXPECT_FALSE(View->OptionsPanel()->isVisible());
}

TEST_F(FullScreenTest, Escape_WhileCovering_LeavesWithThePanelAtTheBottom) {
    View->FullScreen(1);
    QTest::keyClick(View.get(), Qt::Key_Space);
    QTest::keyClick(View.get(), Qt::Key_Escape);
    EXPECT_FALSE(View->PlayFlags() & CFlashView::FullScreenBit);
    EXPECT_TRUE(ControlById<QComboBox>(*View->OptionsPanel(), 1008)->isEnabled());
    EXPECT_EQ(View->OptionsPanel()->geometry(), QRect(1, View->height() - CFlashView::PanelHeight,
                                                      View->width(), CFlashView::PanelHeight));
}

TEST_F(FullScreenTest, Close_WhileCovering_LeavesWithoutClosing) {
    View->FullScreen(1);
    EXPECT_FALSE(View->close());
    EXPECT_FALSE(View->PlayFlags() & CFlashView::FullScreenBit);
    EXPECT_EQ(Window.centralWidget(), View.get());
}

TEST_F(FullScreenTest, EnterAndClose_BookmarkChosen_StaysChosen) {
    Load("One. Two. Three.");
    Settings.AddBookmark();
    Settings.SetPosition(5);
    Settings.AddBookmark();
    View->ShowOptionsPanel(COptionsPanel::MovePosition);
    auto* list = ControlById<QListWidget>(*View->OptionsPanel()->MovePage(), 1040);
    list->setCurrentRow(0);
    View->FullScreen(1);
    EXPECT_EQ(list->currentRow(), 0);
    View->close();
    EXPECT_EQ(list->currentRow(), 0);
}
} // namespace
