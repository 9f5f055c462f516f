#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
std::string Symbols(const CReadingSettings& settings) {
    return settings.StopSimbols;
}

TEST(ReadingSettingsDefaults, Construction_GivesDefaultTextFormsAndFont) {
    const CReadingSettings settings;
    EXPECT_EQ(settings.GetStopSymbolsText(), ",;.:?!\\n\\r");
    EXPECT_EQ(settings.GetUnconditionalText(), ".:?!\\n\\r");
    EXPECT_EQ(Symbols(settings), ",;.:?!\n\r");
    EXPECT_EQ(settings.Font.lfHeight, -48);
    EXPECT_EQ(settings.Font.lfWidth, 0);
    EXPECT_EQ(settings.Font.lfCharSet, 204);
    EXPECT_EQ(settings.Font.lfPitchAndFamily, 48);
    EXPECT_STREQ(settings.Font.lfFaceName, "Arial Black");
}

TEST(ReadingSettingsDefaults, ResetDefaults_RestoresFieldsButKeepsLengthWidthAndFaceTail) {
    CReadingSettings settings;
    settings.SetStopSymbolsText("xyz");
    settings.UcOffset = 1;
    settings.Width = 5;
    settings.DisplaySettingNum = 3;
    settings.TexColor = 1;
    settings.BkgColor = 2;
    settings.MaxText = 7;
    settings.MinText = 8;
    settings.freq = 9;
    settings.durat = 10;
    settings.TextLength = 1234;
    settings.Book.Step = 40;
    settings.Book.BookmarksNum = 3;
    settings.Font.lfHeight = -10;
    settings.Font.lfWidth = 11;
    settings.Font.lfWeight = 700;
    settings.Font.lfItalic = 1;
    settings.Font.lfCharSet = 0;
    std::memset(settings.Font.lfFaceName, 'x', LogFont::FaceSize - 1);

    settings.ResetDefaults();

    EXPECT_EQ(Symbols(settings), ",;.:?!\n\r");
    EXPECT_EQ(settings.UcOffset, 2);
    EXPECT_EQ(settings.Width, 600);
    EXPECT_EQ(settings.DisplaySettingNum, 0);
    EXPECT_EQ(settings.TexColor, 0x00FFFFFFu);
    EXPECT_EQ(settings.BkgColor, 0u);
    EXPECT_EQ(settings.MaxText, 32);
    EXPECT_EQ(settings.MinText, 12);
    EXPECT_EQ(settings.freq, 400u);
    EXPECT_EQ(settings.durat, 700u);
    EXPECT_EQ(settings.TextLength, 1234);
    EXPECT_EQ(settings.Book.Step, 1);
    EXPECT_EQ(settings.Book.BookmarksNum, 0);
    EXPECT_EQ(settings.Font.lfHeight, -48);
    EXPECT_EQ(settings.Font.lfWidth, 11);
    EXPECT_EQ(settings.Font.lfWeight, 0);
    EXPECT_EQ(settings.Font.lfItalic, 0);
    EXPECT_EQ(settings.Font.lfCharSet, 204);
    EXPECT_STREQ(settings.Font.lfFaceName, "Arial Black");
    EXPECT_EQ(settings.Font.lfFaceName[12], 'x');
}

struct DecodeCase {
    const char* Name;
    std::string Text;
    std::string Expected; // the stop-symbol string afterwards
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.Name;
}

class SetStopSymbolsText : public testing::TestWithParam<DecodeCase> {};

