#include "settings/ReadingSettings.h"
#include "view/FontMapping.h"

#include <QFontInfo>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {
LogFont Described(const char* face, int32_t height) {
    LogFont description;
    std::strncpy(description.lfFaceName, face, LogFont::FaceSize - 1);
    description.lfHeight = height;
    return description;
}

TEST(FontMappingTest, DefaultDescription_HeavySansStandsInForArialBlack) {
    const CReadingSettings settings; // "Arial Black", -48, weight 0, Cyrillic, FF_MODERN
    const QFont font = FontFromLogFont(settings.Font);
    const QFontInfo info(font);
    EXPECT_EQ(info.family(), "DejaVu Sans");
    EXPECT_GE(info.weight(), QFont::Bold);
    EXPECT_FALSE(info.fixedPitch());
    EXPECT_EQ(info.pixelSize(), 48);
}

TEST(FontMappingTest, Height_AnyValue_GivesAUsablePixelSize) {
    struct Case {
        int32_t Height;
        int Min, Max;
    };
    const Case cases[] = {
        {-1000, 1000, 1000},
        {INT32_MIN, 1000, 1000},
        {-1, MinFontPixels, MinFontPixels},
        {0, DefaultFontPixels, DefaultFontPixels},
        {INT32_MAX, MinFontPixels, MaxFontPixels},
        {40, 28, 39}, // a cell height: the character height is smaller
    };
    for (const Case& c : cases) {
        const QFont font = FontFromLogFont(Described("DejaVu Sans", c.Height));
        EXPECT_GE(font.pixelSize(), c.Min) << c.Height;
        EXPECT_LE(font.pixelSize(), c.Max) << c.Height;
    }
}

TEST(FontMappingTest, Weight_LogFontScale_MapsOntoQtWeights) {
    const std::pair<int32_t, int> cases[] = {
        {0, 400}, {-7, 400}, {100, 100}, {900, 900}, {5000, 1000}};
    for (const auto& [weight, expected] : cases) {
        LogFont description = Described("DejaVu Sans", -20);
        description.lfWeight = weight;
        EXPECT_EQ(FontFromLogFont(description).weight(), expected) << weight;
    }
}

TEST(FontMappingTest, Styles_ItalicUnderlineStrikeOut_Carried) {
    LogFont description = Described("DejaVu Serif", -30);
    description.lfItalic = 1;
    description.lfUnderline = 255;
    description.lfStrikeOut = 1;
    const QFont font = FontFromLogFont(description);
    EXPECT_TRUE(font.italic());
    EXPECT_TRUE(font.underline());
    EXPECT_TRUE(font.strikeOut());
    EXPECT_EQ(QFontInfo(font).family(), "DejaVu Serif");
}

TEST(FontMappingTest, MissingFace_FallsBackByKnownFacePitchAndFamily) {
    struct Case {
        const char* Face;
        uint8_t PitchAndFamily;
        const char* Expected;
    };
    const Case cases[] = {
        {"Times New Roman", 0x00, "DejaVu Serif"},
        {"Courier New", 0x00, "DejaVu Sans Mono"},
        {"Arial", 0x30, "DejaVu Sans"},               // the face wins over the family
        {"No Such Face 7", 0x10, "DejaVu Serif"},     // FF_ROMAN
        {"No Such Face 7", 0x01, "DejaVu Sans Mono"}, // FIXED_PITCH
        {"No Such Face 7", 0x20, "DejaVu Sans"},      // FF_SWISS
        {"", 0x00, "DejaVu Sans"},
    };
    for (const Case& c : cases) {
        LogFont description = Described(c.Face, -20);
        description.lfPitchAndFamily = c.PitchAndFamily;
        EXPECT_EQ(QFontInfo(FontFromLogFont(description)).family(), c.Expected)
            << '"' << c.Face << "\" " << int(c.PitchAndFamily);
    }
}

TEST(FontMappingTest, FaceName_WithoutTerminator_ReadsAtMost31Bytes) {
    LogFont description;
    std::memset(description.lfFaceName, 'A', sizeof description.lfFaceName);
    EXPECT_EQ(FaceName(description).size(), 31);
    EXPECT_GT(FontFromLogFont(description).pixelSize(), 0);
}

TEST(FontMappingTest, RoundTrip_InstalledFace_KeepsWhatTheDialogCanChange) {
    LogFont description = Described("DejaVu Serif", -36);
    description.lfWeight = 700;
    description.lfItalic = 1;
    description.lfUnderline = 1;
    description.lfEscapement = 5;
    description.lfCharSet = 204;
    description.lfWidth = 17;
    const LogFont back = LogFontFromFont(FontFromLogFont(description), description);
    EXPECT_STREQ(back.lfFaceName, "DejaVu Serif");
    EXPECT_EQ(back.lfHeight, -36);
    EXPECT_EQ(back.lfWeight, 700);
    EXPECT_EQ(back.lfItalic, 1);
    EXPECT_EQ(back.lfUnderline, 1);
    EXPECT_EQ(back.lfStrikeOut, 0);
    EXPECT_EQ(back.lfEscapement, 5);
    EXPECT_EQ(back.lfCharSet, 204);
    EXPECT_EQ(back.lfWidth, 0);
}

TEST(FontMappingTest, FromFont_PointSizedMonospace_PixelHeightAndFixedPitch) {
    QFont font("DejaVu Sans Mono");
    font.setPointSize(12);
    const LogFont description = LogFontFromFont(font, LogFont{});
    EXPECT_EQ(description.lfHeight, -QFontInfo(font).pixelSize());
    EXPECT_LT(description.lfHeight, 0);
    EXPECT_EQ(description.lfPitchAndFamily & 0x03, 0x01);
    EXPECT_EQ(description.lfPitchAndFamily & 0xF0, 0x30);
}

TEST(FontMappingTest, FromFont_LongFaceName_CutAtACharacterBoundaryWithTerminator) {
    QFont font;
    font.setFamily(QString(29, QLatin1Char('x')) + QString::fromUtf8("\xC3\xA9\xC3\xA9"));
    LogFont previous;
    std::memset(previous.lfFaceName, 'Z', sizeof previous.lfFaceName);
    const LogFont description = LogFontFromFont(font, previous);
    // 29 + 2 bytes fit the 31; the second character would not, and is not half-kept.
    EXPECT_EQ(std::strlen(description.lfFaceName), 31u);
    EXPECT_EQ(FaceName(description), QString(29, QLatin1Char('x')) + QString::fromUtf8("\xC3\xA9"));
    EXPECT_EQ(description.lfFaceName[31], '\0');
}
} // namespace
