// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/UnitCutter.h"

#include "engine/ByteMeasure.h"
#include "engine/CharacterMeasure.h"
#include "engine/Separators.h"
#include "engine/StopSet.h"
#include "settings/ReadingSettings.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#include <emmintrin.h>
#include <nmmintrin.h>
#define SKIMMET_BLOCKS 1
// Counting the set bits of the measured blocks, only ever done where they were measured.
#define SKIMMET_POPCNT __attribute__((target("popcnt")))
#else
#define SKIMMET_POPCNT
#endif

// One cut for both measures: a text not known to be UTF-8 is counted in bytes, one
// held as UTF-8 in characters, and the rules of the cut are the same in both.
//
// A whole text can be cut in one go (a gigabyte in a couple of seconds), and stepping
// through prose a unit of counting at a time costs a branch misprediction at nearly
// every word. So where the processor has SSE4.2 and POPCNT, runs of text (a span before
// its stop symbol, a word) are measured 16 bytes at a time. In bytes every byte starts
// a unit; in characters a block whose continuation bytes are exactly those its lead
// bytes call for holds only whole characters, one for each byte that is not a
// continuation byte. Blocks that are not so plain (invalid bytes, the rarer leads whose
// second byte has a narrower range, the bytes near the NUL), stop symbols that cannot
// be looked for a block at a time and units the measured blocks cannot decide are left
// to the plain loops, which are also the reference the blocks must agree with.

