// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/UnitCutter.h"

#include "engine/CharacterCutter.h"
#include "engine/Separators.h"
#include "settings/ReadingSettings.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#include <emmintrin.h>
#include <nmmintrin.h>
#define SKIMMET_SIMD 1
#endif

// A whole text can be cut in one go (a gigabyte in a couple of seconds), and reading
// prose byte by byte costs a branch misprediction at nearly every word. So when the
// processor has SSE4.2 and there are at most 15 stop symbols, up to 64 bytes at the
// cursor are classified at once into bit masks (stop symbols, separators) and the
// unit is decided from those. Whatever that cannot decide (the end of the text near,
// a packed unit with runs of separators, budgets over 62) goes to the plain byte
// loops, which are also the reference the fast path must agree with.

namespace {

// How far beyond MaxText the end test looks for the NUL, so that the words of a
// packed unit usually lie in bytes known to be readable.
constexpr int Lookahead = 31;

// Copies the word at word into out while measuring it, but looks at no more than
// limit + 1 bytes: that is enough to know whether it is longer than limit, and it
// keeps a word of megabytes from being rescanned for every unit cut out of it.
// out must have room for limit + 1 bytes. Returns min(word length, limit + 1).
int CopyWord(const char* word, char* out, int limit) {
    int n = 0;
    while (n <= limit) {
        const char c = word[n];
        if (c == '\0' || IsSeparator(c))
            break;
        out[n] = c;
        ++n;
    }
    return n;
}

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

// The stop symbols of one call, as a 256-bit set: the settings may change between units.
class CStopSet {
public:
    explicit CStopSet(const char* symbols) {
        for (int i = 0; i < CReadingSettings::MaxStopSymbols && symbols[i] != '\0'; ++i) {
            const auto b = static_cast<uint8_t>(symbols[i]);
            Bits[b >> 6] |= uint64_t{1} << (b & 63);
        }
    }

    bool Contains(char c) const {
        const auto b = static_cast<uint8_t>(c);
        return (Bits[b >> 6] >> (b & 63)) & 1;
    }

private:
    uint64_t Bits[4] = {};
};

bool IsUnconditional(char stop, const CReadingSettings& settings) {
    const char* symbols = settings.StopSimbols;
    const char* end = symbols + strnlen(symbols, CReadingSettings::MaxStopSymbols);
    const char* part = std::min(settings.UnconditionalPart(), end);
    return std::find(part, end, stop) != end;
}

// Length of the unit that ends at the stop byte cursor[len] (or the NUL there). A stop
// symbol right before a line break is dropped: the break already ends it.
int LengthWithStop(const char* cursor, int len) {
    if (cursor[len] == '\0')
        return len;
    const char after = cursor[len + 1];
    return after != '\n' && after != '\r' ? len + 1 : len;
}

// ---- The plain byte loops ----

const char* CutAtStop(const char* cursor, int len, char* unit, const CStopSet& stops) {
    const int unitLength = LengthWithStop(cursor, len);
    std::memcpy(unit, cursor, static_cast<std::size_t>(unitLength));
    unit[unitLength] = '\0';

    const char* next = cursor + len;
    while (stops.Contains(*next))
        ++next;
    return next;
}

// The cut after the end test, by plain byte loops. The first maxText bytes hold no NUL,
// so the byte at maxText may still be read; looking no further keeps a long stretch
// without stop symbols from being rescanned for every unit.
const char* CutPlain(const char* cursor, char* unit, const CReadingSettings& settings,
                     SLimits limits) {
    const int maxText = limits.MaxText;
    const int minText = limits.MinText;
    const CStopSet stops(settings.StopSimbols);
    int len = 0;
    while (len <= maxText && cursor[len] != '\0' && !stops.Contains(cursor[len]))
        ++len;

    if (len > maxText)
        return PackWords(cursor, unit, maxText);
    const char stop = cursor[len];
    if (len < minText && stop != '\0' && !IsUnconditional(stop, settings))
        return PackWords(cursor, unit, minText);
    return CutAtStop(cursor, len, unit, stops);
}

// ---- The fast path ----

#if SKIMMET_SIMD

constexpr int WindowSize = 64;

int SymbolCount(const char* symbols) {
    // StopSimbols is 64 bytes long: its first 16 may always be read at once.
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(symbols));
    const auto nuls =
        static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(head, _mm_setzero_si128())));
    return nuls != 0 ? std::countr_zero(nuls)
                     : static_cast<int>(strnlen(symbols, CReadingSettings::MaxStopSymbols));
}

uint64_t LowBits(int n) {
    return n >= 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1;
}

