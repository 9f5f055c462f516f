// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Pacing.h"

#include "engine/Separators.h"
#include "settings/ReadingSettings.h"
#include "settings/SettingsTable.h"
#include "text/Utf8.h"

#include <algorithm>

namespace Pacing {

namespace {

// What a unit holds that its show time follows.
struct SContent {
    int64_t Characters = 0;
    int64_t LongWords = 0;
    int64_t Numbers = 0;
};

// One pass over the unit's bytes: paced for every unit, also when the status pane counts
// the time left of a whole book. Blanks at the ends are no part of its length.
SContent ContentOf(std::string_view unit, const CReadingSettings& settings) {
    SContent content;
    const bool characters = settings.CharacterMode;
    const int64_t longWord = settings.Pacing.LongWord;
    int64_t wordLength = 0;
    bool digit = false;
    int64_t blanks = 0; // blanks since the last word, counted once a word follows them
    const auto endWord = [&] {
        if (wordLength == 0)
            return;
        content.Numbers += digit ? 1 : 0;
        content.LongWords += !digit && wordLength >= longWord ? 1 : 0;
        wordLength = 0;
        digit = false;
    };
    for (const char c : unit) {
        if (IsBlank(c)) {
            endWord();
            blanks += content.Characters > 0 ? 1 : 0;
            continue;
        }
        if (characters && Utf8::IsContinuation(static_cast<unsigned char>(c)))
            continue;
        content.Characters += blanks + 1;
        blanks = 0;
        ++wordLength;
        digit = digit || (c >= '0' && c <= '9');
    }
    endWord();
    return content;
}

int32_t GapPercent(End before, const CReadingSettings::SPacing& pacing) {
    switch (before) {
    case End::Clause:
        return pacing.ClauseGap;
    case End::Sentence:
        return pacing.SentenceGap;
    case End::Paragraph:
        return pacing.ParagraphGap;
    case End::None:
        break;
    }
    return 100;
}

int32_t Clamped(int64_t permille) {
    return static_cast<int32_t>(std::clamp<int64_t>(permille, 0, 1000000));
}

} // namespace

SPace PaceOf(std::string_view unit, End before, int unitsIntoRun,
             const CReadingSettings& settings) {
    const CReadingSettings::SPacing& pacing = settings.Pacing;
    if (pacing.On == 0)
        return {};
    const SContent content = ContentOf(unit, settings);
    const int64_t reference = std::max(1, pacing.ReferenceLength);
    // Each character beyond the reference length adds its share of the weight, and each
    // one short of it takes its share away.
    const int64_t length =
        int64_t{pacing.LengthWeight} * 10 * (content.Characters - reference) / reference;
    const int64_t words = int64_t{pacing.LongWordTime} * 10 * content.LongWords +
                          int64_t{pacing.NumberTime} * 10 * content.Numbers;
    const int64_t start = StartPermille(unitsIntoRun, settings);
    const int64_t show = (1000 + length + words) * start / 1000;
    const int64_t gap = int64_t{GapPercent(before, pacing)} * 10 * start / 1000;
    return {Clamped(gap), Clamped(show)};
}

int64_t StartPermille(int unitsIntoRun, const CReadingSettings& settings) {
    const CReadingSettings::SPacing& pacing = settings.Pacing;
    const int64_t units = std::max(0, pacing.StartUnits);
    if (unitsIntoRun >= units)
        return 1000;
    const int64_t extra = (std::max(100, pacing.StartTime) - 100) * 10;
    return 1000 + extra * (units - unitsIntoRun) / units;
}

uint32_t GapMs(const SPace& pace, const CReadingSettings& settings) {
    const uint64_t ms = uint64_t{settings.freq} * static_cast<uint64_t>(pace.GapPermille) / 1000;
    return static_cast<uint32_t>(std::clamp<uint64_t>(ms, 1, SettingsTable::Between.High));
}

uint32_t ShowMs(const SPace& pace, const CReadingSettings& settings) {
    const uint64_t ms = uint64_t{settings.durat} * static_cast<uint64_t>(pace.ShowPermille) / 1000;
    if (settings.Pacing.On == 0)
        return static_cast<uint32_t>(std::clamp<uint64_t>(ms, 1, SettingsTable::Duration.High));
    const auto shortest = static_cast<uint64_t>(std::max(1, settings.Pacing.MinShow));
    return static_cast<uint32_t>(std::clamp<uint64_t>(ms, shortest, SettingsTable::Duration.High));
}

} // namespace Pacing
