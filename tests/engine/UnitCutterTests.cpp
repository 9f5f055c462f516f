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

// A text in a heap block of exactly its length plus the NUL, so that a read past the
// terminator is caught under AddressSanitizer.
class CText {
public:
    explicit CText(const std::string& text)
        : Length(text.size()), Bytes(std::make_unique<char[]>(text.size() + 1)) {
        std::memcpy(Bytes.get(), text.c_str(), text.size() + 1);
    }
    const char* Start() const { return Bytes.get(); }
    const char* End() const { return Bytes.get() + Length; }

private:
    std::size_t Length;
    std::unique_ptr<char[]> Bytes;
};

// One call of the cutter: the unit, and the text left at the new cursor (or "<end>").
struct SCut {
    std::string Unit;
    std::string Rest;
};

std::string Repeat(char c, std::size_t n) {
    return std::string(n, c);
}

using FCut = const char* (*)(const char*, char*, const CReadingSettings&);

// Every behaviour is checked on both cuts: the one from 16-byte blocks and the plain
// byte loops.
class UnitCutterTest : public testing::TestWithParam<FCut> {
protected:
    // Cuts once at the start of text.
    SCut CutOnce(const std::string& text) {
        const CText buffer(text);
        return Cut(buffer.Start());
    }

    // Cuts the whole text; the last entry holds the rest reported at the end.
    std::vector<std::string> CutAll(const std::string& text) {
        const CText buffer(text);
        std::vector<std::string> units;
        const char* cursor = buffer.Start();
        for (;;) {
            auto unit = std::make_unique<char[]>(UnitBufferSize);
            const char* next = GetParam()(cursor, unit.get(), Settings);
            units.emplace_back(unit.get());
            if (!next)
                return units;
            EXPECT_GT(next, cursor);
            EXPECT_LE(next, buffer.End());
            if (next <= cursor || next > buffer.End())
                return units;
            cursor = next;
        }
    }

    SCut Cut(const char* cursor) {
        // An exact-size unit buffer, so that an overrun is caught under AddressSanitizer.
        auto unit = std::make_unique<char[]>(UnitBufferSize);
        const char* next = GetParam()(cursor, unit.get(), Settings);
        return {unit.get(), next ? std::string(next) : std::string("<end>")};
    }

    CReadingSettings Settings;
};

// ---- FindNul ----

TEST(FindNulTest, ReportsFirstNulWithinLimitOnly) {
    struct SCase {
        const char* Text;
        int N;
        int Expected;
    };
    const SCase cases[] = {
        {"abc", 3, -1}, {"abc", 4, 3}, {"abc", 1000, 3}, {"", 1, 0}, {"", 0, -1}, {"abc", -7, -1},
    };
    for (const auto& c : cases) {
        // Exact-size copies: a look past the first NUL would be an overflow.
        const CText text(std::string(c.Text));
        EXPECT_EQ(FindNul(text.Start(), c.N), c.Expected) << '"' << c.Text << "\" n=" << c.N;
    }
}

// ---- PackWords ----

TEST(PackWordsTest, FollowsPackingRules) {
    struct SCase {
        const char* Name;
        std::string Text;
        int Budget;
        std::string Unit;
        std::string Rest;
    };
    const SCase cases[] = {
        {"word that would pass the budget stays", "It was late, and", 12, "It was ", "late, and"},
        {"words filling the budget exactly", "one two three", 8, "one two ", "three"},
        {"one byte short of the next word", "one two three", 7, "one ", "two three"},
        {"word exactly the budget keeps its space", "aaaa \t bbbb", 4, "aaaa ", "bbbb"},
        {"word one longer than the budget is split", "aaaaa bb", 4, "aaaa", "a bb"},
        {"tabs and space runs become one space", "  \ta\t\t b   c  d", 8, "a b c d ", ""},
        {"line breaks belong to words", "ab\r\ncd ef", 6, "ab\r\ncd ", "ef"},
        {"end of text fills with spaces to the budget", "a  b", 7, "a b    ", ""},
        {"only separators left", " \t ", 3, "   ", ""},
        {"negative budget takes nothing", "abc", -4, "", "abc"},
    };
    for (const auto& c : cases) {
        const CText text(c.Text);
        auto unit = std::make_unique<char[]>(UnitBufferSize);
        const char* next = PackWords(text.Start(), unit.get(), c.Budget);
        EXPECT_EQ(std::string(unit.get()), c.Unit) << c.Name;
        EXPECT_EQ(std::string(next), c.Rest) << c.Name;
    }
}

