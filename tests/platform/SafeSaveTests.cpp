#include "platform/ProfileFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr uid_t Nobody = 65534;

// Large enough that a save takes a while, so that kills land inside it.
CProfileFile Document(char fill) {
    CProfileFile file;
    for (int i = 0; i < 4000; ++i)
        file.WriteString("MAIN", "k" + std::to_string(i), std::string(40, fill));
    return file;
}

TEST(SafeSave, Save_KilledAtRandomPoints_OldOrNewFileAndNoLeftoverAfterTheNextSave) {
    CTempFolder dir;
    const std::string path = dir.Path("t.txt.skm");
    const CProfileFile before = Document('a');
    const CProfileFile after = Document('b');
    ASSERT_TRUE(before.Save(path));
    std::mt19937 random(7);
    for (int run = 0; run < 200; ++run) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;)
                after.Save(path);
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 4000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == before.Text() || now == after.Text()) << "run " << run;
        ASSERT_TRUE(before.Save(path));
        ASSERT_EQ(dir.Entries(), std::set<std::string>{"t.txt.skm"}) << "run " << run;
    }
}

TEST(SafeSave, Save_RemovesOnlyLeftoversOfOurOwnDeadSaves) {
    CTempFolder dir;
    struct Row {
        const char* Name;
        bool Removed;
    };
    const Row rows[] = {{".t.skm.dead0000.tmp", true},
                        {".t.skm.live0000.tmp", false},
                        {".t.skm.short.tmp", false},
                        {".u.skm.dead0000.tmp", false},
                        {".t.skm.other000.tmp", false}};
    for (const Row& row : rows)
        WriteBytes(dir.Path(row.Name), "x");
    // A save still running holds its lock; a lock through another description stands in.
    const int live = ::open(dir.Path(rows[1].Name).c_str(), O_RDWR | O_CLOEXEC);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    ASSERT_EQ(::fcntl(live, F_OFD_SETLK, &lock), 0);
    const bool foreign = ::geteuid() == 0 && ::chown(dir.Path(rows[4].Name).c_str(), Nobody, 0) == 0;

    ASSERT_TRUE(CProfileFile::FromText("[A]\n").Save(dir.Path("t.skm")));
    const std::set<std::string> left = dir.Entries();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        if (row.Name != rows[4].Name || foreign)
            EXPECT_EQ(left.count(row.Name) == 0, row.Removed);
    }
    ::close(live);
}

TEST(SafeSave, Link_FollowedWhenOursOrRootsRefusedWhenAnotherUsers) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "making another user's link takes root";
    for (const uid_t owner : {uid_t{0}, Nobody}) {
        SCOPED_TRACE(owner);
        CTempFolder dir;
        const std::string link = dir.Path("story.txt.skm");
        WriteBytes(dir.Path("notes.conf"), "[MAIN]\nfreq=1\n");
        ASSERT_EQ(::symlink("notes.conf", link.c_str()), 0);
        ASSERT_EQ(::lchown(link.c_str(), owner, owner), 0);
        const bool trusted = owner == 0;

        CProfileFile file;
        std::string error;
        EXPECT_EQ(file.Load(link, &error), trusted);
        EXPECT_EQ(file.GetInt("MAIN", "freq", 0), trusted ? 1 : 0);
        file.WriteInt("MAIN", "freq", 2);
        EXPECT_EQ(file.Save(link, &error), trusted);
        EXPECT_EQ(ReadBytes(dir.Path("notes.conf")),
                  trusted ? "[MAIN]\nfreq=2\n" : "[MAIN]\nfreq=1\n");
        if (!trusted)
            EXPECT_NE(error.find(link), std::string::npos) << error;
        struct stat status {};
        EXPECT_TRUE(::lstat(link.c_str(), &status) == 0 && S_ISLNK(status.st_mode));
    }
}
} // namespace
