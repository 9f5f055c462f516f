#include "TempFolder.h"
#include "settings/ReadingSettings.h"
#include "settings/TextSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {
// Sets or clears one environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : Name(name) {
        if (const char* old = std::getenv(name))
            Old = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (Old)
            ::setenv(Name, Old->c_str(), 1);
        else
            ::unsetenv(Name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* Name;
    std::optional<std::string> Old;
};

struct PathCase {
    const char* Name;
    const char* ConfigHome;
    std::string Expected;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.Name;
}

class DefaultsFilePath : public testing::TestWithParam<PathCase> {};

TEST_P(DefaultsFilePath, FollowsXdgConfigHome) {
    const ScopedEnv home("HOME", "/home/reader");
    const ScopedEnv config("XDG_CONFIG_HOME", GetParam().ConfigHome);
    EXPECT_EQ(::DefaultsFilePath(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefaultsFilePath,
    testing::Values(PathCase{"Set", "/cfg", "/cfg/skimmet/default.skm"},
                    PathCase{"Unset", nullptr, "/home/reader/.config/skimmet/default.skm"},
                    PathCase{"Empty", "", "/home/reader/.config/skimmet/default.skm"},
                    PathCase{"Relative", "cfg", "/home/reader/.config/skimmet/default.skm"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CompanionPath, AppendsExtension) {
    EXPECT_EQ(CompanionPath("/texts/book.txt"), "/texts/book.txt.skm");
    EXPECT_EQ(CompanionPath("/texts/book"), "/texts/book.skm");
}

TEST(CreateDefaultsFolder, MakesNestedFolder_ThenDefaultsCanBeSaved) {
    TempFolder folder;
    const ScopedConfigHome config(folder.Path("a/b"));
    std::string error;
    ASSERT_TRUE(CreateDefaultsFolder(&error)) << error;
    ASSERT_TRUE(CreateDefaultsFolder(&error)) << error; // again: already there
    const CReadingSettings settings;
    EXPECT_TRUE(settings.SaveToFile(::DefaultsFilePath(), SettingsFileMode::SettingsOnly));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.Path("a/b/skimmet/default.skm")));
}

TEST(CreateDefaultsFolder, FileInTheWay_FailsWithMessage) {
    TempFolder folder;
    WriteBytes(folder.Path("skimmet"), "not a folder");
    const ScopedConfigHome config(folder.Folder());
    std::string error;
    EXPECT_FALSE(CreateDefaultsFolder(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(folder.Path("skimmet")), "not a folder");
}

// A text of 100 bytes held as the view would: cursor at the text start, settings
// bound, with leftovers of a previous text in the record.
class SettingsForText : public testing::Test {
protected:
    SettingsForText() : Config(Folder.Path("config")) {
        Settings.BindText(&Start, &Cursor);
        Settings.TextLength = 5000;
        Settings.freq = 1;
        Settings.Book.BookmarksNum = 2;
        std::filesystem::create_directories(Folder.Path("config/skimmet"));
    }
    int32_t Offset() const { return static_cast<int32_t>(Cursor - Start); }
    void WriteCompanion(const std::string& bytes) { WriteBytes(TextPath + ".skm", bytes); }
    void WriteDefaults(const std::string& bytes) {
        WriteBytes(Folder.Path("config/skimmet/default.skm"), bytes);
    }

    TempFolder Folder;
    ScopedConfigHome Config;
    std::string TextPath = Folder.Path("book.txt");
    std::string Bytes = std::string(100, 'a');
    const char* Start = Bytes.c_str();
    const char* Cursor = Start;
    CReadingSettings Settings;
};

constexpr char CompanionFile[] = "[MAIN]\nfreq=111\n[POSITION]\nStep=7\nBookmarksNum=2\nCurPos=40\n"
                                 "Bookmark1=10\nBookmark2=20\n";
constexpr char DefaultsFile[] = "[MAIN]\nfreq=222\n[POSITION]\nStep=3\nBookmarksNum=1\nCurPos=60\n"
                                "Bookmark1=30\n";

TEST_F(SettingsForText, Companion_ReadInFullWithPositionAndBookmarks) {
    WriteCompanion(CompanionFile);
    WriteDefaults(DefaultsFile);
    EXPECT_EQ(LoadSettingsForText(Settings, TextPath, 100), SettingsSource::Companion);
    EXPECT_EQ(Settings.freq, 111u);
    EXPECT_EQ(Settings.Book.Step, 7);
    EXPECT_EQ(Offset(), 40);
    ASSERT_EQ(Settings.Book.BookmarksNum, 2);
    EXPECT_EQ(Settings.Book.Bookmarks[1], 20);
    EXPECT_EQ(Settings.TextLength, 100);
}

TEST_F(SettingsForText, DefaultsFile_ReadSettingsOnlyWithoutPosition) {
    WriteDefaults(DefaultsFile);
    EXPECT_EQ(LoadSettingsForText(Settings, TextPath, 100), SettingsSource::DefaultsFile);
    EXPECT_EQ(Settings.freq, 222u);
    EXPECT_EQ(Settings.Book.Step, 3);
    EXPECT_EQ(Offset(), 0);
    EXPECT_EQ(Settings.Book.BookmarksNum, 0);
    EXPECT_EQ(Settings.TextLength, 100);
}

TEST_F(SettingsForText, NeitherFile_BuiltInDefaults) {
    EXPECT_EQ(LoadSettingsForText(Settings, TextPath, 100), SettingsSource::BuiltIn);
    EXPECT_EQ(Settings.freq, 400u);
    EXPECT_EQ(Settings.Book.BookmarksNum, 0);
    EXPECT_EQ(Offset(), 0);
    EXPECT_EQ(Settings.TextLength, 100);
}

TEST_F(SettingsForText, CompanionIsFolder_FallsBackToDefaultsFile) {
    std::filesystem::create_directory(TextPath + ".skm");
    WriteDefaults(DefaultsFile);
    EXPECT_EQ(LoadSettingsForText(Settings, TextPath, 100), SettingsSource::DefaultsFile);
}

TEST_F(SettingsForText, EmptyText_LengthZeroAndCursorAtStart) {
    WriteCompanion(CompanionFile);
    Bytes.clear();
    Start = Bytes.c_str();
    Cursor = Start;
    EXPECT_EQ(LoadSettingsForText(Settings, TextPath, 0), SettingsSource::Companion);
    EXPECT_EQ(Settings.TextLength, 0);
    EXPECT_EQ(Offset(), 0);
    EXPECT_EQ(Settings.freq, 111u);
}

TEST_F(SettingsForText, ShortenedText_StoredPositionIgnoredBookmarksKeptWithoutText) {
    WriteCompanion(CompanionFile);
    EXPECT_EQ(LoadSettingsForText(Settings, TextPath, 15), SettingsSource::Companion);
    EXPECT_EQ(Offset(), 0);
    int32_t offset = 0;
    EXPECT_EQ(Settings.GetBookmark(0, offset), Start + 10);
    EXPECT_EQ(Settings.GetBookmark(1, offset), nullptr);
    EXPECT_EQ(offset, 20);
}

TEST_F(SettingsForText, PathBeyond260Characters_HasCompanion) {
    const std::string deep = Folder.Path(std::string(200, 'd'));
    std::filesystem::create_directory(deep);
    TextPath = deep + "/" + std::string(120, 'n') + ".txt";
    ASSERT_GT(TextPath.size(), 300u);
    WriteCompanion(CompanionFile);
    EXPECT_EQ(LoadSettingsForText(Settings, TextPath, 100), SettingsSource::Companion);
    EXPECT_EQ(Offset(), 40);
}
} // namespace
