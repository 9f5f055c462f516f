// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Texts held as UTF-8 are cut and placed by characters. A byte that does not begin a
// well-formed sequence (a stray continuation, an overlong form, a surrogate, a code
// point beyond U+10FFFF, a sequence cut short) is a character of its own, so every
// byte string is a sequence of characters and no byte is ever lost.
namespace Utf8 {

inline constexpr int MaxCharacterBytes = 4;

inline bool IsContinuation(unsigned char b) {
    return (b & 0xC0) == 0x80;
}

// Length of the sequence a lead byte announces: 2 to 4, or 1 for ASCII and for a byte
// that begins no sequence (a continuation, an overlong two-byte lead, F5 and above).
inline int AnnouncedLength(unsigned char lead) {
    if (lead < 0xC2 || lead >= 0xF5)
        return 1;
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    return 2;
}

// Length of the character at p: 1 to 4. Reads the bytes after p only while they are
// continuation bytes and no more than available of them, so it stops at a NUL.
inline int CharacterLength(const char* text, int available = MaxCharacterBytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const unsigned char lead = p[0];
    const int length = AnnouncedLength(lead);
    if (length == 1)
        return 1;
    // The second byte's range narrows after E0, ED, F0 and F4: that excludes overlong
    // forms, surrogates and code points beyond U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead == 0xE0)
        low = 0xA0;
    else if (lead == 0xF0)
        low = 0x90;
    else if (lead == 0xED)
        high = 0x9F;
    else if (lead == 0xF4)
        high = 0x8F;
    if (available < length || p[1] < low || p[1] > high)
        return 1;
    for (int i = 2; i < length; ++i) {
        if (!IsContinuation(p[i]))
            return 1;
    }
    return length;
}

// Length of the character at the start of bytes (not empty), reading none beyond them.
inline int LengthAtStart(std::string_view bytes) {
    const auto available = static_cast<int>(
        std::min<std::size_t>(bytes.size(), static_cast<std::size_t>(MaxCharacterBytes)));
    return CharacterLength(bytes.data(), available);
}

// Length of the well-formed character at the start of bytes (not empty), 0 when its
// first byte begins none: what a strict decoder accepts as one character.
inline std::size_t WellFormedLength(std::string_view bytes) {
    const int length = LengthAtStart(bytes);
    const bool wellFormed = length > 1 || static_cast<unsigned char>(bytes.front()) < 0x80;
    return wellFormed ? static_cast<std::size_t>(length) : 0;
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
