// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

class CReadingSettings;

// What the paused view shows around the reader's place: the sentence before the unit (or
// the part of its sentence before it), the unit, and what follows it. Every edge is a
// byte offset at a word's start or end, never inside a word or a character, unless a
// single word is longer than the room given.
struct SPauseContext {
    int32_t From = 0;     // the context before the unit starts here
    int32_t UnitFrom = 0; // the unit
    int32_t UnitTo = 0;
    int32_t To = 0; // what follows ends here

    bool operator==(const SPauseContext&) const = default;
};

namespace PauseContext {

// Characters at most before the unit and after it.
inline constexpr int32_t MaxBefore = 240;
inline constexpr int32_t MaxAfter = 360;

// The context of the unit from unitFrom to unitTo in text, whose characters are counted
// as the settings count them.
SPauseContext Around(std::string_view text, int32_t unitFrom, int32_t unitTo,
                     const CReadingSettings& settings);

} // namespace PauseContext
