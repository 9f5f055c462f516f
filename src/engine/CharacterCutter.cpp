// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/CharacterCutter.h"

#include "engine/Separators.h"
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"
#include "text/Utf8.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <nmmintrin.h>
#define SKIMMET_CHARACTER_BLOCKS 1
#endif

// Prose held as UTF-8 is mostly letters of two or three bytes, and stepping through it
// character by character costs a branch at nearly every one. So where the processor
// has SSE4.2 and POPCNT, runs of text (a span before its stop symbol, a word) are
// measured 16 bytes at a time: a block whose continuation bytes are exactly those its
// lead bytes call for holds only whole characters, one for each byte that is not a
// continuation byte. Blocks that are not so plain (invalid bytes, the rarer leads
// whose second byte has a narrower range, the bytes near the NUL) and stop symbols
// that cannot be looked for a block at a time are left to the character loops, which
// are also the reference the blocks must agree with.

namespace {

// How far beyond the longest span the end test looks for the NUL, so that the blocks
// of a packed unit usually lie in bytes known to be readable.
constexpr int Lookahead = 64;

bool IsMark(char32_t c) {
    // Nothing below the combining diacritical marks is a mark; that spares the
    // property lookup for Latin letters and for lone bytes.
    return c >= 0x300 &&
           (u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_GENERAL_CATEGORY_MASK) &
            U_GC_M_MASK) != 0;
}

// The characters of StopSimbols (at most its first 63 bytes). A one-byte symbol is a
// bit of a 256-bit set; a longer one is found by its lead byte and then its bytes.
class CCharacterStops {
public:
    explicit CCharacterStops(const char* symbols) {
        const int length = static_cast<int>(strnlen(symbols, CReadingSettings::MaxStopSymbols));
        for (int at = 0; at < length;) {
            const int n = Utf8::CharacterLength(symbols + at, length - at);
            Add(symbols + at, n);
            at += n;
        }
    }

    bool Contains(const char* p, int n) const {
        const auto lead = static_cast<uint8_t>(*p);
        if (n == 1)
            return Has(Single, lead);
        if (!Has(Leads, lead))
            return false;
        const uint32_t key = Key(p, n);
        return std::find(Multi, Multi + Count, key) != Multi + Count;
    }

    // Bytes of the one-byte symbols and of the longer ones, for the blocks: only
    // ASCII ones and a few longer ones can be looked for a block at a time.
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

    void Add(const char* p, int n) {
        const auto lead = static_cast<uint8_t>(*p);
        if (n == 1) {
            if (!Has(Single, lead) && SingleCount < BlockSingles)
                Singles[SingleCount] = *p;
            SingleCount += Has(Single, lead) ? 0 : 1;
            Blockable = Blockable && lead < 0x80;
            Put(Single, lead);
            return;
        }
        if (Count < BlockMultis) {
            std::memcpy(MultiBytes[Count], p, static_cast<std::size_t>(n));
            MultiLengths[Count] = n;
        }
        Put(Leads, lead);
        Multi[Count++] = Key(p, n);
    }

    bool Blockable = true;

    uint64_t Single[4] = {};
    uint64_t Leads[4] = {};
    uint32_t Multi[CReadingSettings::MaxStopSymbols / 2] = {};
    int Count = 0;
};

// The set of the last stop symbols seen: building it costs about as much as cutting a
// short unit, and the symbols hardly ever change. A zeroed key is the empty string,
// whose set the default one is.
const CCharacterStops& StopsOf(const char* symbols) {
    thread_local char key[CReadingSettings::StopSymbolsSize] = {};
    thread_local CCharacterStops stops("");
    if (std::memcmp(key, symbols, sizeof key) != 0) {
        std::memcpy(key, symbols, sizeof key);
        stops = CCharacterStops(symbols);
    }
    return stops;
}

