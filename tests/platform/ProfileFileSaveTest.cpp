#include "platform/ProfileFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> ListFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const std::string& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

bool IsLink(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

mode_t CurrentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

bool RunningAsRoot() {
    return ::geteuid() == 0;
}

constexpr std::string_view OldBytes = "; kept\r\n[MAIN]\r\nfreq=400\r\n";

class ProfileFileOnDisk : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/skimmet-profile-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        Dir = pattern;
    }

    void TearDown() override {
        // Give back any permission a test took away so everything can go.
        ::chmod(Dir.c_str(), 0700);
        std::error_code ignored;
        std::filesystem::remove_all(Dir, ignored);
    }

    std::string PathOf(const std::string& name) const { return Dir + "/" + name; }

    CProfileFile Edited() const {
        CProfileFile file = CProfileFile::FromText(OldBytes);
        file.WriteInt("MAIN", "freq", 500);
        file.WriteString("LogFont", "FaceName", "Arial Black");
        return file;
    }

    // A failed save must leave the folder exactly as before: no temporary file.
    void ExpectFailedSave(const CProfileFile& file, const std::string& path) {
        const std::vector<std::string> before = ListFolder(Dir);
        std::string error;
        EXPECT_FALSE(file.Save(path, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(ListFolder(Dir), before);
    }

    std::string Dir;
};

TEST_F(ProfileFileOnDisk, Load_MissingFile_IsEmptyDocument) {
    CProfileFile file = CProfileFile::FromText("[A]\nk=1\n");
    std::string error;
    EXPECT_TRUE(file.Load(PathOf("absent.skm"), &error));
    EXPECT_EQ(file.Text(), "");
    EXPECT_EQ(file.GetInt("A", "k", 9), 9);
}

TEST_F(ProfileFileOnDisk, Load_ExistingFile_KeepsItsBytes) {
    const std::string bytes = std::string(OldBytes) + std::string("\xff\xfe\0x=\x80\r", 7);
    WriteBytes(PathOf("a.skm"), bytes);
    CProfileFile file;
    ASSERT_TRUE(file.Load(PathOf("a.skm")));
    EXPECT_EQ(file.Text(), bytes);
    EXPECT_EQ(file.GetInt("main", "FREQ", 0), 400);
}

TEST_F(ProfileFileOnDisk, Load_FolderOrFifo_FailsAtOnceAndKeepsDocument) {
    ASSERT_EQ(::mkdir(PathOf("sub").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0644), 0);
    // The fifo must be refused without waiting for a writer.
    for (const auto& [name, word] : {std::pair{"sub", "folder"}, std::pair{"pipe", "regular"}}) {
        CProfileFile file = CProfileFile::FromText("[A]\nk=1\n");
        std::string error;
        EXPECT_FALSE(file.Load(PathOf(name), &error));
        EXPECT_NE(error.find(word), std::string::npos) << error;
        EXPECT_EQ(file.Text(), "[A]\nk=1\n");
    }
}

TEST_F(ProfileFileOnDisk, Load_SizeLimit_AcceptsTheLimitAndRefusesOneByteMore) {
    const std::string path = PathOf("big.skm");
    std::string bytes = "[A]\nk=1\n";
    bytes.resize(CProfileFile::MaxFileSize, ';');
    WriteBytes(path, bytes);
    CProfileFile file;
    ASSERT_TRUE(file.Load(path));
    EXPECT_EQ(file.GetInt("A", "k", 0), 1);

    WriteBytes(path, bytes + ";");
    std::string error;
    EXPECT_FALSE(file.Load(path, &error));
    EXPECT_NE(error.find("larger"), std::string::npos) << error;
    EXPECT_EQ(file.GetInt("A", "k", 0), 1);
}

TEST_F(ProfileFileOnDisk, Load_UnreadableFile_Fails) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "root reads any file";
    }
    WriteBytes(PathOf("a.skm"), OldBytes);
    ASSERT_EQ(::chmod(PathOf("a.skm").c_str(), 0), 0);
    CProfileFile file;
    std::string error;
    EXPECT_FALSE(file.Load(PathOf("a.skm"), &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ProfileFileOnDisk, Save_NewFile_WritesTheTextWithUmaskedMode) {
    CProfileFile file;
    file.WriteInt("MAIN", "durat", 700);
    const std::string path = PathOf("new.skm");
    std::string error;
    ASSERT_TRUE(file.Save(path, &error)) << error;
    EXPECT_EQ(ReadBytes(path), "[MAIN]\ndurat=700\n");
    EXPECT_EQ(ModeOf(path), 0644 & ~CurrentUmask());
    EXPECT_EQ(ListFolder(Dir), std::vector<std::string>{"new.skm"});
}

TEST_F(ProfileFileOnDisk, Save_ExistingFile_ReplacesItKeepingPermissionBits) {
    const std::string path = PathOf("a.skm");
    WriteBytes(path, OldBytes);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    CProfileFile file;
    ASSERT_TRUE(file.Load(path));
    file.WriteInt("MAIN", "freq", 500);
    file.WriteInt("POSITION", "Step", 1);
    ASSERT_TRUE(file.Save(path));
    EXPECT_EQ(ReadBytes(path), "; kept\r\n[MAIN]\r\nfreq=500\r\n[POSITION]\r\nStep=1\r\n");
    EXPECT_EQ(ModeOf(path), 0640U);
    EXPECT_EQ(ListFolder(Dir), std::vector<std::string>{"a.skm"});
}

TEST_F(ProfileFileOnDisk, Save_LongFileName_StillFindsRoomForTheTemporaryName) {
    const std::string name = std::string(250, 'n') + ".skm";
    ASSERT_TRUE(Edited().Save(PathOf(name)));
    EXPECT_EQ(ReadBytes(PathOf(name)), Edited().Text());
    EXPECT_EQ(ListFolder(Dir), std::vector<std::string>{name});
}

TEST_F(ProfileFileOnDisk, Save_FolderWhereTheFileShouldBe_FailsAndLeavesIt) {
    ASSERT_EQ(::mkdir(PathOf("a.skm").c_str(), 0755), 0);
    WriteBytes(PathOf("a.skm/inside"), OldBytes);
    ExpectFailedSave(Edited(), PathOf("a.skm"));
    EXPECT_EQ(ReadBytes(PathOf("a.skm/inside")), OldBytes);
    EXPECT_EQ(ListFolder(PathOf("a.skm")), std::vector<std::string>{"inside"});
}

TEST_F(ProfileFileOnDisk, Save_PathWithoutAPlaceForTheFile_FailsAndCreatesNothing) {
    ASSERT_EQ(::symlink("b", PathOf("a").c_str()), 0);
    ASSERT_EQ(::symlink("a", PathOf("b").c_str()), 0);
    for (const std::string& path : {PathOf("absent/a.skm"), Dir + "/", PathOf("a")}) {
        SCOPED_TRACE(path);
        ExpectFailedSave(Edited(), path);
    }
}

TEST_F(ProfileFileOnDisk, Save_FifoWhereTheFileShouldBe_IsRefused) {
    ASSERT_EQ(::mkfifo(PathOf("pipe").c_str(), 0644), 0);
    ExpectFailedSave(Edited(), PathOf("pipe"));
    struct stat status {};
    ASSERT_EQ(::lstat(PathOf("pipe").c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST_F(ProfileFileOnDisk, Save_SizeLimitStopsTheWriteMidway_FailsAndKeepsOldFile) {
    const std::string path = PathOf("a.skm");
    WriteBytes(path, OldBytes);
    CProfileFile file = Edited();
    file.WriteString("MAIN", "Big", std::string(64 * 1024, 'x'));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only async-signal-safe calls and _exit here: this is a copy of the test runner.
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            ::_exit(3);
        }
        ::signal(SIGXFSZ, SIG_IGN);
        std::string error;
        const bool saved = file.Save(path, &error);
        ::_exit(saved ? 1 : (error.empty() ? 2 : 0));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved anyway, 2: no message, 3: no limit";
    EXPECT_EQ(ReadBytes(path), OldBytes);
    EXPECT_EQ(ListFolder(Dir), std::vector<std::string>{"a.skm"});
}

TEST_F(ProfileFileOnDisk, Save_UnwritableFolderOrReadOnlyFile_FailsAndKeepsOldFile) {
    if (RunningAsRoot()) {
        GTEST_SKIP() << "root writes any file and into any folder";
    }
    const std::string path = PathOf("a.skm");
    WriteBytes(path, OldBytes);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ExpectFailedSave(Edited(), path);
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(Dir.c_str(), 0500), 0);
    ExpectFailedSave(Edited(), path);
    EXPECT_EQ(ReadBytes(path), OldBytes);
}

TEST_F(ProfileFileOnDisk, Save_ThroughRelativeLink_ReplacesTargetAndKeepsLink) {
    ASSERT_EQ(::mkdir(PathOf("kept").c_str(), 0755), 0);
    WriteBytes(PathOf("kept/real.skm"), OldBytes);
    ASSERT_EQ(::symlink("kept/real.skm", PathOf("link.skm").c_str()), 0);
    ASSERT_EQ(::symlink("link.skm", PathOf("link2.skm").c_str()), 0);

    std::string error;
    ASSERT_TRUE(Edited().Save(PathOf("link2.skm"), &error)) << error;
    EXPECT_TRUE(IsLink(PathOf("link.skm")));
    EXPECT_TRUE(IsLink(PathOf("link2.skm")));
    EXPECT_EQ(ReadBytes(PathOf("kept/real.skm")), Edited().Text());
    EXPECT_EQ(ListFolder(PathOf("kept")), std::vector<std::string>{"real.skm"});
}

TEST_F(ProfileFileOnDisk, Save_ThroughDanglingLink_CreatesTheTarget) {
    ASSERT_EQ(::symlink(PathOf("real.skm").c_str(), PathOf("link.skm").c_str()), 0);
    ASSERT_TRUE(Edited().Save(PathOf("link.skm")));
    EXPECT_TRUE(IsLink(PathOf("link.skm")));
    EXPECT_EQ(ReadBytes(PathOf("real.skm")), Edited().Text());
}

TEST_F(ProfileFileOnDisk, SaveThenLoad_GivesTheSameDocument) {
    const std::string path = PathOf("a.skm");
    CProfileFile written = Edited();
    written.WriteString("MAIN", "StopSimbols", R"(,;.:?!\n\r)");
    ASSERT_TRUE(written.Save(path));
    CProfileFile read;
    ASSERT_TRUE(read.Load(path));
    EXPECT_EQ(read.Text(), written.Text());
    EXPECT_EQ(read.GetString("MAIN", "StopSimbols", "", 67), R"(,;.:?!\n\r)");
}

} // namespace
