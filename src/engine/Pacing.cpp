// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Pacing.h"

#include "engine/Separators.h"
#include "settings/ReadingSettings.h"
#include "settings/SettingsTable.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cctype>

namespace Pacing {

namespace {

// What a unit holds that its show time follows.
struct SContent {
    int64_t Characters = 0;
    int64_t LongWords = 0;
    int64_t Numbers = 0;
};

int64_t CharacterCount(std::string_view text, bool characters) {
    if (!characters)
        return static_cast<int64_t>(text.size());
    return std::count_if(text.begin(), text.end(), [](char c) {
        return !Utf8::IsContinuation(static_cast<unsigned char>(c));
    });
}

SContent ContentOf(std::string_view unit, const CReadingSettings& settings) {
    SContent content;
    const size_t first = std::find_if_not(unit.begin(), unit.end(), IsBlank) - unit.begin();
    const size_t end = unit.rend() - std::find_if_not(unit.rbegin(), unit.rend(), IsBlank);
    if (first >= end)
        return content;
    const std::string_view visible = unit.substr(first, end - first);
    content.Characters = CharacterCount(visible, settings.CharacterMode);
    size_t at = 0;
    while (at < visible.size()) {
        const size_t wordEnd =
            std::find_if(visible.begin() + at, visible.end(), IsBlank) - visible.begin();
        const std::string_view word = visible.substr(at, wordEnd - at);
        if (std::any_of(word.begin(), word.end(),
                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            ++content.Numbers;
        else if (CharacterCount(word, settings.CharacterMode) >= settings.Pacing.LongWord)
            ++content.LongWords;
        at = std::find_if_not(visible.begin() + wordEnd, visible.end(), IsBlank) - visible.begin();
    }
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

// Thousandths of the full pace's times the unit takes: the first of a run take
// StartTime percent, and each next one a step less, until StartUnits units are done.
int64_t StartPermille(int unitsIntoRun, const CReadingSettings::SPacing& pacing) {
    const int64_t units = std::max(0, pacing.StartUnits);
    if (unitsIntoRun >= units)
        return 1000;
    const int64_t extra = (std::max(100, pacing.StartTime) - 100) * 10;
    return 1000 + extra * (units - unitsIntoRun) / units;
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
    const int64_t start = StartPermille(unitsIntoRun, pacing);
    const int64_t show = (1000 + length + words) * start / 1000;
    const int64_t gap = int64_t{GapPercent(before, pacing)} * 10 * start / 1000;
    return {Clamped(gap), Clamped(show)};
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