namespace {

// How far beyond the longest span the end test looks for the NUL, so that the blocks
// of a packed unit usually lie in bytes known to be readable.
constexpr int Lookahead = 32;

// MaxText and MinText within the bounds of the settings table: no settings value may
// make a unit longer than the unit buffer or stop the cursor.
struct SLimits {
    int MaxText;
    int MinText;
};

SLimits LimitsOf(const CReadingSettings& settings) {
    return {SettingsTable::MaxText.Bounded(settings.MaxText),
            SettingsTable::MinText.Bounded(settings.MinText)};
}

// Whether two StopSimbols fields hold the same bytes, all 64 of them: asked for every
// unit, so compared 16 bytes at a time where the processor allows.
bool SameSymbols(const char* a, const char* b) {
#if SKIMMET_BLOCKS
    __m128i same = _mm_set1_epi8(-1);
    for (int i = 0; i < CReadingSettings::StopSymbolsSize; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        same = _mm_and_si128(same, _mm_cmpeq_epi8(x, y));
    }
    return _mm_movemask_epi8(same) == 0xFFFF;
#else
    return std::memcmp(a, b, CReadingSettings::StopSymbolsSize) == 0;
#endif
}

// The stop symbols of the settings, and among them the unconditional ones.
struct SStops {
    CStopSet All;
    CStopSet Unconditional;
};

// The unconditional stop symbols: the tail of StopSimbols from UnconditionalPart on.
template <class TMeasure> CStopSet UnconditionalOf(const CReadingSettings& settings) {
    const char* symbols = settings.StopSimbols;
    const char* end = symbols + strnlen(symbols, CReadingSettings::MaxStopSymbols);
    const char* part = std::min(settings.UnconditionalPart(), end);
    char tail[CReadingSettings::StopSymbolsSize] = {};
    std::memcpy(tail, part, static_cast<std::size_t>(end - part));
    return CStopSet(tail, TMeasure::Characters);
}

// The sets of the last stop symbols seen: building them costs about as much as cutting
// a short unit, and the symbols hardly ever change. A zeroed key is the empty string,
// whose sets the first ones are; they need no initialization at each use. Looked up at
// every unit: in the thread's static block rather than through the dynamic-thread-vector
// lookup a position-independent build would otherwise call for (the cutter is linked
// into programs only, never into a module loaded at run time).
template <class TMeasure> const SStops& StopsOf(const CReadingSettings& settings) {
    struct SCache {
        char Key[CReadingSettings::StopSymbolsSize] = {};
        int32_t KeyOffset = 0;
        SStops Stops;
    };
    [[gnu::tls_model("initial-exec")]] thread_local SCache cache;
    if (!SameSymbols(cache.Key, settings.StopSimbols) || cache.KeyOffset != settings.UcOffset) {
        std::memcpy(cache.Key, settings.StopSimbols, sizeof cache.Key);
        cache.KeyOffset = settings.UcOffset;
        cache.Stops = {CStopSet(settings.StopSimbols, TMeasure::Characters),
                       UnconditionalOf<TMeasure>(settings)};
    }
    return cache.Stops;
}

// Number of units of counting in the first n bytes of text (which hold no NUL before
// n), counting no further than limit.
template <class TMeasure> int CountUnits(const char* text, int n, int limit) {
    int count = 0;
    for (int at = 0; at < n && count < limit; ++count)
        at += TMeasure::Length(text + at);
    return count;
}

// Where a run measured by blocks ended: at byte Bytes after Units units of counting,
// on one that ends the run when Found, else where the plain loops go on. When Over,
// the run held more than limit units: Units is limit + 1 and the last of them,
// LastLength bytes long, ends before byte Bytes.
struct SRun {
    int Bytes = 0;
    int Units = 0;
    bool Found = false;
    bool Over = false;
    int LastLength = 0;
};

// The blocks at the cursor the span was measured from, kept for packing its words:
// bit i of Starts is set when byte i begins a unit of counting, of Separators when it
// is a space or a tab. Only the first Bytes bytes were looked at. Bit i of Stops is
// set when byte i begins a stop symbol, for the first 64 of them.
struct SMeasured {
    __extension__ typedef unsigned __int128 Bits;
    static constexpr int Size = 128;
    int Bytes = 0;
    Bits Starts = 0;
    Bits Separators = 0;
    uint64_t Stops = 0;
};

// What the packer knows of the text at the cursor: its first Readable bytes hold no
// NUL, and Measured, when set, holds the blocks measured from it.
struct SKnown {
    int Readable = 0;
    const SMeasured* Measured = nullptr;
};

int LowestBit(SMeasured::Bits bits) {
    const auto low = static_cast<uint64_t>(bits);
    return low != 0 ? std::countr_zero(low)
                    : 64 + std::countr_zero(static_cast<uint64_t>(bits >> 64));
}

int HighestBit(SMeasured::Bits bits) {
    const auto high = static_cast<uint64_t>(bits >> 64);
    return high != 0 ? 127 - std::countl_zero(high)
                     : 63 - std::countl_zero(static_cast<uint64_t>(bits));
}

int LowestBit(uint64_t bits) {
    return std::countr_zero(bits);
}

int HighestBit(uint64_t bits) {
    return 63 - std::countl_zero(bits);
}

int BitCount(uint64_t bits) {
    return std::popcount(bits);
}

template <class TBits = SMeasured::Bits> TBits BitsBelow(int n) {
    return n >= static_cast<int>(sizeof(TBits)) * 8 ? ~TBits{0} : (TBits{1} << n) - 1;
}

// Byte of the set bit number n (from 0) of bits, which holds more than n: found a
// 16-bit part at a time, so that it takes no more than 15 steps in the part.
template <class TBits> int NthBit(TBits bits, int n) {
    int base = 0;
    for (;; base += 16) {
        const int count = std::popcount(static_cast<uint16_t>(bits >> base));
        if (n < count)
            break;
        n -= count;
    }
    auto part = static_cast<uint32_t>(static_cast<uint16_t>(bits >> base));
    for (int k = 0; k < n; ++k)
        part &= part - 1;
    return base + std::countr_zero(part);
}

int BitCount(SMeasured::Bits bits) {
    return std::popcount(static_cast<uint64_t>(bits)) +
           std::popcount(static_cast<uint64_t>(bits >> 64));
}

#if SKIMMET_BLOCKS

__m128i Load(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

uint32_t MaskOf(__m128i block, char c) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
}

constexpr int EqualAny = _SIDD_UBYTE_OPS | _SIDD_CMP_EQUAL_ANY | _SIDD_BIT_MASK;

// The separators of a block: its spaces, tabs and line breaks.
uint32_t SeparatorsIn(__m128i block) {
    return MaskOf(block, ' ') | MaskOf(block, '\t') | MaskOf(block, '\n') | MaskOf(block, '\r');
}

// What ends a run in a block at p: the stop symbols, or the separators. The block
// holds no NUL, so it may be an implicit-length operand. In bytes every symbol is a
// single byte, so the longer ones are not even asked for.
template <class TMeasure>
__attribute__((target("sse4.2"))) uint32_t EndsIn(const char* p, __m128i block,
                                                  const CStopSet* stops) {
    if (!stops)
        return SeparatorsIn(block);
    const __m128i singles = _mm_cmpistrm(Load(stops->Singles), block, EqualAny);
    auto ends = static_cast<uint32_t>(static_cast<uint16_t>(_mm_cvtsi128_si32(singles)));
    if constexpr (!TMeasure::Characters)
        return ends;
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

// The bytes of a block that begin a character, when the block is plain: its
// continuation bytes are exactly those its leads call for (carry: those the block
// before calls for in this one), and it holds none of the rarer leads. carry is set to
// what this block calls for in the next. False when the block is not plain.
bool CharacterStarts(__m128i block, uint32_t& carry, uint32_t& starts) {
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
        return false;
    carry = expected >> 16;
    starts = ~cont & 0xFFFF;
    return true;
}

void Record(SMeasured* measured, int i, __m128i block, uint32_t starts) {
    if (!measured || i >= SMeasured::Size)
        return;
    measured->Starts |= SMeasured::Bits{starts} << i;
    measured->Separators |= SMeasured::Bits{SeparatorsIn(block)} << i;
    measured->Bytes = i + 16;
}

// The last unit taken goes on into the block not taken: give it back.
template <class TMeasure> SRun GiveBackLast(const char* text, SRun run, uint32_t carry) {
    if (!TMeasure::Characters || carry == 0)
        return run;
    int lead = run.Bytes - 1;
    while (Utf8::IsContinuation(static_cast<unsigned char>(text[lead])))
        --lead;
    return {lead, run.Units - 1};
}

// The blocks that may be taken at text: a block is taken when it and the bytes a stop
// symbol may reach beyond it are among the readable ones, so that a symbol may be
// matched across its end.
template <class TMeasure> bool MayTake(int i, int readable) {
    return i + 16 + TMeasure::MaxUnitBytes - 1 <= readable;
}

// Where in a run the units of counting before its end (or all its units) hold more
// than room: the run is over there, at the unit after room of them.
template <class TMeasure> SRun OverAt(const char* text, int at) {
    const int length = TMeasure::Length(text + at);
    return {at + length, 0, false, true, length};
}

// Measures the run at text by whole blocks from byte i on, taking no more than limit
// units: run and carry tell how far the blocks before i went. The first readable bytes
// at text hold no NUL.
template <class TMeasure>
__attribute__((target("sse4.2,popcnt"))) SRun
WalkBlocksFrom(const char* text, int readable, int limit, const CStopSet* stops,
               SMeasured* measured, int i, SRun run, uint32_t carry) {
    for (; MayTake<TMeasure>(i, readable); i += 16) {
        const __m128i block = Load(text + i);
        uint32_t starts = 0xFFFF;
        if constexpr (TMeasure::Characters) {
            if (!CharacterStarts(block, carry, starts))
                break;
        }
        Record(measured, i, block, starts);
        const uint32_t ends = EndsIn<TMeasure>(text + i, block, stops) & starts;
        const uint32_t before = ends != 0 ? starts & ((1u << std::countr_zero(ends)) - 1) : starts;
        const int room = limit - run.Units; // units the run may still take
        if (__builtin_popcount(before) > room) {
            SRun over = OverAt<TMeasure>(text, i + NthBit(before, room));
            over.Units = limit + 1;
            return over;
        }
        if (ends != 0)
            return {i + std::countr_zero(ends), run.Units + __builtin_popcount(before), true};
        run = {i + 16, run.Units + __builtin_popcount(starts)};
    }
    return GiveBackLast<TMeasure>(text, run, carry);
}

template <class TMeasure>
SRun WalkBlocks(const char* text, int readable, int limit, const CStopSet* stops) {
    return WalkBlocksFrom<TMeasure>(text, readable, limit, stops, nullptr, 0, SRun{}, 0);
}

// Measures the span at the cursor like WalkBlocks, keeping its blocks in measured. Its
// first blocks, as many as wanted bytes take (at most four), are classified before any
// is looked at, as their compares need not wait on each other; most spans end in them.
template <class TMeasure>
__attribute__((target("sse4.2,popcnt"))) SRun WalkSpan(const char* text, int readable, int limit,
                                                       int wanted, const CStopSet& stops,
                                                       SMeasured& measured) {
    uint64_t starts = 0;
    uint64_t ends = 0;
    uint64_t separators = 0;
    uint32_t carry = 0;
    int i = 0;
    for (; i < std::min(wanted, 64) && MayTake<TMeasure>(i, readable); i += 16) {
        const __m128i block = Load(text + i);
        uint32_t blockStarts = 0xFFFF;
        if constexpr (TMeasure::Characters) {
            if (!CharacterStarts(block, carry, blockStarts))
                break;
        }
        starts |= uint64_t{blockStarts} << i;
        ends |= uint64_t{EndsIn<TMeasure>(text + i, block, &stops) & blockStarts} << i;
        separators |= uint64_t{SeparatorsIn(block)} << i;
    }
    measured = {i, starts, separators, ends};
    const uint64_t before =
        ends != 0 ? starts & ((uint64_t{1} << std::countr_zero(ends)) - 1) : starts;
    // Where every byte starts a unit, the count is where the run ends.
    const int count =
        TMeasure::Characters ? std::popcount(before) : (ends != 0 ? std::countr_zero(ends) : i);
    if (count > limit) {
        SRun over = OverAt<TMeasure>(text, TMeasure::Characters ? NthBit(before, limit) : limit);
        over.Units = limit + 1;
        return over;
    }
    if (ends != 0)
        return {std::countr_zero(ends), count, true};
    const SRun run{i, count};
    return WalkBlocksFrom<TMeasure>(text, readable, limit, &stops, &measured, i, run, carry);
}

// Copies n bytes in blocks of 16, the last one overlapping the one before, with the
// separators shown as spaces when asked. max(n, 16) bytes at from must be readable, and
// as many may be written at to.
void CopyBlocks(const char* from, char* to, int n, bool showSeparators) {
    const __m128i space = _mm_set1_epi8(' ');
    for (int i = 0;; i += 16) {
        if (n >= 16)
            i = std::min(i, n - 16);
        __m128i block = Load(from + i);
        if (showSeparators) {
            const __m128i isSeparator =
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, _mm_set1_epi8('\t')),
                                          _mm_cmpeq_epi8(block, _mm_set1_epi8('\n'))),
                             _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')));
            block = _mm_or_si128(_mm_andnot_si128(isSeparator, block),
                                 _mm_and_si128(isSeparator, space));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), block);
        if (i + 16 >= n)
            return;
    }
}

