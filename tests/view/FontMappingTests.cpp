// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/FontMapping.h"

#include <QFontInfo>
#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace {
LogFont Described(const char* face, int32_t height, uint8_t pitchAndFamily = 0, int weight = 0) {
    LogFont description{.lfHeight = height, .lfWeight = weight, .lfPitchAndFamily = pitchAndFamily};
    std::strncpy(description.lfFaceName, face, LogFont::FaceSize - 1);
    return description;
}

std::string Family(const LogFont& description) {
    return QFontInfo(FontFromLogFont(description)).family().toStdString();
}

// The face wins over the family; a missing one falls back by its family.
TEST(FontMappingTest, MissingFace_FallsBackByKnownFacePitchAndFamily) {
    const std::tuple<const char*, const char*, uint8_t, const char*> rows[] = {
        {"known face", "Arial", 0x30, "DejaVu Sans"},
        {"roman family", "No Such Face", 0x10, "DejaVu Serif"},
        {"fixed pitch", "No Such Face", 0x01, "DejaVu Sans Mono"}};
    for (const auto& [name, face, family, expected] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Family(Described(face, -20, family)), expected);
    }
}

TEST(FontMappingTest, Height_AnyValue_ClampedToUsablePixels) {
    const std::tuple<const char*, int32_t, int, int> rows[] = {
        {"lowest: the tallest character", INT32_MIN, 1000, 1000},
        {"0: the usual size", 0, DefaultFontPixels, DefaultFontPixels},
        {"highest", INT32_MAX, MinFontPixels, MaxFontPixels},
        {"a cell height", 40, 28, 39}};
    for (const auto& [name, height, min, max] : rows) {
        SCOPED_TRACE(name);
        const int pixels = FontFromLogFont(Described("DejaVu Sans", height)).pixelSize();
        EXPECT_GE(pixels, min);
        EXPECT_LE(pixels, max);
    }
}

TEST(FontMappingTest, Weight_AnyValue_ClampedToUsableWeights) {
    const std::tuple<const char*, int, int> rows[] = {
        {"negative", -7, 400}, {"heavy", 900, 900}, {"too heavy", 5000, 1000}};
    for (const auto& [name, weight, expected] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(FontFromLogFont(Described("DejaVu Sans", -20, 0, weight)).weight(), expected);
    }
}

TEST(FontMappingTest, FaceName_WithoutNul_EndsAt31Bytes) {
    LogFont description;
    std::memset(description.lfFaceName, 'A', sizeof description.lfFaceName);
    EXPECT_EQ(FaceName(description).size(), 31);
}

TEST(FontMappingTest, LogFontFromFont_LongFamily_CutBeforeACharacterPastByte31) {
    const LogFont previous;
    const QFont font(QString(29, 'x') + "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(FaceName(LogFontFromFont(font, previous)), QString(29, 'x') + "\xC3\xA9");
}
} // namespace
