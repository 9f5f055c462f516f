#include "platform/ProfileFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr std::string_view OldBytes = "; kept\r\n[MAIN]\r\nfreq=400\r\n";

CProfileFile Edited() {
    CProfileFile file = CProfileFile::FromText(OldBytes);
    file.WriteInt("MAIN", "freq", 500);
    return file;
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    ::lstat(path.c_str(), &status);
    return status.st_mode;
}

// A folder with a subfolder, a pipe (which must be refused without waiting) and a loop
// of links.
void MakeAwkwardEntries(const CTempFolder& dir) {
    ASSERT_EQ(::mkdir(dir.Path("sub").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir.Path("pipe").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("b", dir.Path("a").c_str()), 0);
    ASSERT_EQ(::symlink("a", dir.Path("b").c_str()), 0);
}

TEST(ProfileFileOnDisk, Load_PathThatIsNoReadableFile_FailsWithMessageAndKeepsDocument) {
    CTempFolder dir;
    MakeAwkwardEntries(dir);
    std::string big = "[A]\nk=1\n";
    big.resize(CProfileFile::MaxFileSize, ';');
    WriteBytes(dir.Path("limit.skm"), big);
    WriteBytes(dir.Path("over.skm"), big + ";");
    for (const auto& [name, loads] : {std::pair{"absent.skm", true},
                                      {"sub", false},
                                      {"pipe", false},
                                      {"over.skm", false},
                                      {"limit.skm", true}}) {
        SCOPED_TRACE(name);
        CProfileFile file = CProfileFile::FromText("[B]\n");
        std::string error;
        EXPECT_EQ(file.Load(dir.Path(name), &error), loads);
        EXPECT_EQ(error.empty(), loads) << error;
        if (!loads)
            EXPECT_EQ(file.Text(), "[B]\n");
    }
}

TEST(ProfileFileOnDisk, Save_ReplacesTheFinalTargetKeepingModeAndLinks) {
    CTempFolder dir;
    WriteBytes(dir.Path("real.skm"), OldBytes);
    ::chmod(dir.Path("real.skm").c_str(), 0640);
    ASSERT_EQ(::symlink("real.skm", dir.Path("link.skm").c_str()), 0);
    ASSERT_EQ(::symlink("link.skm", dir.Path("link2.skm").c_str()), 0);
    ASSERT_EQ(::symlink(dir.Path("made.skm").c_str(), dir.Path("dangling.skm").c_str()), 0);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    for (const auto& [saved, written, mode] :
         {std::tuple{"link2.skm", "real.skm", 0640}, {"dangling.skm", "made.skm", 0644 & ~mask}}) {
        SCOPED_TRACE(saved);
        std::string error;
        ASSERT_TRUE(Edited().Save(dir.Path(saved), &error)) << error;
        EXPECT_EQ(ReadBytes(dir.Path(written)), "; kept\r\n[MAIN]\r\nfreq=500\r\n");
        EXPECT_EQ(ModeOf(dir.Path(written)) & 07777, static_cast<mode_t>(mode));
    }
    EXPECT_TRUE(S_ISLNK(ModeOf(dir.Path("link.skm"))));
    EXPECT_TRUE(S_ISLNK(ModeOf(dir.Path("dangling.skm"))));
    EXPECT_EQ(dir.Entries().size(), 5U); // no temporary file left
}

TEST(ProfileFileOnDisk, Save_PathThatCannotTakeTheFile_FailsAndLeavesTheFolderAsItWas) {
    CTempFolder dir;
    MakeAwkwardEntries(dir);
    const auto before = dir.Entries();
    for (const char* name : {"sub", "absent/a.skm", "a", "pipe"}) {
        SCOPED_TRACE(name);
        std::string error;
        EXPECT_FALSE(Edited().Save(dir.Path(name), &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(dir.Entries(), before);
    }
    EXPECT_TRUE(S_ISFIFO(ModeOf(dir.Path("pipe"))));
}

TEST(ProfileFileOnDisk, Save_WriteFailingMidway_FailsAndKeepsTheOldFile) {
    CTempFolder dir;
    const std::string path = dir.Path("a.skm");
    WriteBytes(path, OldBytes);
    CProfileFile file = Edited();
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