void StoreBlock(char* to, const char* from) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), Load(from));
}

#else

template <class TMeasure> SRun WalkBlocks(const char*, int, int, const CStopSet*) {
    return {};
}

template <class TMeasure> SRun WalkSpan(const char*, int, int, int, const CStopSet&, SMeasured&) {
    return {};
}

bool BlocksSupported() {
    return false;
}

void CopyBlocks(const char*, char*, int, bool) {}

void StoreBlock(char*, const char*) {}

#endif

struct SWord {
    int Bytes = 0;
    int Units = 0;
    int LastLength = 0; // bytes of the last unit copied
};

// The word at byte at of the measured blocks, as the plain loop would measure it with
// limit; false when its end does not lie in the blocks.
template <class TMeasure>
SKIMMET_POPCNT bool MeasureWord(const SMeasured& measured, const char* text, int at, int limit,
                                SWord& w) {
    if (at >= measured.Bytes)
        return false;
    const SMeasured::Bits region = BitsBelow(measured.Bytes) & ~BitsBelow(at);
    const SMeasured::Bits separators = measured.Separators & region;
    if (separators == 0)
        return false;
    const int end = LowestBit(separators);
    const SMeasured::Bits starts = measured.Starts & region & BitsBelow(end);
    const int count = BitCount(starts);
    if (count <= limit) {
        w = {end - at, count, 0};
        return true;
    }
    const int last = NthBit(starts, limit);
    const int length = TMeasure::Length(text + last);
    w = {last + length - at, limit + 1, length};
    return true;
}