bool IsUnconditional(const char* stop, int n, const CReadingSettings& settings) {
    const char* part = settings.UnconditionalPart();
    const char* end =
        settings.StopSimbols + strnlen(settings.StopSimbols, CReadingSettings::MaxStopSymbols);
    for (const char* p = part; p < end;) {
        const int length = Utf8::CharacterLength(p, static_cast<int>(end - p));
        if (length == n && std::memcmp(p, stop, static_cast<std::size_t>(n)) == 0)
            return true;
        p += length;
    }
    return false;
}

// Number of characters in the first n bytes of text (which hold no NUL before n),
// counting no further than limit.
int CountCharacters(const char* text, int n, int limit) {
    int count = 0;
    for (int at = 0; at < n && count < limit; ++count)
        at += Utf8::CharacterLength(text + at);
    return count;
}

// Where a run measured by blocks ended: at byte Bytes after Characters characters,
// on a character that ends the run when Found, else where the character loops go on.
// When Over, the run held more than limit characters: Characters is limit + 1 and
// the last of them, LastLength bytes long, ends before byte Bytes.
struct SRun {
    int Bytes = 0;
    int Characters = 0;
    bool Found = false;
    bool Over = false;
    int LastLength = 0;
};

// The blocks at the cursor the span was measured from, kept for packing its words:
// bit i of Starts is set when byte i begins a character, of Separators when it is a
// space or a tab. Only the first Bytes bytes were looked at.
struct SMeasured {
    __extension__ typedef unsigned __int128 Bits;
    static constexpr int Size = 128;
    int Bytes = 0;
    Bits Starts = 0;
    Bits Separators = 0;
};

#if SKIMMET_CHARACTER_BLOCKS

__m128i Load(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

uint32_t MaskOf(__m128i block, char c) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
}

constexpr int EqualAny = _SIDD_UBYTE_OPS | _SIDD_CMP_EQUAL_ANY | _SIDD_BIT_MASK;

// What ends a run in a block at p: the stop symbols, or the separators. The block
// holds no NUL, so it may be an implicit-length operand.
__attribute__((target("sse4.2"))) uint32_t EndsIn(const char* p, __m128i block,
                                                  const CCharacterStops* stops) {
    if (!stops)
        return MaskOf(block, ' ') | MaskOf(block, '\t');
    const __m128i singles = _mm_cmpistrm(Load(stops->Singles), block, EqualAny);
    auto ends = static_cast<uint32_t>(static_cast<uint16_t>(_mm_cvtsi128_si32(singles)));
    for (int i = 0; i < stops->MultiCount(); ++i) {
        __m128i all = _mm_set1_epi8(-1);
        for (int k = 0; k < stops->MultiLengths[i]; ++k)
            all = _mm_and_si128(
                all, _mm_cmpeq_epi8(Load(p + k), _mm_set1_epi8(stops->MultiBytes[i][k])));
        ends |= static_cast<uint32_t>(_mm_movemask_epi8(all));
    }
    return ends;
}

bool BlocksSupported() {
    static const bool supported =
        __builtin_cpu_supports("sse4.2") && __builtin_cpu_supports("popcnt");
    return supported;
}

