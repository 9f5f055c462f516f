// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReadingEstimate.h"

#include <cstdio>
#include <string_view>

namespace {
const std::string Separator = " \xC2\xB7 "; // a middle dot between spaces

// format with %1 (and %2) replaced by first (and second); a marker missing from a
// translation leaves its number out rather than failing.
std::string Filled(std::string_view format, std::string_view first, std::string_view second = {}) {
    std::string text;
    for (std::size_t at = 0; at < format.size(); ++at) {
        const bool marker = format[at] == '%' && at + 1 < format.size() &&
                            (format[at + 1] == '1' || format[at + 1] == '2');
        if (!marker) {
            text += format[at];
            continue;
        }
        text += format[at + 1] == '1' ? first : second;
        ++at;
    }
    return text;
}
} // namespace

double CReadingEstimate::PositionPercent(int32_t offset, int32_t textLength) {
    return textLength > 0 ? static_cast<double>(offset) / static_cast<double>(textLength) * 100.0
                          : 0.0;
}

std::string CReadingEstimate::TimeText(uint64_t ms, const SEstimateWords& words) {
    const uint64_t seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return Filled(words.Seconds, std::to_string(seconds));
    const uint64_t minutes = seconds / 60;
    if (minutes < 60)
        return Filled(words.Minutes, std::to_string(minutes));
    char twoDigits[24];
    std::snprintf(twoDigits, sizeof twoDigits, "%02llu",
                  static_cast<unsigned long long>(minutes % 60));
    return Filled(words.Hours, std::to_string(minutes / 60), twoDigits);
}

std::string CReadingEstimate::Text(const SEstimateWords& words) const {
    std::string text;
    if (Chapter)
        text +=
            Filled(words.Chapter, std::to_string(Chapter->first), std::to_string(Chapter->second)) +
            Separator;
    text += std::to_string(static_cast<int64_t>(PositionPercent(Offset, TextLength)));
    text += '%';
    if (!Left)
        return text;
    const uint64_t units = Left->Units > 0 ? static_cast<uint64_t>(Left->Units) : 0;
    const uint64_t ms = units * UnitMs;
    text += Separator;
    const bool inChapter = Chapter && ChapterLeft;
    if (inChapter) {
        const uint64_t chapterUnits =
            ChapterLeft->Units > 0 ? static_cast<uint64_t>(ChapterLeft->Units) : 0;
        text += Filled(words.LeftInChapter, TimeText(chapterUnits * UnitMs, words)) + Separator;
    }
    std::string rest = TimeText(ms, words);
    if (About)
        rest = Filled(words.About, rest);
    text += inChapter ? rest : Filled(words.Left, rest);
    if (ms == 0)
        return text;
    const double wordsLeft = Left->Words > 0 ? static_cast<double>(Left->Words) : 0.0;
    const auto wpm = static_cast<int64_t>(wordsLeft * 60000.0 / static_cast<double>(ms) + 0.5);
    return text + Separator + Filled(words.Wpm, std::to_string(wpm));
}
