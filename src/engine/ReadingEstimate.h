// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/UnitCounter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// The words of the estimate, English unless the windows give them in the reader's
// language; %1 and %2 stand for the numbers.
struct SEstimateWords {
    std::string Chapter = "Ch %1/%2";
    std::string Seconds = "%1 s";
    std::string Minutes = "%1 min";
    std::string Hours = "%1 h %2 min"; // %2: minutes, two digits
    std::string LeftInChapter = "%1 left in chapter";
    std::string Left = "%1 left";
    std::string About = "about %1";
    std::string Wpm = "%1 wpm";
};

// What the status pane says of a reading: how far it is, how long the rest takes and
// at what speed, as "42% · 12 min left · 310 wpm".
class CReadingEstimate {
public:
    // Share of the text before offset, in percent: divided first and multiplied after,
    // in double precision, as the position line shows it. 0 for an empty text.
    static double PositionPercent(int32_t offset, int32_t textLength);
    // Whole seconds, rounded up so that any time left shows: "N s" under a minute,
    // then whole minutes cut down, "N min" under an hour and "H h MM min" from one.
    static std::string TimeText(uint64_t ms, const SEstimateWords& words = {});

    int32_t Offset = 0;
    int32_t TextLength = 0;
    // The units and words still to come; none while they are being counted.
    std::optional<CUnitCounter::SCount> Left;
    // Left is a first estimate made from part of the text.
    bool About = false;
    // A unit's gap and show time, freq + durat.
    uint64_t UnitMs = 0;
    // In a text with chapters: the place's chapter (from 1) and how many there are.
    std::optional<std::pair<std::size_t, std::size_t>> Chapter;
    // The units and words to come in the chapter, once counted.
    std::optional<CUnitCounter::SCount> ChapterLeft;

    // "Ch 3/20 · 42% · 12 min left in chapter · 3 h 10 min · 310 wpm" with chapters; the
    // speed is left out when nothing is left to read.
    std::string Text(const SEstimateWords& words = {}) const;
};
