#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {
using Block = std::unique_ptr<char[]>;

// Texts in blocks of exactly their length plus the NUL, units in blocks of exactly
// UnitBufferSize, so that AddressSanitizer catches any access past them.
Block Copy(const std::string& text) {
    Block bytes = std::make_unique<char[]>(text.size() + 1);
    std::memcpy(bytes.get(), text.c_str(), text.size() + 1);
    return bytes;
}

Block Unit() {
    return std::make_unique<char[]>(UnitBufferSize);
}

std::string Rep(char c, std::size_t n) {
    return std::string(n, c);
}

// Every unit of text, the last one being the rest reported at the end.
std::vector<std::string> CutAll(const std::string& text, const CReadingSettings& settings) {
    const Block buffer = Copy(text);
    const Block unit = Unit();
    std::vector<std::string> units;
    for (const char* cursor = buffer.get();;) {
        const char* next = CutUnit(cursor, unit.get(), settings);
        units.emplace_back(unit.get());
        if (!next || next <= cursor)
            return units;
        cursor = next;
    }
}

void SetStops(CReadingSettings& settings, const char* symbols, int32_t ucOffset) {
    std::memset(settings.StopSimbols, 0, sizeof settings.StopSimbols);
    std::strcpy(settings.StopSimbols, symbols);
    settings.UcOffset = ucOffset;
}

TEST(UnitCutter, WorkedExample_CutsEachUnitAsDocumented) {
    const CReadingSettings settings;
    EXPECT_EQ(
        CutAll("It was late, and the house was quiet. Nobody moved.\r\n"
               "The clock on the wall struck twelve.",
               settings),
        (std::vector<std::string>{"It was ", "late, and ", "the house was quiet.", " Nobody moved",
                                  "The clock on the wall struck ", "twelve."}));
    EXPECT_EQ(CutAll("First line here.\r\nSecond line, rather longer than that one.\r\nBye!\r\n",
                     settings),
              (std::vector<std::string>{"First line here", "Second ", "line, ",
                                        "rather longer than that one", "Bye!\r\n"}));
}

