// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Font description in the shape of a Windows LOGFONT, because the settings file
// stores exactly these fields. Heights are negative for a character height.
struct LogFont {
    static constexpr int FaceSize = 32;

    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[FaceSize] = {};
};
