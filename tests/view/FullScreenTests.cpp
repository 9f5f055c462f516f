// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/MovePositionPage.h"
#include "panel/OptionsPanel.h"
#include "support/gui/ControlLookup.h"
#include "support/gui/ViewFixture.h"

#include <QAction>
#include <QApplication>
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
    // The cursor moves on with one more unit.
    bool ReadsOn() {
        const char* at = Session.Cursor();
        Cycle();
        return Session.Cursor() > at;
    }

    QAction Toggle;
    QMainWindow Window;
    const QSignalSpy Triggered{&Toggle, &QAction::triggered};
};

TEST_F(FullScreenTest, EnterLeave_WhileReading_CoversTheModeOrTheScreenThenBackAsItWas) {
    Load(QStringLiteral("It was late, and the house was quiet. ").repeated(20).toStdString());
    View->SetPlayState(CFlashView::Run);
    int presses = 0;
    // A number past the end of the list, or below 0, picks the last mode; the last row's
    // display refuses.
    const std::tuple<int, bool, QSize> rows[] = {
        {1, true, {800, 600}}, {3, true, {640, 480}}, {-1, false, Window.screen()->size()}};
    for (const auto& [number, accepts, covers] : rows) {
        SCOPED_TRACE(number);
        const QRect before = View->geometry();
        Settings.DisplaySettingNum = number;
        Fakes.DisplayModes.Accepts = accepts;
        View->FullScreen(1);
        EXPECT_EQ(View->geometry(), QRect(Window.screen()->geometry().topLeft(), covers));
        EXPECT_TRUE(View->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(Window.isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowActive(View.get()));
        QTest::keyClick(View.get(), Qt::Key_Return, Qt::AltModifier);
        EXPECT_EQ(Triggered.count(), ++presses);
        EXPECT_TRUE(ReadsOn());
        View->FullScreen(0);
        EXPECT_EQ(View->parentWidget(), &Window);
        EXPECT_FALSE(View->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_EQ(View->geometry(), before);
        EXPECT_TRUE(Window.isVisible());
        EXPECT_FALSE(View->actions().contains(&Toggle));
        EXPECT_TRUE(ReadsOn());
    }
    EXPECT_EQ(Fakes.DisplayModes.Restores, 3);
    // The window is the active one again, or its toolbar would show no tooltips.
    QTest::mouseMove(Window.findChild<QToolBar*>()->widgetForAction(&Toggle));
    EXPECT_TRUE(QTest::qWaitFor([] { return QToolTip::isVisible(); }, 5000));
    EXPECT_EQ(QToolTip::text(), Toggle.toolTip());
}

TEST_F(FullScreenTest, Keys_WhileCovering_SpaceTogglesThePanelEscapeAndCloseLeave) {
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
    EXPECT_FALSE(View->PlayFlags() & CFlashView::FullScreenBit);
    EXPECT_TRUE(modes->isEnabled());
    EXPECT_EQ(View->OptionsPanel()->geometry(), QRect(1, View->height() - CFlashView::PanelHeight,
                                                      View->width(), CFlashView::PanelHeight));
    // The reader's choice in the bookmark list survives the trips.
    Load("One. Two. Three.");
    Settings.AddBookmark();
    Settings.SetPosition(5), Settings.AddBookmark();
    View->ShowOptionsPanel(COptionsPanel::MovePosition);
    auto* list = ControlById<QListWidget>(*View->OptionsPanel()->MovePage(), 1040);
    list->setCurrentRow(0);
    View->FullScreen(1);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_FALSE(View->close());
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_FALSE(View->PlayFlags() & CFlashView::FullScreenBit);
    EXPECT_EQ(Window.centralWidget(), View.get());
}
} // namespace
