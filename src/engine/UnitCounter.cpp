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

CUnitCounter::CUnitCounter(const char* from, const SCutSettings& settings)
    : From(from), At(from), Reached(from) {
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
    return Done();
}

void CUnitCounter::CountUnit() {
    // A unit belongs to the chapter its first letter is in: the blanks before a heading
    // end the chapter before.
    if (Mark && !MarkCount) {
        const char* visible = At;
        while (visible < Mark && IsBlank(*visible))
            ++visible;
        if (visible >= Mark)
            MarkCount = Counted;
    }
    const char* next = CutUnit(At, Unit.data(), Settings);
    // The rest of the text is flashed as a last unit only when there is something to see.
    if (next || HasVisibleText(Unit.data())) {
        if (Settings.Pacing.On)
            PaceUnit();
        ++Counted.Units;
        Counted.Words += UnitWordStarts() - (At != From && ContinuesWord(At));
    }
    Before = At;
    if (Mark && !MarkCount && !next)
        MarkCount = Counted;
    if (!next) {
        Reached = At + std::char_traits<char>::length(At);
        At = nullptr;
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

int64_t CUnitCounter::UnitWordStarts() const {
#if defined(__SSE2__)
    // The unit buffer is read 16 bytes at a time up to the block that holds the NUL: a
    // word starts at each byte that is no blank after one that is.
    int64_t starts = 0;
    uint32_t before = 0; // the last byte of the block before was no blank
    for (std::size_t i = 0; i + 16 <= Unit.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Unit.data() + i));
        const auto is = [block](char c) {
            return static_cast<uint32_t>(
                _mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(c))));
        };
        const uint32_t nul = is('\0');
        uint32_t words = ~(is(' ') | is('\t') | is('\n') | is('\r')) & 0xFFFF;
        if (nul != 0)
            words &= (nul & (0u - nul)) - 1;
        starts += std::popcount(words & ~((words << 1) | before));
        if (nul != 0)
            return starts;
        before = words >> 15;
    }
#endif
    return WordStarts(Unit.data());
}

bool CUnitCounter::ContinuesWord(const char* at) {
    return *at != '\0' && !IsBlank(*at) && at[-1] != '\0' && !IsBlank(at[-1]);
}
