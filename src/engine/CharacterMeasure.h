// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/Utf8.h"

// The measure of a text held as UTF-8: the unit of counting is the character (see
// Utf8.h for bytes that begin no well-formed sequence), and the stop symbols are the
// characters of StopSimbols.
struct CharacterMeasure {
    static constexpr bool Characters = true;
    static constexpr int MaxUnitBytes = Utf8::MaxCharacterBytes;

    static int Length(const char* p, int available = MaxUnitBytes) {
        return Utf8::CharacterLength(p, available);
    }

    // Where a word longer than the unit is split: after its first budget characters
    // (ending at byte cut), unless the character there, nextLength bytes long, is a
    // combining mark. Then the split moves back to the start of the letter the marks
    // belong to, so that the next unit does not begin with a mark, unless that would
    // leave the unit empty.
    static int SplitPoint(const char* word, int cut, int nextLength);
};
