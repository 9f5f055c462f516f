// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ReadingSettings.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

// Where each setting lives in the settings file, what it starts as and which values
// it may take. The file is written in the order of these tables, so the order is part
// of the format.

namespace SettingsTable {

inline constexpr std::string_view MainSection = "MAIN";
inline constexpr std::string_view FontSection = "LogFont";
inline constexpr std::string_view PositionSection = "POSITION";

// Longest unit the options accept: the cutter's buffer is sized from it.
inline constexpr int32_t MaxUnitLength = 999;

inline constexpr int32_t Unbounded = std::numeric_limits<int32_t>::min();
inline constexpr int32_t UnboundedHigh = std::numeric_limits<int32_t>::max();

// One whole-number key. Get and Set see the value as the file holds it (a font height
// is stored negated, a byte field keeps the low byte of what is read).
struct SIntSetting {
    std::string_view Key;
    int32_t Default;
    int32_t Low; // what the options accept, and what a file's value is brought into
    int32_t High;
    int32_t (*Get)(const CReadingSettings&);
    void (*Set)(CReadingSettings&, int32_t);
    // A file's MinText below Low is kept (it only turns off packing to a minimum),
    // and CharSet is written but never read back: the character set stays the default.
    bool ClampsLowOnRead = true;
    bool Read = true;

    constexpr int32_t Bounded(int32_t value) const {
        return std::clamp(value, ClampsLowOnRead ? Low : Unbounded, High);
    }
};

// Heights are stored negated; wrap rather than overflow on the one value that has no
// negation.
constexpr int32_t Negate(int32_t value) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(value));
}

#define SKIMMET_INT_FIELD(member)                                                                  \
    [](const CReadingSettings& s) { return static_cast<int32_t>(s.member); },                      \
        [](CReadingSettings& s, int32_t v) {                                                       \
            s.member = static_cast<decltype(s.member)>(v);                                         \
        }
#define SKIMMET_BYTE_FIELD(member)                                                                 \
    [](const CReadingSettings& s) { return static_cast<int32_t>(s.Font.member); },                 \
        [](CReadingSettings& s, int32_t v) {                                                       \
            s.Font.member = static_cast<uint8_t>(v & 0xFF);                                        \
        }

inline constexpr SIntSetting BkgColor{"BkgColor", 0, Unbounded, UnboundedHigh,
                                      SKIMMET_INT_FIELD(BkgColor)};
inline constexpr SIntSetting DisplaySettingNum{"DisplaySettingNum", 0, Unbounded, UnboundedHigh,
                                               SKIMMET_INT_FIELD(DisplaySettingNum)};
inline constexpr SIntSetting Duration{"durat", 700, 1, 30000, SKIMMET_INT_FIELD(durat)};
inline constexpr SIntSetting Between{"freq", 400, 1, 30000, SKIMMET_INT_FIELD(freq)};
inline constexpr SIntSetting MaxText{"MaxText", 32, 1, MaxUnitLength, SKIMMET_INT_FIELD(MaxText)};
inline constexpr SIntSetting MinText{"MinText", 12, 1, MaxUnitLength, SKIMMET_INT_FIELD(MinText),
                                     false};
inline constexpr SIntSetting UcOffset{"UcOffset", 2, 0, CReadingSettings::StopSymbolsSize - 1,
                                      SKIMMET_INT_FIELD(UcOffset)};
inline constexpr SIntSetting Width{"Width", 600, 1, 3000, SKIMMET_INT_FIELD(Width)};
inline constexpr SIntSetting TexColor{"TexColor", 0x00FFFFFF, Unbounded, UnboundedHigh,
                                      SKIMMET_INT_FIELD(TexColor)};

inline constexpr std::array MainInts = {BkgColor, DisplaySettingNum, Duration, Between, MaxText,
                                        MinText,  UcOffset,          Width,    TexColor};

// Pacing by content: MAIN's keys after StopSimbols and Encoding. The defaults follow the
// readers that pace by content (a sentence's end 2.5 times, other punctuation 1.5 times,
// a slow start over 5 units) and the research on serial reading: see the README.
inline constexpr SIntSetting PaceSentenceGap{"PaceSentenceGap", 250, 10, 1000,
                                             SKIMMET_INT_FIELD(Pacing.SentenceGap)};
inline constexpr SIntSetting PaceParagraphGap{"PaceParagraphGap", 350, 10, 1000,
                                              SKIMMET_INT_FIELD(Pacing.ParagraphGap)};

