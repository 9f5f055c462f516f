// SPDX-License-Identifier: GPL-3.0-or-later
// Cuts arbitrary bytes with arbitrary settings until the end of the text.
//
// Input layout (little-endian):
//   0..1   MaxText, taken modulo 999 plus 1
//   2..5   MinText, any value
//   6..9   UcOffset, any value
//   10     number of stop symbols, modulo 64; bit 6 set cuts in character mode
//   11..   the stop symbols, then the text
// The text is copied into a heap block of exactly its size plus the NUL, and the unit
// buffer is a heap block of exactly UnitBufferSize bytes, so that any read past the
// terminator or write past the buffer is caught by AddressSanitizer. Every unit is cut
// twice, from 16-byte blocks and by the plain loops, and the two must agree. In
// character mode the units, read in order, must hold every character of the text but
// the separators and the stop symbols skipped, none of them cut in two.
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace {

constexpr std::size_t HeaderSize = 11;

void Check(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "cutter invariant broken: %s\n", what);
    std::abort();
}

int32_t ReadInt32(const uint8_t* p) {
    const uint32_t value =
        uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    return static_cast<int32_t>(value);
}

std::vector<std::string_view> Characters(std::string_view text) {
    std::vector<std::string_view> characters;
    for (std::size_t at = 0; at < text.size();) {
        const auto n = static_cast<std::size_t>(Utf8::CharacterLength(text.data() + at));
        characters.push_back(text.substr(at, n));
        at += n;
    }
    return characters;
}

bool IsSeparator(std::string_view c) {
    return c == " " || c == "\t";
}

// Follows the units of a text cut by characters through the text's characters.
class CCharacterCheck {
public:
    CCharacterCheck(std::string_view text, const char* symbols)
        : Text(Characters(text)),
          Stops(Characters({symbols, strnlen(symbols, CReadingSettings::MaxStopSymbols)})) {
        std::size_t at = 0;
        for (const std::string_view c : Text) {
            Starts.push_back(at);
            at += c.size();
        }
        Starts.push_back(at); // the NUL, where the cursor may rest
    }

    bool IsStart(std::size_t offset) const {
        return std::binary_search(Starts.begin(), Starts.end(), offset);
    }

    void Follow(std::string_view unit) {
        for (const std::string_view c : Characters(unit)) {
            if (IsSeparator(c))
                continue;
            while (Next < Text.size() && Text[Next] != c) {
                const bool stop = std::find(Stops.begin(), Stops.end(), Text[Next]) != Stops.end();
                Check(stop || IsSeparator(Text[Next]), "a character of the text was lost");
                ++Next;
            }
            Check(Next < Text.size(), "a unit holds a character the text does not");
            ++Next;
        }
    }

private:
    std::vector<std::string_view> Text;
    std::vector<std::string_view> Stops;
    std::vector<std::size_t> Starts;
    std::size_t Next = 0;
};

int CharacterCount(const char* unit) {
    return static_cast<int>(Characters(unit).size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < HeaderSize)
        return 0;
    CReadingSettings settings;
    settings.MaxText = 1 + (data[0] | data[1] << 8) % 999;
    settings.MinText = ReadInt32(data + 2);
    settings.UcOffset = ReadInt32(data + 6);
    const std::size_t symbolCount = std::min<std::size_t>(data[10] % 64, size - HeaderSize);
    std::memset(settings.StopSimbols, 0, sizeof settings.StopSimbols);
    std::memcpy(settings.StopSimbols, data + HeaderSize, symbolCount);
    settings.CharacterMode = (data[10] & 0x40) != 0;

    const uint8_t* textBytes = data + HeaderSize + symbolCount;
    const std::size_t textSize = size - HeaderSize - symbolCount;
    const auto text = std::make_unique<char[]>(textSize + 1);
    std::memcpy(text.get(), textBytes, textSize);
    text[textSize] = '\0';
    // A NUL inside the input ends the text there, as it would end a loaded text.
    const char* end = text.get() + std::strlen(text.get());

    const auto unit = std::make_unique<char[]>(UnitBufferSize);
    const auto bytewiseUnit = std::make_unique<char[]>(UnitBufferSize);
    const int longest = std::max(settings.MaxText, std::min(settings.MinText, MaxUnitBudget)) + 1;
    CCharacterCheck characters({text.get(), static_cast<std::size_t>(end - text.get())},
                               settings.StopSimbols);
    const char* cursor = text.get();
    for (;;) {
        const char* next = CutUnit(cursor, unit.get(), settings);
        Check(next == CutUnitBytewise(cursor, bytewiseUnit.get(), settings),
              "the two cuts end at different places");
        Check(std::strcmp(unit.get(), bytewiseUnit.get()) == 0, "the two cuts differ");
        const std::size_t unitLength = strnlen(unit.get(), UnitBufferSize);
        Check(unitLength < UnitBufferSize, "unit without its NUL");
        Check(settings.CharacterMode ? CharacterCount(unit.get()) <= longest
                                     : unitLength <= static_cast<std::size_t>(longest),
              "unit longer than the settings allow");
        if (settings.CharacterMode) {
            characters.Follow(unit.get());
            Check(!next || characters.IsStart(static_cast<std::size_t>(next - text.get())),
                  "a unit ends inside a character");
        }
        if (!next) {
            Check(std::strcmp(unit.get(), cursor) == 0, "end reported without the rest");
            const int rest =
                settings.CharacterMode ? CharacterCount(cursor) : static_cast<int>(end - cursor);
            Check(rest < settings.MaxText, "end reported early");
            return 0;
        }
        Check(next > cursor, "cursor did not move forward");
        Check(next <= end, "cursor left the text");
        cursor = next;
    }
}
