#include "BoundText.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

namespace {
TEST(CharacterPosition, OffsetInsideACharacter_MovesBackToItsFirstByte) {
    for (const auto& [offset, placed, stepped] :
         {std::tuple{2, 1, 3}, {4, 3, 6}, {5, 3, 6}, {9, 6, 10}, {10, 10, 10}}) {
        SCOPED_TRACE(offset);
        BoundText text(11);
        std::memcpy(text.Bytes.data(), "aж語😀b", 11); // characters at 0, 1, 3, 6 and 10
        text.Settings.CharacterMode = true;
        EXPECT_TRUE(text.Settings.SetPosition(offset));
        EXPECT_EQ(text.Offset(), placed);
        text.Settings.Book.Bookmarks[0] = offset;
        text.Settings.Book.BookmarksNum = 1;
        int32_t at = -1;
        EXPECT_EQ(text.Settings.GetBookmark(0, at), text.Start + placed);
        EXPECT_EQ(at, placed);
        ASSERT_TRUE(text.Settings.SetPosition(offset - 1));
        EXPECT_TRUE(text.Settings.MoveBy(1)); // on past a character it would end inside
        EXPECT_EQ(text.Offset(), stepped);
        text.Settings.CharacterMode = false;
        EXPECT_TRUE(text.Settings.SetPosition(offset));
        EXPECT_EQ(text.Offset(), offset);
    }
}

TEST(CharacterPosition, ShiftSplit_CountsTheCharactersOfTheStopSymbols) {
    CReadingSettings settings;
    settings.CharacterMode = true;
    settings.SetStopSymbolsText("。、…");
    settings.UcOffset = 2;
    EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Forward));
    EXPECT_FALSE(settings.ShiftSplit(SplitDirection::Forward));
}
} // namespace
