// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

// Words are separated by spaces, tabs and line breaks, in every script: a word packed
// into a unit never runs on across a line's end.
inline bool IsSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

inline const char* SkipSeparators(const char* p) {
    while (IsSeparator(*p))
        ++p;
    return p;
}

// Blanks: the separators and the line breaks, what a reader does not see. A table, as
// counting the words still to come looks at every byte of the text.
inline constexpr std::array<bool, 256> BlankBytes = [] {
    std::array<bool, 256> blank{};
    for (const unsigned char c : {' ', '\t', '\r', '\n'})
        blank[c] = true;
    return blank;
}();

inline bool IsBlank(char c) {
    return BlankBytes[static_cast<unsigned char>(c)];
}
