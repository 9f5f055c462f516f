// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CReadingSettings;

// The cut of CutUnit for texts held as UTF-8: the same rules, with characters counted
// where the byte cut counts bytes. With blocks set, runs of text are measured 16 bytes
// at a time where the processor allows; the result is the same either way.
const char* CutCharacterUnit(const char* cursor, char* unit, const CReadingSettings& settings,
                             bool blocks);
