#pragma once

#include <cstddef>

class CReadingSettings;

// The unit buffer holds one display unit and its NUL: at most 1001 + 1 bytes.
inline constexpr std::size_t UnitBufferSize = 1002;

// Largest MaxText, MinText and packing budget the cutter uses; larger values are
// brought down to it, so that the longest unit (budget + 1 bytes) and its NUL fit.
inline constexpr int MaxUnitBudget = static_cast<int>(UnitBufferSize) - 3;

// Index of the first NUL among the first n bytes of text, or -1; n <= 0 gives -1.
// Reads no byte after the first NUL.
int FindNul(const char* text, int n);

// Writes into unit the whole words of text (separated by spaces and tabs) that fit
// the budget, each followed by one space, and returns where the next unit begins.
// The budget is brought into 0..MaxUnitBudget; unit must hold budget + 2 bytes.
const char* PackWords(const char* text, char* unit, int budget);

// Cuts the unit that starts at cursor into unit (UnitBufferSize bytes) and returns
// the new cursor, or nullptr at the end of the text, when unit holds the rest.
// Settings out of range (MaxText < 1, values over 999) are brought into range here,
// so no settings value can make it read past the NUL or write past the buffer.
const char* CutUnit(const char* cursor, char* unit, const CReadingSettings& settings);

// The same cut by plain byte loops. CutUnit decides most units from 16-byte blocks
// where the processor allows; it must always agree with this one.
const char* CutUnitBytewise(const char* cursor, char* unit, const CReadingSettings& settings);

// True when text holds anything but spaces, tabs, line feeds and carriage returns:
// such a rest of the text is flashed as a last unit before the end is reported.
bool HasVisibleText(const char* text);
