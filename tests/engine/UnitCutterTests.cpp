// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>

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

// Up to all 64 bytes of the field, so that a test can leave out the NUL.
void SetStops(CReadingSettings& settings, const std::string& symbols, int32_t ucOffset) {
    std::memset(settings.StopSimbols, 0, sizeof settings.StopSimbols);
    std::memcpy(settings.StopSimbols, symbols.data(),
                std::min(symbols.size(), sizeof settings.StopSimbols));
    settings.UcOffset = ucOffset;
}

// The first unit and where the next one starts. Without stop symbols a text over
// MaxText is packed into MaxText bytes of whole words.
TEST(UnitCutter, FirstUnit_FollowsTheDecisionTable) {
    const std::string more = " and much more text follows after this point.";
    const std::string span32 = "abcd efgh ijkl mnop qrst uvwx yz";
    const struct {
        std::string Text, Unit, Rest;
        std::string Stops = ",;.:?!\n\r";
        int32_t UcOffset = 2, MaxText = 32;
    } cases[] = {
        {"", "", "<end>"},
        {Rep('x', 40) + more, Rep('x', 32), Rep('x', 8) + more},
        {"Wait...?!" + more, "Wait.", more},
        {Rep('a', 10) + ". " + Rep('b', 20), Rep('a', 10) + ".", " " + Rep('b', 20)},
        {Rep('a', 10) + ". " + Rep('b', 19), Rep('a', 10) + ". " + Rep('b', 19), "<end>"},
        {span32 + "." + more, span32 + ".", more},
        {span32 + "z." + more, "abcd efgh ijkl mnop qrst uvwx ", "yzz." + more},
        {"abcdef ghijk," + more, "abcdef ghijk,", more},
        {"abc  efghij," + more, "abc efghij, ", more.substr(1)},
        {"Hi, there." + more, "Hi,", " there." + more, ",;.:?!\n\r", 0},
        {"Hi. There," + more, "Hi. There, ", more.substr(1), ",;.:?!\n\r", 8},
        {"Hi. There," + more, "Hi.", " There," + more, ".,.", 2},
        {"Line one.\r\nLine two" + more, "Line one", "\r\nLine two" + more, ".", 0},
        {"one two three", "one two ", "three", "", 0, 8},
        {"one two three", "one ", "two three", "", 0, 7},
        {"aaaa \t bbbb", "aaaa ", "bbbb", "", 0, 4},
        {"  \ta\t\t b   c  d", "a b c d ", "", "", 0, 8},
        {"ab\r\ncd ef", "ab\r\ncd ", "ef", "", 0, 6},
        {"ab      ", "ab    ", "", "", 0, 6},
        {"ab. cdxx" + Rep('e', 40), "ab. cdx", Rep('e', 40), Rep('x', 63) + ".", 0}, // no NUL
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text.substr(0, 40));
        CReadingSettings settings;
        SetStops(settings, c.Stops, c.UcOffset);
        settings.MaxText = c.MaxText;
        const Block text = Copy(c.Text), unit = Copy("", UnitBufferSize);
        const char* next = CutUnit(text.get(), unit.get(), settings);
        EXPECT_EQ(unit.get(), c.Unit);
        EXPECT_EQ(next ? std::string(next) : "<end>", c.Rest);
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
        settings.MaxText = pick(maxTexts), settings.MinText = pick(minTexts);
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