// The start of the word at word measured and copied from the blocks, where what is
// known of the text allows; the plain loop of CopyWord goes on from there.
template <class TMeasure>
[[gnu::noinline]] SWord CopyWordStart(const char* text, const char* word, char* out,
                                      std::ptrdiff_t writable, int limit, const SKnown& known) {
    SWord w;
    const int at = static_cast<int>(word - text);
    const bool measured =
        known.Measured && MeasureWord<TMeasure>(*known.Measured, text, at, limit, w);
    if (!measured && known.Readable > at) {
        const SRun run = WalkBlocks<TMeasure>(word, known.Readable - at, limit, nullptr);
        w = {run.Bytes, run.Units, run.LastLength};
    }
    // Most words are short: one block copies them, the bytes after them in out are
    // overwritten by what follows.
    if (w.Bytes > 0 && w.Bytes <= 16 && known.Readable - at >= 16 && writable >= 16)
        StoreBlock(out, word);
    else if (w.Bytes > 0)
        std::memcpy(out, word, static_cast<std::size_t>(w.Bytes));
    return w;
}

// Copies the word at word into out while measuring it, but looks at no more than
// limit + 1 units: that is enough to know whether it is longer than limit, and it keeps
// a word of megabytes from being rescanned for every unit cut out of it. out must have
// room for the bytes of limit + 1 units; writable tells how many more may be written.
template <class TMeasure>
[[gnu::always_inline]] inline SWord CopyWord(const char* text, const char* word, char* out,
                                             std::ptrdiff_t writable, int limit,
                                             const SKnown& known) {
    SWord w;
    if (known.Readable > 0)
        w = CopyWordStart<TMeasure>(text, word, out, writable, limit, known);
    if constexpr (!TMeasure::Characters) {
        // A unit of counting is a byte: the bytes copied are the count.
        const int from = w.Bytes;
        while (w.Bytes <= limit) {
            const char c = word[w.Bytes];
            if (c == '\0' || IsSeparator(c))
                break;
            out[w.Bytes] = c;
            ++w.Bytes;
        }
        w.Units = w.Bytes;
        if (w.Bytes > from)
            w.LastLength = 1;
        return w;
    }
    while (w.Units <= limit) {
        const char c = word[w.Bytes];
        if (c == '\0' || IsSeparator(c))
            break;
        const int n = TMeasure::Length(word + w.Bytes);
        for (int k = 0; k < n; ++k)
            out[w.Bytes + k] = word[w.Bytes + k];
        w.Bytes += n;
        w.LastLength = n;
        ++w.Units;
    }
    return w;
}

