// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/UnitSteps.h"

#include "engine/SentenceMoves.h"
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>

namespace {

// A text without stop symbols has one sentence: the cut starts no further back than
// this, which is far enough for it to fall in step with reading's.
constexpr int32_t MaxCutBack = 64 * 1024;

int32_t NextUnitStart(std::string_view text, int32_t from, const CReadingSettings& settings) {
    std::array<char, UnitBufferSize> unit{};
    const char* next = CutUnit(text.data() + from, unit.data(), settings);
    return next ? static_cast<int32_t>(next - text.data()) : -1;
}

} // namespace

namespace UnitSteps {

int32_t Forward(std::string_view text, int32_t from, const CReadingSettings& settings) {
    const auto length = static_cast<int32_t>(text.size());
    from = std::clamp(from, 0, length);
    const int32_t next = NextUnitStart(text, from, settings);
    return next < 0 || next >= length ? from : next;
}

int32_t Back(std::string_view text, int32_t from, const CReadingSettings& settings) {
    from = std::clamp(from, 0, static_cast<int32_t>(text.size()));
    if (from == 0)
        return 0;
    // Tiny sentences can share one unit: the cut starts at a sentence start at least two
    // of the longest units back, where reading's units and these have fallen in step.
    const CSentenceMoves sentences(text, settings);
    const int32_t far = std::max(0, from - MaxCutBack);
    int32_t at = sentences.Back(from);
    while (at > far && at > from - 2 * static_cast<int32_t>(UnitBufferSize))
        at = sentences.Back(at);
    at = std::max(at, far);
    if (settings.CharacterMode) {
        while (at < from && Utf8::IsContinuation(static_cast<unsigned char>(text[at])))
            ++at;
    }
    for (;;) {
        const int32_t next = NextUnitStart(text, at, settings);
        if (next < 0 || next >= from)
            return at;
        at = next;
    }
}

} // namespace UnitSteps
