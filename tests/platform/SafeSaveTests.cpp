// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"
#include "platform/UniqueFd.h"
#include "support/TempFolder.h"
#include "support/Unprivileged.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {
namespace fs = std::filesystem;
const std::string Old = "[MAIN]\r\nfreq=400\r\n";

// Large enough that a save takes a while, so that kills land inside it.
CProfileFile Document(char fill) {
    CProfileFile file;
    for (int i = 0; i < 4000; ++i)
        file.WriteString("MAIN", "k" + std::to_string(i), std::string(40, fill));
    return file;
}

// The next save removes what a killed one left, but not what is not its own: a file locked
// by a save still running (a lock through another description stands in), one of another
// name or, as root, another user's.
TEST(SafeSave, Save_KilledAtRandomPoints_OldOrNewFileAndOnlyOurLeftoversRemoved) {
    CTempFolder dir;
    const std::string path = dir.Path("t.skm");
    const std::string names[] = {".t.skm.dead0000.tmp", ".t.skm.live0000.tmp", ".t.skm.short.tmp",
                                 ".u.skm.dead0000.tmp", ".t.skm.other000.tmp"};
    for (const std::string& name : names)
        WriteBytes(dir.Path(name), "x");
    const CUniqueFd live(::open(dir.Path(names[1]).c_str(), O_RDWR | O_CLOEXEC));
    struct flock lock {};
    lock.l_type = F_WRLCK;
    ASSERT_EQ(::fcntl(live.Get(), F_OFD_SETLK, &lock), 0);
    const bool foreign = ::geteuid() == 0 && ::chown(dir.Path(names[4]).c_str(), Nobody, 0) == 0;
    std::set<std::string> kept(names + 1, names + (foreign ? 5 : 4));
    kept.insert("t.skm");
    const CProfileFile before = Document('a'), after = Document('b');
    ASSERT_TRUE(before.Save(path));
    ASSERT_EQ(dir.Entries(), kept);
    std::mt19937 random(7);
    for (int run = 0; run < 200; ++run) {
        SCOPED_TRACE(run);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        while (child == 0)
            after.Save(path);
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 4000)(random));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == before.Text() || now == after.Text());
        ASSERT_TRUE(before.Save(path));
        ASSERT_EQ(dir.Entries(), kept);
    }
}

// Each refusal says why and keeps the document (a file at the size limit loads) and the
// files. The checks run as the user nobody, whom permissions stop even under root; a
// limit on file size makes a write fail. Anyone else's link could aim a save at our file.
TEST(SafeSave, RefusedPaths_FailWithAMessageAndChangeNothing) {
    const struct {
        const char* Name;
        bool Load;
        fs::perms Folder = fs::perms::owner_all;
        bool SizeLimit = false; // a write failing midway
    } rows[] = {
        {"unreadable", true}, {"folder", true},    {"pipe", true},
        {"over", true},       {"readonly", false}, {"plain", false, fs::perms(0555)},
        {"folder", false},    {"pipe", false},     {"loop", false},
        {"none/a", false},    {"plain/a", false},  {"plain", false, fs::perms::owner_all, true}};
    std::string limit = "[A]\nk=1\n";
    limit.resize(CProfileFile::MaxFileSize, ';');
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << (row.Load ? "load " : "save ") << row.Name);
        CTempFolder dir;
        for (const char* name : {"unreadable", "readonly", "plain"})
            WriteBytes(dir.Path(name), Old);
        WriteBytes(dir.Path("limit"), limit);
        WriteBytes(dir.Path("over"), limit + ";");
        fs::permissions(dir.Path("unreadable"), fs::perms::none);
        fs::permissions(dir.Path("readonly"), fs::perms(0444));
        fs::create_directory(dir.Path("folder"));
        ASSERT_EQ(::mkfifo(dir.Path("pipe").c_str(), 0600), 0); // refused without waiting
        ASSERT_EQ(::symlink("loop", dir.Path("loop").c_str()), 0);
        ASSERT_EQ(::symlink("plain", dir.Path("link").c_str()), 0);
        fs::permissions(dir.Folder(), row.Folder);
        const auto before = dir.Entries();
        EXPECT_TRUE(RunUnprivileged(dir.Folder(), [&] {
            const rlimit small{4096, 4096};
            if (row.SizeLimit &&
                (::setrlimit(RLIMIT_FSIZE, &small) != 0 || ::signal(SIGXFSZ, SIG_IGN) == SIG_ERR))
                return false;
            CProfileFile file;
            std::string error;
            const std::string path = dir.Path(row.Name);
            return file.Load(dir.Path("limit")) &&
                   !(row.Load ? file.Load(path, &error) : file.Save(path, &error)) &&
                   !error.empty() && file.GetInt("A", "k", 0) == 1;
        }));
        // Back as root, the links the child took over are another user's: not followed.
        std::string error;
        EXPECT_TRUE(::geteuid() != 0 || !(CProfileFile().Save(dir.Path("link"), &error) ||
                                          error.find(dir.Path("link")) == std::string::npos));
        EXPECT_EQ(dir.Entries(), before);
        EXPECT_EQ(ReadBytes(dir.Path("readonly")) + ReadBytes(dir.Path("plain")), Old + Old);
    }
}

TEST(SafeSave, Save_ReplacesTheFinalTargetKeepingModeAndLinks) {
    CTempFolder dir;
    WriteBytes(dir.Path("real.skm"), Old);
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
}
} // namespace
