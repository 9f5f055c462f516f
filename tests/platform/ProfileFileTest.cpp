#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

constexpr std::string_view Missing = "<missing>";

std::string Read(std::string_view text, std::string_view section, std::string_view key) {
    return CProfileFile::FromText(text).GetString(section, key, Missing, 1024);
}

struct LookupCase {
    const char* Name;
    std::string_view Text;
    std::string_view Section;
    std::string_view Key;
    std::string_view Expected;
};

class ProfileLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(ProfileLookup, GetString_FindsTheValueAReaderOfIniFilesExpects) {
    const LookupCase& c = GetParam();
    EXPECT_EQ(Read(c.Text, c.Section, c.Key), c.Expected);
}

using namespace std::string_view_literals;

const LookupCase LookupCases[] = {
    {"Plain", "[MAIN]\nfreq=400\n", "MAIN", "freq", "400"},
    {"SectionAndKeyIgnoreCase", "[main]\nFREQ=400\n", "MaIn", "fReQ", "400"},
    {"NonAsciiIsComparedAsBytes", "[\xc3\x89t\xc3\xa9]\nk=1\n", "\xc3\x89t\xc3\xa9", "k", "1"},
    {"BlanksInsideBrackets", "[ \tMAIN \t]\nfreq=1\n", "MAIN", "freq", "1"},
    {"BlanksBeforeBracket", "  [MAIN]\nfreq=1\n", "MAIN", "freq", "1"},
    {"BlanksAroundKeyAndValue", "[A]\n \t freq \t=  400 \t\n", "A", "freq", "400"},
    {"BlanksInTheQuery", "[A]\nfreq=4\n", " A\t", " freq ", "4"},
    {"TextAfterClosingBracketIgnored", "[A] old\nk=1\n", "A", "k", "1"},
    {"FirstKeyWins", "[A]\nk=1\nK=2\n", "A", "k", "1"},
    {"FirstSectionBlockWins", "[A]\nk=1\n[a]\nk=2\n", "A", "k", "1"},
    {"LaterBlockOfSameSectionNotSearched", "[A]\nk=1\n[A]\nj=3\n", "A", "j", Missing},
    {"KeyOfAnotherSectionNotFound", "[A]\n[B]\nk=1\n", "A", "k", Missing},
    {"KeyBeforeAnySectionNotFound", "k=1\n[A]\n", "A", "k", Missing},
    {"ValueKeepsLaterEquals", "[A]\nk=a=b\n", "A", "k", "a=b"},
    {"EmptyValueIsNotMissing", "[A]\nk=\n", "A", "k", ""},
    {"BlankValueIsEmpty", "[A]\nk= \t\n", "A", "k", ""},
    {"DoubleQuotesRemoved", "[A]\nk=\"a b\"\n", "A", "k", "a b"},
    {"SingleQuotesRemoved", "[A]\nk='a b'\n", "A", "k", "a b"},
    {"QuotesAfterBlanksRemoved", "[A]\nk=  \"x\"  \n", "A", "k", "x"},
    {"BlanksInsideQuotesKept", "[A]\nk=\" x \"\n", "A", "k", " x "},
    {"EmptyQuotesGiveEmpty", "[A]\nk=\"\"\n", "A", "k", ""},
    {"MismatchedQuotesKept", "[A]\nk=\"x'\n", "A", "k", "\"x'"},
    {"LoneQuoteKept", "[A]\nk=\"\n", "A", "k", "\""},
    {"InnerQuotesKept", "[A]\nk=a\"b\"\n", "A", "k", "a\"b\""},
    {"OnlyOnePairRemoved", "[A]\nk=\"\"x\"\"\n", "A", "k", "\"x\""},
    {"CommentedKeySkipped", "[A]\n;k=1\n  ;k=2\nk=3\n", "A", "k", "3"},
    {"CommentedSectionIsNoSection", ";[B]\nk=1\n", "B", "k", Missing},
    {"NoInlineComments", "[A]\nk=1 ; note\n", "A", "k", "1 ; note"},
    {"LineWithoutEqualsIsNoKey", "[A]\nk\nk=5\n", "A", "k", "5"},
    {"OnlyLineWithoutEquals", "[A]\nk\n", "A", "k", Missing},
    {"BrokenHeaderIsNoSection", "[A\nk=1\n", "A", "k", Missing},
    {"BrokenHeaderDoesNotEndSection", "[B]\n[A\nk=1\n", "B", "k", "1"},
    {"CrLfLines", "[A]\r\nk=1\r\nj=2\r\n", "A", "j", "2"},
    {"CrLines", "[A]\rk=1\rj=2", "A", "j", "2"},
    {"MixedLineEnds", "[A]\nk=1\r\nj=2\rm=3", "A", "m", "3"},
    {"NoFinalLineEnd", "[A]\nk=7", "A", "k", "7"},
    {"NulBytesAreData", "[A]\nk=a\0b\n"sv, "A", "k", "a\0b"sv},
    {"EmptyDocument", "", "A", "k", Missing},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileLookup, testing::ValuesIn(LookupCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct SizeCase {
    const char* Name;
    std::string_view Text;
    std::size_t Size;
    std::string_view Expected;
};

class ProfileStringSize : public testing::TestWithParam<SizeCase> {};

TEST_P(ProfileStringSize, GetString_CutsValueOrFallbackToSizeLessOne) {
    const SizeCase& c = GetParam();
    EXPECT_EQ(CProfileFile::FromText(c.Text).GetString("A", "k", "fallback", c.Size), c.Expected);
}

const SizeCase SizeCases[] = {
    {"ZeroGivesEmpty", "[A]\nk=abcdef\n", 0, ""},
    {"OneGivesEmpty", "[A]\nk=abcdef\n", 1, ""},
    {"CutValue", "[A]\nk=abcdef\n", 4, "abc"},
    {"ExactFit", "[A]\nk=abcdef\n", 7, "abcdef"},
    {"Roomy", "[A]\nk=abcdef\n", 1000, "abcdef"},
    {"CutAfterQuotesRemoved", "[A]\nk=\"abcdef\"\n", 3, "ab"},
    {"MissingKeyGivesFallback", "[A]\nj=1\n", 100, "fallback"},
    {"MissingSectionGivesFallback", "[B]\nk=1\n", 100, "fallback"},
    {"FallbackCutToo", "", 4, "fal"},
    {"FallbackZeroSize", "", 0, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileStringSize, testing::ValuesIn(SizeCases),
                         [](const auto& info) { return std::string(info.param.Name); });

struct IntCase {
    const char* Name;
    std::string_view Value;
    int32_t Expected;
};

class ProfileInt : public testing::TestWithParam<IntCase> {};

TEST_P(ProfileInt, GetInt_ReadsLeadingDecimalWrappingAt32Bits) {
    const IntCase& c = GetParam();
    const std::string text = "[A]\nk=" + std::string(c.Value) + "\n";
    EXPECT_EQ(CProfileFile::FromText(text).GetInt("A", "k", 12345), c.Expected);
}

const IntCase IntCases[] = {
    {"Plain", "42", 42},
    {"Zero", "0", 0},
    {"LeadingZeros", "007", 7},
    {"BlanksInsideQuotes", "\" \t42\"", 42},
    {"Plus", "+7", 7},
    {"Minus", "-7", -7},
    {"QuotedNegative", "'-3'", -3},
    {"TrailingJunk", "12abc", 12},
    {"Decimal", "1.9", 1},
    {"Hex", "0x10", 0},
    {"NoDigits", "abc", 0},
    {"Empty", "", 0},
    {"SignOnly", "-", 0},
    {"TwoSigns", "+-1", 0},
    {"BlankAfterSign", "- 5", 0},
    {"Max", "2147483647", INT32_MAX},
    {"MaxPlusOneWraps", "2147483648", INT32_MIN},
    {"Min", "-2147483648", INT32_MIN},
    {"MinMinusOneWraps", "-2147483649", INT32_MAX},
    {"AllOnes", "4294967295", -1},
    {"TwoToThe32", "4294967296", 0},
    {"ManyDigitsWrap", "99999999999999999999", 1661992959},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileInt, testing::ValuesIn(IntCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ProfileIntDefaults, GetInt_MissingFileSectionOrKey_GivesFallback) {
    EXPECT_EQ(CProfileFile().GetInt("A", "k", -9), -9);
    EXPECT_EQ(CProfileFile::FromText("[B]\nk=1\n").GetInt("A", "k", 77), 77);
    EXPECT_EQ(CProfileFile::FromText("[A]\nj=1\n").GetInt("A", "k", INT32_MIN), INT32_MIN);
}

TEST(ProfileText, FromText_WithoutWrites_GivesTheSameBytes) {
    const std::string_view inputs[] = {
        "",
        "\n",
        "[A]\nk=1",
        "[A]\r\nk=1\r\n",
        "[A]\rk=1\r",
        "[A]\r\r\n\n\rk=1\n\r",
        " ; comment\n\tjunk line\n[ A ]\n k = \"v\" \n",
        "\xff\xfe\0[A]\0\n=\n[]\n"sv,
    };
    for (const std::string_view input : inputs) {
        EXPECT_EQ(CProfileFile::FromText(input).Text(), input);
    }
}

struct Write {
    std::string_view Section;
    std::string_view Key;
    std::string_view Value;
};

struct WriteCase {
    const char* Name;
    std::string_view Before;
    std::vector<Write> Writes;
    std::string_view After;
};

class ProfileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWrite, WriteString_ChangesOnlyTheKeysWritten) {
    const WriteCase& c = GetParam();
    CProfileFile file = CProfileFile::FromText(c.Before);
    for (const Write& w : c.Writes) {
        file.WriteString(w.Section, w.Key, w.Value);
    }
    EXPECT_EQ(file.Text(), c.After);
}

const WriteCase WriteCases[] = {
    {"ReplaceKeepsLineAndSpelling",
     "; head\n[Main]\nFreq=1\ndurat = 2\n[Other]\nfreq=9\n",
     {{"MAIN", "freq", "400"}, {"main", "DURAT", "700"}},
     "; head\n[Main]\nFreq=400\ndurat = 700\n[Other]\nfreq=9\n"},
    {"ReplaceKeepsIndentAndBlanksAfterEquals",
     "[A]\n  k =  1 \n",
     {{"A", "k", "2"}},
     "[A]\n  k =  2\n"},
    {"ReplaceQuotedValueWritesItBare", "[A]\nk=\"old\"\n", {{"A", "k", "new"}}, "[A]\nk=new\n"},
    {"ReplaceOnlyFirstOfDuplicateKeys", "[A]\nk=1\nk=2\n", {{"A", "k", "3"}}, "[A]\nk=3\nk=2\n"},
    {"ReplaceInLastLineWithoutLineEnd", "[A]\nk=1", {{"A", "k", "2"}}, "[A]\nk=2"},
    {"NewKeyAfterLastKeyNotAfterBlanksAndComments",
     "[A]\nk=1\n\n; about B\n[B]\nx=1\n",
     {{"A", "j", "2"}},
     "[A]\nk=1\nj=2\n\n; about B\n[B]\nx=1\n"},
    {"NewKeyBeforeJunkLineAfterLastKey",
     "[A]\nk=1\njunk\n",
     {{"A", "j", "2"}},
     "[A]\nk=1\nj=2\njunk\n"},
    {"NewKeyInSectionWithoutKeys", "[A]\n\n[B]\n", {{"A", "k", "1"}}, "[A]\nk=1\n\n[B]\n"},
    {"NewKeyGoesToFirstBlockOfSection",
     "[A]\nk=1\n[B]\n[a]\nj=1\n",
     {{"A", "j", "2"}},
     "[A]\nk=1\nj=2\n[B]\n[a]\nj=1\n"},
    {"NewKeyAfterLastLineWithoutLineEnd", "[A]\nk=1", {{"A", "j", "2"}}, "[A]\nk=1\nj=2\n"},
    {"NewSectionAtEnd", "[A]\nk=1\n; tail\n", {{"B", "x", "5"}}, "[A]\nk=1\n; tail\n[B]\nx=5\n"},
    {"NewSectionAfterLastLineWithoutLineEnd",
     "[A]\nk=1",
     {{"B", "x", "5"}},
     "[A]\nk=1\n[B]\nx=5\n"},
    {"NewNamesAreWrittenWithoutOuterBlanks", "", {{" A\t", " k ", "1"}}, "[A]\nk=1\n"},
    {"CrLfFileStaysCrLf",
     "[A]\r\nk=1\r\n",
     {{"A", "j", "2"}, {"B", "x", "5"}, {"A", "k", "3"}},
     "[A]\r\nk=3\r\nj=2\r\n[B]\r\nx=5\r\n"},
    {"CrFileStaysCr", "[A]\rk=1\r", {{"A", "j", "2"}}, "[A]\rk=1\rj=2\r"},
    {"FirstLineEndDecidesForNewLines",
     "[A]\r\nk=1\nj=2\r",
     {{"A", "m", "3"}},
     "[A]\r\nk=1\nj=2\rm=3\r\n"},
    {"UnrelatedBytesUntouched",
     "\xff\xfe junk\n[A]\n\x01\x02=\x03\nk=1\n",
     {{"A", "k", "2"}},
     "\xff\xfe junk\n[A]\n\x01\x02=\x03\nk=2\n"},
    {"NewFileGetsLf",
     "",
     {{"MAIN", "BkgColor", "0"}, {"MAIN", "durat", "700"}, {"LogFont", "Height", "48"}},
     "[MAIN]\nBkgColor=0\ndurat=700\n[LogFont]\nHeight=48\n"},
    {"StopSymbolsWrittenBare",
     "",
     {{"MAIN", "StopSimbols", R"(,;.:?!\n\r)"}},
     "[MAIN]\nStopSimbols=,;.:?!\\n\\r\n"},
    {"ValueStopsAtLineFeed", "", {{"A", "k", "a\n[B]\nx=1"}}, "[A]\nk=a\n"},
    {"ValueStopsAtCarriageReturn", "[A]\r\nk=1\r\n", {{"A", "k", "a\r\nj=2"}}, "[A]\r\nk=a\r\n"},
    {"ValueStartingWithLineBreakIsEmpty", "", {{"A", "k", "\nx"}}, "[A]\nk=\n"},
    {"ValueWithOuterBlanksIsQuoted", "", {{"A", "k", " a\t"}}, "[A]\nk=\" a\t\"\n"},
    {"ValueWithOuterQuotesIsQuotedAgain", "", {{"A", "k", "'x'"}}, "[A]\nk=\"'x'\"\n"},
    {"ValueWithOtherQuotesIsBare", "", {{"A", "k", "\"x' \"y"}}, "[A]\nk=\"x' \"y\n"},
    {"EqualsInValueIsBare", "", {{"A", "k", "a=b"}}, "[A]\nk=a=b\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWrite, testing::ValuesIn(WriteCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ProfileWriteRefused, WriteString_NameThatCouldNotBeReadBack_LeavesDocumentAsItWas) {
    const std::string_view before = "[A]\nk=1\n";
    const Write refused[] = {
        {"A", "a=b", "1"},   {"A", "x\ny", "1"}, {"A", "x\ry", "1"}, {"A", ";k", "1"},
        {"A", "[k]", "1"},   {"A", "", "1"},     {"A", " \t", "1"},  {"A]B", "k", "1"},
        {"A\n[B", "k", "1"}, {"A\r", "k", "1"},  {"", "k", "1"},     {"  ", "k", "1"},
    };
    for (const Write& w : refused) {
        CProfileFile file = CProfileFile::FromText(before);
        file.WriteString(w.Section, w.Key, w.Value);
        EXPECT_EQ(file.Text(), before) << "section \"" << w.Section << "\" key \"" << w.Key << "\"";
    }
}

TEST(ProfileRoundTrip, WriteString_ThenGetString_GivesTheValueWritten) {
    const std::string_view values[] = {
        "",
        " ",
        "a",
        " a",
        "a ",
        "\"a\"",
        "'a'",
        "\"a'",
        "\"",
        "\"\"",
        "a=b",
        ";x",
        "[x]",
        "\t",
        "' '",
        "x\"",
        "a \"b\" c",
        R"(,;.:?!\n\r)",
        "Arial Black",
        "\xd0\x90\xd1\x80\xd0\xb8\xd0\xb0\xd0\xbb",
    };
    for (const std::string_view value : values) {
        CProfileFile file;
        file.WriteString("A", "k", "placeholder");
        file.WriteString("A", "k", value);
        file.WriteString("A", "after", "1");
        const CProfileFile reread = CProfileFile::FromText(file.Text());
        EXPECT_EQ(reread.GetString("A", "k", Missing, 1024), value) << file.Text();
        EXPECT_EQ(reread.GetInt("A", "after", 0), 1) << file.Text();
    }
}

TEST(ProfileRoundTrip, WriteInt_ExtremeValues_ReadBackExactly) {
    const int32_t values[] = {0, 1, -1, 48, 16777215, INT32_MAX, INT32_MIN};
    for (const int32_t value : values) {
        CProfileFile file;
        file.WriteInt("POSITION", "CurPos", value);
        EXPECT_EQ(file.Text(), "[POSITION]\nCurPos=" + std::to_string(value) + "\n");
        EXPECT_EQ(CProfileFile::FromText(file.Text()).GetInt("POSITION", "CurPos", 5), value);
    }
}

TEST(ProfileRoundTrip, WriteString_ValueWithLineBreak_ReadsBackAsItsFirstLine) {
    CProfileFile file = CProfileFile::FromText("[A]\nk=1\n[B]\nx=2\n");
    file.WriteString("A", "k", "first\n[B]\nx=evil");
    EXPECT_EQ(file.GetString("A", "k", Missing, 100), "first");
    EXPECT_EQ(file.GetString("B", "x", Missing, 100), "2");
}

} // namespace