template <class TMeasure> const char* SplitWord(const char* word, int cut, char* unit) {
    const int split = TMeasure::SplitPoint(word, cut, TMeasure::Length(word + cut));
    std::memcpy(unit, word, static_cast<std::size_t>(split));
    unit[split] = '\0';
    return word + split;
}

// The packed unit decided from the measured blocks alone, when the unit and the byte
// after it lie in them and hold no run of two separators: then each word taken is its
// bytes and the one separator after it, and a word fits when that separator comes
// before the first unit of counting over the budget. nullptr when the blocks cannot
// decide.
template <class TMeasure, class TBits>
SKIMMET_POPCNT const char* PackFromBits(const SKnown& known, const char* text, char* unit,
                                        int budget) {
    const SMeasured& measured = *known.Measured;
    const TBits region = BitsBelow<TBits>(measured.Bytes);
    const TBits separators = static_cast<TBits>(measured.Separators) & region;
    const TBits letters = ~separators & region;
    if (letters == 0)
        return nullptr;
    const int start = LowestBit(letters);
    const TBits starts = static_cast<TBits>(measured.Starts) & region & ~BitsBelow<TBits>(start);
    if (BitCount(starts) <= budget)
        return nullptr;
    const int over = TMeasure::Characters ? NthBit(starts, budget) : start + budget;
    const TBits taken = BitsBelow<TBits>(over) & ~BitsBelow<TBits>(start);
    if ((separators & (separators >> 1) & taken) != 0)
        return nullptr;
    const TBits fitting = separators & taken;
    int length = over + 1 - start; // the first word is exactly the budget
    const char* next = nullptr;
    if (fitting != 0) {
        length = HighestBit(fitting) + 1 - start;
        next = text + start + length;
    } else if (((separators >> over) & 1) != 0) {
        next = SkipSeparators(text + over + 1);
    } else {
        return SplitWord<TMeasure>(text + start, over - start, unit);
    }
    if (start + std::max(length, 16) > known.Readable)
        return nullptr;
    CopyBlocks(text + start, unit, length, true);
    unit[length] = '\0';
    return next;
}

