#include "BoundText.h"
#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

namespace {
std::string Stored(const CReadingSettings& settings) {
    CProfileFile file;
    settings.StoreTo(file);
    return file.Text();
}

TEST(ReadingSettings, ResetDefaults_RestoresAllButLengthFontWidthAndFaceTail) {
    CReadingSettings settings;
    settings.SetStopSymbolsText("xyz");
    settings.UcOffset = settings.TexColor = settings.TextLength = 1234;
    settings.Book.Step = settings.Book.BookmarksNum = 7;
    settings.Font = LogFont{-10, 11, 1, 1, 700, 1, 1, 1, 1, 1, 1, 1, 1, ""};
    std::memset(settings.Font.lfFaceName, 'x', LogFont::FaceSize - 1);
    settings.ResetDefaults();
    EXPECT_EQ(Stored(settings), Stored(CReadingSettings()));
    EXPECT_EQ(settings.TextLength, 1234);
    EXPECT_EQ(settings.Book.Step + settings.Book.BookmarksNum, 1);
    EXPECT_EQ(settings.Font.lfWidth, 11);
    EXPECT_EQ(settings.Font.lfFaceName[12], 'x');
}

// The text forms of the stop symbols (\n, \r, \t) and of their unconditional tail.
TEST(ReadingSettings, StopSymbolsText_DecodesShortFormsAndRefusesWhatDoesNotFit) {
    const std::pair<std::string, std::string> forms[] = {
        {"a\\nb\\rc\\td\\q\\\\n", "a\nb\rc\tdq\\n"},
        {"ab\\", "ab"},
        {"", ""},
        {std::string(64, '\\'), ",;.:?!\n\r"},
        {std::string("ab\0cd", 5), "ab"}};
    for (const auto& [text, symbols] : forms) {
        SCOPED_TRACE(text);
        CReadingSettings settings;
        settings.SetStopSymbolsText(text);
        EXPECT_EQ(settings.StopSimbols, symbols);
    }
    CReadingSettings settings;
    const struct {
        std::string Symbols;
        int32_t UcOffset;
        std::string Text, Expected;
    } cases[] = {{",;.:?!\\n\\r", 2, ";", ",;;"},
                 {",;", 2, std::string(61, 'a'), ",;" + std::string(61, 'a')},
                 {",;.", 2, std::string(62, 'a'), ",;."}, // over 63: nothing changes
                 {"a", 5, "x", "ax"},                     // split beyond: appended
                 {"a", -3, "x", "ax"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        settings.SetStopSymbolsText(c.Symbols);
        settings.UcOffset = c.UcOffset;
        EXPECT_EQ(settings.GetUnconditionalText(), c.UcOffset == 2 ? c.Symbols.substr(2) : "");
        settings.SetUnconditionalText(c.Text);
        EXPECT_EQ(settings.StopSimbols, c.Expected);
        EXPECT_EQ(settings.UcOffset, c.UcOffset);
    }
}

TEST(ReadingSettings, ShiftSplit_MovesWithinTheStringThenRefuses) {
    CReadingSettings settings;
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Forward));
    EXPECT_FALSE(settings.ShiftSplit(SplitDirection::Forward));
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Back));
    EXPECT_FALSE(settings.ShiftSplit(SplitDirection::Back));
    settings.SetStopSymbolsText("a");
    settings.UcOffset = 2; // beyond the string: forward refused, back allowed
    EXPECT_FALSE(settings.ShiftSplit(SplitDirection::Forward));
    EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Back));
    EXPECT_EQ(settings.GetUnconditionalText(), "");
}

TEST(PositionBook, WithoutText_NoPositionAndBookmarksStoreZero) {
    const char* start = nullptr;
    const char* cursor = nullptr;
    CReadingSettings unbound, empty;
    empty.BindText(&start, &cursor);
    for (auto [settings, offset] : {std::pair{&unbound, -1}, {&empty, -2}}) {
        EXPECT_EQ(settings->Book.GetOffset(), offset);
        EXPECT_FALSE(settings->SetPosition(0) || settings->MoveBy(1));
        settings->AddBookmark();
        EXPECT_EQ(settings->Book.Bookmarks[0], 0);
        int32_t at = 5;
        EXPECT_EQ(settings->GetBookmark(0, at), nullptr);
        EXPECT_EQ(at, -1);
    }
}

// SetPosition stops before the terminator, SetOffset may rest on it; MoveBy never wraps.
TEST(PositionBook, Moves_StayWithinTheText) {
    for (const auto& [from, delta, position, set] : {std::tuple{50, 49, true, true},
                                                     {50, 50, false, true},
                                                     {50, 51, false, false},
                                                     {5, -10, false, false},
                                                     {50, INT_MAX, false, false},
                                                     {50, INT_MIN, false, false}}) {
        SCOPED_TRACE(testing::Message() << from << " by " << delta);
        BoundText text(100), other(100);
        ASSERT_TRUE(text.Settings.SetPosition(from) && other.Settings.SetPosition(from));
        EXPECT_EQ(text.Settings.MoveBy(delta), position);
        EXPECT_EQ(text.Offset(), position ? from + delta : from);
        const auto to = std::clamp<int64_t>(int64_t{from} + delta, -1, 101);
        EXPECT_EQ(other.Settings.Book.SetOffset(static_cast<int32_t>(to)), set);
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
    for (const auto& [entry, hasText] : {std::pair{100, true}, {101, false}, {-1, false}}) {
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
