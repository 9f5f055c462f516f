#include "BoundText.h"
#include "TempFolder.h"
#include "platform/ProfileFile.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace {
constexpr char ExampleFile[] = "[MAIN]\n"
                               "BkgColor=0\n"
                               "DisplaySettingNum=0\n"
                               "durat=700\n"
                               "freq=400\n"
                               "MaxText=32\n"
                               "MinText=12\n"
                               "UcOffset=2\n"
                               "Width=600\n"
                               "TexColor=16777215\n"
                               "StopSimbols=,;.:?!\\n\\r\n"
                               "[LogFont]\n"
                               "Height=48\n"
                               "CharSet=204\n"
                               "Escapement=0\n"
                               "Orientation=0\n"
                               "Weight=0\n"
                               "Italic=0\n"
                               "Underline=0\n"
                               "StrikeOut=0\n"
                               "OutPrecision=0\n"
                               "ClipPrecision=0\n"
                               "Quality=0\n"
                               "PitchAndFamily=48\n"
                               "FaceName=Arial Black\n"
                               "[POSITION]\n"
                               "Step=1\n"
                               "BookmarksNum=0\n"
                               "CurPos=0\n";

std::string SavedText(const CReadingSettings& settings, SettingsFileMode mode) {
    CProfileFile file;
    settings.StoreTo(file);
    EXPECT_TRUE(settings.Book.WritePosition(file, mode));
    return file.Text();
}

TEST(SettingsFileWrite, DefaultsInFullMode_GiveExampleFileByteForByte) {
    TempFolder folder;
    BoundText text(100);
    const std::string path = folder.Path("book.txt.skm");
    ASSERT_TRUE(text.Settings.SaveToFile(path, SettingsFileMode::Full));
    EXPECT_EQ(ReadBytes(path), ExampleFile);
}

TEST(SettingsFileWrite, SettingsOnly_WritesStepAloneWithOrWithoutText) {
    TempFolder folder;
    BoundText text(100);
    text.Settings.AddBookmark();
    const CReadingSettings unbound;
    const std::string expected =
        std::string(ExampleFile).substr(0, std::string(ExampleFile).find("BookmarksNum"));
    const CReadingSettings* both[] = {&text.Settings, &unbound};
    for (const CReadingSettings* settings : both) {
        const std::string path = folder.Path(settings == &unbound ? "default.skm" : "book.skm");
        ASSERT_TRUE(settings->SaveToFile(path, SettingsFileMode::SettingsOnly));
        EXPECT_EQ(ReadBytes(path), expected);
    }
}

TEST(SettingsFileWrite, NegativeValuesBookmarksAndHeight_WrittenAsSignedDecimal) {
    BoundText text(100);
    text.Settings.Font.lfHeight = 20;
    text.Settings.DisplaySettingNum = -3;
    text.Settings.BkgColor = 0xFFFFFFFF;
    ASSERT_TRUE(text.Settings.SetPosition(17));
    text.Settings.AddBookmark();
    text.Settings.Book.Bookmarks[0] = 5;
    text.Settings.AddBookmark();
    const std::string saved = SavedText(text.Settings, SettingsFileMode::Full);
    EXPECT_NE(saved.find("\nHeight=-20\n"), std::string::npos);
    EXPECT_NE(saved.find("\nDisplaySettingNum=-3\n"), std::string::npos);
    EXPECT_NE(saved.find("[MAIN]\nBkgColor=-1\n"), std::string::npos);
    EXPECT_NE(saved.find("BookmarksNum=2\nCurPos=17\nBookmark1=5\nBookmark2=17\n"),
              std::string::npos);
}