__m128i Load(const char* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

uint64_t MaskOf(__m128i block, char c) {
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
}

// Copies n bytes in blocks of 16, the last one overlapping the one before, with tabs
// shown as spaces when asked. max(n, 16) bytes at from must be readable, and as many
// may be written at to.
void CopyBlocks(const char* from, char* to, int n, bool showTabs) {
    const __m128i space = _mm_set1_epi8(' ');
    const __m128i tab = _mm_set1_epi8('\t');
    for (int i = 0;; i += 16) {
        if (n >= 16)
            i = std::min(i, n - 16);
        __m128i block = Load(from + i);
        if (showTabs) {
            const __m128i isTab = _mm_cmpeq_epi8(block, tab);
            block = _mm_or_si128(_mm_andnot_si128(isTab, block), _mm_and_si128(isTab, space));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), block);
        if (i + 16 >= n)
            return;
    }
}

// The first Size bytes at the cursor as bit masks, bit i for byte i.
struct SWindow {
    int Size = 0;       // a multiple of 16, at most 64
    uint64_t Stops = 0; // stop symbols and the NUL
    uint64_t Nul = 0;   // the NUL, when it lies in the window
    uint64_t Separators = 0;
};

constexpr int EqualAny = _SIDD_UBYTE_OPS | _SIDD_CMP_EQUAL_ANY | _SIDD_LEAST_SIGNIFICANT;

// The symbols (at most 15) are followed by their NUL within the first 16 bytes of
// StopSimbols, which makes them an implicit-length compare set. The window ends at the
// NUL of the text at the latest, and the NUL's own bit comes from the caller.
__attribute__((target("sse4.2"))) SWindow Classify(const char* text, int size, const char* symbols,
                                                   uint64_t nul) {
    const __m128i set = Load(symbols);
    SWindow window;
    window.Size = size;
    window.Nul = nul;
    window.Stops = nul;
    for (int i = 0; i < size; i += 16) {
        const __m128i block = Load(text + i);
        const __m128i stops = _mm_cmpistrm(set, block, EqualAny | _SIDD_BIT_MASK);
        window.Stops |= uint64_t{static_cast<uint16_t>(_mm_cvtsi128_si32(stops))} << i;
        window.Separators |= (MaskOf(block, ' ') | MaskOf(block, '\t')) << i;
    }
    return window;
}

// Index of the first stop symbol or NUL in [from, limit) (all readable, from >= 16),
// or limit.
__attribute__((target("sse4.2"))) int ScanFrom(const char* text, int from, int limit,
                                               const char* symbols, int count) {
    const __m128i set = Load(symbols);
    int i = from;
    for (; i + 16 <= limit; i += 16) {
        if (const int at = _mm_cmpestri(set, count + 1, Load(text + i), 16, EqualAny); at < 16)
            return i + at;
    }
    if (i == limit)
        return limit;
    // The last 16 bytes again: the part of them already looked at holds no match.
    return limit - 16 + _mm_cmpestri(set, count + 1, Load(text + limit - 16), 16, EqualAny);
}

// Packs words like PackWords when the window decides it: the unit and the byte after
// it lie in the window, hold no NUL and no run of two separators, so that each taken
// word is its bytes plus the one separator after it. nullptr when it cannot decide.
const char* PackFromWindow(const SWindow& window, const char* text, char* unit, int budget) {
    const int start = std::countr_zero(~window.Separators);
    if (start + std::max(budget + 1, 16) > window.Size)
        return nullptr;
    // Bits 0..budget: the bytes that may end up in the unit, and the one after them.
    const uint64_t region = LowBits(budget + 1);
    const uint64_t gaps = window.Separators >> start;
    if (((window.Nul >> start) & region) != 0 || (gaps & (gaps >> 1) & (region >> 1)) != 0)
        return nullptr;

    const uint64_t fitting = gaps & (region >> 1); // separators before byte budget
    int length = budget;                           // a first word too long is split
    const char* next = text + start + budget;
    if (fitting != 0) {
        // Every word up to the last separator before the budget is taken.
        length = 64 - std::countl_zero(fitting);
        next = text + start + length;
    } else if ((gaps >> budget) & 1) {
        // The first word is exactly the budget: it keeps its space.
        length = budget + 1;
        next = SkipSeparators(text + start + length);
    }
    CopyBlocks(text + start, unit, length, true);
    unit[length] = '\0';
    return next;
}

const char* Pack(const SWindow& window, const char* text, char* unit, int budget) {
    if (const char* next = PackFromWindow(window, text, unit, budget))
        return next;
    return PackWords(text, unit, budget);
}

