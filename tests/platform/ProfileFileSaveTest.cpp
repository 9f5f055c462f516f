#include "platform/ProfileFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
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
