// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// The Faster and Slower keys: the gap (freq) and the show time (durat) divided or
// multiplied by 1.1, rounded to the nearest millisecond, within the 1..30000 ms the
// options accept. Where rounding would give the same length again (5 / 1.1 is 4.5
// and rounds back to 5) the step is one millisecond, so that every press below the
// bound changes something; at the bound the length stays.
namespace ReadingSpeed {

inline constexpr uint32_t Shortest = 1;
inline constexpr uint32_t Longest = 30000;

uint32_t Faster(uint32_t ms);
uint32_t Slower(uint32_t ms);

} // namespace ReadingSpeed