// Measures the run at text by whole blocks, taking no more than limit characters. The
// first readable bytes at text hold no NUL; a block is taken when it and the three
// bytes after it are among them, so that a stop symbol may be matched across its end.
__attribute__((target("sse4.2,popcnt"))) SRun WalkBlocks(const char* text, int readable, int limit,
                                                         const CCharacterStops* stops,
                                                         SMeasured* measured = nullptr) {
    SRun run;
    uint32_t carry = 0; // continuation bytes the last block's leads call for in the next
    for (int i = 0; i + 16 + Utf8::MaxCharacterBytes - 1 <= readable; i += 16) {
        const __m128i block = Load(text + i);
        const auto high = static_cast<uint32_t>(_mm_movemask_epi8(block));
        const auto cont = static_cast<uint32_t>(
            _mm_movemask_epi8(_mm_cmplt_epi8(block, _mm_set1_epi8(static_cast<char>(0xC0)))));
        const uint32_t leads = high & ~cont;
        const uint32_t threes = high & static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpgt_epi8(
                                           block, _mm_set1_epi8(static_cast<char>(0xDF)))));
        // Four-byte leads and the leads with a narrower second byte, and C0 and C1.
        // (C0 and C1 are told apart from the other bytes by all their bits but the last.)
        uint32_t rare = MaskOf(_mm_and_si128(block, _mm_set1_epi8(static_cast<char>(0xFE))),
                               static_cast<char>(0xC0));
        if (threes != 0)
            rare |= (high & static_cast<uint32_t>(_mm_movemask_epi8(
                                _mm_cmpgt_epi8(block, _mm_set1_epi8(static_cast<char>(0xEF)))))) |
                    MaskOf(block, static_cast<char>(0xE0)) | MaskOf(block, static_cast<char>(0xED));
        const uint32_t expected = leads << 1 | threes << 2 | carry;
        if (rare != 0 || (expected & 0xFFFF) != cont)
            break;
        const uint32_t starts = ~cont & 0xFFFF;
        if (measured && i < SMeasured::Size) {
            measured->Starts |= SMeasured::Bits{starts} << i;
            measured->Separators |= SMeasured::Bits{MaskOf(block, ' ') | MaskOf(block, '\t')} << i;
            measured->Bytes = i + 16;
        }
        const uint32_t ends = EndsIn(text + i, block, stops) & starts;
        const uint32_t before = ends != 0 ? starts & ((1u << std::countr_zero(ends)) - 1) : starts;
        const int room = limit - run.Characters; // characters the run may still take
        if (__builtin_popcount(before) > room) {
            // Character number limit + 1 lies in this block.
            uint32_t rest = before;
            for (int k = 0; k < room; ++k)
                rest &= rest - 1;
            const int at = i + std::countr_zero(rest);
            const int length = Utf8::CharacterLength(text + at);
            return {at + length, limit + 1, false, true, length};
        }
        if (ends != 0)
            return {i + std::countr_zero(ends), run.Characters + __builtin_popcount(before), true};
        run = {i + 16, run.Characters + __builtin_popcount(starts)};
        carry = expected >> 16;
    }
    if (carry != 0) {
        // The last character taken goes on into the block not taken: give it back.
        int lead = run.Bytes - 1;
        while (Utf8::IsContinuation(static_cast<unsigned char>(text[lead])))
            --lead;
        run = {lead, run.Characters - 1};
    }
    return run;
}

#else

SRun WalkBlocks(const char*, int, int, const CCharacterStops*, SMeasured* = nullptr) {
    return {};
}

bool BlocksSupported() {
    return false;
}

#endif

struct SWord {
    int Bytes = 0;
    int Characters = 0;
    int LastLength = 0; // bytes of the last character copied
};

int LowestBit(SMeasured::Bits bits) {
    const auto low = static_cast<uint64_t>(bits);
    return low != 0 ? std::countr_zero(low)
                    : 64 + std::countr_zero(static_cast<uint64_t>(bits >> 64));
}

int BitCount(SMeasured::Bits bits) {
    return std::popcount(static_cast<uint64_t>(bits)) +
           std::popcount(static_cast<uint64_t>(bits >> 64));
}

SMeasured::Bits BitsBelow(int n) {
    return n >= SMeasured::Size ? ~SMeasured::Bits{0} : (SMeasured::Bits{1} << n) - 1;
}

// The word at byte at of the measured blocks, as the character loop would measure it
// with limit; false when its end does not lie in the blocks. Only where the blocks
// were measured, so the processor has POPCNT.
__attribute__((target("popcnt"))) bool MeasureWord(const SMeasured& measured, const char* text,
                                                   int at, int limit, SWord& w) {
    if (at >= measured.Bytes)
        return false;
    const SMeasured::Bits region = BitsBelow(measured.Bytes) & ~BitsBelow(at);
    const SMeasured::Bits separators = measured.Separators & region;
    if (separators == 0)
        return false;
    const int end = LowestBit(separators);
    SMeasured::Bits starts = measured.Starts & region & BitsBelow(end);
    const int count = BitCount(starts);
    if (count <= limit) {
        w = {end - at, count, 0};
        return true;
    }
    for (int k = 0; k < limit; ++k)
        starts &= starts - 1;
    const int last = LowestBit(starts);
    const int length = Utf8::CharacterLength(text + last);
    w = {last + length - at, limit + 1, length};
    return true;
}

