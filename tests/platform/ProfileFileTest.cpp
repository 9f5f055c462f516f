#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {
using namespace std::string_view_literals;
constexpr std::string_view Missing = "<missing>";

TEST(ProfileFile, GetString_FindsTheValueAReaderOfIniFilesExpects) {
    const struct {
        std::string_view Text, Section, Key, Expected;
    } cases[] = {
        {"[main]\nFREQ=400\n", "MaIn", "fReQ", "400"},              // case-insensitive
        {"  [ \tA \t] old\n \t k \t=  4 \t\n", " A\t", " k ", "4"}, // blanks ignored
        {"[A]\nk=1\nK=2\n", "A", "k", "1"},                         // first key wins
        {"[A]\nk=1\n[a]\nk=2\n", "A", "k", "1"},                    // first block wins
        {"[A]\nk=1\n[A]\nj=3\n", "A", "j", Missing},                // later block unread
        {"k=1\n[A]\n[B]\nk=1\n", "A", "k", Missing},                // other sections
        {"[A]\nk=a=b\n", "A", "k", "a=b"},                          // later '=' kept
        {"[A]\nk= \t\n", "A", "k", ""},                             // empty, not missing
        {"[A]\nk=  \"a b\"  \n", "A", "k", "a b"},                  // quotes removed
        {"[A]\nk='a'\n", "A", "k", "a"},                            // single quotes too
        {"[A]\nk=\" x \"\n", "A", "k", " x "},                      // blanks in quotes
        {"[A]\nk=\"x'\n", "A", "k", "\"x'"},                        // mismatched kept
        {"[A]\nk=\"\"x\"\"\n", "A", "k", "\"x\""},                  // one pair only
        {"[A]\n;k=1\n  ;k=2\nk=3\n", "A", "k", "3"},                // comments
        {";[B]\nk=1\n", "B", "k", Missing},                         // commented section
        {"[A]\nk=1 ; note\n", "A", "k", "1 ; note"},                // no inline comments
        {"[A]\nk\nk=5\n", "A", "k", "5"},                           // no '=': no key
        {"[A\nk=1\n", "A", "k", Missing},                           // broken header
        {"[B]\n[A\nk=1\n", "B", "k", "1"},                          // ... ends nothing
        {"[A]\nk=1\r\nj=2\rm=3", "A", "m", "3"},                    // every line end
        {"[A]\nk=a\0b\n"sv, "A", "k", "a\0b"sv},                    // NULs are data
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(CProfileFile::FromText(c.Text).GetString(c.Section, c.Key, Missing, 1024),
                  c.Expected);
    }
}

TEST(ProfileFile, GetString_CutsValueOrFallbackToSizeLessOne) {
    const struct {
        std::string_view Text;
        std::size_t Size;
        std::string_view Expected;
    } cases[] = {{"[A]\nk=abcdef\n", 0, ""},       {"[A]\nk=abcdef\n", 4, "abc"},
                 {"[A]\nk=abcdef\n", 7, "abcdef"}, {"[A]\nk=\"abcdef\"\n", 3, "ab"},
                 {"[A]\nj=1\n", 100, "fallback"},  {"", 4, "fal"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Size);
        EXPECT_EQ(CProfileFile::FromText(c.Text).GetString("A", "k", "fallback", c.Size),
                  c.Expected);
    }
}

TEST(ProfileFile, GetInt_ReadsTheLeadingDecimalWrappingAt32Bits) {
    const struct {
        std::string_view Value;
        int32_t Expected;
    } cases[] = {{"007", 7},
                 {"\" \t42\"", 42},
                 {"+7", 7},
                 {"'-3'", -3},
                 {"12abc", 12},
                 {"0x10", 0},
                 {"", 0},
                 {"+-1", 0},
                 {"- 5", 0},
                 {"2147483648", INT32_MIN},
                 {"-2147483649", INT32_MAX},
                 {"4294967295", -1},
                 {"99999999999999999999", 1661992959}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        const std::string text = "[A]\nk=" + std::string(c.Value) + "\n";
        EXPECT_EQ(CProfileFile::FromText(text).GetInt("A", "k", 12345), c.Expected);
    }
    EXPECT_EQ(CProfileFile::FromText("[A]\nj=1\n").GetInt("A", "k", INT32_MIN), INT32_MIN);
}

TEST(ProfileFile, FromText_WithoutWrites_GivesTheSameBytes) {
    for (const std::string_view input :
         {""sv, "[A]\nk=1"sv, "[A]\r\r\n\n\rk=1\n\r"sv, "\xff\xfe\0[A]\0\n=\n[]\n"sv}) {
        EXPECT_EQ(CProfileFile::FromText(input).Text(), input);
    }
}

