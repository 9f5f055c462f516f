// Cuts arbitrary bytes with arbitrary settings until the end of the text.
//
// Input layout (little-endian):
//   0..1   MaxText, taken modulo 999 plus 1
//   2..5   MinText, any value
//   6..9   UcOffset, any value
//   10     number of stop symbols, modulo 64
//   11..   the stop symbols, then the text
// The text is copied into a heap block of exactly its size plus the NUL, and the unit
// buffer is a heap block of exactly UnitBufferSize bytes, so that any read past the
// terminator or write past the buffer is caught by AddressSanitizer. Every unit is cut
// twice, from 16-byte blocks and by the plain byte loops, and the two must agree.
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

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
    const char* cursor = text.get();
    for (;;) {
        const char* next = CutUnit(cursor, unit.get(), settings);
        Check(next == CutUnitBytewise(cursor, bytewiseUnit.get(), settings),
              "the two cuts end at different places");
        Check(std::strcmp(unit.get(), bytewiseUnit.get()) == 0, "the two cuts differ");
        const std::size_t unitLength = strnlen(unit.get(), UnitBufferSize);
        Check(unitLength < UnitBufferSize, "unit without its NUL");
        Check(unitLength <= static_cast<std::size_t>(longest),
              "unit longer than the settings allow");
        if (!next) {
            Check(std::strcmp(unit.get(), cursor) == 0, "end reported without the rest");
            Check(end - cursor < settings.MaxText, "end reported early");
            return 0;
        }
        Check(next > cursor, "cursor did not move forward");
        Check(next <= end, "cursor left the text");
        cursor = next;
    }
}
