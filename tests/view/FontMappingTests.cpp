// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/FontMapping.h"
#include "settings/ReadingSettings.h"

#include <QFontInfo>
#include <climits>
#include <cstring>
#include <gtest/gtest.h>

namespace {
LogFont Described(const char* face, int32_t height, uint8_t pitchAndFamily = 0, int weight = 0) {
    LogFont description{.lfHeight = height, .lfWeight = weight, .lfPitchAndFamily = pitchAndFamily};
    std::strncpy(description.lfFaceName, face, LogFont::FaceSize - 1);
    return description;
}

// The face wins over the family; a missing one falls back by its family.
TEST(FontMappingTest, MissingFace_FallsBackByKnownFacePitchAndFamily) {
    EXPECT_EQ(QFontInfo(FontFromLogFont(CReadingSettings().Font)).family(), "DejaVu Sans");
    for (const auto& [face, family, expected] : {std::tuple{"Arial", 0x30, "DejaVu Sans"},
                                                 {"No Such Face", 0x10, "DejaVu Serif"},
                                                 {"No Such Face", 0x01, "DejaVu Sans Mono"}})
        EXPECT_EQ(QFontInfo(FontFromLogFont(Described(face, -20, family))).family(), expected)
            << face << family;
}

// A face name ends at 31 bytes, and never inside a character.
TEST(FontMappingTest, HeightWeightOrFaceName_AnyValue_ClampedToUsableValues) {
    for (const auto& [height, min, max] : {std::tuple{INT32_MIN, 1000, 1000},
                                           {0, DefaultFontPixels, DefaultFontPixels},
                                           {INT32_MAX, MinFontPixels, MaxFontPixels},
                                           {40, 28, 39}}) { // a cell height
        const int pixels = FontFromLogFont(Described("DejaVu Sans", height)).pixelSize();
        EXPECT_TRUE(pixels >= min && pixels <= max) << height << ": " << pixels;
    }
    for (const auto& [weight, expected] : {std::pair{-7, 400}, {900, 900}, {5000, 1000}})
        EXPECT_EQ(FontFromLogFont(Described("DejaVu Sans", -20, 0, weight)).weight(), expected);
    LogFont description;
    std::memset(description.lfFaceName, 'A', sizeof description.lfFaceName);
    EXPECT_EQ(FaceName(description).size(), 31);
    QFont font(QString(29, 'x') + "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(FaceName(LogFontFromFont(font, description)), QString(29, 'x') + "\xC3\xA9");
}
} // namespace