TEST(PackWordsTest, BudgetBeyondUnitBufferIsLimited) {
    const CText text(Repeat('w', 1500));
    auto unit = std::make_unique<char[]>(UnitBufferSize);
    const char* next = PackWords(text.Start(), unit.get(), 5000);
    EXPECT_EQ(std::strlen(unit.get()), static_cast<std::size_t>(MaxUnitBudget));
    EXPECT_EQ(next, text.Start() + MaxUnitBudget);
}

// ---- CutUnit with the default settings ----

TEST_P(UnitCutterTest, WorkedExample_CutsEachUnitAsDocumented) {
    const std::string text = "It was late, and the house was quiet. Nobody moved.\r\n"
                             "The clock on the wall struck twelve.";
    ASSERT_EQ(text.size(), 89u);
    const CText buffer(text);
    const SCut expected[] = {
        {"It was ", "late, and the house was quiet. Nobody moved.\r\nThe clock on the wall "
                    "struck twelve."},
        {"late, and ", "the house was quiet. Nobody moved.\r\nThe clock on the wall struck "
                       "twelve."},
        {"the house was quiet.", " Nobody moved.\r\nThe clock on the wall struck twelve."},
        {" Nobody moved", "The clock on the wall struck twelve."},
        {"The clock on the wall struck ", "twelve."},
        {"twelve.", "<end>"},
    };
    const char* cursor = buffer.Start();
    for (const auto& step : expected) {
        const SCut got = Cut(cursor);
        EXPECT_EQ(got.Unit, step.Unit);
        ASSERT_EQ(got.Rest, step.Rest);
        if (step.Rest != "<end>")
            cursor = buffer.End() - got.Rest.size();
    }
}

TEST_P(UnitCutterTest, FurtherExamples_MatchDocumentedUnits) {
    const std::string more = " and much more text follows after this point.";
    struct SCase {
        const char* Name;
        std::string Text;
        std::string Unit;
        std::string Rest;
    };
    const SCase cases[] = {
        {"long span is packed",
         "Once upon a time there lived a king who had three daughters;" + more,
         "Once upon a time there lived a ", "king who had three daughters;" + more},
        {"long enough span ends at a conditional symbol", "king who had three daughters;" + more,
         "king who had three daughters;", more},
        {"line feed stop stays before an ordinary byte", "Hello\nWorld" + more, "Hello\n",
         "World" + more},
        {"CR before LF is dropped and both are skipped", "Hello\r\nWorld" + more, "Hello",
         "World" + more},
        {"full stop at the end of a line is dropped", "Hello.\r\nWorld" + more, "Hello",
         "World" + more},
        {"word longer than MaxText is split", Repeat('x', 40) + more, Repeat('x', 32),
         Repeat('x', 8) + more},
        {"ellipsis keeps its first dot", "Wait..." + more, "Wait.", more},
        {"question and exclamation marks are skipped together", "Why?!" + more, "Why?", more},
        {"stop-cut unit keeps tabs and space runs", "one\t\ttwo  three." + more,
         "one\t\ttwo  three.", more},
    };
    for (const auto& c : cases) {
        const SCut got = CutOnce(c.Text);
        EXPECT_EQ(got.Unit, c.Unit) << c.Name;
        EXPECT_EQ(got.Rest, c.Rest) << c.Name;
    }
}

