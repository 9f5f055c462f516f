// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CharacterMeasure.h"

#include <unicode/uchar.h>

namespace {

bool IsMark(char32_t c) {
    // Nothing below the combining diacritical marks is a mark; that spares the
    // property lookup for Latin letters and for lone bytes.
    return c >= 0x300 &&
           (u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_GENERAL_CATEGORY_MASK) &
            U_GC_M_MASK) != 0;
}

} // namespace

int CharacterMeasure::SplitPoint(const char* word, int cut, int nextLength) {
    if (!IsMark(Utf8::CodePoint(word + cut, nextLength)))
        return cut;
    int letter = 0;
    for (int at = 0; at < cut;) {
        const int n = Utf8::CharacterLength(word + at);
        if (!IsMark(Utf8::CodePoint(word + at, n)))
            letter = at;
        at += n;
    }
    return letter > 0 ? letter : cut;
}
