#include "BoundText.h"
#include "platform/ProfileFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {
constexpr char ExampleFile[] =
    "[MAIN]\nBkgColor=0\nDisplaySettingNum=0\ndurat=700\nfreq=400\nMaxText=32\nMinText=12\n"
    "UcOffset=2\nWidth=600\nTexColor=16777215\nStopSimbols=,;.:?!\\n\\r\n"
    "[LogFont]\nHeight=48\nCharSet=204\nEscapement=0\nOrientation=0\nWeight=0\nItalic=0\n"
    "Underline=0\nStrikeOut=0\nOutPrecision=0\nClipPrecision=0\nQuality=0\nPitchAndFamily=48\n"
    "FaceName=Arial Black\n[POSITION]\nStep=1\nBookmarksNum=0\nCurPos=0\n";

// Every field away from its default, in the order a save writes them.
constexpr char EditedFile[] =
    "[MAIN]\nBkgColor=-1\nDisplaySettingNum=-4\ndurat=2\nfreq=29999\nMaxText=900\nMinText=-4\n"
    "UcOffset=3\nWidth=777\nTexColor=1193046\nStopSimbols=ab\\tcd\\n\\r\n"
    "[LogFont]\nHeight=-20\nCharSet=204\nEscapement=900\nOrientation=450\nWeight=700\nItalic=1\n"
    "Underline=2\nStrikeOut=3\nOutPrecision=5\nClipPrecision=6\nQuality=7\nPitchAndFamily=255\n"
    "FaceName=Liberation Serif\n[POSITION]\nStep=65535\nBookmarksNum=3\nCurPos=250\n"
    "Bookmark1=10\nBookmark2=499\nBookmark3=-3\n";

std::vector<int32_t> BookmarksOf(const CReadingSettings& settings) {
    const auto& book = settings.Book;
    return {book.Bookmarks.begin(), book.Bookmarks.begin() + book.BookmarksNum};
}

TEST(SettingsFile, Save_DefaultsGiveTheExampleFileByteForByte) {
    CTempFolder folder;
    BoundText text(100);
    ASSERT_TRUE(text.Settings.SaveToFile(folder.Path("full.skm"), SettingsFileMode::Full));
    EXPECT_EQ(ReadBytes(folder.Path("full.skm")), ExampleFile);
    // Settings only: the step alone, with or without a text.
    text.Settings.AddBookmark();
    const std::string head(ExampleFile, std::string_view(ExampleFile).find("BookmarksNum"));
    const CReadingSettings unbound;
    for (const CReadingSettings* settings : {&std::as_const(text.Settings), &unbound}) {
        ASSERT_TRUE(settings->SaveToFile(folder.Path("s.skm"), SettingsFileMode::SettingsOnly));
        EXPECT_EQ(ReadBytes(folder.Path("s.skm")), head);
    }
}

// Every field is read and written back; keys of other programs stay where they were.
TEST(SettingsFile, LoadThenSave_GivesBackEveryFieldBesideForeignKeys) {
    CTempFolder folder;
    const std::string path = folder.Path("round.skm");
    WriteBytes(path, EditedFile);
    BoundText text(500);
    ASSERT_TRUE(text.Settings.LoadFromFile(path, SettingsFileMode::Full, 500));
    EXPECT_EQ(text.Offset(), 250);
    WriteBytes(path, "; mine\n[Other]\nk=v\n");
    ASSERT_TRUE(text.Settings.SaveToFile(path, SettingsFileMode::Full));
    EXPECT_EQ(ReadBytes(path), std::string("; mine\n[Other]\nk=v\n") + EditedFile);
}

