// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PauseContext.h"

#include "engine/SentenceMoves.h"
#include "engine/Separators.h"
#include "settings/ReadingSettings.h"
#include "text/Utf8.h"

#include <algorithm>

namespace {

bool IsCharacterStart(std::string_view text, int32_t at, bool characters) {
    return !characters || at >= static_cast<int32_t>(text.size()) ||
           !Utf8::IsContinuation(static_cast<unsigned char>(text[at]));
}

// count characters forward from at (or back when count is negative), stopping at the
// text's ends.
int32_t ByCharacters(std::string_view text, int32_t at, int32_t count, bool characters) {
    const auto length = static_cast<int32_t>(text.size());
    const int32_t step = count < 0 ? -1 : 1;
    for (int32_t done = 0; done != count; done += step) {
        if (at + step < 0 || at + step > length)
            return at;
        at += step;
        while (at > 0 && at < length && !IsCharacterStart(text, at, characters))
            at += step;
    }
    return at;
}

// The first word start at or after at, before limit; at when there is none.
int32_t WordStartFrom(std::string_view text, int32_t at, int32_t limit) {
    for (int32_t i = at; i + 1 < limit; ++i) {
        if (IsBlank(text[i]) && !IsBlank(text[i + 1]))
            return i + 1;
    }
    return at;
}

// The last word end at or before at, after floor; at when there is none.
int32_t WordEndBefore(std::string_view text, int32_t at, int32_t floor, bool characters) {
    if (at >= static_cast<int32_t>(text.size()) || IsBlank(text[at]))
        return at;
    for (int32_t i = at; i > floor; --i) {
        if (IsBlank(text[i - 1]))
            return i - 1;
    }
    // One word fills the room: cut it, between two characters.
    while (at > floor && !IsCharacterStart(text, at, characters))
        --at;
    return at;
}

} // namespace

namespace PauseContext {

SPauseContext Around(std::string_view text, int32_t unitFrom, int32_t unitTo,
                     const CReadingSettings& settings) {
    const auto length = static_cast<int32_t>(text.size());
    const bool characters = settings.CharacterMode;
    SPauseContext context;
    context.UnitFrom = std::clamp(unitFrom, 0, length);
    context.UnitTo = std::clamp(unitTo, context.UnitFrom, length);

    const CSentenceMoves sentences(text, settings);
    const int32_t sentence = sentences.Back(context.UnitFrom);
    const int32_t room = ByCharacters(text, context.UnitFrom, -MaxBefore, characters);
    context.From = sentence >= room ? sentence : WordStartFrom(text, room, context.UnitFrom);

    const int32_t end = ByCharacters(text, context.UnitTo, MaxAfter, characters);
    context.To = end >= length ? length : WordEndBefore(text, end, context.UnitTo, characters);
    return context;
}

} // namespace PauseContext
