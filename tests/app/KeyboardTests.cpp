// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestSupport.h"

#include "panel/OptionsPanel.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace {

const QByteArray Story = "One. Two?! Three\r\n\r\nFour words to read, and some more after them.";

struct KeyboardTest : AppFixture {
    void SetUp() override {
        AppFixture::SetUp();
        OpenFromMenu(WriteText(QStringLiteral("story.txt"), Story));
        ASSERT_TRUE(QTest::qWaitForWindowActive(Frame));
    }
    void Press(QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(to, key, modifiers);
    }
    bool Running() const { return Frame->Session().IsReading(); }
    bool PanelShown() const { return Frame->Session().PlayFlags() & CPlayer::PanelShownBit; }
};

// A fixture made by hand inside a table's loop.
struct FreshKeyboard final : KeyboardTest {
    void TestBody() override {}
};

struct KeyRow {
    const char* Name;
    bool FullScreen;
    std::vector<QKeyCombination> Keys;
    int32_t Offset;
    bool Running;
    bool PanelShown;
    uint32_t Gap;
};

TEST(Keyboard, ReadingKeys_FramedAndFullScreen_EachDoesItsCommand) {
    const KeyRow rows[] = {
        {"Right: the next sentence", false, {Qt::Key_Right}, 5, false, false, 400},
        {"Right twice", false, {Qt::Key_Right, Qt::Key_Right}, 11, false, false, 400},
        {"Left at a sentence start: the one before",
         false,
         {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left},
         5,
         false,
         false,
         400},
        {"Home: the start", false, {Qt::Key_Right, Qt::Key_Home}, 0, false, false, 400},
        {"Up: faster", false, {Qt::Key_Up}, 0, false, false, 364},
        {"Down: slower", false, {Qt::Key_Down}, 0, false, false, 440},
        {"Space runs", false, {Qt::Key_Space}, 0, true, false, 400},
        {"Space again pauses", false, {Qt::Key_Space, Qt::Key_Space}, 0, false, false, 400},
        {"Return runs", false, {Qt::Key_Return}, 0, true, false, 400},
        {"media Play runs", false, {Qt::Key_MediaPlay}, 0, true, false, 400},
        {"keypad Enter runs", false, {Qt::Key_Enter}, 0, true, false, 400},
        {"full screen: Return runs", true, {Qt::Key_Return}, 0, true, false, 400},
        {"full screen: Right moves", true, {Qt::Key_Right}, 5, false, false, 400},
        {"Ctrl+Right: the next unit", false, {Qt::CTRL | Qt::Key_Right}, 4, false, false, 400},
        {"Ctrl+Right twice, Ctrl+Left: back one unit",
         false,
         {Qt::CTRL | Qt::Key_Right, Qt::CTRL | Qt::Key_Right, Qt::CTRL | Qt::Key_Left},
         4,
         false,
         false,
         400},
        {"Ctrl+Down: the next paragraph", false, {Qt::CTRL | Qt::Key_Down}, 20, false, false, 400},
        {"Ctrl+Up: the paragraph before",
         false,
         {Qt::CTRL | Qt::Key_Down, Qt::CTRL | Qt::Key_Up},
         0,
         false,
         false,
         400},
        {"Backspace at a sentence start replays the one before",
         false,
         {Qt::Key_Right, Qt::Key_Backspace},
         0,
         true,
         false,
         400},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.Name);
        FreshKeyboard rig;
        rig.SetUp();
        if (row.FullScreen) {
            rig.Frame->ExecuteCommand(CommandId::FullScreen);
            ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.View()));
        }
        for (const QKeyCombination key : row.Keys) {
            const Qt::KeyboardModifiers keypad =
                key.key() == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
            rig.Press(&rig.View(), key.key(), key.keyboardModifiers() | keypad);
        }
        EXPECT_EQ(rig.Offset(), row.Offset);
        EXPECT_EQ(rig.Running(), row.Running);
        EXPECT_EQ(rig.PanelShown(), row.PanelShown);
        EXPECT_EQ(rig.Settings().freq, row.Gap);
        rig.TearDown();
    }
}

TEST_F(KeyboardTest, F11_EntersAndLeavesFullScreenAsAltEnterDoes) {
    const auto fullScreen = [this] {
        return (Frame->Session().PlayFlags() & CPlayer::FullScreenBit) != 0;
    };
    Press(&View(), Qt::Key_F11);
    ASSERT_TRUE(QTest::qWaitFor(fullScreen, 5000));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&View()));
    Press(&View(), Qt::Key_F11);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !fullScreen(); }, 5000));
}

TEST_F(KeyboardTest, LeftInAPanelEdit_MovesTheCaretNotTheReading) {
    Press(&View(), Qt::Key_Right);
    Frame->ExecuteCommand(CommandId::ReadingOptions);
    auto* edit = View().OptionsPanel()->findChild<QLineEdit*>(QStringLiteral("StopSymbolsEdit"));
    edit->setFocus();
    edit->setCursorPosition(2);
    Press(edit, Qt::Key_Left);
    EXPECT_EQ(edit->cursorPosition(), 1);
    Press(edit, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(edit->cursorPosition(), 0);
    const QString text = edit->text();
    edit->setCursorPosition(1);
    Press(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), text.mid(1));
    EXPECT_EQ(Offset(), 5);
    EXPECT_FALSE(Running());
}

// Up in the bookmarks selects the one above, and the reading goes there.
TEST_F(KeyboardTest, UpInTheBookmarkList_SelectsTheOneAbove) {
    Settings().Book.Bookmarks = {11, 20};
    Settings().Book.BookmarksNum = 2;
    Frame->ExecuteCommand(CommandId::MovePosition);
    auto* list = View().OptionsPanel()->findChild<QListWidget*>(QStringLiteral("BookmarkList"));
    list->setFocus();
    list->setCurrentRow(1);
    Press(list, Qt::Key_Up);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(Offset(), 11);
    EXPECT_EQ(Settings().freq, 400u);
}

// Return on an item of an open list (a combo box's) chooses the item and runs nothing.
TEST_F(KeyboardTest, ReturnInAnOpenComboList_ChoosesTheItemOnly) {
    Frame->ExecuteCommand(CommandId::ReadingOptions);
    auto* pages = View().OptionsPanel()->findChild<QComboBox*>(QStringLiteral("PageSelector"));
    pages->showPopup();
    QAbstractItemView* list = pages->view();
    list->setCurrentIndex(pages->model()->index(1, 0));
    Press(list, Qt::Key_Return);
    EXPECT_FALSE(Running());
    EXPECT_EQ(pages->currentIndex(), 1);
}

TEST_F(KeyboardTest, RightWhileUnitShown_ErasedThenNextSentenceAfterAWholeGap) {
    Frame->ExecuteCommand(CommandId::Run);
    Advance(1);
    ASSERT_EQ(std::string(Session().UnitBuffer()), "One.");
    Press(&View(), Qt::Key_Right);
    EXPECT_EQ(Offset(), 5);
    EXPECT_TRUE(Running());
    EXPECT_EQ(View().ShownUnitRect(), QRect());
    EXPECT_EQ(Session().NextWake(), std::optional(Fakes.Clock.NowMs() + 400));
    Advance(1);
    EXPECT_EQ(std::string(Session().UnitBuffer()), "Two?");
}

} // namespace