// Most units are decided from the first 64 bytes, where the bits fit a register.
template <class TMeasure>
const char* PackFromMeasured(const SKnown& known, const char* text, char* unit, int budget) {
    if (known.Measured->Bytes <= 64)
        return PackFromBits<TMeasure, uint64_t>(known, text, unit, budget);
    return PackFromBits<TMeasure, SMeasured::Bits>(known, text, unit, budget);
}

// Writes into unit the whole words at text that fit the budget, each followed by one
// space (see PackWords).
template <class TMeasure>
const char* Pack(const char* text, char* unit, int budget, const SKnown& known) {
    budget = std::clamp(budget, 0, MaxUnitBudget);
    const char* word = SkipSeparators(text);
    SWord w = CopyWord<TMeasure>(text, word, unit, UnitBufferSize, budget, known);
    if (w.Units > budget) {
        // One word longer than the whole budget is split; the rest starts the next unit.
        const int cut = TMeasure::SplitPoint(word, w.Bytes - w.LastLength, w.LastLength);
        unit[cut] = '\0';
        return word + cut;
    }

    // Each taken word is followed by one space that counts against the budget. At the
    // end of the text the "words" are empty, so the unit is filled with spaces.
    char* out = unit;
    int used = 0;
    for (;;) {
        out += w.Bytes;
        *out++ = ' ';
        used += w.Units + 1;
        word = SkipSeparators(word + w.Bytes);
        const int room = budget - used - 1; // longest next word that still fits
        if (room < 0)
            break;
        w = CopyWord<TMeasure>(text, word, out, unit + UnitBufferSize - out, room, known);
        if (w.Units > room)
            break;
    }
    *out = '\0';
    return word;
}

// The packed unit of a cut, decided from the measured blocks where they can: that
// spares most packed units the word loop and its setting up. The budget is one of
// the limits, so it is within 0..MaxUnitBudget.
template <class TMeasure>
const char* PackUnit(const char* text, char* unit, int budget, const SKnown& known) {
    if (known.Measured) {
        if (const char* next = PackFromMeasured<TMeasure>(known, text, unit, budget))
            return next;
    }
    return Pack<TMeasure>(text, unit, budget, known);
}

// The span at the cursor: its bytes and units of counting up to the first stop symbol
// or the NUL, looking at no more than maxText + 1 units, and the stop symbol's length.
struct SSpan {
    int Bytes = 0;
    int Units = 0;
    int StopLength = 0;
};

template <class TMeasure>
SSpan MeasureSpan(const char* cursor, SLimits limits, const CStopSet& stops, int readable,
                  SMeasured& measured) {
    const int maxText = limits.MaxText;
    // Enough blocks for the longest unit, its separator or two and the unit of counting
    // after it, when a unit of counting is a byte.
    const int longest = std::max(maxText, std::min(limits.MinText, 64)) + 2;
    const int wanted = (longest * TMeasure::MaxUnitBytes + 15) & ~15;
    const SRun run = readable > 0
                         ? WalkSpan<TMeasure>(cursor, readable, maxText, wanted, stops, measured)
                         : SRun{};
    SSpan span{run.Bytes, run.Units, run.Found ? TMeasure::Length(cursor + run.Bytes) : 0};
    if (run.Found || run.Over)
        return span;
    for (; span.Units <= maxText && cursor[span.Bytes] != '\0'; ++span.Units) {
        const int n = TMeasure::Length(cursor + span.Bytes);
        if (stops.Contains(cursor + span.Bytes, n)) {
            span.StopLength = n;
            break;
        }
        span.Bytes += n;
    }
    return span;
}

// Byte of the first unit of counting after the run of stop symbols at byte at, when
// the measured blocks hold it (most runs end in the blocks the span was measured
// from), else -1.
int MeasuredRunEnd(int at, const SMeasured* measured) {
    if (!measured || at >= std::min(measured->Bytes, 64))
        return -1;
    const uint64_t others = static_cast<uint64_t>(measured->Starts) & ~measured->Stops &
                            BitsBelow<uint64_t>(measured->Bytes) & ~BitsBelow<uint64_t>(at);
    return others != 0 ? LowestBit(others) : -1;
}

