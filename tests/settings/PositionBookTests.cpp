#include "BoundText.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
TEST(PositionBook, WithoutText_NoPositionAndBookmarksStoreZero) {
    const char* start = nullptr;
    const char* cursor = nullptr;
    CReadingSettings unbound;
    CReadingSettings empty;
    empty.BindText(&start, &cursor);
    for (auto [settings, offset] : {std::pair{&unbound, -1}, {&empty, -2}}) {
        EXPECT_EQ(settings->Book.GetOffset(), offset);
        EXPECT_FALSE(settings->SetPosition(0));
        EXPECT_FALSE(settings->MoveBy(1));
        settings->AddBookmark();
        EXPECT_EQ(settings->Book.Bookmarks[0], 0);
        int32_t at = 5;
        EXPECT_EQ(settings->GetBookmark(0, at), nullptr);
        EXPECT_EQ(at, -1);
    }
}

TEST(PositionBook, SetPositionBelowLength_SetOffsetUpToTheTerminator) {
    // 1: accepted; SetOffset also takes the terminator.
    for (const auto& [offset, position, set] :
         {std::tuple{99, 1, 1}, {100, 0, 1}, {101, 0, 0}, {-1, 0, 0}, {INT_MIN, 0, 0}}) {
        SCOPED_TRACE(offset);
        BoundText text(100);
        ASSERT_TRUE(text.Settings.SetPosition(50));
        EXPECT_EQ(text.Settings.SetPosition(offset), position == 1);
        EXPECT_EQ(text.Settings.Book.SetOffset(offset), set == 1);
        EXPECT_EQ(text.Offset(), set == 1 ? offset : 50);
    }
    for (const auto& [from, delta, moved] : {std::tuple{89, 10, true},
                                             {90, 10, false},
                                             {10, -10, true},
                                             {5, -10, false},
                                             {50, INT_MAX, false},
                                             {50, INT_MIN, false}}) {
        SCOPED_TRACE(testing::Message() << from << " by " << delta);
        BoundText text(100);
        ASSERT_TRUE(text.Settings.SetPosition(from));
        EXPECT_EQ(text.Settings.MoveBy(delta), moved);
        EXPECT_EQ(text.Offset(), moved ? from + delta : from);
    }
}

TEST(PositionBook, AddBookmark_KeepsTheLast64) {
    BoundText text(100);
    for (int i = 0; i < 65; ++i) {
        ASSERT_TRUE(text.Settings.SetPosition(i / 2 * 2)); // each place twice
        text.Settings.AddBookmark();
    }
    ASSERT_EQ(text.Settings.Book.BookmarksNum, 64);
    EXPECT_EQ(text.Settings.Book.Bookmarks[0], 0);
    EXPECT_EQ(text.Settings.Book.Bookmarks[63], 64);
    text.Settings.Book.BookmarksNum = 300; // a count set from outside never overflows
    text.Settings.AddBookmark();
    EXPECT_EQ(text.Settings.Book.BookmarksNum, 64);
}

TEST(PositionBook, GetBookmark_TextOnlyForEntriesWithinTheText) {
    for (const auto& [entry, hasText] :
         {std::pair{0, true}, {100, true}, {101, false}, {-1, false}}) {
        SCOPED_TRACE(entry);
        BoundText text(100);
        text.Settings.Book.Bookmarks[0] = entry;
        text.Settings.Book.BookmarksNum = 1;
        int32_t offset = 0;
        EXPECT_EQ(text.Settings.GetBookmark(0, offset), hasText ? text.Start + entry : nullptr);
        EXPECT_EQ(offset, entry);
        EXPECT_EQ(text.Settings.GetBookmark(1, offset), nullptr);
        EXPECT_EQ(offset, -1);
    }
}
} // namespace