TEST_P(SetStopSymbolsText, DecodesTextForm) {
    CReadingSettings settings;
    settings.SetStopSymbolsText(GetParam().Text);
    EXPECT_EQ(Symbols(settings), GetParam().Expected);
    EXPECT_EQ(settings.UcOffset, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetStopSymbolsText,
    testing::Values(DecodeCase{"Escapes", "a\\nb\\rc\\td", "a\nb\rc\td"},
                    DecodeCase{"UnknownEscapeKeepsCharacter", "\\q", "q"},
                    DecodeCase{"DoubledBackslashGivesOne", "\\\\n", "\\n"},
                    DecodeCase{"TrailingBackslashDropped", "ab\\", "ab"},
                    DecodeCase{"EmptyLeavesNoSymbols", "", ""},
                    DecodeCase{"SixtyThreeApplied", std::string(63, 'a'), std::string(63, 'a')},
                    DecodeCase{"SixtyFourIgnored", std::string(64, 'a'), ",;.:?!\n\r"},
                    DecodeCase{"LongEscapedTextIgnored", std::string(64, '\\'), ",;.:?!\n\r"},
                    DecodeCase{"NulEndsText", std::string("ab\0cd", 5), "ab"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(StopSymbolTextForm, BackslashPairIsNotDoubled_SettingItAgainGivesLineFeed) {
    CReadingSettings settings;
    settings.SetStopSymbolsText("\\\\n");
    const std::string form = settings.GetStopSymbolsText();
    EXPECT_EQ(form, "\\n");
    settings.SetStopSymbolsText(form);
    EXPECT_EQ(Symbols(settings), "\n");
}

TEST(StopSymbolTextForm, SixtyThreeLineFeeds_GiveTextFormOf126) {
    CReadingSettings settings;
    std::memset(settings.StopSimbols, '\n', 63);
    const std::string form = settings.GetStopSymbolsText();
    EXPECT_EQ(form.size(), 126u);
    // Its own text form is too long to be set again.
    settings.SetStopSymbolsText(",");
    settings.SetStopSymbolsText(form);
    EXPECT_EQ(Symbols(settings), ",");
}

struct UnconditionalCase {
    const char* Name;
    std::string Symbols;
    int32_t UcOffset;
    std::string Text;
    std::string Expected;
};

void PrintTo(const UnconditionalCase& c, std::ostream* os) {
    *os << c.Name;
}

class SetUnconditionalText : public testing::TestWithParam<UnconditionalCase> {};

TEST_P(SetUnconditionalText, ReplacesTailAfterSplit) {
    const auto& c = GetParam();
    CReadingSettings settings;
    settings.SetStopSymbolsText(c.Symbols);
    settings.UcOffset = c.UcOffset;
    settings.SetUnconditionalText(c.Text);
    EXPECT_EQ(Symbols(settings), c.Expected);
    EXPECT_EQ(settings.UcOffset, c.UcOffset);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetUnconditionalText,
    testing::Values(UnconditionalCase{"SemicolonOnDefaults", ",;.:?!\\n\\r", 2, ";", ",;;"},
                    UnconditionalCase{"EmptyKeepsConditional", ",;.:", 2, "", ",;"},
                    UnconditionalCase{"FillsExactlySixtyThree", ",;", 2, std::string(61, 'a'),
                                      ",;" + std::string(61, 'a')},
                    UnconditionalCase{"OverSixtyThreeChangesNothing", ",;.", 2,
                                      std::string(62, 'a'), ",;."},
                    UnconditionalCase{"SplitBeyondStringAppends", "a", 5, "x", "ax"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(UnconditionalPart, SplitBeyondShorterString_IsEmptyTailAndOffsetKept) {
    CReadingSettings settings;
    settings.SetStopSymbolsText("a");
    EXPECT_EQ(settings.UcOffset, 2);
    EXPECT_EQ(settings.UnconditionalPart(), settings.StopSimbols + 1);
    EXPECT_EQ(settings.GetUnconditionalText(), "");
    settings.UcOffset = -3;
    EXPECT_STREQ(settings.UnconditionalPart(), "");
}

struct ShiftCase {
    const char* Name;
    SplitDirection Direction;
    int Moves;    // calls that succeed
    int32_t Then; // UcOffset afterwards
    std::string Unconditional;
};

void PrintTo(const ShiftCase& c, std::ostream* os) {
    *os << c.Name;
}

class ShiftSplit : public testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftSplit, MovesUntilEndThenRefuses) {
    const auto& c = GetParam();
    CReadingSettings settings;
    for (int i = 0; i < c.Moves; ++i)
        ASSERT_TRUE(settings.ShiftSplit(c.Direction)) << "move " << i;
    EXPECT_FALSE(settings.ShiftSplit(c.Direction));
    EXPECT_EQ(settings.UcOffset, c.Then);
    EXPECT_EQ(settings.GetUnconditionalText(), c.Unconditional);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShiftSplit,
                         testing::Values(ShiftCase{"Back", SplitDirection::Back, 2, 0,
                                                   ",;.:?!\\n\\r"},
                                         ShiftCase{"Forward", SplitDirection::Forward, 6, 8, ""}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(ShiftSplitBeyondString, ForwardRefusedBackAllowed) {
    CReadingSettings settings;
    settings.SetStopSymbolsText("a");
    EXPECT_FALSE(settings.ShiftSplit(SplitDirection::Forward));
    EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Back));
    EXPECT_EQ(settings.GetUnconditionalText(), "");
    EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Back));
    EXPECT_EQ(settings.GetUnconditionalText(), "a");
}
} // namespace
