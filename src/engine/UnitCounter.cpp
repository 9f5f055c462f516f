// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/UnitCounter.h"

#include "engine/Separators.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

CUnitCounter::SCutSettings CUnitCounter::SCutSettings::Of(const CReadingSettings& settings) {
    SCutSettings cut;
    std::copy(std::begin(settings.StopSimbols), std::end(settings.StopSimbols),
              cut.StopSimbols.begin());
    cut.UcOffset = settings.UcOffset;
    cut.MaxText = settings.MaxText;
    cut.MinText = settings.MinText;
    cut.CharacterMode = settings.CharacterMode;
    cut.Pacing = settings.Pacing;
    return cut;
}

namespace {

// Word starts in the bytes from from to to, a byte that is no blank after one that is;
// inWord tells whether the byte before from is no blank, and is left telling it of the
// last byte. Read 16 bytes at a time while whole blocks remain, the rest one by one.
template <bool Blocks>
[[gnu::always_inline]] inline int64_t CountStarts(const char* from, const char* to, bool& inWord) {
    int64_t starts = 0;
    uint32_t before = inWord ? 1 : 0;
#if defined(__SSE2__)
    if constexpr (Blocks) {
        for (; to - from >= 16; from += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
            const auto is = [block](char c) {
                return static_cast<uint32_t>(
                    _mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
            };
            const uint32_t words = ~(is(' ') | is('\t') | is('\n') | is('\r')) & 0xFFFF;
            starts += std::popcount(words & ~((words << 1) | before));
            before = words >> 15;
        }
    }
#endif
    for (; from < to; ++from) {
        const uint32_t word = IsBlank(*from) ? 0 : 1;
        starts += word & ~before;
        before = word;
    }
    inWord = before != 0;
    return starts;
}

#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
// With the processor's own bit count, where it has one.
__attribute__((target("popcnt"))) int64_t CountStartsPopcnt(const char* from, const char* to,
                                                            bool& inWord) {
    return CountStarts<true>(from, to, inWord);
}

int64_t CountTextStarts(const char* from, const char* to, bool& inWord) {
    static const bool popcnt = __builtin_cpu_supports("popcnt");
    return popcnt ? CountStartsPopcnt(from, to, inWord) : CountStarts<true>(from, to, inWord);
}
#else
int64_t CountTextStarts(const char* from, const char* to, bool& inWord) {
    return CountStarts<false>(from, to, inWord);
}
#endif

} // namespace

CUnitCounter::CUnitCounter(const char* from, const SCutSettings& settings)
    : From(from), At(from), Reached(from), WordsReached(from) {
    std::copy(settings.StopSimbols.begin(), settings.StopSimbols.end(), Settings.StopSimbols);
    Settings.UcOffset = settings.UcOffset;
    Settings.MaxText = settings.MaxText;
    Settings.MinText = settings.MinText;
    Settings.CharacterMode = settings.CharacterMode;
    Settings.Pacing = settings.Pacing;
}

bool CUnitCounter::Step(std::size_t maxBytes) {
    const char* const stepFrom = Reached;
    while (At && static_cast<std::size_t>(Reached - stepFrom) < maxBytes)
        CountUnit();
    CountWordsTo(Reached);
    return Done();
}

void CUnitCounter::CountUnit() {
    // A unit belongs to the chapter its first letter is in: the blanks before a heading
    // end the chapter before.
    if (Mark && !MarkCount) {
        const char* visible = At;
        while (visible < Mark && IsBlank(*visible))
            ++visible;
        if (visible >= Mark) {
            CountWordsTo(At);
            MarkCount = Counted;
        }
    }
    const char* next = CutUnit(At, Unit.data(), Settings);
    // The rest of the text is flashed as a last unit only when there is something to see.
    if (next || HasVisibleText(Unit.data())) {
        if (Settings.Pacing.On)
            PaceUnit();
        ++Counted.Units;
    }
    Before = At;
    if (!next) {
        Reached = At + std::char_traits<char>::length(At);
        At = nullptr;
        CountWordsTo(Reached);
        if (Mark && !MarkCount)
            MarkCount = Counted;
        return;
    }
    At = Reached = next;
}

void CUnitCounter::PaceUnit() {
    const int64_t index = Counted.Units;
    const bool exact = index < ExactUnits;
    if (!exact && index % SampleEvery != 0)
        return;
    const Pacing::End before = Before ? EndOfUnit(Before, At, Settings) : Pacing::End::None;
    const auto run = static_cast<int>(std::min<int64_t>(index, ExactUnits));
    const Pacing::SPace pace = Pacing::PaceOf(Unit.data(), before, run, Settings);
    const int64_t weight = exact ? 1 : SampleEvery;
    Counted.GapPermille += pace.GapPermille * weight;
    Counted.ShowPermille += pace.ShowPermille * weight;
    Counted.PacedUnits += weight;
}

int64_t CUnitCounter::WordStarts(const char* unit) {
    int64_t starts = 0;
    int inWord = 0;
    for (; *unit != '\0'; ++unit) {
        const int word = !IsBlank(*unit);
        starts += word & ~inWord;
        inWord = word;
    }
    return starts;
}

int64_t CUnitCounter::WordStarts(const char* from, const char* to) {
    bool inWord = false;
    return to > from ? CountTextStarts(from, to, inWord) : 0;
}

void CUnitCounter::CountWordsTo(const char* to) {
    if (to <= WordsReached)
        return;
    Counted.Words += CountTextStarts(WordsReached, to, InWord);
    WordsReached = to;
}

bool CUnitCounter::ContinuesWord(const char* at) {
    return *at != '\0' && !IsBlank(*at) && at[-1] != '\0' && !IsBlank(at[-1]);
}
