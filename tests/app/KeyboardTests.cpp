// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestSupport.h"

#include "panel/OptionsPanel.h"

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
    // Offset, 'r' while running, 'p' while the panel is shown, the gap.
    std::string Press(QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(to, key, modifiers);
        const uint32_t flags = View().PlayFlags();
        return std::to_string(Offset()) + (flags & CFlashView::RunningBit ? "r" : "") +
               (flags & CFlashView::PanelShownBit ? "p" : "") + std::to_string(Settings().freq);
    }
};

TEST_F(KeyboardTest, Keys_FramedAndFullScreen_MoveRunPauseAndTimeSpaceTogglesPanelInFullScreen) {
    std::string seen;
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Home, Qt::Key_Up,
                              Qt::Key_Down, Qt::Key_Space, Qt::Key_Return, Qt::Key_MediaPlay})
        seen += Press(&View(), key) + ' ';
    seen += Press(&View(), Qt::Key_Enter, Qt::KeypadModifier) + ' ';
    Frame->ExecuteCommand(CommandId::FullScreen);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&View()));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space, Qt::Key_Right, Qt::Key_Return})
        seen += Press(&View(), key) + ' ';
    EXPECT_EQ(seen, "5400 11400 5400 0400 0364 0400 0r400 0400 0r400 0400 "
                    "0r400 0rp400 5rp400 5p400 ");
}

// Left in an edit moves its caret, Up in the bookmarks selects the one above (and goes there).
TEST_F(KeyboardTest, Keys_InPanelEditAndList_KeepTheirOwnMeaning) {
    Press(&View(), Qt::Key_Right);
    Frame->ExecuteCommand(CommandId::ReadingOptions);
    auto* edit = View().OptionsPanel()->findChild<QLineEdit*>(QStringLiteral("StopSymbolsEdit"));
    edit->setFocus(), edit->setCursorPosition(2);
    const std::string edited = Press(edit, Qt::Key_Left);
    EXPECT_EQ(edited + ' ' + std::to_string(edit->cursorPosition()), "5p400 1");
    Settings().Book.Bookmarks = {11, 20}, Settings().Book.BookmarksNum = 2;
    Frame->ExecuteCommand(CommandId::MovePosition);
    auto* list = View().OptionsPanel()->findChild<QListWidget*>(QStringLiteral("BookmarkList"));
    list->setFocus(), list->setCurrentRow(1);
    const std::string listed = Press(list, Qt::Key_Up);
    EXPECT_EQ(listed + ' ' + std::to_string(list->currentRow()), "11p400 0");
}

TEST_F(KeyboardTest, RightWhileUnitShown_ErasedThenNextSentenceAfterAWholeGap) {
    Frame->ExecuteCommand(CommandId::Run);
    Advance(1);
    ASSERT_EQ(std::string(Session().UnitBuffer()), "One.");
    EXPECT_EQ(Press(&View(), Qt::Key_Right), "5r400");
    EXPECT_EQ(std::pair(View().ShownUnitRect(), Session().NextWake()),
              std::pair(QRect(), std::optional(Fakes.Clock.NowMs() + 400)));
    Advance(1);
    EXPECT_EQ(std::string(Session().UnitBuffer()), "Two?");
}

} // namespace