TEST(SettingsFileWrite, FullModeWithoutText_FailsAndLeavesFileAlone) {
    TempFolder folder;
    const std::string path = folder.Path("x.skm");
    WriteBytes(path, "[MAIN]\nfreq=5\n");
    const CReadingSettings settings;
    std::string error;
    EXPECT_FALSE(settings.SaveToFile(path, SettingsFileMode::Full, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(path), "[MAIN]\nfreq=5\n");
}

TEST(SettingsFileWrite, ExistingFile_KeepsForeignLinesAndOldBookmarkKeys) {
    TempFolder folder;
    const std::string path = folder.Path("x.skm");
    WriteBytes(path, "; mine\r\n[POSITION]\r\nBookmark3=70\r\n[Other]\r\nk=v\r\n");
    BoundText text(100);
    ASSERT_TRUE(text.Settings.SaveToFile(path, SettingsFileMode::Full));
    const std::string saved = ReadBytes(path);
    EXPECT_EQ(saved.rfind("; mine\r\n[POSITION]\r\nBookmark3=70\r\nStep=1\r\n", 0), 0u);
    EXPECT_NE(saved.find("[Other]\r\nk=v\r\n"), std::string::npos);

    BoundText reader(100);
    reader.Settings.LoadFromFile(path, SettingsFileMode::Full, 100);
    EXPECT_EQ(reader.Settings.Book.BookmarksNum, 0);
}

// Each failure leaves the previous file byte for byte and no temporary file. (A failure
// while writing is the profile file's own and is tested there.)
TEST(SettingsFileWrite, PathThatCannotHoldTheFile_FailsAndLeavesEverythingAsItWas) {
    struct SCase {
        const char* Name;
        const char* Target;
        const char* Existing; // a file that must stay as it was
    };
    const SCase cases[] = {
        {"folder where the file should be", "x.skm", "x.skm/inside"},
        {"missing folder", "none/x.skm", nullptr},
        {"folder that is a plain file", "plain/x.skm", "plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TempFolder folder;
        BoundText text(100);
        if (std::string(c.Target).starts_with("x.skm"))
            std::filesystem::create_directory(folder.Path("x.skm"));
        if (c.Existing)
            WriteBytes(folder.Path(c.Existing), "[MAIN]\nfreq=5\n");
        const auto before = folder.Entries();
        std::string error;
        EXPECT_FALSE(
            text.Settings.SaveToFile(folder.Path(c.Target), SettingsFileMode::Full, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(folder.Entries(), before);
        if (c.Existing) {
            EXPECT_EQ(ReadBytes(folder.Path(c.Existing)), "[MAIN]\nfreq=5\n");
        }
    }
}

struct ReadCase {
    const char* Name;
    std::string File;
    int32_t CReadingSettings::*Field;
    int32_t Expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.Name;
}

class ClampOnRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ClampOnRead, BringsValueIntoRange) {
    const auto& c = GetParam();
    CReadingSettings settings;
    settings.LoadFrom(CProfileFile::FromText(c.File), SettingsFileMode::SettingsOnly, 0);
    EXPECT_EQ(settings.*c.Field, c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClampOnRead,
    testing::Values(
        ReadCase{"MaxText1000", "[MAIN]\nMaxText=1000", &CReadingSettings::MaxText, 999},
        ReadCase{"MaxText999", "[MAIN]\nMaxText=999", &CReadingSettings::MaxText, 999},
        ReadCase{"MaxText0", "[MAIN]\nMaxText=0", &CReadingSettings::MaxText, 1},
        ReadCase{"MaxTextNegative", "[MAIN]\nMaxText=-5", &CReadingSettings::MaxText, 1},
        ReadCase{"MinTextHuge", "[MAIN]\nMinText=4000000", &CReadingSettings::MinText, 999},
        ReadCase{"MinTextNegativeKept", "[MAIN]\nMinText=-7", &CReadingSettings::MinText, -7},
        ReadCase{"WidthZero", "[MAIN]\nWidth=0", &CReadingSettings::Width, 1},
        ReadCase{"WidthHuge", "[MAIN]\nWidth=3001", &CReadingSettings::Width, 3000},
        ReadCase{"UcOffsetNegative", "[MAIN]\nUcOffset=-1", &CReadingSettings::UcOffset, 0},
        ReadCase{"UcOffset64", "[MAIN]\nUcOffset=64", &CReadingSettings::UcOffset, 63},
        ReadCase{"UcOffset63", "[MAIN]\nUcOffset=63", &CReadingSettings::UcOffset, 63},
        ReadCase{"DisplayModeMissingIsZero", "[MAIN]\n", &CReadingSettings::DisplaySettingNum, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

struct TimeCase {
    const char* Name;
    std::string File;
    uint32_t Freq;
    uint32_t Durat;
};

void PrintTo(const TimeCase& c, std::ostream* os) {
    *os << c.Name;
}

class PhaseTimesOnRead : public testing::TestWithParam<TimeCase> {};

TEST_P(PhaseTimesOnRead, StayWithinOneTo30000) {
    CReadingSettings settings;
    settings.LoadFrom(CProfileFile::FromText(GetParam().File), SettingsFileMode::Full, 0);
    EXPECT_EQ(settings.freq, GetParam().Freq);
    EXPECT_EQ(settings.durat, GetParam().Durat);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PhaseTimesOnRead,
    testing::Values(TimeCase{"Zero", "[MAIN]\nfreq=0\ndurat=0", 1, 1},
                    TimeCase{"Huge", "[MAIN]\nfreq=30001\ndurat=4294967295", 30000, 1},
                    TimeCase{"Limits", "[MAIN]\nfreq=1\ndurat=30000", 1, 30000},
                    TimeCase{"Missing", "", 400, 700}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SettingsFileRead, NoKeys_GivesBuiltInDefaultsNotPreviousValues) {
    BoundText text(100);
    ASSERT_TRUE(text.Settings.SetPosition(40));
    text.Settings.AddBookmark();
    text.Settings.freq = 1;
    text.Settings.SetStopSymbolsText("x");
    text.Settings.Font.lfHeight = -9;
    EXPECT_TRUE(text.Settings.LoadFrom(CProfileFile::FromText("just some text\nno keys"),
                                       SettingsFileMode::Full, 0));
    EXPECT_EQ(text.Settings.freq, 400u);
    EXPECT_EQ(text.Settings.GetStopSymbolsText(), ",;.:?!\\n\\r");
    EXPECT_EQ(text.Settings.Font.lfHeight, -48);
    EXPECT_EQ(text.Settings.Book.BookmarksNum, 0);
    EXPECT_EQ(text.Offset(), 40);
    EXPECT_EQ(text.Settings.TextLength, 100);
}

TEST(SettingsFileRead, MissingFile_GivesDefaults) {
    TempFolder folder;
    CReadingSettings settings;
    settings.MaxText = 5;
    settings.LoadFromFile(folder.Path("absent.skm"), SettingsFileMode::SettingsOnly, 0);
    EXPECT_EQ(settings.MaxText, 32);
}

struct StopSymbolsCase {
    const char* Name;
    std::string Value;
    std::string Expected; // text form afterwards
};

void PrintTo(const StopSymbolsCase& c, std::ostream* os) {
    *os << c.Name;
}

class StopSymbolsOnRead : public testing::TestWithParam<StopSymbolsCase> {};

TEST_P(StopSymbolsOnRead, TakesShortFormsOnly) {
    CReadingSettings settings;
    settings.LoadFrom(CProfileFile::FromText("[MAIN]\nStopSimbols=" + GetParam().Value),
                      SettingsFileMode::SettingsOnly, 0);
    EXPECT_EQ(settings.GetStopSymbolsText(), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StopSymbolsOnRead,
    testing::Values(StopSymbolsCase{"Short", ".\\t", ".\\t"},
                    StopSymbolsCase{"SixtyThree", std::string(63, '.'), std::string(63, '.')},
                    StopSymbolsCase{"SixtyFour", std::string(64, '.'), ",;.:?!\\n\\r"},
                    StopSymbolsCase{"SixtySix", std::string(66, '.'), ",;.:?!\\n\\r"},
                    StopSymbolsCase{"Long", std::string(500, '.'), ",;.:?!\\n\\r"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SettingsFileRead, FontFields_HeightNegatedBytesLowBitsCharSetIgnored) {
    CReadingSettings settings;
    settings.Font.lfWidth = 13;
    settings.LoadFrom(CProfileFile::FromText("[LogFont]\nHeight=20\nCharSet=0\nItalic=257\n"
                                             "Weight=700\nFaceName=" +
                                             std::string(40, 'F')),
                      SettingsFileMode::SettingsOnly, 0);
    EXPECT_EQ(settings.Font.lfHeight, -20);
    EXPECT_EQ(settings.Font.lfCharSet, 204);
    EXPECT_EQ(settings.Font.lfItalic, 1);
    EXPECT_EQ(settings.Font.lfWeight, 700);
    EXPECT_EQ(settings.Font.lfWidth, 13);
    EXPECT_EQ(std::string(settings.Font.lfFaceName), std::string(31, 'F'));
}

TEST(SettingsFileRead, HeightOfMostNegativeInteger_WrapsWithoutOverflow) {
    CReadingSettings settings;
    settings.LoadFrom(CProfileFile::FromText("[LogFont]\nHeight=-2147483648"),
                      SettingsFileMode::SettingsOnly, 0);
    EXPECT_EQ(settings.Font.lfHeight, INT32_MIN);
    EXPECT_NE(SavedText(settings, SettingsFileMode::SettingsOnly).find("Height=-2147483648"),
              std::string::npos);
}

struct PositionCase {
    const char* Name;
    std::string Position; // body of the POSITION section
    int32_t CurPos;       // cursor offset afterwards
    std::vector<int32_t> Bookmarks;
};

void PrintTo(const PositionCase& c, std::ostream* os) {
    *os << c.Name;
}

class PositionOnRead : public testing::TestWithParam<PositionCase> {};

TEST_P(PositionOnRead, ReadsPositionAndBookmarkList) {
    const auto& c = GetParam();
    BoundText text(100);
    EXPECT_TRUE(text.Settings.LoadFrom(CProfileFile::FromText("[POSITION]\n" + c.Position),
                                       SettingsFileMode::Full, 100));
    EXPECT_EQ(text.Offset(), c.CurPos);
    const std::vector<int32_t> read(text.Settings.Book.Bookmarks.begin(),
                                    text.Settings.Book.Bookmarks.begin() +
                                        text.Settings.Book.BookmarksNum);
    EXPECT_EQ(read, c.Bookmarks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PositionOnRead,
    testing::Values(
        PositionCase{
            "ZeroEndsList", "BookmarksNum=3\nBookmark1=0\nBookmark2=0\nBookmark3=7", 0, {0}},
        PositionCase{"FirstZeroCounts", "BookmarksNum=1\nBookmark1=0", 0, {0}},
        PositionCase{"MissingKeyEndsList", "BookmarksNum=3\nBookmark1=4\nBookmark3=7", 0, {4}},
        PositionCase{"OnlyCountRead", "BookmarksNum=1\nBookmark1=4\nBookmark2=9", 0, {4}},
        PositionCase{"CurPosRead", "CurPos=99", 99, {}},
        PositionCase{"CurPosAtTerminator", "CurPos=100", 100, {}},
        PositionCase{"CurPosBeyondIgnored", "CurPos=101", 0, {}},
        PositionCase{"CurPosNegativeIgnored", "CurPos=-1", 0, {}},
        PositionCase{
            "BookmarksOutsideKept", "BookmarksNum=2\nBookmark1=500\nBookmark2=-3", 0, {500, -3}},
        PositionCase{
            "CountWrapsToLow16Bits", "BookmarksNum=65537\nBookmark1=4\nBookmark2=5", 0, {4}}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(SettingsFileRead, BookmarkCountAbove64_ReadsAtMost64) {
    std::string position = "BookmarksNum=1000\n";
    for (int i = 1; i <= 100; ++i)
        position += "Bookmark" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    BoundText text(100);
    text.Settings.LoadFrom(CProfileFile::FromText("[POSITION]\n" + position),
                           SettingsFileMode::Full, 100);
    ASSERT_EQ(text.Settings.Book.BookmarksNum, 64);
    EXPECT_EQ(text.Settings.Book.Bookmarks[63], 64);
}

TEST(SettingsFileRead, ListWithZeroInside_ReadsBackAsFirstOnly) {
    BoundText writer(100);
    for (const int32_t at : {5, 0, 7}) {
        ASSERT_TRUE(writer.Settings.SetPosition(at));
        writer.Settings.AddBookmark();
    }
    const std::string saved = SavedText(writer.Settings, SettingsFileMode::Full);
    BoundText reader(100);
    reader.Settings.LoadFrom(CProfileFile::FromText(saved), SettingsFileMode::Full, 100);
    ASSERT_EQ(reader.Settings.Book.BookmarksNum, 1);
    EXPECT_EQ(reader.Settings.Book.Bookmarks[0], 5);
}

TEST(SettingsFileRead, StepKeepsLow16Bits) {
    CReadingSettings settings;
    settings.LoadFrom(CProfileFile::FromText("[POSITION]\nStep=65538"),
                      SettingsFileMode::SettingsOnly, 0);
    EXPECT_EQ(settings.Book.Step, 2);
}

TEST(SettingsFileRead, SettingsOnly_TakesStepEmptiesListKeepsPositionAndLength) {
    BoundText text(100);
    ASSERT_TRUE(text.Settings.SetPosition(30));
    text.Settings.AddBookmark();
    EXPECT_TRUE(text.Settings.LoadFrom(
        CProfileFile::FromText("[POSITION]\nStep=8\nBookmarksNum=1\nCurPos=3\nBookmark1=9"),
        SettingsFileMode::SettingsOnly, 0));
    EXPECT_EQ(text.Settings.Book.Step, 8);
    EXPECT_EQ(text.Settings.Book.BookmarksNum, 0);
    EXPECT_EQ(text.Offset(), 30);
    EXPECT_EQ(text.Settings.TextLength, 100);
}

TEST(SettingsFileRead, FullModeWithoutText_AppliesSettingsAndReturnsFalse) {
    CReadingSettings settings;
    EXPECT_FALSE(settings.LoadFrom(
        CProfileFile::FromText("[MAIN]\nfreq=50\n[POSITION]\nStep=4\nBookmarksNum=1\nBookmark1=3"),
        SettingsFileMode::Full, 10));
    EXPECT_EQ(settings.freq, 50u);
    EXPECT_EQ(settings.Book.Step, 4);
    EXPECT_EQ(settings.Book.BookmarksNum, 0);
    EXPECT_EQ(settings.TextLength, 10);
}

TEST(SettingsFileRoundTrip, EveryField_ComesBackFromFile) {
    TempFolder folder;
    const std::string path = folder.Path("round.skm");
    BoundText writer(500);
    CReadingSettings& w = writer.Settings;
    w.SetStopSymbolsText("ab\\tcd\\n\\r");
    w.UcOffset = 3;
    w.Width = 777;
    w.DisplaySettingNum = 4;
    w.TexColor = 0x00123456;
    w.BkgColor = 0x00654321;
    w.MaxText = 900;
    w.MinText = -4;
    w.freq = 29999;
    w.durat = 2;
    w.Book.Step = 65535;
    w.Font = LogFont{-17, 0, 900, 450, 700, 1, 2, 3, 204, 5, 6, 7, 255, "Liberation Serif"};
    for (const int32_t at : {10, 499, 3}) {
        ASSERT_TRUE(w.SetPosition(at));
        w.AddBookmark();
    }
    ASSERT_TRUE(w.SetPosition(250));
    ASSERT_TRUE(w.SaveToFile(path, SettingsFileMode::Full));

    BoundText reader(500);
    CReadingSettings& r = reader.Settings;
    EXPECT_TRUE(r.LoadFromFile(path, SettingsFileMode::Full, 500));
    EXPECT_EQ(std::string(r.StopSimbols), std::string(w.StopSimbols));
    EXPECT_EQ(std::tie(r.UcOffset, r.Width, r.DisplaySettingNum, r.MaxText, r.MinText),
              std::make_tuple(3, 777, 4, 900, -4));
    EXPECT_EQ(std::tie(r.TexColor, r.BkgColor, r.freq, r.durat),
              std::make_tuple(0x00123456u, 0x00654321u, 29999u, 2u));
    EXPECT_EQ(r.Book.Step, 65535);
    const LogFont& f = r.Font;
    EXPECT_EQ(std::tie(f.lfHeight, f.lfEscapement, f.lfOrientation, f.lfWeight),
              std::make_tuple(-17, 900, 450, 700));
    EXPECT_EQ(std::vector<int>({f.lfItalic, f.lfUnderline, f.lfStrikeOut, f.lfOutPrecision,
                                f.lfClipPrecision, f.lfQuality, f.lfPitchAndFamily}),
              std::vector<int>({1, 2, 3, 5, 6, 7, 255}));
    EXPECT_STREQ(f.lfFaceName, "Liberation Serif");
    EXPECT_EQ(reader.Offset(), 250);
    EXPECT_EQ(std::vector<int32_t>(r.Book.Bookmarks.begin(),
                                   r.Book.Bookmarks.begin() + r.Book.BookmarksNum),
              std::vector<int32_t>({10, 499, 3}));
    EXPECT_EQ(r.TextLength, 500);

    // Saving what was read gives the same file.
    const std::string first = ReadBytes(path);
    ASSERT_TRUE(r.SaveToFile(path, SettingsFileMode::Full));
    EXPECT_EQ(ReadBytes(path), first);
}
} // namespace
