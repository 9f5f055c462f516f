// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "settings/ReadingSettings.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Whether the unit of counting at c, n bytes long, is one of symbols read in the
// measure (bytes, or characters of UTF-8).
template <class TMeasure> bool IsSymbolAmong(std::string_view symbols, const char* c, int n) {
    for (std::size_t at = 0; at < symbols.size();) {
        const auto left = std::min<std::size_t>(symbols.size() - at, Utf8::MaxCharacterBytes);
        const int length = TMeasure::Length(symbols.data() + at, static_cast<int>(left));
        // length, not n: in bytes the compiler knows it is 1.
        if (length == n &&
            std::memcmp(symbols.data() + at, c, static_cast<std::size_t>(length)) == 0)
            return true;
        at += static_cast<std::size_t>(length);
    }
    return false;
}

// The stop symbols of StopSimbols (at most its first 63 bytes), read as bytes or as
// characters of UTF-8. A one-byte symbol is a bit of a 256-bit set; a longer one is
// found by its lead byte and then its bytes.
class CStopSet {
public:
    // The empty set, what an all-NUL StopSimbols holds.
    CStopSet() = default;
    CStopSet(const char* symbols, bool characters);

    bool Contains(const char* p, int n) const {
        const auto lead = static_cast<uint8_t>(*p);
        if (n == 1)
            return Has(Single, lead);
        if (!Has(Leads, lead))
            return false;
        const uint32_t key = Key(p, n);
        return std::find(Multi, Multi + Count, key) != Multi + Count;
    }

    // Bytes of the one-byte symbols and of the longer ones, for the blocks: only a few
    // symbols can be looked for a block at a time, and in characters only ASCII ones
    // among the one-byte symbols, as a lone byte of 0x80 or over may be part of a
    // character.
    static constexpr int BlockSingles = 15;
    static constexpr int BlockMultis = 4;
    int MultiCount() const { return Count; }
    bool BlockUsable() const {
        return Blockable && SingleCount <= BlockSingles && Count <= BlockMultis;
    }
    int SingleCount = 0;
    char Singles[BlockSingles + 1] = {}; // and a NUL: a compare set for SSE4.2
    char MultiBytes[BlockMultis][Utf8::MaxCharacterBytes] = {};
    int MultiLengths[BlockMultis] = {};

private:
    static bool Has(const uint64_t* bits, uint8_t b) { return (bits[b >> 6] >> (b & 63)) & 1; }
    static void Put(uint64_t* bits, uint8_t b) { bits[b >> 6] |= uint64_t{1} << (b & 63); }

    // The lead byte fixes the length, so the bytes alone tell characters apart.
    static uint32_t Key(const char* p, int n) {
        uint32_t key = 0;
        for (int i = 0; i < n; ++i)
            key = key << 8 | static_cast<uint8_t>(p[i]);
        return key;
    }

    void Add(const char* p, int n, bool characters);

    bool Blockable = true;

    uint64_t Single[4] = {};
    uint64_t Leads[4] = {};
    uint32_t Multi[CReadingSettings::MaxStopSymbols / 2] = {};
    int Count = 0;
};
