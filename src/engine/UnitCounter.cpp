// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/UnitCounter.h"

#include "engine/Separators.h"

#include <algorithm>

CUnitCounter::SCutSettings CUnitCounter::SCutSettings::Of(const CReadingSettings& settings) {
    SCutSettings cut;
    std::copy(std::begin(settings.StopSimbols), std::end(settings.StopSimbols),
              cut.StopSimbols.begin());
    cut.UcOffset = settings.UcOffset;
    cut.MaxText = settings.MaxText;
    cut.MinText = settings.MinText;
    cut.CharacterMode = settings.CharacterMode;
    return cut;
}

CUnitCounter::CUnitCounter(const char* from, const SCutSettings& settings)
    : From(from), At(from), Reached(from) {
    std::copy(settings.StopSimbols.begin(), settings.StopSimbols.end(), Settings.StopSimbols);
    Settings.UcOffset = settings.UcOffset;
    Settings.MaxText = settings.MaxText;
    Settings.MinText = settings.MinText;
    Settings.CharacterMode = settings.CharacterMode;
}

bool CUnitCounter::Step(std::size_t maxBytes) {
    const char* const stepFrom = Reached;
    while (At && static_cast<std::size_t>(Reached - stepFrom) < maxBytes)
        CountUnit();
    return Done();
}

void CUnitCounter::CountUnit() {
    const char* next = CutUnit(At, Unit.data(), Settings);
    // The rest of the text is flashed as a last unit only when there is something to see.
    if (next || HasVisibleText(Unit.data())) {
        ++Counted.Units;
        Counted.Words += WordStarts(Unit.data()) - (At != From && ContinuesWord(At));
    }
    if (!next) {
        Reached = At + std::char_traits<char>::length(At);
        At = nullptr;
        return;
    }
    At = Reached = next;
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

bool CUnitCounter::ContinuesWord(const char* at) {
    return *at != '\0' && !IsBlank(*at) && at[-1] != '\0' && !IsBlank(at[-1]);
}
