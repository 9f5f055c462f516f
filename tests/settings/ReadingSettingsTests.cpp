#include "platform/ProfileFile.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {
std::string Stored(const CReadingSettings& settings) {
    CProfileFile file;
    settings.StoreTo(file);
    return file.Text();
}

TEST(ReadingSettings, ResetDefaults_RestoresAllButLengthFontWidthAndFaceTail) {
    CReadingSettings settings;
    settings.SetStopSymbolsText("xyz");
    settings.UcOffset = settings.Width = settings.DisplaySettingNum = 3;
    settings.TexColor = settings.BkgColor = settings.freq = settings.durat = 9;
    settings.MaxText = settings.MinText = settings.Book.Step = settings.Book.BookmarksNum = 7;
    settings.TextLength = 1234;
    settings.Font = LogFont{-10, 11, 1, 1, 700, 1, 1, 1, 1, 1, 1, 1, 1, ""};
    std::memset(settings.Font.lfFaceName, 'x', LogFont::FaceSize - 1);
    settings.ResetDefaults();
    EXPECT_EQ(Stored(settings), Stored(CReadingSettings()));
    EXPECT_EQ(settings.TextLength, 1234);
    EXPECT_EQ(settings.Book.Step + settings.Book.BookmarksNum, 1);
    EXPECT_EQ(settings.Font.lfWidth, 11);
    EXPECT_EQ(settings.Font.lfFaceName[12], 'x');
}

// The text forms of the stop symbols (\n, \r, \t) and of their unconditional tail.
TEST(ReadingSettings, StopSymbolsText_DecodesShortFormsAndRefusesWhatDoesNotFit) {
    const std::pair<std::string, std::string> forms[] = {
        {"a\\nb\\rc\\td\\q\\\\n", "a\nb\rc\tdq\\n"},
        {"ab\\", "ab"},
        {"", ""},
        {std::string(64, '\\'), ",;.:?!\n\r"},
        {std::string("ab\0cd", 5), "ab"}};
    for (const auto& [text, symbols] : forms) {
        SCOPED_TRACE(text);
        CReadingSettings settings;
        settings.SetStopSymbolsText(text);
        EXPECT_EQ(settings.StopSimbols, symbols);
    }
    // 63 line feeds have a text form too long to be set again.
    CReadingSettings settings;
    std::memset(settings.StopSimbols, '\n', 63);
    const std::string form = settings.GetStopSymbolsText();
    settings.SetStopSymbolsText(",");
    settings.SetStopSymbolsText(form);
    EXPECT_EQ(settings.StopSimbols, std::string(","));
    const struct {
        std::string Symbols;
        int32_t UcOffset;
        std::string Text, Expected;
    } cases[] = {{",;.:?!\\n\\r", 2, ";", ",;;"},
                 {",;", 2, std::string(61, 'a'), ",;" + std::string(61, 'a')},
                 {",;.", 2, std::string(62, 'a'), ",;."}, // over 63: nothing changes
                 {"a", 5, "x", "ax"},                     // split beyond: appended
                 {"a", -3, "x", "ax"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        settings.SetStopSymbolsText(c.Symbols);
        settings.UcOffset = c.UcOffset;
        EXPECT_EQ(settings.GetUnconditionalText(), c.UcOffset == 2 ? c.Symbols.substr(2) : "");
        settings.SetUnconditionalText(c.Text);
        EXPECT_EQ(settings.StopSimbols, c.Expected);
        EXPECT_EQ(settings.UcOffset, c.UcOffset);
    }
}

TEST(ReadingSettings, ShiftSplit_MovesWithinTheStringThenRefuses) {
    CReadingSettings settings;
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Forward));
    EXPECT_FALSE(settings.ShiftSplit(SplitDirection::Forward));
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Back));
    EXPECT_FALSE(settings.ShiftSplit(SplitDirection::Back));
    settings.SetStopSymbolsText("a");
    settings.UcOffset = 2; // beyond the string: forward refused, back allowed
    EXPECT_FALSE(settings.ShiftSplit(SplitDirection::Forward));
    EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Back));
    EXPECT_EQ(settings.GetUnconditionalText(), "");
}
} // namespace