// Copies the word at word into out while measuring it, looking at no more than
// limit + 1 characters (see CopyWord of the byte cut). readable and measured tell
// what is known of the text at its start.
SWord CopyWordCharacters(const char* text, const char* word, char* out, std::ptrdiff_t writable,
                         int limit, int readable, const SMeasured* measured) {
    SWord w;
    const int at = static_cast<int>(word - text);
    if (measured && MeasureWord(*measured, text, at, limit, w)) {
        // decided from the blocks the span was measured from
    } else if (readable > at) {
        const SRun run = WalkBlocks(word, readable - at, limit, nullptr);
        w = {run.Bytes, run.Characters, run.LastLength};
    }
    while (w.Characters <= limit) {
        const char c = word[w.Bytes];
        if (c == '\0' || IsSeparator(c))
            break;
        const int n = Utf8::CharacterLength(word + w.Bytes);
        w.Bytes += n;
        w.LastLength = n;
        ++w.Characters;
    }
#if SKIMMET_CHARACTER_BLOCKS
    // Most words are short: one block copies them, the bytes after them in out are
    // overwritten by what follows.
    if (w.Bytes <= 16 && readable - at >= 16 && writable >= 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), Load(word));
        return w;
    }
#endif
    std::memcpy(out, word, static_cast<std::size_t>(w.Bytes));
    return w;
}

// Where a word longer than the unit is split: after its first budget characters
// (ending at byte cut), unless the character there is a combining mark. Then the
// split moves back to the start of the letter the marks belong to, so that the next
// unit does not begin with a mark, unless that would leave the unit empty.
int SplitPoint(const char* word, int cut, int nextLength) {
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

// Pack decided from the measured blocks alone, when the unit and the byte after it lie
// in them and hold no run of two separators, so that the unit is a stretch of the
// text with its separators shown as spaces. nullptr when the blocks cannot decide.
__attribute__((target("popcnt"))) const char*
PackFromMeasured(const SMeasured& measured, const char* text, char* unit, int budget) {
    const SMeasured::Bits region = BitsBelow(measured.Bytes);
    const SMeasured::Bits separators = measured.Separators & region;
    const auto wordEnd = [&](int at) {
        const SMeasured::Bits after = separators & ~BitsBelow(at);
        return after != 0 ? LowestBit(after) : -1;
    };
    const auto characters = [&](int from, int to) {
        return BitCount(measured.Starts & BitsBelow(to) & ~BitsBelow(from));
    };
    const SMeasured::Bits letters = ~separators & region;
    if (letters == 0)
        return nullptr;
    const int start = LowestBit(letters);
    int end = wordEnd(start);
    if (end < 0)
        return nullptr;
    if (const int n = characters(start, end); n > budget) {
        SMeasured::Bits starts = measured.Starts & BitsBelow(end) & ~BitsBelow(start);
        for (int k = 0; k < budget; ++k)
            starts &= starts - 1;
        const int at = LowestBit(starts);
        const char* word = text + start;
        const int cut = SplitPoint(word, at - start, Utf8::CharacterLength(text + at));
        std::memcpy(unit, word, static_cast<std::size_t>(cut));
        unit[cut] = '\0';
        return word + cut;
    } else {
        int used = n + 1;
        for (;;) {
            const int next = end + 1; // the word after the one separator
            if (next >= measured.Bytes || ((separators >> next) & 1) != 0)
                return nullptr;
            const int room = budget - used - 1;
            if (room < 0)
                break;
            const int after = wordEnd(next);
            if (after < 0)
                return nullptr;
            const int m = characters(next, after);
            if (m > room)
                break;
            used += m + 1;
            end = after;
        }
    }
    const int length = end + 1 - start;
    std::memcpy(unit, text + start, static_cast<std::size_t>(length));
    for (SMeasured::Bits gaps = separators & BitsBelow(end + 1) & ~BitsBelow(start); gaps != 0;
         gaps &= gaps - 1)
        unit[LowestBit(gaps) - start] = ' ';
    unit[length] = '\0';
    return text + end + 1;
}

// PackCharacterWords, with the first readable bytes at text known to hold no NUL, and
// maybe some of them measured.
const char* Pack(const char* text, char* unit, int budget, int readable,
                 const SMeasured* measured = nullptr) {
    budget = std::clamp(budget, 0, MaxUnitBudget);
    if (measured) {
        if (const char* next = PackFromMeasured(*measured, text, unit, budget))
            return next;
    }
    const char* word = SkipSeparators(text);
    SWord w = CopyWordCharacters(text, word, unit, UnitBufferSize, budget, readable, measured);
    if (w.Characters > budget) {
        const int cut = SplitPoint(word, w.Bytes - w.LastLength, w.LastLength);
        unit[cut] = '\0';
        return word + cut;
    }

    char* out = unit;
    int used = 0;
    for (;;) {
        out += w.Bytes;
        *out++ = ' ';
        used += w.Characters + 1;
        word = SkipSeparators(word + w.Bytes);
        const int room = budget - used - 1;
        if (room < 0)
            break;
        w = CopyWordCharacters(text, word, out, unit + UnitBufferSize - out, room, readable,
                               measured);
        if (w.Characters > room)
            break;
    }
    *out = '\0';
    return word;
}

} // namespace

