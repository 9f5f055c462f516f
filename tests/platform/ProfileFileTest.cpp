#include "platform/ProfileFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
using namespace std::string_view_literals;
constexpr std::string_view Missing = "<missing>";

std::string Read(std::string_view text, std::size_t size = 1024) {
    return std::string(CProfileFile::FromText(text).GetString("A", "k", Missing, size));
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
    EXPECT_EQ(Read("[A]\nk=abcdef\n", 4), "abc");
    EXPECT_EQ(Read("", 4), "<mi");
}

TEST(ProfileFile, GetInt_ReadsTheLeadingDecimalWrappingAt32Bits) {
    for (const auto& [value, expected] :
         {std::pair{"'-3'"sv, -3}, {"+7", 7}, {"12abc", 12}, {"+-1", 0}, {"2147483648", INT_MIN}}) {
        SCOPED_TRACE(value);
        const std::string text = "[A]\nk=" + std::string(value) + "\n";
        EXPECT_EQ(CProfileFile::FromText(text).GetInt("A", "k", 12345), expected);
    }
    EXPECT_EQ(CProfileFile::FromText("[A]\nj=1\n").GetInt("A", "k", INT_MIN), INT_MIN);
}

TEST(ProfileFile, WriteString_ChangesOnlyTheKeysWritten) {
    const struct {
        std::string_view Before;
        std::vector<std::array<std::string_view, 3>> Writes; // section, key, value
        std::string_view After;
    } cases[] = {
        {"\xff\0[A]\r\r\n=\n[]\n"sv, {}, "\xff\0[A]\r\r\n=\n[]\n"sv},
        {"; h\n[Main]\nFreq=1\n[O]\nfreq=9\n",
         {{"MAIN", "freq", "4"}},
         "; h\n[Main]\nFreq=4\n[O]\nfreq=9\n"},
        {"[A]\nk=1\njunk\n\n[B]\n", {{"A", "j", "2"}}, "[A]\nk=1\nj=2\njunk\n\n[B]\n"},
        {"[A]\r\nk=1", {{"A", "j", "2"}, {"B", "x", "5"}}, "[A]\r\nk=1\r\nj=2\r\n[B]\r\nx=5\r\n"},
        {"[A]\r\nk=1\r\n", {{"A", "k", "a\r\nj=2"}}, "[A]\r\nk=a\r\n"},
        {"", {{" A\t", " k ", " a\t"}, {"A", "j", "'x'"}}, "[A]\nk=\" a\t\"\nj=\"'x'\"\n"},
        {"[A]\n",
         {{"A", "a=b", "1"}, {"A", ";k", "1"}, {"A]B", "k", "1"}, {"", "k", "1"}},
         "[A]\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Before);
        CProfileFile file = CProfileFile::FromText(c.Before);
        for (const auto& [section, key, value] : c.Writes)
            file.WriteString(section, key, value);
        EXPECT_EQ(file.Text(), c.After);
    }
}

TEST(ProfileFile, WriteThenRead_GivesTheValueWritten) {
    for (const std::string_view value : {""sv, " a"sv, "\"a\""sv, "'a'"sv, "\""sv, ";x"sv}) {
        SCOPED_TRACE(value);
        CProfileFile file;
        file.WriteString("A", "k", value);
        file.WriteInt("A", "after", INT_MIN);
        const CProfileFile reread = CProfileFile::FromText(file.Text());
        EXPECT_EQ(reread.GetString("A", "k", Missing, 1024), value);
        EXPECT_EQ(reread.GetInt("A", "after", 0), INT_MIN);
    }
}

namespace fs = std::filesystem;
constexpr std::string_view OldBytes = "[MAIN]\r\nfreq=400\r\n";

TEST(ProfileFileOnDisk, Load_RefusesFilesOverTheSizeLimit) {
    CTempFolder dir;
    std::string big = "[A]\nk=1\n";
    big.resize(CProfileFile::MaxFileSize, ';');
    WriteBytes(dir.Path("limit.skm"), big);
    WriteBytes(dir.Path("over.skm"), big + ";");
    CProfileFile file;
    std::string error;
    EXPECT_TRUE(file.Load(dir.Path("limit.skm")));
    EXPECT_FALSE(file.Load(dir.Path("over.skm"), &error) || error.empty());
    EXPECT_EQ(file.GetInt("A", "k", 0), 1); // the document stays as it was
}

TEST(ProfileFileOnDisk, Save_ReplacesTheFinalTargetKeepingModeAndLinks) {
    CTempFolder dir;
    WriteBytes(dir.Path("real.skm"), OldBytes);
    fs::permissions(dir.Path("real.skm"), fs::perms(0640));
    ASSERT_EQ(::symlink("real.skm", dir.Path("link.skm").c_str()), 0);
    ASSERT_EQ(::symlink("link.skm", dir.Path("link2.skm").c_str()), 0);
    ASSERT_EQ(::symlink(dir.Path("made.skm").c_str(), dir.Path("dangling.skm").c_str()), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    for (const auto& [saved, written, mode] :
         {std::tuple{"link2.skm", "real.skm", 0640}, {"dangling.skm", "made.skm", 0644 & ~mask}}) {
        SCOPED_TRACE(saved);
        std::string error;
        ASSERT_TRUE(CProfileFile::FromText("[A]\nk=1\n").Save(dir.Path(saved), &error)) << error;
        EXPECT_EQ(ReadBytes(dir.Path(written)), "[A]\nk=1\n");
        EXPECT_EQ(fs::status(dir.Path(written)).permissions(), fs::perms(mode));
    }
    EXPECT_TRUE(fs::is_symlink(dir.Path("link.skm")) && fs::is_symlink(dir.Path("dangling.skm")));
    EXPECT_EQ(dir.Entries().size(), 5U); // no temporary file left
}

TEST(ProfileFileOnDisk, Save_WriteFailingMidway_FailsAndKeepsTheOldFile) {
    CTempFolder dir;
    const std::string path = dir.Path("a.skm");
    WriteBytes(path, OldBytes);
    CProfileFile file;
    file.WriteString("MAIN", "Big", std::string(64 * 1024, 'x'));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // A copy of the test runner: only async-signal-safe calls and _exit.
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        ::signal(SIGXFSZ, SIG_IGN);
        std::string error;
        const bool saved = file.Save(path, &error);
        ::_exit(saved ? 1 : (error.empty() ? 2 : 0));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved anyway, 2: no message, 3: no limit";
    EXPECT_EQ(ReadBytes(path), OldBytes);
    EXPECT_EQ(dir.Entries().size(), 1U);
}
} // namespace
