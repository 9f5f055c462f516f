// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

class CReadingSettings;

// Pacing by content: a unit's show time follows what it holds, the gap before it what
// ended the unit before, and the first units of a run are slower.
namespace Pacing {

// What ended a unit: nothing (a packed unit), a conditional stop symbol, an
// unconditional one, or a paragraph (a line break after a line break, or after an
// unconditional stop symbol).
enum class End { None, Clause, Sentence, Paragraph };

// The times of one unit, as thousandths of the settings' gap and show time, so that an
// edit of those applies to a unit already paced.
struct SPace {
    int32_t GapPermille = 1000;
    int32_t ShowPermille = 1000;
};

// The pace of unit, the unitsIntoRun-th unit since a run or a jump (from 0), after a
// unit that before ended. With pacing off every unit takes the fixed times.
SPace PaceOf(std::string_view unit, End before, int unitsIntoRun, const CReadingSettings& settings);

// Thousandths of the full pace's times the unitsIntoRun-th unit of a gentle start takes:
// the first StartTime percent, each next a step less, until StartUnits units are done.
int64_t StartPermille(int unitsIntoRun, const CReadingSettings& settings);

uint32_t GapMs(const SPace& pace, const CReadingSettings& settings);
uint32_t ShowMs(const SPace& pace, const CReadingSettings& settings);

} // namespace Pacing
