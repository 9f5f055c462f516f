// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/StopSet.h"

CStopSet::CStopSet(const char* symbols, bool characters) {
    const int length = static_cast<int>(strnlen(symbols, CReadingSettings::MaxStopSymbols));
    for (int at = 0; at < length;) {
        const int n = characters ? Utf8::CharacterLength(symbols + at, length - at) : 1;
        Add(symbols + at, n, characters);
        at += n;
    }
}

void CStopSet::Add(const char* p, int n, bool characters) {
    const auto lead = static_cast<uint8_t>(*p);
    if (n == 1) {
        if (!Has(Single, lead) && SingleCount < BlockSingles)
            Singles[SingleCount] = *p;
        SingleCount += Has(Single, lead) ? 0 : 1;
        Blockable = Blockable && (!characters || lead < 0x80);
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
