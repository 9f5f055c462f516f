// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class CProfileFile;
enum class SettingsFileMode : int32_t;

// Where the reader is in the loaded text and where they want to go back to, as
// byte offsets from the text start. The book does not own the text or the cursor;
// it reaches them through the variables it is bound to.
class CPositionBook {
public:
    static constexpr int MaxBookmarks = 64;

    CPositionBook();
    virtual ~CPositionBook() = default;
    CPositionBook(const CPositionBook&) = delete;
    CPositionBook& operator=(const CPositionBook&) = delete;

    // The variables hold the text start and the cursor (null while no text is loaded);
    // textLength bounds every offset the book accepts or hands out as a pointer. While
    // *characterMode is set the text is held as UTF-8 and the cursor rests only on the
    // first byte of a character.
    void Bind(const char** textStart, const char** cursor, const int32_t* textLength,
              const bool* characterMode = nullptr);

    // No bookmarks, Step 1; the table's entries and the position stay.
    void Reset();
    // -1 while unbound, -2 while no text is loaded, else cursor - text start.
    int32_t GetOffset() const;
    // False when unbound, without text, or offset outside 0..TextLength. An offset
    // inside a character moves back to its first byte.
    bool SetOffset(int32_t offset);
    // The first byte of the character that holds offset (0..TextLength, text loaded):
    // offset itself unless the text is held as UTF-8 and offset lies inside a
    // character. CharacterEnd is the byte after that character.
    int32_t CharacterStart(int32_t offset) const;
    int32_t CharacterEnd(int32_t offset) const;

    bool WritePosition(CProfileFile& file, SettingsFileMode mode) const;
    bool ReadPosition(const CProfileFile& file, SettingsFileMode mode);

    const char* TextStart() const { return TextStartRef ? *TextStartRef : nullptr; }
    const char* Cursor() const { return CursorRef ? *CursorRef : nullptr; }
    int32_t TextLength() const { return TextLengthRef ? *TextLengthRef : 0; }
    bool IsBound() const { return TextStartRef && CursorRef; }

    uint16_t Step = 1;
    std::array<int32_t, MaxBookmarks> Bookmarks{};
    uint16_t BookmarksNum = 0;

private:
    // The bound text, empty without one.
    std::string_view Text() const;
    // Each place is kept with a few bytes of the text there, under its key + "Text".
    void WriteExcerpt(CProfileFile& file, const std::string& placeKey, int32_t offset) const;
    // The stored offset, or where its excerpt stands now in a text that changed.
    int32_t FoundAgain(const CProfileFile& file, const std::string& placeKey, int32_t offset) const;

    const char** TextStartRef = nullptr;
    const char** CursorRef = nullptr;
    const int32_t* TextLengthRef = nullptr;
    const bool* CharacterModeRef = nullptr;
};