// Each failure says why and leaves the folder as it was, with no temporary file in it.
TEST(SettingsFile, Save_Failing_ReportsWhyAndLeavesEverythingAsItWas) {
    for (const std::string target : {"", "folder", "pipe", "loop", "none/x.skm", "plain/x.skm"}) {
        SCOPED_TRACE(target);
        CTempFolder folder;
        std::filesystem::create_directory(folder.Path("folder"));
        WriteBytes(folder.Path("plain"), "[MAIN]\nfreq=5\n");
        ASSERT_EQ(::mkfifo(folder.Path("pipe").c_str(), 0600), 0);
        ASSERT_EQ(::symlink("loop", folder.Path("loop").c_str()), 0);
        const auto before = folder.Entries();
        BoundText text(100);
        const CReadingSettings unbound; // "": the position of no text into the plain file
        std::string error;
        EXPECT_FALSE((target.empty() ? unbound : text.Settings)
                         .SaveToFile(folder.Path(target.empty() ? "plain" : target),
                                     SettingsFileMode::Full, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(folder.Entries(), before);
        EXPECT_EQ(ReadBytes(folder.Path("plain")), "[MAIN]\nfreq=5\n");
    }
}

TEST(SettingsFile, Load_BringsEachValueWithinItsBounds) {
    const std::pair<std::string, std::string> cases[] = {
        {"[MAIN]\nMinText=4000000", "\nMinText=999\n"},
        {"[MAIN]\nMinText=-7", "\nMinText=-7\n"}, // below 1 only turns packing off
        {"[MAIN]\ndurat=4294967295", "\ndurat=1\n"},
        {"[MAIN]\nStopSimbols=" + std::string(63, '.'), "=" + std::string(63, '.') + "\n"},
        {"[MAIN]\nStopSimbols=" + std::string(64, '.'), "=,;.:?!\\n\\r\n"},
        {"[LogFont]\nItalic=257", "\nItalic=1\n"},
        {"[LogFont]\nHeight=-2147483648", "\nHeight=-2147483648\n"},
        {"[LogFont]\nCharSet=0", "\nCharSet=204\n"},
        {"[LogFont]\nFaceName=" + std::string(40, 'F'), "=" + std::string(31, 'F') + "\n"},
        {"[POSITION]\nStep=65538", "\nStep=2\n"},
    };
    for (const auto& [file, line] : cases) {
        SCOPED_TRACE(file);
        CReadingSettings settings;
        settings.LoadFrom(CProfileFile::FromText(file), SettingsFileMode::SettingsOnly, 0);
        CProfileFile stored;
        settings.StoreTo(stored);
        settings.Book.WritePosition(stored, SettingsFileMode::SettingsOnly);
        EXPECT_NE(stored.Text().find(line), std::string::npos) << stored.Text();
    }
}

TEST(SettingsFile, Load_NoKeysOrNoFile_GivesDefaultsNotPreviousValues) {
    CTempFolder folder;
    WriteBytes(folder.Path("none.skm"), "just some text\nno keys");
    std::filesystem::create_directory(folder.Path("folder.skm"));
    for (const std::string name : {"none.skm", "absent.skm", "folder.skm"}) {
        SCOPED_TRACE(name);
        BoundText text(100);
        ASSERT_TRUE(text.Settings.SetPosition(40));
        text.Settings.AddBookmark();
        text.Settings.freq = 1;
        text.Settings.SetStopSymbolsText("x");
        std::string error;
        EXPECT_EQ(text.Settings.LoadFromFile(folder.Path(name), SettingsFileMode::Full, 0, &error),
                  name != "folder.skm");
        EXPECT_EQ(error.empty(), name != "folder.skm");
        EXPECT_EQ(std::tuple(text.Settings.freq, text.Settings.GetStopSymbolsText(), text.Offset()),
                  std::tuple(400U, ",;.:?!\\n\\r", 40));
        EXPECT_EQ(BookmarksOf(text.Settings), std::vector<int32_t>{});
    }
}

TEST(SettingsFile, Load_ReadsPositionAndBookmarkList) {
    std::string many = "BookmarksNum=1000\n";
    for (int i = 1; i <= 100; ++i)
        many += "Bookmark" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    std::vector<int32_t> first64(64);
    std::iota(first64.begin(), first64.end(), 1);
    const std::pair<std::string, std::vector<int32_t>> cases[] = {
        {"BookmarksNum=3\nBookmark1=0\nBookmark2=0\nBookmark3=7", {0}}, // a 0 ends it
        {"BookmarksNum=3\nBookmark1=4\nBookmark3=7", {4}},              // so does a gap
        {"BookmarksNum=1\nBookmark1=4\nBookmark2=9", {4}},
        {"BookmarksNum=65537\nBookmark1=4\nBookmark2=5", {4}}, // low 16 bits
        {many, first64},
    };
    for (const auto& [position, bookmarks] : cases) {
        SCOPED_TRACE(position);
        BoundText text(100); // the position may rest on the terminator
        EXPECT_TRUE(
            text.Settings.LoadFrom(CProfileFile::FromText("[POSITION]\nCurPos=100\n" + position),
                                   SettingsFileMode::Full, 100));
        EXPECT_EQ(text.Offset(), 100);
        EXPECT_EQ(BookmarksOf(text.Settings), bookmarks);
    }
    CReadingSettings unbound; // settings apply, the position cannot
    EXPECT_FALSE(unbound.LoadFrom(CProfileFile::FromText("[MAIN]\nfreq=50\n[POSITION]\nStep=4"),
                                  SettingsFileMode::Full, 10));
    EXPECT_EQ(unbound.freq, 50U);
    EXPECT_EQ(unbound.Book.Step, 4);
    EXPECT_EQ(unbound.TextLength, 10);
}
} // namespace
