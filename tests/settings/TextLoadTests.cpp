#include "BoundText.h"
#include "settings/TextBuffer.h"
#include "settings/TextSettings.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <vector>

// Loading a text: its bytes, then its settings.
namespace {
TEST(TextBuffer, Load_HoldsTheFileBytesFollowedByANul) {
    CTempFolder folder;
    for (const std::string& bytes : {std::string(), std::string("a\0b\xff\r\n", 6)}) {
        WriteBytes(folder.Path("t"), bytes);
        TextLoadError error = TextLoadError::Cancelled;
        const auto text = CTextBuffer::Load(folder.Path("t"), error);
        ASSERT_TRUE(text && error == TextLoadError::None);
        EXPECT_EQ(std::string(text->Data(), static_cast<std::size_t>(text->Size()) + 1),
                  bytes + '\0');
    }
}

TEST(TextBuffer, Load_RefusesWhatIsNoRegularFileOrTooLargeBeforeReading) {
    CTempFolder folder;
    std::filesystem::create_directory(folder.Path("folder"));
    ::mkfifo(folder.Path("fifo").c_str(), 0600);
    WriteBytes(folder.Path("big"), ""); // sparse: only the size counts
    std::filesystem::resize_file(folder.Path("big"), CTextBuffer::SizeLimit);
    for (const auto& [name, expected] : {std::pair{"folder", TextLoadError::CannotOpen},
                                         {"fifo", TextLoadError::CannotOpen},
                                         {"big", TextLoadError::TooLarge}}) {
        SCOPED_TRACE(name);
        int calls = 0;
        TextLoadError error = TextLoadError::None;
        EXPECT_FALSE(CTextBuffer::Load(folder.Path(name), error,
                                       [&](uint64_t, uint64_t) { return ++calls > 0; }));
        EXPECT_EQ(error, expected);
        EXPECT_EQ(calls, 0);
    }
}

TEST(TextBuffer, Load_ReportsEveryChunkAndStopsWhenTheCallbackSaysSo) {
    CTempFolder folder;
    const uint64_t total = 2 * CTextBuffer::ChunkSize + 5;
    WriteBytes(folder.Path("t"), std::string(total, 'x'));
    for (const bool goOn : {true, false}) {
        std::vector<uint64_t> calls;
        TextLoadError error = TextLoadError::None;
        const auto text =
            CTextBuffer::Load(folder.Path("t"), error, [&](uint64_t done, uint64_t all) {
                EXPECT_EQ(all, total);
                calls.push_back(done);
                return goOn;
            });
        EXPECT_EQ(text.has_value(), goOn);
        EXPECT_EQ(error, goOn ? TextLoadError::None : TextLoadError::Cancelled);
        std::vector<uint64_t> expected{CTextBuffer::ChunkSize, 2 * CTextBuffer::ChunkSize, total};
        expected.resize(goOn ? 3 : 1);
        EXPECT_EQ(calls, expected);
    }
}

TEST(TextSettings, DefaultsFile_FollowsAnAbsoluteXdgConfigHomeAndGetsItsFolders) {
    const CScopedEnv home("HOME", "/home/reader");
    for (const char* config : {static_cast<const char*>(nullptr), "", "cfg", "/cfg"}) {
        SCOPED_TRACE(config ? config : "unset");
        const CScopedEnv xdg("XDG_CONFIG_HOME", config);
        EXPECT_EQ(DefaultsFilePath(), config && config[0] == '/'
                                          ? "/cfg/skimmet/default.skm"
                                          : "/home/reader/.config/skimmet/default.skm");
    }
    CTempFolder folder;
    std::string error;
    for (const std::string nested : {"a/b", "a/b"}) { // the second time: already there
        const CScopedEnv config("XDG_CONFIG_HOME", folder.Path(nested).c_str());
        ASSERT_TRUE(CreateDefaultsFolder(&error)) << error;
    }
    WriteBytes(folder.Path("skimmet"), "not a folder");
    const CScopedEnv inTheWay("XDG_CONFIG_HOME", folder.Folder().c_str());
    EXPECT_FALSE(CreateDefaultsFolder(&error) || error.empty());
}

// The companion file first, in full; else the defaults file, settings only; else the
// built-in defaults. The record starts with leftovers of a previous text.
TEST(TextSettings, LoadSettingsForText_TakesTheFirstFileThatCanBeRead) {
    const char* companion =
        "[MAIN]\nfreq=111\n[POSITION]\nBookmarksNum=2\nCurPos=40\nBookmark1=10\nBookmark2=20\n";
    const struct {
        const char* Companion; // nullptr: none; "/": a folder in its place
        bool Defaults;
        int32_t Length;
        SettingsSource Source;
        uint32_t Freq;
        int32_t Offset, Bookmarks;
    } cases[] = {
        {companion, true, 100, SettingsSource::Companion, 111, 40, 2},
        {nullptr, true, 100, SettingsSource::DefaultsFile, 222, 0, 0},
        {"/", true, 100, SettingsSource::DefaultsFile, 222, 0, 0},
        {nullptr, false, 100, SettingsSource::BuiltIn, 400, 0, 0},
        {companion, false, 15, SettingsSource::Companion, 111, 0, 2}, // shortened text
        {companion, false, 0, SettingsSource::Companion, 111, 0, 2},  // empty text
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Freq << " " << c.Length);
        CTempFolder folder;
        const CScopedEnv config("XDG_CONFIG_HOME", folder.Path("config").c_str());
        std::filesystem::create_directories(folder.Path("config/skimmet"));
        std::filesystem::create_directory(folder.Path(std::string(200, 'd'))); // over 260 in all
        const std::string textPath =
            folder.Path(std::string(200, 'd') + "/" + std::string(80, 'n'));
        if (c.Companion && std::string_view(c.Companion) == "/")
            std::filesystem::create_directory(textPath + ".skm");
        else if (c.Companion)
            WriteBytes(textPath + ".skm", c.Companion);
        if (c.Defaults)
            WriteBytes(folder.Path("config/skimmet/default.skm"),
                       "[MAIN]\nfreq=222\n[POSITION]\nBookmarksNum=1\nCurPos=60\nBookmark1=30\n");
        BoundText text(c.Length);
        text.Settings.TextLength = 5000;
        text.Settings.Book.BookmarksNum = 2;
        EXPECT_EQ(LoadSettingsForText(text.Settings, textPath, c.Length), c.Source);
        const CReadingSettings& s = text.Settings;
        EXPECT_EQ(std::tuple(s.freq, text.Offset(), s.Book.BookmarksNum + 0, s.TextLength),
                  std::tuple(c.Freq, c.Offset, c.Bookmarks, c.Length));
    }
}
} // namespace