// The cut after the end test from the window over the first readable bytes (those
// before the NUL, and the NUL when nulAt >= 0). nullptr when the window is too small.
const char* CutFast(const char* cursor, char* unit, const CReadingSettings& settings,
                    SLimits limits, int readable, int nulAt, int count) {
    const int maxText = limits.MaxText;
    const int minText = limits.MinText;
    // Enough blocks for the longest unit and a separator or two before it.
    const int wanted = (std::max(maxText, std::min(minText, WindowSize)) + 2 + 15) & ~15;
    const int size = std::min({readable, wanted, WindowSize}) & ~15;
    if (size < 16)
        return nullptr;
    const uint64_t nul = nulAt >= 0 && nulAt < size ? uint64_t{1} << nulAt : 0;
    const SWindow window = Classify(cursor, size, settings.StopSimbols, nul);

    // The span, looking at no more than maxText + 1 bytes (all readable).
    const int limit = maxText + 1;
    int len = limit;
    if (const uint64_t hits = window.Stops & LowBits(std::min(limit, size)); hits != 0)
        len = std::countr_zero(hits);
    else if (limit > size)
        len = ScanFrom(cursor, size, limit, settings.StopSimbols, count);

    if (len > maxText)
        return Pack(window, cursor, unit, maxText);
    const char stop = cursor[len];
    if (len < minText && stop != '\0' && !IsUnconditional(stop, settings))
        return Pack(window, cursor, unit, minText);

    const int unitLength = LengthWithStop(cursor, len);
    CopyBlocks(cursor, unit, unitLength, false);
    unit[unitLength] = '\0';

    // Past the run of stop symbols that begins at the stop byte.
    const char* next = cursor + len;
    if (len < size) {
        const uint64_t symbols = (window.Stops & ~window.Nul) >> len;
        const int run = std::countr_zero(~symbols);
        if (len + run < size)
            return next + run;
        next = cursor + size;
    }
    const char* end = settings.StopSimbols + count;
    while (*next != '\0' && std::find(settings.StopSimbols, end, *next) != end)
        ++next;
    return next;
}

#endif

} // namespace

int FindNul(const char* text, int n) {
    if (n <= 0)
        return -1;
    // strnlen stops at the first NUL and never looks at more than n bytes.
    const std::size_t length = strnlen(text, static_cast<std::size_t>(n));
    return length < static_cast<std::size_t>(n) ? static_cast<int>(length) : -1;
}

const char* PackWords(const char* text, char* unit, int budget) {
    budget = std::clamp(budget, 0, MaxUnitBudget);
    const char* word = SkipSeparators(text);
    int n = CopyWord(word, unit, budget);
    if (n > budget) {
        // One word longer than the whole budget is split; the rest starts the next unit.
        unit[budget] = '\0';
        return word + budget;
    }

    // Each taken word is followed by one space that counts against the budget. At the
    // end of the text the "words" are empty, so the unit is filled with spaces.
    char* out = unit;
    int used = 0;
    for (;;) {
        out += n;
        *out++ = ' ';
        used += n + 1;
        word = SkipSeparators(word + n);
        const int room = budget - used - 1; // longest next word that still fits
        if (room < 0)
            break;
        n = CopyWord(word, out, room);
        if (n > room)
            break;
    }
    *out = '\0';
    return word;
}

const char* CutUnit(const char* cursor, char* unit, const CReadingSettings& settings) {
    if (settings.CharacterMode)
        return CutCharacterUnit(cursor, unit, settings, true);
    const SLimits limits = LimitsOf(settings);

    // The end test, looking a little further to learn how many bytes may be read.
    const int probed = limits.MaxText + Lookahead;
    const std::size_t probe = strnlen(cursor, static_cast<std::size_t>(probed));
    if (probe < static_cast<std::size_t>(limits.MaxText)) {
        std::memcpy(unit, cursor, probe + 1);
        return nullptr;
    }
#if SKIMMET_SIMD
    if (const int count = SymbolCount(settings.StopSimbols);
        count < 16 && __builtin_cpu_supports("sse4.2")) {
        // Before the NUL, and the NUL itself; or one byte past those probed.
        const int readable = static_cast<int>(probe) + 1;
        const int nulAt = readable - 1 < probed ? readable - 1 : -1;
        if (const char* next = CutFast(cursor, unit, settings, limits, readable, nulAt, count))
            return next;
    }
#endif
    return CutPlain(cursor, unit, settings, limits);
}

const char* CutUnitBytewise(const char* cursor, char* unit, const CReadingSettings& settings) {
    if (settings.CharacterMode)
        return CutCharacterUnit(cursor, unit, settings, false);
    const SLimits limits = LimitsOf(settings);
    if (const int end = FindNul(cursor, limits.MaxText); end >= 0) {
        std::memcpy(unit, cursor, static_cast<std::size_t>(end) + 1);
        return nullptr;
    }
    return CutPlain(cursor, unit, settings, limits);
}

bool HasVisibleText(const char* text) {
    for (; *text != '\0'; ++text) {
        if (!IsBlank(*text))
            return true;
    }
    return false;
}
