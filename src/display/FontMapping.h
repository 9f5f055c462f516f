// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/LogFont.h"

#include <QFont>

// Between the stored font description (a Windows LOGFONT) and Qt fonts. The display
// font and the font dialog of the options panel both go through here.

inline constexpr int MinFontPixels = 6;
inline constexpr int MaxFontPixels = 1000;
// Height 0 asks for "the usual size"; the program's own default character height.
inline constexpr int DefaultFontPixels = 48;

// A usable font for any description: heights are brought into
// MinFontPixels..MaxFontPixels, and a face that is not installed gives way to an
// installed family of the same kind (a heavy sans face for "Arial Black"), chosen by
// the well-known Windows faces, then by pitch and family, and by the character set's
// script.
QFont FontFromLogFont(const LogFont& description);

// The description of font as the font dialog hands it back. Fields that a QFont does
// not carry (escapement, orientation, character set, precisions, quality) are taken
// from previous; lfWidth becomes 0, the natural width.
LogFont LogFontFromFont(const QFont& font, const LogFont& previous);

// The font the font system actually draws for font: the resolved family, style,
// weight, slant and pixel size, which a font dialog can show as they are.
QFont ShownFont(const QFont& font);
// Both draw with the same face, style, size and decorations.
bool SameShownFont(const QFont& a, const QFont& b);

// The face name of a description (at most 31 bytes, read up to its NUL).
QString FaceName(const LogFont& description);
