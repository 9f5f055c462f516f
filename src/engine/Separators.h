// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Words are separated by spaces and tabs only, in every script: a line break is text.
inline bool IsSeparator(char c) {
    return c == ' ' || c == '\t';
}

inline const char* SkipSeparators(const char* p) {
    while (IsSeparator(*p))
        ++p;
    return p;
}