inline constexpr std::array PacingInts = {
    SIntSetting{"PaceByContent", 0, 0, 1, SKIMMET_INT_FIELD(Pacing.On)},
    SIntSetting{"PaceReferenceLength", 16, 1, MaxUnitLength,
                SKIMMET_INT_FIELD(Pacing.ReferenceLength)},
    SIntSetting{"PaceLengthWeight", 50, 0, 200, SKIMMET_INT_FIELD(Pacing.LengthWeight)},
    SIntSetting{"PaceMinShow", 200, 1, 30000, SKIMMET_INT_FIELD(Pacing.MinShow)},
    SIntSetting{"PaceLongWord", 9, 2, 99, SKIMMET_INT_FIELD(Pacing.LongWord)},
    SIntSetting{"PaceLongWordTime", 15, 0, 500, SKIMMET_INT_FIELD(Pacing.LongWordTime)},
    SIntSetting{"PaceNumberTime", 30, 0, 500, SKIMMET_INT_FIELD(Pacing.NumberTime)},
    SIntSetting{"PaceClauseGap", 150, 10, 1000, SKIMMET_INT_FIELD(Pacing.ClauseGap)},
    PaceSentenceGap,
    PaceParagraphGap,
    SIntSetting{"PaceStartUnits", 5, 0, 50, SKIMMET_INT_FIELD(Pacing.StartUnits)},
    SIntSetting{"PaceStartTime", 200, 100, 500, SKIMMET_INT_FIELD(Pacing.StartTime)},
    SIntSetting{"PaceSentencesFirst", 0, 0, 1, SKIMMET_INT_FIELD(Pacing.SentencesFirst)},
};

// Run options, written after the pacing keys.
inline constexpr std::array RunInts = {
    SIntSetting{"PauseAtChapterEnd", 0, 0, 1, SKIMMET_INT_FIELD(PauseAtChapterEnd)},
};

inline constexpr std::array FontInts = {
    SIntSetting{"Height", 48, Unbounded, UnboundedHigh,
                [](const CReadingSettings& s) { return Negate(s.Font.lfHeight); },
                [](CReadingSettings& s, int32_t v) {
                    s.Font.lfHeight = Negate(v);
                }},
    SIntSetting{"CharSet", 204, Unbounded, UnboundedHigh, SKIMMET_BYTE_FIELD(lfCharSet), true,
                false},
    SIntSetting{"Escapement", 0, Unbounded, UnboundedHigh, SKIMMET_INT_FIELD(Font.lfEscapement)},
    SIntSetting{"Orientation", 0, Unbounded, UnboundedHigh, SKIMMET_INT_FIELD(Font.lfOrientation)},
    SIntSetting{"Weight", 0, Unbounded, UnboundedHigh, SKIMMET_INT_FIELD(Font.lfWeight)},
    SIntSetting{"Italic", 0, Unbounded, UnboundedHigh, SKIMMET_BYTE_FIELD(lfItalic)},
    SIntSetting{"Underline", 0, Unbounded, UnboundedHigh, SKIMMET_BYTE_FIELD(lfUnderline)},
    SIntSetting{"StrikeOut", 0, Unbounded, UnboundedHigh, SKIMMET_BYTE_FIELD(lfStrikeOut)},
    SIntSetting{"OutPrecision", 0, Unbounded, UnboundedHigh, SKIMMET_BYTE_FIELD(lfOutPrecision)},
    SIntSetting{"ClipPrecision", 0, Unbounded, UnboundedHigh, SKIMMET_BYTE_FIELD(lfClipPrecision)},
    SIntSetting{"Quality", 0, Unbounded, UnboundedHigh, SKIMMET_BYTE_FIELD(lfQuality)},
    SIntSetting{"PitchAndFamily", 48, Unbounded, UnboundedHigh,
                SKIMMET_BYTE_FIELD(lfPitchAndFamily)},
};

#undef SKIMMET_INT_FIELD
#undef SKIMMET_BYTE_FIELD

// The text keys, written after the whole numbers of their section. The read sizes are
// the format's own buffers, which every reader of these files shares: a stop-symbol
// text form of up to 66 characters (so that one too long is seen as too long), a face
// name of 31.
inline constexpr std::string_view StopSymbolsKey = "StopSimbols";
// After StopSimbols, in companion files only.
inline constexpr std::string_view EncodingKey = "Encoding";
// After the pacing keys, in companion files only, and only while it is 1.
inline constexpr std::string_view AsPlainTextKey = "AsPlainText";
inline constexpr char DefaultStopSymbols[] = ",;.:?!\n\r";
inline constexpr std::size_t StopSymbolsReadSize = 67;
inline constexpr std::string_view FaceNameKey = "FaceName";
inline constexpr char DefaultFaceName[] = "Arial Black";

} // namespace SettingsTable