// ---- Decision-table boundaries (MaxText 32, MinText 12) ----

TEST_P(UnitCutterTest, DecisionBoundaries_PickTheDocumentedRow) {
    const std::string tail = " then a tail that is long enough";
    const std::string span32 = "abcd efgh ijkl mnop qrst uvwx yz"; // 32 bytes, 8 words
    ASSERT_EQ(span32.size(), 32u);
    struct SCase {
        const char* Name;
        std::string Text;
        std::string Unit;
        std::string Rest;
    };
    const SCase cases[] = {
        {"rest of 31 bytes is the end", Repeat('a', 10) + ". " + Repeat('b', 19),
         Repeat('a', 10) + ". " + Repeat('b', 19), "<end>"},
        {"rest of exactly 32 bytes is still cut", Repeat('a', 10) + ". " + Repeat('b', 20),
         Repeat('a', 10) + ".", " " + Repeat('b', 20)},
        {"span of exactly MaxText is cut with its stop", span32 + "." + tail, span32 + ".", tail},
        {"span of MaxText + 1 is packed", span32 + "z." + tail, "abcd efgh ijkl mnop qrst uvwx ",
         "yzz." + tail},
        {"span of exactly MinText at a comma is cut", "abcdef ghijk," + tail, "abcdef ghijk,",
         tail},
        {"span one short of MinText at a comma is packed with MinText", "abc  efghij," + tail,
         "abc efghij, ", "then a tail that is long enough"},
        {"short span at an unconditional stop is cut", "abc!" + tail, "abc!", tail},
        {"first word exactly MaxText keeps its space", Repeat('w', 32) + " xy" + tail,
         Repeat('w', 32) + " ", "xy" + tail},
    };
    for (const auto& c : cases) {
        const SCut got = CutOnce(c.Text);
        EXPECT_EQ(got.Unit, c.Unit) << c.Name;
        EXPECT_EQ(got.Rest, c.Rest) << c.Name;
    }
}

TEST_P(UnitCutterTest, SpanEndingAtTheNul_IsCutWholeThenTheEndIsEmpty) {
    const std::string text = "abcd efgh ijkl mnop qrst uvwx yz";
    EXPECT_EQ(CutAll(text), (std::vector<std::string>{text, ""}));
}

TEST_P(UnitCutterTest, PackingThatReachesTheNul_FillsToBudgetThenTheEndIsEmpty) {
    const std::string text = "a" + Repeat(' ', 40) + "b";
    EXPECT_EQ(CutAll(text), (std::vector<std::string>{"a b" + Repeat(' ', 29), ""}));
}

TEST_P(UnitCutterTest, WholeText_EndsWithTheRestAfterTheLastCut) {
    const std::string text = "First line here.\r\nSecond line, rather longer than that one.\r\n"
                             "Bye!\r\n";
    const std::vector<std::string> expected = {
        "First line here", "Second ", "line, ", "rather longer than that one", "Bye!\r\n",
    };
    EXPECT_EQ(CutAll(text), expected);
}

// ---- Stop-symbol sets ----

TEST_P(UnitCutterTest, StopSymbolSplits_DecideWhatIsConditional) {
    const std::string more = " you are reading a longer piece of text now.";
    const std::string comma = "Hi, there." + more;
    const std::string stop = "Hi. There," + more;
    const char* defaults = ",;.:?!\n\r";
    struct SCase {
        const char* Name;
        const char* Symbols;
        int32_t UcOffset;
        std::string Text;
        std::string Unit;
    };
    const SCase cases[] = {
        {"defaults: comma is conditional", defaults, 2, comma, "Hi, there. "},
        {"offset 0: every symbol unconditional", defaults, 0, comma, "Hi,"},
        {"defaults: full stop is unconditional", defaults, 2, stop, "Hi."},
        {"empty unconditional part", defaults, 8, stop, "Hi. There, "},
        {"offset beyond the string", defaults, 50, stop, "Hi. There, "},
        {"negative offset", defaults, -3, stop, "Hi. There, "},
        {"symbol only in the conditional part", ".,", 1, stop, "Hi. There, "},
        {"symbol in both parts is unconditional", ".,.", 2, stop, "Hi."},
        {"no stop symbols at all", "", 0, comma, "Hi, there. you are reading a "},
    };
    for (const auto& c : cases) {
        std::memset(Settings.StopSimbols, 0, sizeof Settings.StopSimbols);
        std::strcpy(Settings.StopSimbols, c.Symbols);
        Settings.UcOffset = c.UcOffset;
        EXPECT_EQ(CutOnce(c.Text).Unit, c.Unit) << c.Name;
    }
}

