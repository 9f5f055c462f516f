// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Texts held as UTF-8 are cut and placed by characters. A byte that does not begin a
// well-formed sequence (a stray continuation, an overlong form, a surrogate, a code
// point beyond U+10FFFF, a sequence cut short) is a character of its own, so every
// byte string is a sequence of characters and no byte is ever lost.
namespace Utf8 {

inline constexpr int MaxCharacterBytes = 4;

inline bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length of the character at p: 1 to 4. Reads the bytes after p only while they are
// continuation bytes and no more than available of them, so it stops at a NUL.
inline int CharacterLength(const char* text, int available = MaxCharacterBytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char lead = p[0];
    if (lead < 0xC2)
        return 1; // ASCII, a stray continuation, or an overlong two-byte lead
    // The second byte's range narrows after E0, ED, F0 and F4: that excludes overlong
    // forms, surrogates and code points beyond U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    int length = 2;
    if (lead >= 0xF5)
        return 1;
    if (lead >= 0xF0) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else if (lead >= 0xE0) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    }
    if (available < length || p[1] < low || p[1] > high)
        return 1;
    for (int i = 2; i < length; ++i) {
        if (!IsContinuation(p[i]))
            return 1;
    }
    return length;
}

// The code point of the character at p of the given length (a lone byte gives its
// own value, which no property lookup confuses with a letter's mark).
inline char32_t CodePoint(const char* text, int length) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    if (length == 1)
        return p[0];
    static constexpr unsigned char LeadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
    char32_t c = p[0] & LeadMask[length];
    for (int i = 1; i < length; ++i)
        c = c << 6 | (p[i] & 0x3F);
    return c;
}

} // namespace Utf8