struct SWrite {
    std::string_view Section, Key, Value;
};

TEST(ProfileFile, WriteString_ChangesOnlyTheKeysWritten) {
    const struct {
        std::string_view Before;
        std::vector<SWrite> Writes;
        std::string_view After;
    } cases[] = {
        {"; h\n[Main]\nFreq=1\n  k =  2 \n[O]\nfreq=9\n",
         {{"MAIN", "freq", "4"}, {"main", "K", "7"}},
         "; h\n[Main]\nFreq=4\n  k =  7\n[O]\nfreq=9\n"},
        {"[A]\nk=\"old\"\nk=2", {{"A", "k", "new"}}, "[A]\nk=new\nk=2"},
        {"[A]\nk=1\njunk\n\n; B\n[B]\n", {{"A", "j", "2"}}, "[A]\nk=1\nj=2\njunk\n\n; B\n[B]\n"},
        {"[A]\n\n[B]\n[a]\n", {{"A", "k", "1"}}, "[A]\nk=1\n\n[B]\n[a]\n"},
        {"[A]\nk=1", {{"A", "j", "2"}, {"B", "x", "5"}}, "[A]\nk=1\nj=2\n[B]\nx=5\n"},
        {"", {{" A\t", " k ", "1"}}, "[A]\nk=1\n"},
        {"[A]\r\nk=1\nj=2\r",
         {{"A", "m", "3"}, {"B", "x", "5"}},
         "[A]\r\nk=1\nj=2\rm=3\r\n[B]\r\nx=5\r\n"},
        {"[A]\rk=1\r", {{"A", "j", "2"}}, "[A]\rk=1\rj=2\r"},
        {"\xff junk\n[A]\n\x01=\x03\nk=1\n", {{"A", "k", "2"}}, "\xff junk\n[A]\n\x01=\x03\nk=2\n"},
        {"", {{"MAIN", "StopSimbols", R"(,;.:?!\n\r)"}}, "[MAIN]\nStopSimbols=,;.:?!\\n\\r\n"},
        {"[A]\r\nk=1\r\n", {{"A", "k", "a\r\nj=2"}}, "[A]\r\nk=a\r\n"}, // stops at a break
        {"",
         {{"A", "k", " a\t"}, {"A", "j", "'x'"}, {"A", "m", "\"x' \"y"}},
         "[A]\nk=\" a\t\"\nj=\"'x'\"\nm=\"x' \"y\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Before);
        CProfileFile file = CProfileFile::FromText(c.Before);
        for (const SWrite& w : c.Writes)
            file.WriteString(w.Section, w.Key, w.Value);
        EXPECT_EQ(file.Text(), c.After);
    }
}

TEST(ProfileFile, WriteString_NameThatCouldNotBeReadBack_LeavesDocumentAsItWas) {
    const std::string_view before = "[A]\nk=1\n";
    for (const SWrite& w : {SWrite{"A", "a=b"},
                            {"A", "x\ny"},
                            {"A", ";k"},
                            {"A", "[k]"},
                            {"A", " \t"},
                            {"A]B", "k"},
                            {"A\r", "k"},
                            {"", "k"}}) {
        SCOPED_TRACE(std::string(w.Section) + "/" + std::string(w.Key));
        CProfileFile file = CProfileFile::FromText(before);
        file.WriteString(w.Section, w.Key, "1");
        EXPECT_EQ(file.Text(), before);
    }
}

TEST(ProfileFile, WriteThenRead_GivesTheValueWritten) {
    for (const std::string_view value : {""sv, " a"sv, "a "sv, "\"a\""sv, "'a'"sv, "\"a'"sv, "\""sv,
                                         "\"\""sv, "a=b"sv, ";x"sv, "' '"sv, "x\""sv}) {
        SCOPED_TRACE(value);
        CProfileFile file;
        file.WriteString("A", "k", "placeholder");
        file.WriteString("A", "k", value);
        file.WriteString("A", "after", "1");
        const CProfileFile reread = CProfileFile::FromText(file.Text());
        EXPECT_EQ(reread.GetString("A", "k", Missing, 1024), value);
        EXPECT_EQ(reread.GetInt("A", "after", 0), 1);
    }
    for (const int32_t value : {-1, INT32_MAX, INT32_MIN}) {
        CProfileFile file;
        file.WriteInt("P", "C", value);
        EXPECT_EQ(file.Text(), "[P]\nC=" + std::to_string(value) + "\n");
    }
}

} // namespace