const char* PackCharacterWords(const char* text, char* unit, int budget) {
    return Pack(text, unit, budget, 0);
}

const char* CutCharacterUnit(const char* cursor, char* unit, const CReadingSettings& settings,
                             bool blocks) {
    const int maxText = SettingsTable::MaxText.Bounded(settings.MaxText);
    const int minText = SettingsTable::MinText.Bounded(settings.MinText);

    // The end test: maxText characters take at most four times as many bytes. It looks
    // a little further to learn how many bytes the blocks may read.
    const int longest = maxText * Utf8::MaxCharacterBytes;
    const int probed = longest + Lookahead;
    const int probe = static_cast<int>(strnlen(cursor, static_cast<std::size_t>(probed)));
    if (probe < longest && CountCharacters(cursor, probe, maxText) < maxText) {
        std::memcpy(unit, cursor, static_cast<std::size_t>(probe) + 1);
        return nullptr;
    }
    const CCharacterStops& stops = StopsOf(settings.StopSimbols);
    const int readable = blocks && stops.BlockUsable() && BlocksSupported() ? probe : 0;

    // The span up to the first stop symbol or the NUL, looking at no more than
    // maxText + 1 characters.
    SMeasured measured;
    const SRun run =
        readable > 0 ? WalkBlocks(cursor, readable, maxText, &stops, &measured) : SRun{};
    int at = run.Bytes;
    int count = run.Characters;
    int stopLength = run.Found ? Utf8::CharacterLength(cursor + at) : 0;
    for (; !run.Found && !run.Over && count <= maxText && cursor[at] != '\0'; ++count) {
        const int n = Utf8::CharacterLength(cursor + at);
        if (stops.Contains(cursor + at, n)) {
            stopLength = n;
            break;
        }
        at += n;
    }
    if (count > maxText)
        return Pack(cursor, unit, maxText, readable, readable > 0 ? &measured : nullptr);
    const char* stop = cursor + at;
    if (count < minText && *stop != '\0' && !IsUnconditional(stop, stopLength, settings))
        return Pack(cursor, unit, minText, readable, readable > 0 ? &measured : nullptr);

    // A stop symbol right before a line break is dropped: the break already ends it.
    int unitLength = at;
    if (*stop != '\0' && stop[stopLength] != '\n' && stop[stopLength] != '\r')
        unitLength += stopLength;
    std::memcpy(unit, cursor, static_cast<std::size_t>(unitLength));
    unit[unitLength] = '\0';

    const char* next = stop;
    while (*next != '\0') {
        const int n = Utf8::CharacterLength(next);
        if (!stops.Contains(next, n))
            break;
        next += n;
    }
    return next;
}
