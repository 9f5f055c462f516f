// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

class CReadingSettings;

// Moves by whole sentences or paragraphs, for the keys that go back and forth while
// reading. A sentence is what the unconditional stop symbols close: it ends with a run
// of unconditional stop symbols and blanks (space, tab, CR, LF) that holds at least one
// such symbol, and the next sentence starts on the first character after that run, so
// "?!..." and ".\r\n\r\n  " each end one sentence. A paragraph ends with such a run
// that holds a line feed after a line feed or after a stop symbol ("\r\n\r\n", ". \n"):
// a line break alone ends none, since a text wrapped by hand has one on every line. The
// text's start is always a start; a run that reaches the text's end starts nothing.
// Positions are byte offsets of character starts; in CharacterMode the text and the
// stop symbols are UTF-8 and every position found is a character start.
class CSentenceMoves {
public:
    enum class EScope { Sentence, Paragraph };

    // unconditional: the unconditional stop symbols (bytes, or UTF-8 characters).
    CSentenceMoves(std::string_view text, std::string_view unconditional, bool characterMode,
                   EScope scope = EScope::Sentence);
    // With the settings' unconditional part and character mode.
    CSentenceMoves(std::string_view text, const CReadingSettings& settings,
                   EScope scope = EScope::Sentence);

    // The first sentence start after from; the text's length when there is none, as at
    // the end.
    int32_t Forward(int32_t from) const;
    // Like "previous track": from inside a sentence, that sentence's start; from its
    // start, the start of the one before. The start stays where it is. from is where the
    // reader is: the start of the unit on the screen, whose blanks before a sentence
    // still belong to the sentence before it, so the first unit of a sentence counts as
    // its start.
    int32_t Back(int32_t from) const;

private:
    // The last sentence start at or before at.
    int32_t StartAtOrBefore(int32_t at) const;
    int32_t Length() const { return static_cast<int32_t>(Text.size()); }
    int32_t Next(int32_t at) const;
    int32_t Previous(int32_t at) const;
    bool IsStop(int32_t at) const;
    // A blank or an unconditional stop symbol: what runs between sentences.
    bool IsBreak(int32_t at) const;
    // Whether the run of breaks from from to to ends a sentence or a paragraph.
    bool Ends(int32_t from, int32_t to) const;

    std::string_view Text;
    std::string_view Unconditional;
    bool CharacterMode;
    EScope Scope;
};
