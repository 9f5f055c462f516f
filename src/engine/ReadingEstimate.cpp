// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReadingEstimate.h"

#include <cstdio>

namespace {
const char* const Separator = " \xC2\xB7 "; // a middle dot between spaces
}

double CReadingEstimate::PositionPercent(int32_t offset, int32_t textLength) {
    return textLength > 0 ? static_cast<double>(offset) / static_cast<double>(textLength) * 100.0
                          : 0.0;
}

std::string CReadingEstimate::TimeText(uint64_t ms) {
    const uint64_t seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return std::to_string(seconds) + " s";
    const uint64_t minutes = seconds / 60;
    if (minutes < 60)
        return std::to_string(minutes) + " min";
    char text[48];
    std::snprintf(text, sizeof text, "%llu h %02llu min",
                  static_cast<unsigned long long>(minutes / 60),
                  static_cast<unsigned long long>(minutes % 60));
    return text;
}

std::string CReadingEstimate::Text() const {
    std::string text;
    if (Chapter)
        text += "Ch " + std::to_string(Chapter->first) + '/' + std::to_string(Chapter->second) +
                std::string(Separator);
    text += std::to_string(static_cast<int64_t>(PositionPercent(Offset, TextLength)));
    text += '%';
    if (!Left)
        return text;
    const uint64_t units = Left->Units > 0 ? static_cast<uint64_t>(Left->Units) : 0;
    const uint64_t ms = units * UnitMs;
    text += Separator;
    if (Chapter && ChapterLeft) {
        const uint64_t chapterUnits =
            ChapterLeft->Units > 0 ? static_cast<uint64_t>(ChapterLeft->Units) : 0;
        text += TimeText(chapterUnits * UnitMs) + " left in chapter" + std::string(Separator);
    }
    if (About)
        text += "about ";
    text += TimeText(ms);
    if (!(Chapter && ChapterLeft))
        text += " left";
    if (ms == 0)
        return text;
    const double words = Left->Words > 0 ? static_cast<double>(Left->Words) : 0.0;
    const auto wpm = static_cast<int64_t>(words * 60000.0 / static_cast<double>(ms) + 0.5);
    return text + Separator + std::to_string(wpm) + " wpm";
}
