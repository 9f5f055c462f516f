// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SentenceMoves.h"

#include "engine/ByteMeasure.h"
#include "engine/CharacterMeasure.h"
#include "engine/Separators.h"
#include "engine/StopSet.h"
#include "settings/ReadingSettings.h"
#include "text/Utf8.h"

#include <algorithm>

namespace {

int CharacterAt(std::string_view text, std::size_t at) {
    const auto left = static_cast<int>(std::min<std::size_t>(text.size() - at, 4));
    return Utf8::CharacterLength(text.data() + at, left);
}

} // namespace

CSentenceMoves::CSentenceMoves(std::string_view text, std::string_view unconditional,
                               bool characterMode, EScope scope)
    : Text(text), Unconditional(unconditional), CharacterMode(characterMode), Scope(scope) {}

CSentenceMoves::CSentenceMoves(std::string_view text, const CReadingSettings& settings,
                               EScope scope)
    : CSentenceMoves(text, settings.UnconditionalPart(), settings.CharacterMode, scope) {}

int32_t CSentenceMoves::Next(int32_t at) const {
    return at + (CharacterMode ? CharacterAt(Text, static_cast<std::size_t>(at)) : 1);
}

// The character before at, read as Next reads forward: a lead whose sequence ends just
// at at, or else the lone byte before at.
int32_t CSentenceMoves::Previous(int32_t at) const {
    if (!CharacterMode)
        return at - 1;
    for (int32_t back = 1; back <= std::min(at, int32_t{Utf8::MaxCharacterBytes}); ++back) {
        if (Utf8::IsContinuation(static_cast<unsigned char>(Text[at - back])))
            continue;
        return CharacterAt(Text, static_cast<std::size_t>(at - back)) == back ? at - back : at - 1;
    }
    return at - 1;
}

bool CSentenceMoves::IsStop(int32_t at) const {
    const char* c = Text.data() + at;
    if (!CharacterMode)
        return IsSymbolAmong<ByteMeasure>(Unconditional, c, 1);
    return IsSymbolAmong<CharacterMeasure>(Unconditional, c, CharacterAt(Text, at));
}

bool CSentenceMoves::IsBreak(int32_t at) const {
    return IsBlank(Text[at]) || IsStop(at);
}

bool CSentenceMoves::Ends(int32_t from, int32_t to) const {
    bool lineMayEnd = false; // a line feed here would end a paragraph
    for (int32_t at = from; at < to; at = Next(at)) {
        const bool stop = IsStop(at);
        if (stop && Scope == EScope::Sentence)
            return true;
        if (Scope == EScope::Paragraph && Text[at] == '\n' && lineMayEnd)
            return true;
        lineMayEnd = lineMayEnd || stop || Text[at] == '\n';
    }
    return false;
}

int32_t CSentenceMoves::Forward(int32_t from) const {
    int32_t at = std::clamp(from, 0, Length());
    if (at == Length())
        return at;
    // Inside a run the stop symbols before from count as well.
    if (IsBreak(at)) {
        while (at > 0 && IsBreak(Previous(at)))
            at = Previous(at);
    }
    for (;;) {
        while (at < Length() && !IsBreak(at))
            at = Next(at);
        const int32_t run = at;
        while (at < Length() && IsBreak(at))
            at = Next(at);
        if (at == Length() || Ends(run, at))
            return at;
    }
}

// Backwards through the text, a stretch of words and the run before it at a time, so
// that each character is looked at about once.
int32_t CSentenceMoves::StartAtOrBefore(int32_t at) const {
    at = std::clamp(at, 0, Length());
    for (;;) {
        if (at == Length() || IsBreak(at)) {
            while (at > 0 && IsBreak(Previous(at)))
                at = Previous(at);
            if (at == 0)
                return 0;
            at = Previous(at);
            continue;
        }
        while (at > 0 && !IsBreak(Previous(at)))
            at = Previous(at);
        int32_t run = at;
        while (run > 0 && IsBreak(Previous(run)))
            run = Previous(run);
        if (at == 0 || Ends(run, at))
            return at;
        if (run == 0)
            return 0;
        at = Previous(run);
    }
}

int32_t CSentenceMoves::Back(int32_t from) const {
    from = std::clamp(from, 0, Length());
    const int32_t start = StartAtOrBefore(from);
    if (start < from || start == 0)
        return start;
    return StartAtOrBefore(Previous(start));
}
