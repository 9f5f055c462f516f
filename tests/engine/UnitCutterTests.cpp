// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {
using Block = std::unique_ptr<char[]>;

// Texts in blocks of exactly their length plus the NUL, units in blocks of exactly
// UnitBufferSize, so that AddressSanitizer catches any access past them.
Block Copy(const std::string& text, std::size_t size = 0) {
    Block bytes = std::make_unique<char[]>(std::max(size, text.size() + 1));
    std::memcpy(bytes.get(), text.c_str(), text.size() + 1);
    return bytes;
}

std::string Rep(char c, std::size_t n) {
    return std::string(n, c);
}

std::string Repeat(const std::string& s, std::size_t n) {
    std::string repeated;
    for (std::size_t i = 0; i < n; ++i)
        repeated += s;
    return repeated;
}

// Up to all 64 bytes of the field, so that a test can leave out the NUL.
void SetStops(CReadingSettings& settings, const std::string& symbols, int32_t ucOffset) {
    std::memset(settings.StopSimbols, 0, sizeof settings.StopSimbols);
    std::memcpy(settings.StopSimbols, symbols.data(),
                std::min(symbols.size(), sizeof settings.StopSimbols));
    settings.UcOffset = ucOffset;
}

struct SCutRow {
    const char* Name;
    std::string Text, Unit, Rest;
    std::string Stops = ",;.:?!\n\r";
    int32_t UcOffset = 2, MaxText = 32, MinText = 12;
};

// ASCII texts, whose bytes are their characters: both measures must cut them alike.
std::vector<SCutRow> CutRows() {
    const std::string more = " and much more text follows after this point.";
    const std::string span32 = "abcd efgh ijkl mnop qrst uvwx yz";
    const std::string words = " word";
    return {
        {"empty text", "", "", "<end>"},
        {"long word over the budget", Rep('x', 40) + more, Rep('x', 32), Rep('x', 8) + more},
        {"punctuation run", "Wait...?!" + more, "Wait.", more},
        {"short span before an unconditional stop", Rep('a', 10) + ". " + Rep('b', 20),
         Rep('a', 10) + ".", " " + Rep('b', 20)},
        {"rest under MaxText", Rep('a', 10) + ". " + Rep('b', 19),
         Rep('a', 10) + ". " + Rep('b', 19), "<end>"},
        {"span of exactly MaxText", span32 + "." + more, span32 + ".", more},
        {"span one over MaxText", span32 + "z." + more, "abcd efgh ijkl mnop qrst uvwx ",
         "yzz." + more},
        {"MinText edge, span of MinText", "abcdef ghijk," + more, "abcdef ghijk,", more},
        {"MinText edge, span one under", "abc  efghij," + more, "abc efghij, ", more.substr(1)},
        {"UcOffset 0", "Hi, there." + more, "Hi,", " there." + more, ",;.:?!\n\r", 0},
        {"UcOffset past the symbols", "Hi. There," + more, "Hi. There, ", more.substr(1),
         ",;.:?!\n\r", 8},
        {"stop symbols custom", "Hi. There," + more, "Hi.", " There," + more, ".,.", 2},
        {"CR LF after a stop", "Line one.\r\nLine two" + more, "Line one", "\r\nLine two" + more,
         ".", 0},
        {"CR LF inside a packed unit", "ab\r\ncd ef", "ab cd ", "ef", "", 0, 6},
        {"line break between packed words", "However,\nnothing other than this.", "However, ",
         "nothing other than this."},
        {"spaces before a line end, no unit", "  \nEvgeny Kashcheev the Great, and" + more,
         "Evgeny Kashcheev the Great,", " and" + more},
        {"closing quote and bracket", "He said \"Stop.)\" and more" + more, "He said \"Stop.)\"",
         " and more" + more},
        {"quote opening the next line", "Said so.\n\"Next line" + more, "Said so",
         "\"Next line" + more},
        {"words packed", "one two three", "one two ", "three", "", 0, 8},
        {"word one over the room left", "one two three", "one ", "two three", "", 0, 7},
        {"separators run", "aaaa \t bbbb", "aaaa ", "bbbb", "", 0, 4},
        {"leading separators and tabs", "  \ta\t\t b   c  d", "a b c d ", "", "", 0, 8},
        {"separators to the end", "ab      ", "ab    ", "", "", 0, 6},
        {"63 stop symbols and no NUL", "ab. cdxx" + Rep('e', 40), "ab. cdx", Rep('e', 40),
         Rep('x', 63) + ".", 0},
        {"MaxText 999", "word" + Repeat(words, 300) + ".", "word" + Repeat(words, 198) + " ",
         "word" + Repeat(words, 101) + ".", ",;.:?!\n\r", 2, 999},
    };
}

