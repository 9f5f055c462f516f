// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

// Counts the units that reading flashes from a place in the text to its end, the words
// in them and, paced, their times, cutting exactly as the player does (a run started
// at the place). A long text is counted in steps, so that the count can be given up
// between any two. The words are the text's own, counted over the bytes the units come
// from in one pass a block at a time, not unit by unit: a unit's copy is read only to
// pace it.
class CUnitCounter {
public:
    // What the cut depends on, copied: the count may go on away from the settings
    // record (on another thread, while the panel edits it).
    struct SCutSettings {
        std::array<char, CReadingSettings::StopSymbolsSize> StopSimbols{};
        int32_t UcOffset = 0;
        int32_t MaxText = 0;
        int32_t MinText = 0;
        bool CharacterMode = false;
        CReadingSettings::SPacing Pacing{};

        static SCutSettings Of(const CReadingSettings& settings);
        bool operator==(const SCutSettings&) const = default;
    };

    // With pacing on, the thousandths of the gap and of the show time the units take,
    // summed over the units paced, as many as PacedUnits: the first ExactUnits all, then
    // one in SampleEvery for itself and those after it, which keeps a book's count fast.
    struct SCount {
        int64_t Units = 0;
        int64_t Words = 0;
        int64_t GapPermille = 0;
        int64_t ShowPermille = 0;
        int64_t PacedUnits = 0;
    };
    static constexpr int64_t ExactUnits = 64;
    static constexpr int64_t SampleEvery = 32;

    // from: a place in a NUL-terminated text, which must outlive the counter.
    CUnitCounter(const char* from, const SCutSettings& settings);
    CUnitCounter(const CUnitCounter&) = delete;
    CUnitCounter& operator=(const CUnitCounter&) = delete;

    // Also keeps the count of the units read before mark (a chapter's start): those whose
    // first letter lies before it. Set before the first Step.
    void SetMark(const char* mark) { Mark = mark; }
    // The count at the mark, once the count got there; none without a mark.
    const std::optional<SCount>& AtMark() const { return MarkCount; }

    // Cuts on until at least maxBytes more of the text lie behind, or to the end; true
    // once the whole rest of the text is counted.
    bool Step(std::size_t maxBytes);
    bool Done() const { return At == nullptr; }
    const SCount& Count() const { return Counted; }
    // Bytes of the text counted so far.
    std::size_t BytesDone() const { return static_cast<std::size_t>(Reached - From); }

    // Words that begin in a unit (NUL-terminated): runs of bytes other than space, tab,
    // CR and LF.
    static int64_t WordStarts(const char* unit);
    // Words that begin in the text from from to to, the first byte beginning one when it
    // is no blank.
    static int64_t WordStarts(const char* from, const char* to);
    // The unit cut at `at` begins inside a word of the text rather than with a word of
    // its own: a word cut across two units is one word. at[-1] must be text.
    static bool ContinuesWord(const char* at);

private:
    // One unit cut at At: counted, and At moved past it (null at the end).
    void CountUnit();
    // The pace of the unit just cut at At, when it is among those paced.
    void PaceUnit();
    // Counts the words of the text on up to to.
    void CountWordsTo(const char* to);

    CReadingSettings Settings; // only the fields of SCutSettings are set
    const char* From;
    const char* At;
    const char* Reached;
    // The words of the text before WordsReached are in Counted; InWord tells whether the
    // byte before it is no blank.
    const char* WordsReached;
    bool InWord = false;
    SCount Counted;
    // Where the unit before the one at At began.
    const char* Before = nullptr;
    const char* Mark = nullptr;
    std::optional<SCount> MarkCount;
    std::array<char, UnitBufferSize> Unit{};
};