template <class TMeasure> const char* SkipStops(const char* next, const CStopSet& stops) {
    while (*next != '\0') {
        const int n = TMeasure::Length(next);
        if (!stops.Contains(next, n))
            break;
        next += n;
    }
    return next;
}

// The length of the closing quote or bracket at p, else 0: what closes a quotation or a
// parenthesis belongs with the sentence it ends ("Stop." or (see above.)). In bytes
// only the ASCII ones are known; in characters, every closing and final punctuation.
template <class TMeasure> int ClosingLength(const char* p) {
    const char c = *p;
    if (c == ')' || c == ']' || c == '}' || c == '"' || c == '\'')
        return 1;
    if constexpr (!TMeasure::Characters) {
        return 0;
    } else {
        if (static_cast<unsigned char>(c) < 0x80)
            return 0;
        const int length = TMeasure::Length(p);
        int32_t at = 0;
        UChar32 code = 0;
        U8_NEXT(p, at, length, code);
        const int8_t type = u_charType(code);
        return type == U_END_PUNCTUATION || type == U_FINAL_PUNCTUATION ? length : 0;
    }
}

// The closing quotes and brackets at next join the unit, whose end is at out (the unit
// buffer has room for MaxClosings more), and the cursor goes past them and past the
// stop symbols after them.
template <class TMeasure>
const char* KeepClosings(const char* next, char* out, const CStopSet& stops) {
    for (int kept = 0; kept < MaxClosings; ++kept) {
        const int length = ClosingLength<TMeasure>(next);
        if (length == 0)
            break;
        std::memcpy(out, next, static_cast<std::size_t>(length));
        out += length;
        next += length;
    }
    *out = '\0';
    return SkipStops<TMeasure>(next, stops);
}

// The unit that ends at the span's stop symbol (or the NUL), and the cursor past the
// run of stop symbols that begins there, and past the closing quotes and brackets right
// after it, which the unit keeps.
template <class TMeasure>
const char* CutAtStop(const char* cursor, const SSpan& span, char* unit, const CStopSet& stops,
                      const SKnown& known) {
    const int readable = known.Readable;
    const char* stop = cursor + span.Bytes;
    const char after = stop[span.StopLength];
    // A stop symbol right before a line break is dropped: the break already ends it.
    int unitLength = span.Bytes;
    if (*stop != '\0' && after != '\n' && after != '\r')
        unitLength += span.StopLength;
    if (std::max(unitLength, 16) <= readable)
        CopyBlocks(cursor, unit, unitLength, false);
    else
        std::memcpy(unit, cursor, static_cast<std::size_t>(unitLength));
    unit[unitLength] = '\0';

    const int end = MeasuredRunEnd(span.Bytes, known.Measured);
    const char* next = end >= 0 ? cursor + end : SkipStops<TMeasure>(stop, stops);
    // After a line break a quote opens the next line's quotation.
    const bool lineEnded =
        std::find_if(stop, next, [](char c) { return c == '\n' || c == '\r'; }) != next;
    if (*stop == '\0' || lineEnded || ClosingLength<TMeasure>(next) == 0)
        return next;
    return KeepClosings<TMeasure>(next, unit + unitLength, stops);
}