void Configure(CReadingSettings& settings, const SCutRow& row, bool characterMode) {
    SetStops(settings, row.Stops, row.UcOffset);
    settings.MaxText = row.MaxText;
    settings.MinText = row.MinText;
    settings.CharacterMode = characterMode;
}

// Each unit of a whole text and the offset where the cut after it starts, -1 at the end.
std::vector<std::pair<std::string, std::ptrdiff_t>> CutAll(const std::string& s,
                                                           const CReadingSettings& settings) {
    const Block text = Copy(s);
    const Block unit = Copy("", UnitBufferSize);
    std::vector<std::pair<std::string, std::ptrdiff_t>> cuts;
    for (const char* cursor = text.get(); cursor;) {
        const char* next = CutUnit(cursor, unit.get(), settings);
        cuts.emplace_back(unit.get(), next ? next - text.get() : -1);
        cursor = next;
    }
    return cuts;
}

// The first unit and where the next one starts. Without stop symbols a text over
// MaxText is packed into MaxText bytes of whole words.
TEST(UnitCutter, FirstUnit_FollowsTheDecisionTable) {
    for (const SCutRow& row : CutRows()) {
        SCOPED_TRACE(row.Name);
        CReadingSettings settings;
        Configure(settings, row, false);
        const Block text = Copy(row.Text);
        const Block unit = Copy("", UnitBufferSize);
        const char* next = CutUnit(text.get(), unit.get(), settings);
        EXPECT_EQ(unit.get(), row.Unit);
        EXPECT_EQ(next ? std::string(next) : "<end>", row.Rest);
    }
}

// Counting characters where every character is a byte changes nothing: the same units,
// and the cursor at the same places.
TEST(UnitCutter, CutAscii_CharacterModeCutsAsByteMode) {
    for (const SCutRow& row : CutRows()) {
        SCOPED_TRACE(row.Name);
        CReadingSettings bytes;
        Configure(bytes, row, false);
        CReadingSettings characters;
        Configure(characters, row, true);
        EXPECT_EQ(CutAll(row.Text, characters), CutAll(row.Text, bytes));
    }
}

// The fast path decides from 16-byte blocks; on random texts and settings around its
// block and window sizes it must give exactly what the byte loops give. Limits beyond the
// settings' bounds, on words and runs longer than any unit, keep both in the unit buffer.
TEST(UnitCutter, CutsAgree_FastPathMatchesByteLoops) {
    std::minstd_rand random(12345);
    const auto pick = [&random](const auto& from) {
        return from[random() % std::size(from)];
    };
    const std::string pieces[] = {
        "a",          "bb",         "ccc",          "eeeeeeee",    " ",  "  ", "\t",   ",",
        ".",          ";",          "...",          "\r\n",        "\n", "?!", "\xE9", " \t ",
        Rep('w', 70), Rep(' ', 40), Rep('w', 1100), Rep(' ', 1200)};
    const std::string all = ",;.:?!\n\rabcdefghijklmnopqrstuvwxyz\xE9";
    const std::string stops[] = {
        "", ".", ",. \t", all.substr(0, 8), all.substr(0, 15), all.substr(0, 16), all};
    const int32_t maxTexts[] = {INT32_MIN, 0,  1,  5,  12, 15, 16, 17,  31,   32,
                                33,        47, 48, 62, 63, 64, 65, 999, 5000, INT32_MAX};
    const int32_t minTexts[] = {INT32_MIN, -1, 0, 12, 40, 63, 70, 999, 5000, INT32_MAX};
    const Block fast = Copy("", UnitBufferSize), bytes = Copy("", UnitBufferSize);
    for (int round = 0; round < 3000; ++round) {
        CReadingSettings settings;
        SetStops(settings, pick(stops), static_cast<int32_t>(random() % 10));
        settings.MaxText = pick(maxTexts);
        settings.MinText = pick(minTexts);
        std::string s;
        for (const auto length = random() % 400; s.size() < length;)
            s += pick(pieces);
        const Block text = Copy(s);
        for (const char* cursor = text.get(); cursor;) {
            SCOPED_TRACE(testing::Message() << "round " << round << " at " << cursor - text.get());
            const char* next = CutUnit(cursor, fast.get(), settings);
            ASSERT_EQ(next, CutUnitBytewise(cursor, bytes.get(), settings));
            ASSERT_STREQ(fast.get(), bytes.get());
            cursor = next;
        }
    }
}
} // namespace
