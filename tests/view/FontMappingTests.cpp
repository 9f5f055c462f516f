#include "display/FontMapping.h"
#include "settings/ReadingSettings.h"

#include <QFontInfo>
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {
LogFont Described(const char* face, int32_t height, uint8_t pitchAndFamily = 0) {
    LogFont description;
    std::strncpy(description.lfFaceName, face, LogFont::FaceSize - 1);
    description.lfHeight = height;
    description.lfPitchAndFamily = pitchAndFamily;
    return description;
}

TEST(FontMappingTest, MissingFace_FallsBackByKnownFacePitchAndFamily) {
    EXPECT_EQ(QFontInfo(FontFromLogFont(CReadingSettings().Font)).family(), "DejaVu Sans");
    const std::tuple<const char*, uint8_t, const char*> cases[] = {
        {"Times New Roman", 0x00, "DejaVu Serif"},
        {"Arial", 0x30, "DejaVu Sans"}, // the face wins over the family
        {"No Such Face", 0x10, "DejaVu Serif"},
        {"No Such Face", 0x01, "DejaVu Sans Mono"},
    };
    for (const auto& [face, family, expected] : cases)
        EXPECT_EQ(QFontInfo(FontFromLogFont(Described(face, -20, family))).family(), expected)
            << face << int(family);
}

TEST(FontMappingTest, HeightAndWeight_AnyValue_ClampedToUsableSizes) {
    const std::tuple<int32_t, int, int> heights[] = {{INT32_MIN, 1000, 1000},
                                                     {0, DefaultFontPixels, DefaultFontPixels},
                                                     {INT32_MAX, MinFontPixels, MaxFontPixels},
                                                     {40, 28, 39}}; // a cell height
    for (const auto& [height, min, max] : heights) {
        const int pixels = FontFromLogFont(Described("DejaVu Sans", height)).pixelSize();
        EXPECT_GE(pixels, min) << height;
        EXPECT_LE(pixels, max) << height;
    }
    for (const auto& [weight, expected] : {std::pair{-7, 400}, {900, 900}, {5000, 1000}}) {
        LogFont description = Described("DejaVu Sans", -20);
        description.lfWeight = weight;
        EXPECT_EQ(FontFromLogFont(description).weight(), expected) << weight;
    }
}

TEST(FontMappingTest, FaceName_UnterminatedOrTooLong_AtMost31BytesWholeCharacters) {
    LogFont description;
    std::memset(description.lfFaceName, 'A', sizeof description.lfFaceName);
    EXPECT_EQ(FaceName(description).size(), 31);
    QFont font;
    font.setFamily(QString(29, QLatin1Char('x')) + QString::fromUtf8("\xC3\xA9\xC3\xA9"));
    EXPECT_EQ(FaceName(LogFontFromFont(font, description)),
              QString(29, QLatin1Char('x')) + QString::fromUtf8("\xC3\xA9"));
}
} // namespace
