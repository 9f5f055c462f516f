// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PositionBook.h"

#include "text/Utf8.h"

CPositionBook::CPositionBook() {
    Reset();
}

void CPositionBook::Bind(const char** textStart, const char** cursor, const int32_t* textLength,
                         const bool* characterMode) {
    TextStartRef = textStart;
    CursorRef = cursor;
    TextLengthRef = textLength;
    CharacterModeRef = characterMode;
}

void CPositionBook::Reset() {
    BookmarksNum = 0;
    Step = 1;
}

int32_t CPositionBook::GetOffset() const {
    if (!IsBound())
        return -1;
    const char* start = *TextStartRef;
    const char* cursor = *CursorRef;
    if (!start || !cursor)
        return -2;
    return static_cast<int32_t>(cursor - start);
}

bool CPositionBook::SetOffset(int32_t offset) {
    if (!IsBound())
        return false;
    const char* start = *TextStartRef;
    if (!start || !*CursorRef)
        return false;
    // Offsets come from files written for another version of the text; the cursor
    // may rest on the terminating NUL but never beyond it.
    if (offset < 0 || offset > TextLength())
        return false;
    *CursorRef = start + CharacterStart(offset);
    return true;
}

int32_t CPositionBook::CharacterStart(int32_t offset) const {
    const char* start = TextStart();
    if (!start || !CharacterModeRef || !*CharacterModeRef)
        return offset;
    // Only a lead byte up to three bytes back can begin a character that holds offset,
    // and only the nearest one: the bytes between are its continuation bytes.
    for (int32_t back = 1; back < Utf8::MaxCharacterBytes && back <= offset; ++back) {
        const auto b = static_cast<unsigned char>(start[offset - back]);
        if (!Utf8::IsContinuation(b))
            return Utf8::CharacterLength(start + offset - back) > back ? offset - back : offset;
    }
    return offset;
}

int32_t CPositionBook::CharacterEnd(int32_t offset) const {
    const int32_t first = CharacterStart(offset);
    const char* start = TextStart();
    if (!start || first >= TextLength() || !CharacterModeRef || !*CharacterModeRef)
        return first + 1;
    return first + Utf8::CharacterLength(start + first);
}
