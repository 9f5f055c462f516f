#include "BoundText.h"
#include "platform/ProfileFile.h"
#include "settings/ReadingSettings.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace {
constexpr char ExampleFile[] =
    "[MAIN]\nBkgColor=0\nDisplaySettingNum=0\ndurat=700\nfreq=400\nMaxText=32\nMinText=12\n"
    "UcOffset=2\nWidth=600\nTexColor=16777215\nStopSimbols=,;.:?!\\n\\r\n"
    "[LogFont]\nHeight=48\nCharSet=204\nEscapement=0\nOrientation=0\nWeight=0\nItalic=0\n"
    "Underline=0\nStrikeOut=0\nOutPrecision=0\nClipPrecision=0\nQuality=0\nPitchAndFamily=48\n"
    "FaceName=Arial Black\n[POSITION]\nStep=1\nBookmarksNum=0\nCurPos=0\n";

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

TEST(SettingsFile, Save_KeepsForeignLinesAndWritesSignedValues) {
    CTempFolder folder;
    const std::string path = folder.Path("x.skm");
    WriteBytes(path, "; mine\r\n[POSITION]\r\nBookmark3=70\r\n[Other]\r\nk=v\r\n");
    BoundText text(100);
    text.Settings.Font.lfHeight = 20;
    text.Settings.BkgColor = 0xFFFFFFFF;
    for (const int32_t at : {5, 17}) {
        ASSERT_TRUE(text.Settings.SetPosition(at));
        text.Settings.AddBookmark();
    }
    ASSERT_TRUE(text.Settings.SaveToFile(path, SettingsFileMode::Full));
    const std::string saved = ReadBytes(path);
    EXPECT_EQ(saved.rfind("; mine\r\n[POSITION]\r\nBookmark3=70\r\nStep=1\r\n", 0), 0U);
    for (const char* line : {"[Other]\r\nk=v\r\n", "[MAIN]\r\nBkgColor=-1\r\n", "\nHeight=-20\r",
                             "BookmarksNum=2\r\nCurPos=17\r\nBookmark1=5\r\nBookmark2=17\r\n"})
        EXPECT_NE(saved.find(line), std::string::npos) << line;
}

