// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The measure of a text not known to be UTF-8: every byte is a unit of counting, and
// every byte of StopSimbols is a stop symbol of its own. The cutter counts a text in a
// measure (this one or CharacterMeasure), so that one set of cutting rules serves both.
struct ByteMeasure {
    static constexpr bool Characters = false;
    // Bytes one unit of counting may take.
    static constexpr int MaxUnitBytes = 1;

    // Length of the unit of counting at p.
    static int Length(const char*, int = MaxUnitBytes) { return 1; }

    // Where a word longer than the unit is split, given the byte cut where its first
    // budget units end: a byte holds no mark that could begin the next unit.
    static int SplitPoint(const char*, int cut, int) { return cut; }
};
