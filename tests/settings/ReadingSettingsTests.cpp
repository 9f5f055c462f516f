#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

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
    settings.UcOffset = settings.Width = settings.DisplaySettingNum = 3;
    settings.TexColor = settings.BkgColor = settings.freq = settings.durat = 9;
    settings.MaxText = settings.MinText = 7;
    settings.TextLength = 1234;
    settings.Book.Step = 40;
    settings.Book.BookmarksNum = 3;
    settings.Font = LogFont{-10, 11, 0, 0, 700, 1, 0, 0, 0, 0, 0, 0, 0, ""};
    std::memset(settings.Font.lfFaceName, 'x', LogFont::FaceSize - 1);

    settings.ResetDefaults();

    EXPECT_EQ(Symbols(settings), ",;.:?!\n\r");
    EXPECT_EQ(std::tie(settings.UcOffset, settings.Width, settings.DisplaySettingNum,
                       settings.MaxText, settings.MinText, settings.TextLength),
              std::make_tuple(2, 600, 0, 32, 12, 1234));
    EXPECT_EQ(std::tie(settings.TexColor, settings.BkgColor, settings.freq, settings.durat),
              std::make_tuple(0x00FFFFFFu, 0u, 400u, 700u));
    EXPECT_EQ(settings.Book.Step, 1);
    EXPECT_EQ(settings.Book.BookmarksNum, 0);
    const LogFont& f = settings.Font;
    EXPECT_EQ(std::tie(f.lfHeight, f.lfWidth, f.lfWeight), std::make_tuple(-48, 11, 0));
    EXPECT_EQ(f.lfItalic, 0);
    EXPECT_EQ(f.lfCharSet, 204);
    EXPECT_STREQ(f.lfFaceName, "Arial Black");
    EXPECT_EQ(f.lfFaceName[12], 'x');
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