// Each failure says why and leaves the existing file byte for byte, with no temporary
// file beside it.
TEST(SettingsFile, Save_Failing_ReportsWhyAndLeavesEverythingAsItWas) {
    for (const auto& [target, existing, bound] : {std::tuple{"x.skm", "x.skm", false},
                                                  {"x.skm", "x.skm/inside", true},
                                                  {"none/x.skm", nullptr, true},
                                                  {"plain/x.skm", "plain", true}}) {
        SCOPED_TRACE(target);
        CTempFolder folder;
        BoundText text(100);
        const CReadingSettings unbound;
        if (std::string_view(existing ? existing : "").starts_with("x.skm/"))
            std::filesystem::create_directory(folder.Path("x.skm"));
        if (existing)
            WriteBytes(folder.Path(existing), "[MAIN]\nfreq=5\n");
        const auto before = folder.Entries();
        std::string error;
        EXPECT_FALSE((bound ? text.Settings : unbound)
                         .SaveToFile(folder.Path(target), SettingsFileMode::Full, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(folder.Entries(), before);
        EXPECT_EQ(existing ? ReadBytes(folder.Path(existing)) : "",
                  existing ? "[MAIN]\nfreq=5\n" : "");
    }
}

TEST(SettingsFile, Load_BringsEachValueWithinItsBounds) {
    const std::pair<std::string, std::string> cases[] = {
        {"[MAIN]\nMaxText=1000", "\nMaxText=999\n"},
        {"[MAIN]\nMaxText=-5", "\nMaxText=1\n"},
        {"[MAIN]\nMinText=4000000", "\nMinText=999\n"},
        {"[MAIN]\nMinText=-7", "\nMinText=-7\n"},
        {"[MAIN]\nWidth=0", "\nWidth=1\n"},
        {"[MAIN]\nWidth=3001", "\nWidth=3000\n"},
        {"[MAIN]\nUcOffset=-1", "\nUcOffset=0\n"},
        {"[MAIN]\nUcOffset=64", "\nUcOffset=63\n"},
        {"[MAIN]\nfreq=0", "\nfreq=1\n"},
        {"[MAIN]\nfreq=30001", "\nfreq=30000\n"},
        {"[MAIN]\ndurat=4294967295", "\ndurat=1\n"},
        {"[LogFont]\nItalic=257", "\nItalic=1\n"},
        {"[LogFont]\nHeight=-2147483648", "\nHeight=-2147483648\n"},
        {"[LogFont]\nCharSet=0", "\nCharSet=204\n"},
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
    CReadingSettings settings; // heights are stored negated
    settings.LoadFrom(CProfileFile::FromText("[LogFont]\nHeight=20"),
                      SettingsFileMode::SettingsOnly, 0);
    EXPECT_EQ(settings.Font.lfHeight, -20);
}

TEST(SettingsFile, Load_TextKeysTakeOnlyWhatFits) {
    for (const auto& [value, form] : {std::pair{std::string(".\\t"), std::string(".\\t")},
                                      {std::string(63, '.'), std::string(63, '.')},
                                      {std::string(64, '.'), std::string(",;.:?!\\n\\r")}}) {
        CReadingSettings settings;
        settings.LoadFrom(CProfileFile::FromText("[MAIN]\nStopSimbols=" + value),
                          SettingsFileMode::SettingsOnly, 0);
        EXPECT_EQ(settings.GetStopSymbolsText(), form);
    }
    CReadingSettings settings;
    settings.Font.lfWidth = 13;
    settings.LoadFrom(CProfileFile::FromText("[LogFont]\nFaceName=" + std::string(40, 'F')),
                      SettingsFileMode::SettingsOnly, 0);
    EXPECT_EQ(settings.Font.lfFaceName, std::string(31, 'F'));
    EXPECT_EQ(settings.Font.lfWidth, 13);
}

TEST(SettingsFile, Load_NoKeysOrNoFile_GivesDefaultsNotPreviousValues) {
    CTempFolder folder;
    WriteBytes(folder.Path("none.skm"), "just some text\nno keys");
    std::filesystem::create_directory(folder.Path("folder.skm"));
    for (const char* name : {"none.skm", "absent.skm", "folder.skm"}) {
        SCOPED_TRACE(name);
        BoundText text(100);
        ASSERT_TRUE(text.Settings.SetPosition(40));
        text.Settings.AddBookmark();
        text.Settings.freq = 1;
        text.Settings.SetStopSymbolsText("x");
        std::string error;
        const bool loaded =
            text.Settings.LoadFromFile(folder.Path(name), SettingsFileMode::Full, 0, &error);
        EXPECT_EQ(loaded, error.empty());
        EXPECT_EQ(error.empty(), std::string_view(name) != "folder.skm");
        EXPECT_EQ(text.Settings.freq, 400U);
        EXPECT_EQ(text.Settings.GetStopSymbolsText(), ",;.:?!\\n\\r");
        EXPECT_EQ(BookmarksOf(text.Settings), std::vector<int32_t>{});
        EXPECT_EQ(text.Offset(), 40);
        EXPECT_EQ(text.Settings.TextLength, 100);
    }
}

TEST(SettingsFile, Load_ReadsPositionAndBookmarkList) {
    std::string many = "BookmarksNum=1000\n";
    for (int i = 1; i <= 100; ++i)
        many += "Bookmark" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    std::vector<int32_t> first64(64);
    std::iota(first64.begin(), first64.end(), 1);
    const struct {
        std::string Position;
        int32_t CurPos;
        std::vector<int32_t> Bookmarks;
    } cases[] = {
        {"BookmarksNum=3\nBookmark1=0\nBookmark2=0\nBookmark3=7", 0, {0}}, // a 0 ends it
        {"BookmarksNum=3\nBookmark1=4\nBookmark3=7", 0, {4}},              // so does a gap
        {"BookmarksNum=1\nBookmark1=4\nBookmark2=9", 0, {4}},
        {"BookmarksNum=65537\nBookmark1=4\nBookmark2=5", 0, {4}}, // low 16 bits
        {"BookmarksNum=2\nBookmark1=500\nBookmark2=-3", 0, {500, -3}},
        {"CurPos=100", 100, {}},
        {"CurPos=101", 0, {}},
        {"CurPos=-1", 0, {}},
        {many, 0, first64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Position);
        BoundText text(100);
        EXPECT_TRUE(text.Settings.LoadFrom(CProfileFile::FromText("[POSITION]\n" + c.Position),
                                           SettingsFileMode::Full, 100));
        EXPECT_EQ(text.Offset(), c.CurPos);
        EXPECT_EQ(BookmarksOf(text.Settings), c.Bookmarks);
    }
    CReadingSettings unbound; // settings apply, the position cannot
    EXPECT_FALSE(unbound.LoadFrom(CProfileFile::FromText("[MAIN]\nfreq=50\n[POSITION]\nStep=4"),
                                  SettingsFileMode::Full, 10));
    EXPECT_EQ(unbound.freq, 50U);
    EXPECT_EQ(unbound.Book.Step, 4);
    EXPECT_EQ(unbound.TextLength, 10);
}

TEST(SettingsFile, SaveThenLoad_GivesBackEveryFieldAndTheSameFile) {
    CTempFolder folder;
    const std::string path = folder.Path("round.skm");
    BoundText writer(500);
    CReadingSettings& w = writer.Settings;
    w.SetStopSymbolsText("ab\\tcd\\n\\r");
    w.UcOffset = 3;
    w.Width = 777;
    w.DisplaySettingNum = -4;
    w.TexColor = 0x00123456;
    w.BkgColor = 0x00654321;
    w.MaxText = 900;
    w.MinText = -4;
    w.freq = 29999;
    w.durat = 2;
    w.Book.Step = 65535;
    w.Font = LogFont{-17, 0, 900, 450, 700, 1, 2, 3, 204, 5, 6, 7, 255, "Liberation Serif"};
    for (const int32_t at : {10, 499, 3, 250}) {
        ASSERT_TRUE(w.SetPosition(at));
        w.AddBookmark();
    }
    ASSERT_TRUE(w.SaveToFile(path, SettingsFileMode::Full));
    const std::string first = ReadBytes(path);
    BoundText reader(500);
    ASSERT_TRUE(reader.Settings.LoadFromFile(path, SettingsFileMode::Full, 500));
    EXPECT_EQ(reader.Offset(), 250);
    ASSERT_TRUE(reader.Settings.SaveToFile(path, SettingsFileMode::Full));
    EXPECT_EQ(ReadBytes(path), first);
    EXPECT_NE(first.find("FaceName=Liberation Serif\n"), std::string::npos);
}
} // namespace
