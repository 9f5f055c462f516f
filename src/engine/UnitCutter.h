// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Pacing.h"
#include "settings/SettingsTable.h"
#include "text/Utf8.h"

#include <cstddef>

// Largest MaxText, MinText and packing budget the cutter uses: the largest the
// settings allow. Larger values are brought down to it.
inline constexpr int MaxUnitBudget = SettingsTable::MaxUnitLength;

// Closing quotes and brackets a unit keeps after its stop symbol, at most.
inline constexpr int MaxClosings = 4;

// The unit buffer holds one display unit and its NUL: the longest unit is a budget
// of characters of up to four bytes each (a text held as UTF-8), plus the space after
// the last word or the stop symbol kept, and the closing quotes and brackets after it.
inline constexpr std::size_t UnitBufferSize =
    (MaxUnitBudget + 1 + MaxClosings) * Utf8::MaxCharacterBytes + 1;

// Index of the first NUL among the first n bytes of text, or -1; n <= 0 gives -1.
// Reads no byte after the first NUL.
int FindNul(const char* text, int n);

// Writes into unit the whole words of text (separated by spaces, tabs and line breaks,
// each shown as a space) that fit
// the budget, each followed by one space, and returns where the next unit begins.
// The budget is brought into 0..MaxUnitBudget; unit must hold budget + 2 bytes.
const char* PackWords(const char* text, char* unit, int budget);

// PackWords for a text held as UTF-8: the budget and the words are measured in
// characters. A word longer than the budget is split after budget characters, or
// before the letter whose combining marks would otherwise begin the next unit.
// unit must hold UnitBufferSize bytes.
const char* PackCharacterWords(const char* text, char* unit, int budget);

// Cuts the unit that starts at cursor into unit (UnitBufferSize bytes) and returns
// the new cursor, or nullptr at the end of the text, when unit holds the rest. A unit
// always has something to see but that rest; a stop symbol keeps the closing quotes and
// brackets right after it. In
// CharacterMode every length is counted in characters and the stop symbols are the
// characters of StopSimbols; a unit never ends inside a character.
// Settings out of range (MaxText < 1, values over 999) are brought into range here,
// so no settings value can make it read past the NUL or write past the buffer.
const char* CutUnit(const char* cursor, char* unit, const CReadingSettings& settings);

// The same cut by plain loops. CutUnit decides most units from 16-byte blocks where
// the processor allows; it must always agree with this one.
const char* CutUnitBytewise(const char* cursor, char* unit, const CReadingSettings& settings);

// True when text holds anything but spaces, tabs, line feeds and carriage returns:
// such a rest of the text is flashed as a last unit before the end is reported.
bool HasVisibleText(const char* text);

// What ended the unit whose bytes run from from to to (the cursor after it): the last
// symbol before its blanks and closing quotes, and the line breaks after that symbol.
// A line break alone ends no sentence (a text wrapped by hand has one on every line).
Pacing::End EndOfUnit(const char* from, const char* to, const CReadingSettings& settings);
