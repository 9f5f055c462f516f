#include "engine/CharacterCutter.h"

#include "engine/UnitCutter.h"
#include "engine/Utf8.h"
#include "settings/ReadingSettings.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t';
}

const char* SkipSeparators(const char* p) {
    while (IsSeparator(*p))
        ++p;
    return p;
}

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

    bool AllSingle() const { return Count == 0; }
    const uint64_t* SingleBits() const { return Single; }

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
            Put(Single, lead);
            return;
        }
        Put(Leads, lead);
        Multi[Count++] = Key(p, n);
    }

    uint64_t Single[4] = {};
    uint64_t Leads[4] = {};
    uint32_t Multi[CReadingSettings::MaxStopSymbols / 2] = {};
    int Count = 0;
};

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

struct SWord {
    int Bytes = 0;
    int Characters = 0;
    int LastLength = 0; // bytes of the last character copied
};

// Copies the word at word into out while measuring it, looking at no more than
// limit + 1 characters (see CopyWord of the byte cut).
SWord CopyWordCharacters(const char* word, char* out, int limit) {
    SWord w;
    while (w.Characters <= limit) {
        const char c = word[w.Bytes];
        if (c == '\0' || IsSeparator(c))
            break;
        const int n = Utf8::CharacterLength(word + w.Bytes);
        std::memcpy(out + w.Bytes, word + w.Bytes, static_cast<std::size_t>(n));
        w.Bytes += n;
        w.LastLength = n;
        ++w.Characters;
    }
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

} // namespace

const char* PackCharacterWords(const char* text, char* unit, int budget) {
    budget = std::clamp(budget, 0, MaxUnitBudget);
    const char* word = SkipSeparators(text);
    SWord w = CopyWordCharacters(word, unit, budget);
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
        w = CopyWordCharacters(word, out, room);
        if (w.Characters > room)
            break;
    }
    *out = '\0';
    return word;
}

const char* CutCharacterUnit(const char* cursor, char* unit, const CReadingSettings& settings,
                             bool blocks) {
    (void)blocks;
    const int maxText = SettingsTable::MaxText.Bounded(settings.MaxText);
    const int minText = SettingsTable::MinText.Bounded(settings.MinText);

    // The end test: maxText characters take at most four times as many bytes.
    const int probe = static_cast<int>(
        strnlen(cursor, static_cast<std::size_t>(maxText) * Utf8::MaxCharacterBytes));
    if (probe < maxText * Utf8::MaxCharacterBytes &&
        CountCharacters(cursor, probe, maxText) < maxText) {
        std::memcpy(unit, cursor, static_cast<std::size_t>(probe) + 1);
        return nullptr;
    }

    // The span up to the first stop symbol or the NUL, looking at no more than
    // maxText + 1 characters.
    const CCharacterStops stops(settings.StopSimbols);
    int at = 0;
    int count = 0;
    int stopLength = 0;
    for (; count <= maxText && cursor[at] != '\0'; ++count) {
        const int n = Utf8::CharacterLength(cursor + at);
        if (stops.Contains(cursor + at, n)) {
            stopLength = n;
            break;
        }
        at += n;
    }
    if (count > maxText)
        return PackCharacterWords(cursor, unit, maxText);
    const char* stop = cursor + at;
    if (count < minText && *stop != '\0' && !IsUnconditional(stop, stopLength, settings))
        return PackCharacterWords(cursor, unit, minText);

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
