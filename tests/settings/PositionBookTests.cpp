#include "BoundText.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {
TEST(PositionBookUnbound, OffsetMinusOne_SetFails_BookmarkNull_AddStoresZero) {
    CReadingSettings settings;
    EXPECT_EQ(settings.Book.GetOffset(), -1);
    EXPECT_FALSE(settings.Book.SetOffset(0));
    EXPECT_FALSE(settings.SetPosition(0));
    int32_t offset = 5;
    EXPECT_EQ(settings.GetPosition(offset), nullptr);
    EXPECT_EQ(offset, -1);
    settings.AddBookmark();
    ASSERT_EQ(settings.Book.BookmarksNum, 1);
    EXPECT_EQ(settings.Book.Bookmarks[0], 0);
    EXPECT_EQ(settings.GetBookmark(0, offset), nullptr);
    EXPECT_EQ(offset, -1);
}

TEST(PositionBookWithoutText, OffsetMinusTwo_AddStoresZero) {
    const char* start = nullptr;
    const char* cursor = nullptr;
    CReadingSettings settings;
    settings.BindText(&start, &cursor);
    EXPECT_EQ(settings.Book.GetOffset(), -2);
    EXPECT_FALSE(settings.Book.SetOffset(0));
    EXPECT_FALSE(settings.MoveBy(1));
    settings.AddBookmark();
    EXPECT_EQ(settings.Book.Bookmarks[0], 0);
}

struct SetCase {
    int32_t Offset;
    bool Position; // SetPosition's result
    bool Offset_;  // SetOffset's result
};

void PrintTo(const SetCase& c, std::ostream* os) {
    *os << c.Offset;
}

class PositionBounds : public testing::TestWithParam<SetCase> {};

TEST_P(PositionBounds, SetPositionBelowLength_SetOffsetUpToTerminator) {
    const auto& c = GetParam();
    BoundText text(100);
    ASSERT_TRUE(text.Settings.SetPosition(50));
    EXPECT_EQ(text.Settings.SetPosition(c.Offset), c.Position);
    EXPECT_EQ(text.Settings.Book.GetOffset(), c.Position ? c.Offset : 50);
    EXPECT_EQ(text.Settings.Book.SetOffset(c.Offset), c.Offset_);
    EXPECT_EQ(text.Settings.Book.GetOffset(), c.Offset_ ? c.Offset : 50);
}

INSTANTIATE_TEST_SUITE_P(Cases, PositionBounds,
                         testing::Values(SetCase{0, true, true}, SetCase{99, true, true},
                                         SetCase{100, false, true}, SetCase{101, false, false},
                                         SetCase{-1, false, false}, SetCase{INT_MAX, false, false},
                                         SetCase{INT_MIN, false, false}));

struct MoveCase {
    int32_t From;
    int32_t Delta;
    bool Moved;
};

void PrintTo(const MoveCase& c, std::ostream* os) {
    *os << c.From << " by " << c.Delta;
}

class MoveBy : public testing::TestWithParam<MoveCase> {};

TEST_P(MoveBy, MovesWithinTextOrStays) {
    const auto& c = GetParam();
    BoundText text(100);
    ASSERT_TRUE(text.Settings.SetPosition(c.From));
    EXPECT_EQ(text.Settings.MoveBy(c.Delta), c.Moved);
    EXPECT_EQ(text.Settings.Book.GetOffset(), c.Moved ? c.From + c.Delta : c.From);
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveBy,
                         testing::Values(MoveCase{95, 10, false}, MoveCase{5, -10, false},
                                         MoveCase{89, 10, true}, MoveCase{90, 10, false},
                                         MoveCase{10, -10, true}, MoveCase{50, INT_MAX, false},
                                         MoveCase{50, INT_MIN, false}));

TEST(Bookmarks, SamePlaceTwice_GivesTwoEqualEntries) {
    BoundText text(100);
    ASSERT_TRUE(text.Settings.SetPosition(42));
    text.Settings.AddBookmark();
    text.Settings.AddBookmark();
    ASSERT_EQ(text.Settings.Book.BookmarksNum, 2);
    EXPECT_EQ(text.Settings.Book.Bookmarks[0], 42);
    EXPECT_EQ(text.Settings.Book.Bookmarks[1], 42);
}

TEST(Bookmarks, SixtyFifth_DropsOldestAndKeepsSixtyFour) {
    BoundText text(100);
    for (int i = 0; i < 65; ++i) {
        ASSERT_TRUE(text.Settings.SetPosition(i));
        text.Settings.AddBookmark();
    }
    ASSERT_EQ(text.Settings.Book.BookmarksNum, 64);
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(text.Settings.Book.Bookmarks[static_cast<std::size_t>(i)], i + 1);
    text.Settings.Book.BookmarksNum = 300; // a count set from outside never overflows
    text.Settings.AddBookmark();
    EXPECT_EQ(text.Settings.Book.BookmarksNum, 64);
    EXPECT_EQ(text.Settings.Book.Bookmarks[63], 64);
}

struct BookmarkCase {
    int32_t Entry;
    bool HasText;
};

void PrintTo(const BookmarkCase& c, std::ostream* os) {
    *os << c.Entry;
}

class GetBookmark : public testing::TestWithParam<BookmarkCase> {};

TEST_P(GetBookmark, TextOnlyForEntriesWithinText_EntryAlwaysKept) {
    const auto& c = GetParam();
    BoundText text(100);
    text.Settings.Book.Bookmarks[0] = c.Entry;
    text.Settings.Book.BookmarksNum = 1;
    int32_t offset = 0;
    const char* at = text.Settings.GetBookmark(0, offset);
    EXPECT_EQ(offset, c.Entry);
    EXPECT_EQ(at, c.HasText ? text.Start + c.Entry : nullptr);
    EXPECT_EQ(text.Settings.Book.BookmarksNum, 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, GetBookmark,
                         testing::Values(BookmarkCase{0, true}, BookmarkCase{99, true},
                                         BookmarkCase{100, true}, BookmarkCase{101, false},
                                         BookmarkCase{-1, false}, BookmarkCase{INT_MAX, false}));

TEST(Bookmarks, IndexAtCountOrWithoutText_GivesNullAndMinusOne) {
    BoundText text(100);
    text.Settings.AddBookmark();
    int32_t offset = 7;
    EXPECT_EQ(text.Settings.GetBookmark(1, offset), nullptr);
    EXPECT_EQ(offset, -1);
    EXPECT_EQ(text.Settings.GetBookmark(-1, offset), nullptr);
    EXPECT_EQ(offset, -1);
    text.Start = nullptr;
    EXPECT_EQ(text.Settings.GetBookmark(0, offset), nullptr);
    EXPECT_EQ(offset, -1);
}

TEST(Bookmarks, ResetDefaults_EmptiesListSetsStepKeepsCursor) {
    BoundText text(100);
    ASSERT_TRUE(text.Settings.SetPosition(30));
    text.Settings.AddBookmark();
    text.Settings.Book.Step = 9;
    text.Settings.ResetDefaults();
    EXPECT_EQ(text.Settings.Book.BookmarksNum, 0);
    EXPECT_EQ(text.Settings.Book.Step, 1);
    int32_t offset = 0;
    EXPECT_EQ(text.Settings.GetPosition(offset), text.Start + 30);
    EXPECT_EQ(offset, 30);
}
} // namespace