TEST_P(UnitCutterTest, EmptyUnconditionalPart_TheNulStillEndsASpan) {
    Settings.UcOffset = 8;
    Settings.MinText = 40; // a conditional stop could otherwise pack past the NUL
    const std::string text = "abcd efgh ijkl mnop qrst uvwx yz";
    EXPECT_EQ(CutAll(text), (std::vector<std::string>{text, ""}));
}

TEST_P(UnitCutterTest, LineBreakThatIsNoStopSymbol_StartsTheNextUnit) {
    std::strcpy(Settings.StopSimbols, ".");
    Settings.UcOffset = 0;
    const std::string next = "\r\nLine two goes on for a while.";
    const SCut got = CutOnce("Line one." + next + " And more.");
    EXPECT_EQ(got.Unit, "Line one");
    EXPECT_EQ(got.Rest, next + " And more.");
}

TEST_P(UnitCutterTest, UnterminatedStopSymbols_UsesOnly63Characters) {
    std::memset(Settings.StopSimbols, 'x', sizeof Settings.StopSimbols);
    Settings.StopSimbols[sizeof Settings.StopSimbols - 1] = '.';
    Settings.UcOffset = 0;
    const SCut got = CutOnce("ab. cdxx" + Repeat('e', 40));
    EXPECT_EQ(got.Unit, "ab. cdx");
    EXPECT_EQ(got.Rest, Repeat('e', 40));
}

// ---- Settings outside their range ----

// A text with everything the cutter meets: prose, long words, long runs of separators
// and of stop symbols, line breaks.
std::string MixedText() {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        text += "It was late, and the house was quiet; nobody moved. Really?! Yes...\r\n";
        text += Repeat('w', 1100 + i) + " " + Repeat(' ', 1200) + Repeat('.', 1300) + "\t\t";
        text += "short, bits, here; and; there\n\n";
    }
    return text;
}

// Under AddressSanitizer this also shows that no such value overruns a buffer.
TEST_P(UnitCutterTest, OutOfRangeLimits_BehaveLikeTheNearestValidOnes) {
    const std::string text = MixedText();
    struct SCase {
        int32_t MaxText;
        int32_t MinText;
        int32_t SameMaxText;
        int32_t SameMinText;
    };
    const SCase cases[] = {
        {0, 12, 1, 12},
        {-5, 12, 1, 12},
        {INT32_MIN, 12, 1, 12},
        {5000, 12, 999, 12},
        {INT32_MAX, 12, 999, 12},
        {32, 5000, 32, 999},
        {1, INT32_MAX, 1, 999},
        {INT32_MIN, INT32_MAX, 1, 999},
        {INT32_MAX, INT32_MIN, 999, 0},
    };
    for (const auto& c : cases) {
        Settings.MaxText = c.SameMaxText;
        Settings.MinText = c.SameMinText;
        const auto expected = CutAll(text);
        Settings.MaxText = c.MaxText;
        Settings.MinText = c.MinText;
        EXPECT_EQ(CutAll(text), expected) << "MaxText " << c.MaxText << " MinText " << c.MinText;
    }
}

