#include "settings/PositionBook.h"

CPositionBook::CPositionBook() {
    Reset();
}

void CPositionBook::Bind(const char** textStart, const char** cursor, const int32_t* textLength) {
    TextStartRef = textStart;
    CursorRef = cursor;
    TextLengthRef = textLength;
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
    *CursorRef = start + offset;
    return true;
}