TEST(UnitCutter, FirstUnit_FollowsTheDecisionTable) {
    const std::string more = " and much more text follows after this point.";
    const std::string span32 = "abcd efgh ijkl mnop qrst uvwx yz";
    const char* defaults = ",;.:?!\n\r";
    const struct {
        std::string Text, Unit, Rest;
        const char* Stops = nullptr;
        int32_t UcOffset = 2, MinText = 12;
    } cases[] = {
        {"Hello\nWorld" + more, "Hello\n", "World" + more},
        {"Hello.\r\nWorld" + more, "Hello", "World" + more},
        {Rep('x', 40) + more, Rep('x', 32), Rep('x', 8) + more},
        {"Wait...?!" + more, "Wait.", more},
        {Rep('a', 10) + ". " + Rep('b', 20), Rep('a', 10) + ".", " " + Rep('b', 20)},
        {Rep('a', 10) + ". " + Rep('b', 19), Rep('a', 10) + ". " + Rep('b', 19), "<end>"},
        {span32 + "." + more, span32 + ".", more},
        {span32 + "z." + more, "abcd efgh ijkl mnop qrst uvwx ", "yzz." + more},
        {"abcdef ghijk," + more, "abcdef ghijk,", more},
        {"abc  efghij," + more, "abc efghij, ", more.substr(1)},
        {"abc!" + more, "abc!", more},
        {Rep('w', 32) + " xy" + more, Rep('w', 32) + " ", "xy" + more},
        {"Hi, there." + more, "Hi,", " there." + more, defaults, 0},
        {"Hi. There," + more, "Hi. There, ", more.substr(1), defaults, 8},
        {"Hi. There," + more, "Hi.", " There," + more, ".,.", 2},
        {"Hi, there." + more, "Hi, there. and much more text ", "follows after this point.", "", 0},
        {"Line one.\r\nLine two" + more, "Line one", "\r\nLine two" + more, ".", 0},
        {"a, b" + Rep('c', 40), "a,", " b" + Rep('c', 40), defaults, 2, -10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        CReadingSettings settings;
        if (c.Stops)
            SetStops(settings, c.Stops, c.UcOffset);
        settings.MinText = c.MinText;
        const Block text = Copy(c.Text);
        const Block unit = Unit();
        const char* next = CutUnit(text.get(), unit.get(), settings);
        EXPECT_EQ(unit.get(), c.Unit);
        EXPECT_EQ(next ? std::string(next) : "<end>", c.Rest);
    }
}

TEST(UnitCutter, UnterminatedStopSymbols_UsesOnly63Characters) {
    CReadingSettings settings;
    std::memset(settings.StopSimbols, 'x', sizeof settings.StopSimbols);
    settings.StopSimbols[sizeof settings.StopSimbols - 1] = '.';
    settings.UcOffset = 0;
    EXPECT_EQ(CutAll("ab. cdxx" + Rep('e', 40), settings).front(), "ab. cdx");
}

TEST(UnitCutter, OutOfRangeLimits_BehaveLikeTheNearestValidOnes) {
    std::string text;
    for (int i = 0; i < 4; ++i)
        text += "It was late, and; nobody moved. Really?! Yes...\r\n" + Rep('w', 1100 + i) + " " +
                Rep(' ', 1200) + Rep('.', 1300) + "\t\tshort, bits; and\n\n";
    for (const auto& [max, min, sameMax, sameMin] : {std::tuple{0, 12, 1, 12},
                                                     {5000, 12, 999, 12},
                                                     {32, 5000, 32, 999},
                                                     {INT32_MAX, INT32_MIN, 999, 0}}) {
        SCOPED_TRACE(testing::Message() << max << " " << min);
        CReadingSettings same, wild;
        same.MaxText = sameMax;
        same.MinText = sameMin;
        wild.MaxText = max;
        wild.MinText = min;
        EXPECT_EQ(CutAll(text, wild), CutAll(text, same));
    }
}

TEST(UnitCutter, PackWords_FollowsThePackingRules) {
    const struct {
        std::string Text;
        int Budget;
        std::string Unit, Rest;
    } cases[] = {
        {"one two three", 8, "one two ", "three"},
        {"one two three", 7, "one ", "two three"},
        {"aaaa \t bbbb", 4, "aaaa ", "bbbb"},
        {"aaaaa bb", 4, "aaaa", "a bb"},
        {"  \ta\t\t b   c  d", 8, "a b c d ", ""},
        {"ab\r\ncd ef", 6, "ab\r\ncd ", "ef"},
        {"a  b", 7, "a b    ", ""},
        {"abc", -4, "", "abc"},
        {Rep('w', 1500), 5000, Rep('w', 999), Rep('w', 501)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text.substr(0, 20));
        const Block text = Copy(c.Text);
        const Block unit = Unit();
        EXPECT_EQ(PackWords(text.get(), unit.get(), c.Budget), c.Rest);
        EXPECT_EQ(unit.get(), c.Unit);
    }
}

TEST(UnitCutter, FindNulAndHasVisibleText_LookNoFurtherThanAsked) {
    for (const auto& [text, n, at] :
         {std::tuple{"abc", 3, -1}, {"abc", 4, 3}, {"", 0, -1}, {"abc", -7, -1}})
        EXPECT_EQ(FindNul(Copy(text).get(), n), at) << text << " " << n;
    for (const auto& [text, visible] :
         {std::pair{"", false}, {" \t\r\n", false}, {"\v", true}, {"\t-\n", true}})
        EXPECT_EQ(HasVisibleText(text), visible) << text;
}

// The fast path decides from 16-byte blocks; on random texts and settings around its
// block and window sizes it must give exactly what the byte loops give.
TEST(UnitCutter, CutsAgree_FastPathMatchesByteLoops) {
    uint64_t state = 12345;
    const auto below = [&state](std::size_t n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::size_t>(state >> 33) % n;
    };
    const char* pieces[] = {"a", "bb", "ccc", "eeeeeeee", " ",  "  ", "\t",   ",",
                            ".", ";",  "...", "\r\n",     "\n", "?!", "\xE9", " \t "};
    const char* stops[] = {",;.:?!\n\r",
                           "",
                           ".",
                           ",. \t",
                           ",;.:?!\n\rabcdefg",
                           ",;.:?!\n\rabcdefgh",
                           ",;.:?!\n\rabcdefghijklmnopqrstuvwxyz\xE9"};
    const int32_t maxTexts[] = {1, 5, 12, 15, 16, 17, 31, 32, 33, 47, 48, 62, 63, 64, 65, 999};
    const int32_t minTexts[] = {-1, 0, 12, 40, 63, 70, 999};
    CReadingSettings settings;
    const Block fast = Unit(), bytes = Unit();
    for (int round = 0; round < 3000; ++round) {
        SetStops(settings, stops[below(std::size(stops))], static_cast<int32_t>(below(10)));
        settings.MaxText = maxTexts[below(std::size(maxTexts))];
        settings.MinText = minTexts[below(std::size(minTexts))];
        std::string s;
        for (const std::size_t length = below(400); s.size() < length;)
            s += below(50) == 0   ? Rep('w', below(120))
                 : below(60) == 0 ? Rep(' ', below(80))
                                  : pieces[below(std::size(pieces))];
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
