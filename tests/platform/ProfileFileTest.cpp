// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>
#include <vector>

namespace {
using namespace std::string_view_literals;
constexpr std::string_view Missing = "<missing>";

std::string Read(std::string_view text) {
    return std::string(CProfileFile::FromText(text).GetString("A", "k", Missing, 1024));
}

TEST(ProfileFile, GetString_FindsTheValueAReaderOfIniFilesExpects) {
    for (const auto& [text, expected] : {
             std::pair{"[a]\nK=1\n"sv, "1"sv},            // case-insensitive
             {"  [ \tA \t] old\n \t k \t=  4 \t\n", "4"}, // blanks trimmed
             {"[A]\nk=1\nk=2\n[A]\nk=3\n", "1"},          // first wins
             {"k=1\n[B]\nk=1\n", Missing},                // other sections
             {"[A]\nk=  \"a b\"  \n", "a b"},             // quotes stripped
             {"[A]\nk=\"x'\n", "\"x'"},                   // mismatched kept
             {"[A]\n;k=1\nk=2 ; note\n", "2 ; note"},     // whole-line comments
             {"[B]\nk=1\r[A]\r\nj=2\rk=3", "3"},          // every line end
         }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Read(text), expected);
    }
}

TEST(ProfileFile, GetInt_ReadsTheLeadingDecimalWrappingAt32Bits) {
    for (const auto& [value, expected] :
         {std::pair{"'-3'"sv, -3}, {"+7", 7}, {"12abc", 12}, {"+-1", 0}, {"2147483648", INT_MIN}}) {
        SCOPED_TRACE(value);
        const std::string text = "[A]\nk=" + std::string(value) + "\n";
        EXPECT_EQ(CProfileFile::FromText(text).GetInt("A", "k", 12345), expected);
    }
    EXPECT_EQ(CProfileFile::FromText("[A]\nk=-2147483648\n").GetInt("A", "k", 0), INT_MIN);
}

TEST(ProfileFile, WriteString_ChangesOnlyTheKeysWritten) {
    const struct {
        std::string_view Before;
        std::vector<std::array<std::string_view, 3>> Writes; // section, key, value
        std::string_view After;
    } cases[] = {
        {"\xff\0[A]\r\r\n=\n[]\n"sv, {}, "\xff\0[A]\r\r\n=\n[]\n"sv},
        {"[Main]\nFreq=1\n[O]\nfreq=9", {{"MAIN", "freq", "4"}}, "[Main]\nFreq=4\n[O]\nfreq=9"},
        {"[A]\nk=1\njunk\n\n[B]\n", {{"A", "j", "2"}}, "[A]\nk=1\nj=2\njunk\n\n[B]\n"},
        {"[A]\r\nk=1", {{"A", "j", "2"}, {"B", "x", "5"}}, "[A]\r\nk=1\r\nj=2\r\n[B]\r\nx=5\r\n"},
        {"[A]\r\nk=1\r\n", {{"A", "k", "a\r\nj=2"}}, "[A]\r\nk=a\r\n"},
        {"", {{" A\t", " k ", " a\t"}, {"A", "j", "'x'"}}, "[A]\nk=\" a\t\"\nj=\"'x'\"\n"},
        {"[A]\n", {{"A", "a=b", ""}, {"A", ";k", ""}, {"A]B", "k", ""}, {"", "k", ""}}, "[A]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Before);
        CProfileFile file = CProfileFile::FromText(c.Before);
        for (const auto& [section, key, value] : c.Writes)
            file.WriteString(section, key, value);
        EXPECT_EQ(file.Text(), c.After);
    }
}
} // namespace