TEST_P(UnitCutterTest, NegativeMinText_NeverPacks) {
    Settings.MinText = -10;
    EXPECT_EQ(CutOnce("a, b" + Repeat('c', 40)).Unit, "a,");
}

INSTANTIATE_TEST_SUITE_P(Blocks, UnitCutterTest, testing::Values(FCut{&CutUnit}));
INSTANTIATE_TEST_SUITE_P(Bytewise, UnitCutterTest, testing::Values(FCut{&CutUnitBytewise}));

// ---- The two cuts agree ----

// Deterministic pseudo-random numbers.
class CRandom {
public:
    uint32_t Below(uint32_t n) {
        State = State * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<uint32_t>(State >> 33) % n;
    }

private:
    uint64_t State = 12345;
};

// Short texts of words, separators, runs of them, stop symbols and line breaks.
std::string RandomText(CRandom& random) {
    static const std::string pieces[] = {"a",  "bb",   "ccc", "dddd", "eeeeeeee", " ",    "  ",
                                         "\t", ",",    ".",   ";",    "...",      "\r\n", "\n",
                                         "?!", "\xE9", "x",   "y",    "z",        " \t "};
    std::string text;
    const uint32_t length = random.Below(400);
    while (text.size() < length) {
        if (random.Below(50) == 0)
            text += Repeat('w', random.Below(120));
        else if (random.Below(60) == 0)
            text += Repeat(' ', random.Below(80));
        else
            text += pieces[random.Below(std::size(pieces))];
    }
    return text;
}

TEST(CutAgreementTest, BlockCutMatchesBytewiseCut) {
    const char* symbolSets[] = {",;.:?!\n\r",
                                "",
                                ".",
                                ",. \t",
                                ",;.:?!\n\rabcdefg",
                                ",;.:?!\n\rabcdefgh",
                                ",;.:?!\n\rabcdefghijklmnopqrstuvwxyz\xE9"};
    const int32_t maxTexts[] = {1,  2,  5,  12, 14, 15, 16, 17, 31,  32,
                                33, 46, 47, 48, 62, 63, 64, 65, 100, 999};
    const int32_t minTexts[] = {-1, 0, 5, 12, 40, 63, 70, 999};
    const int32_t ucOffsets[] = {0, 1, 2, 8, 50};
    CRandom random;
    CReadingSettings settings;
    for (int round = 0; round < 3000; ++round) {
        std::memset(settings.StopSimbols, 0, sizeof settings.StopSimbols);
        std::strcpy(settings.StopSimbols, symbolSets[random.Below(std::size(symbolSets))]);
        settings.MaxText = maxTexts[random.Below(std::size(maxTexts))];
        settings.MinText = minTexts[random.Below(std::size(minTexts))];
        settings.UcOffset = ucOffsets[random.Below(std::size(ucOffsets))];
        const CText text(RandomText(random));
        auto blockUnit = std::make_unique<char[]>(UnitBufferSize);
        auto byteUnit = std::make_unique<char[]>(UnitBufferSize);
        for (const char* cursor = text.Start(); cursor;) {
            const char* next = CutUnit(cursor, blockUnit.get(), settings);
            ASSERT_EQ(next, CutUnitBytewise(cursor, byteUnit.get(), settings))
                << "round " << round << " at " << cursor - text.Start();
            ASSERT_STREQ(blockUnit.get(), byteUnit.get()) << "round " << round;
            cursor = next;
        }
    }
}

// ---- Rest of the text at the end ----

TEST(HasVisibleTextTest, OnlySpacesTabsAndLineBreaksAreInvisible) {
    struct SCase {
        const char* Text;
        bool Visible;
    };
    const SCase cases[] = {
        {"", false}, {" \t\r\n", false}, {"\r\n\r\n", false}, {"  x", true},
        {".", true}, {"\v", true},       {"\t\t-\n", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HasVisibleText(c.Text), c.Visible) << '"' << c.Text << '"';
}

} // namespace