// The cut of CutUnit in one measure; with blocks unset, by the plain loops alone.
template <class TMeasure>
const char* Cut(const char* cursor, char* unit, const CReadingSettings& settings, bool blocks) {
    const SLimits limits = LimitsOf(settings);
    const int maxText = limits.MaxText;

    // The end test: maxText units take at most so many bytes. It looks a little further
    // to learn how many bytes the blocks may read.
    const int longest = maxText * TMeasure::MaxUnitBytes;
    const auto probed = static_cast<std::size_t>(longest + Lookahead);
    const int probe = static_cast<int>(strnlen(cursor, probed));
    if (probe < longest && CountUnits<TMeasure>(cursor, probe, maxText) < maxText) {
        std::memcpy(unit, cursor, static_cast<std::size_t>(probe) + 1);
        return nullptr;
    }
    const SStops& sets = StopsOf<TMeasure>(settings);
    const CStopSet& stops = sets.All;
    const bool fast = blocks && stops.BlockUsable() && BlocksSupported();
    const int readable = fast ? probe : 0;

    SMeasured measured;
    const SSpan span = MeasureSpan<TMeasure>(cursor, limits, stops, readable, measured);
    const SKnown known{readable, fast ? &measured : nullptr};
    if (span.Units > maxText)
        return PackUnit<TMeasure>(cursor, unit, maxText, known);
    const char* stop = cursor + span.Bytes;
    if (span.Units < limits.MinText && *stop != '\0' &&
        !sets.Unconditional.Contains(stop, span.StopLength))
        return PackUnit<TMeasure>(cursor, unit, limits.MinText, known);
    return CutAtStop<TMeasure>(cursor, span, unit, stops, known);
}

} // namespace

int FindNul(const char* text, int n) {
    if (n <= 0)
        return -1;
    // strnlen stops at the first NUL and never looks at more than n bytes.
    const std::size_t length = strnlen(text, static_cast<std::size_t>(n));
    return length < static_cast<std::size_t>(n) ? static_cast<int>(length) : -1;
}

const char* PackWords(const char* text, char* unit, int budget) {
    return Pack<ByteMeasure>(text, unit, budget, {});
}

const char* PackCharacterWords(const char* text, char* unit, int budget) {
    return Pack<CharacterMeasure>(text, unit, budget, {});
}

namespace {

// A unit with nothing to see (the spaces before a line's end) is not a unit: its bytes
// go with the next one.
template <class TMeasure>
const char* CutVisible(const char* cursor, char* unit, const CReadingSettings& settings,
                       bool blocks) {
    const char* next = Cut<TMeasure>(cursor, unit, settings, blocks);
    while (next && !HasVisibleText(unit))
        next = Cut<TMeasure>(next, unit, settings, blocks);
    return next;
}

} // namespace

const char* CutUnit(const char* cursor, char* unit, const CReadingSettings& settings) {
    if (settings.CharacterMode)
        return CutVisible<CharacterMeasure>(cursor, unit, settings, true);
    return CutVisible<ByteMeasure>(cursor, unit, settings, true);
}

const char* CutUnitBytewise(const char* cursor, char* unit, const CReadingSettings& settings) {
    if (settings.CharacterMode)
        return CutVisible<CharacterMeasure>(cursor, unit, settings, false);
    return CutVisible<ByteMeasure>(cursor, unit, settings, false);
}

namespace {

template <class TMeasure>
Pacing::End EndOf(const char* from, const char* to, const CReadingSettings& settings) {
    const SStops& stops = StopsOf<TMeasure>(settings);
    int lineFeeds = 0;
    int returns = 0;
    const char* at = to;
    for (;;) {
        if (at == from)
            return Pacing::End::None;
        const char* last = at - 1;
        if constexpr (TMeasure::Characters) {
            while (last > from && Utf8::IsContinuation(static_cast<unsigned char>(*last)))
                --last;
        }
        lineFeeds += *last == '\n' ? 1 : 0;
        returns += *last == '\r' ? 1 : 0;
        if (!IsBlank(*last) && ClosingLength<TMeasure>(last) == 0) {
            const int breaks = lineFeeds > 0 ? lineFeeds : returns;
            const int length = static_cast<int>(at - last);
            if (stops.Unconditional.Contains(last, length))
                return breaks > 0 ? Pacing::End::Paragraph : Pacing::End::Sentence;
            if (breaks > 1)
                return Pacing::End::Paragraph;
            return stops.All.Contains(last, length) ? Pacing::End::Clause : Pacing::End::None;
        }
        at = last;
    }
}

} // namespace

Pacing::End EndOfUnit(const char* from, const char* to, const CReadingSettings& settings) {
    if (!from || !to || to <= from)
        return Pacing::End::None;
    if (settings.CharacterMode)
        return EndOf<CharacterMeasure>(from, to, settings);
    return EndOf<ByteMeasure>(from, to, settings);
}

bool HasVisibleText(const char* text) {
    for (; *text != '\0'; ++text) {
        if (!IsBlank(*text))
            return true;
    }
    return false;
}
