// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ReadingSettings.h"

#include "settings/SettingsTable.h"
#include "settings/SettingsText.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Byte offsets of the starts of the characters of symbols (length bytes), and of
// their end: UcOffset counts characters when the text is held as UTF-8.
int CharacterStarts(const char* symbols, int length, int* starts) {
    int count = 0;
    for (int at = 0; at < length; at += Utf8::CharacterLength(symbols + at, length - at))
        starts[count++] = at;
    starts[count] = length;
    return count;
}
} // namespace

CReadingSettings::CReadingSettings() {
    ResetDefaults();
}

void CReadingSettings::ResetDefaults() {
    for (const auto& setting : SettingsTable::MainInts)
        setting.Set(*this, setting.Default);
    for (const auto& setting : SettingsTable::PacingInts)
        setting.Set(*this, setting.Default);
    for (const auto& setting : SettingsTable::RunInts)
        setting.Set(*this, setting.Default);
    for (const auto& setting : SettingsTable::FontInts)
        setting.Set(*this, setting.Default);
    std::memset(StopSimbols, 0, sizeof StopSimbols);
    std::memcpy(StopSimbols, SettingsTable::DefaultStopSymbols,
                sizeof SettingsTable::DefaultStopSymbols);
    // Only the name and its terminator: the rest of the field keeps what the font
    // dialog left there.
    std::memcpy(Font.lfFaceName, SettingsTable::DefaultFaceName,
                sizeof SettingsTable::DefaultFaceName);
    Book.Reset();
}

namespace {
// Keeps the book's bookmarks through a change of the settings around them.
class CKeptBookmarks {
public:
    explicit CKeptBookmarks(CPositionBook& book)
        : Book(book), Bookmarks(book.Bookmarks), Count(book.BookmarksNum) {}
    ~CKeptBookmarks() {
        Book.Bookmarks = Bookmarks;
        Book.BookmarksNum = Count;
    }
    CKeptBookmarks(const CKeptBookmarks&) = delete;
    CKeptBookmarks& operator=(const CKeptBookmarks&) = delete;

private:
    CPositionBook& Book;
    const std::array<int32_t, CPositionBook::MaxBookmarks> Bookmarks;
    const uint16_t Count;
};
} // namespace

void CReadingSettings::ResetSettingsOnly() {
    const CKeptBookmarks kept(Book);
    ResetDefaults();
}

void CReadingSettings::LoadSettingsOnly(const CProfileFile& file) {
    const CKeptBookmarks kept(Book);
    LoadFrom(file, SettingsFileMode::SettingsOnly, 0);
}

int32_t CReadingSettings::StopSymbolCount() const {
    const auto length = static_cast<int32_t>(strnlen(StopSimbols, MaxStopSymbols));
    if (!CharacterMode)
        return length;
    int starts[StopSymbolsSize];
    return CharacterStarts(StopSimbols, length, starts);
}

const char* CReadingSettings::UnconditionalPart() const {
    const auto length = static_cast<int32_t>(strnlen(StopSimbols, MaxStopSymbols));
    if (!CharacterMode) {
        if (UcOffset < 0 || UcOffset > length)
            return StopSimbols + length;
        return StopSimbols + UcOffset;
    }
    int starts[StopSymbolsSize];
    const int count = CharacterStarts(StopSimbols, length, starts);
    if (UcOffset < 0 || UcOffset > count)
        return StopSimbols + length;
    return StopSimbols + starts[UcOffset];
}

std::string CReadingSettings::GetStopSymbolsText() const {
    return SettingsText::Encode(StopSimbols, false);
}

std::string CReadingSettings::GetUnconditionalText() const {
    return SettingsText::Encode(UnconditionalPart(), false);
}

void CReadingSettings::SetStopSymbolsText(std::string_view text) {
    if (text.size() >= StopSymbolsSize)
        return;
    const std::string symbols = SettingsText::Decode(text);
    std::memset(StopSimbols, 0, sizeof StopSimbols);
    std::memcpy(StopSimbols, symbols.data(), symbols.size());
}

void CReadingSettings::SetUnconditionalText(std::string_view text) {
    if (text.size() >= StopSymbolsSize)
        return;
    const std::string symbols = SettingsText::Decode(text);
    // Written where the unconditional part starts, which is the end of the string
    // when UcOffset lies beyond it, so no gap of NULs can hide the new symbols.
    const auto start = static_cast<std::size_t>(UnconditionalPart() - StopSimbols);
    if (start + symbols.size() > static_cast<std::size_t>(MaxStopSymbols))
        return;
    std::memset(StopSimbols + start, 0, sizeof StopSimbols - start);
    std::memcpy(StopSimbols + start, symbols.data(), symbols.size());
}

bool CReadingSettings::ShiftSplit(SplitDirection direction) {
    if (direction == SplitDirection::Forward) {
        const int32_t length = StopSymbolCount();
        if (UcOffset < 0 || UcOffset + 1 > length)
            return false;
        ++UcOffset;
        return true;
    }
    if (UcOffset <= 0)
        return false;
    --UcOffset;
    return true;
}

void CReadingSettings::BindText(const char** textStart, const char** cursor) {
    Book.Bind(textStart, cursor, &TextLength, &CharacterMode);
}

const char* CReadingSettings::GetPosition(int32_t& offset) const {
    offset = Book.GetOffset();
    return Book.Cursor();
}

bool CReadingSettings::SetPosition(int32_t offset) {
    if (offset < 0 || offset >= TextLength)
        return false;
    return Book.SetOffset(offset);
}

bool CReadingSettings::MoveBy(int32_t delta) {
    int64_t target = int64_t{Book.GetOffset()} + delta;
    if (target < 0 || target >= TextLength)
        return false;
    // A step forward that ends inside a character goes on to the next one: moving back
    // to its start could leave the cursor where it was, and a step of one byte would
    // never pass a letter of two.
    if (delta > 0 && Book.CharacterStart(static_cast<int32_t>(target)) != target)
        target = Book.CharacterEnd(static_cast<int32_t>(target));
    if (target >= TextLength)
        return false;
    return SetPosition(static_cast<int32_t>(target));
}

void CReadingSettings::AddBookmark() {
    const int32_t offset = std::max(Book.GetOffset(), 0);
    if (Book.BookmarksNum < CPositionBook::MaxBookmarks) {
        Book.Bookmarks[Book.BookmarksNum++] = offset;
        return;
    }
    std::copy(Book.Bookmarks.begin() + 1, Book.Bookmarks.end(), Book.Bookmarks.begin());
    Book.Bookmarks.back() = offset;
    Book.BookmarksNum = CPositionBook::MaxBookmarks;
}

const char* CReadingSettings::GetBookmark(int index, int32_t& offset) const {
    offset = -1;
    const int count = std::min<int>(Book.BookmarksNum, CPositionBook::MaxBookmarks);
    if (index < 0 || index >= count)
        return nullptr;
    const char* start = Book.TextStart();
    if (!start)
        return nullptr;
    offset = Book.Bookmarks[static_cast<std::size_t>(index)];
    // A stored offset beyond the text (a shortened file) stays listed but has no text.
    if (offset < 0 || offset > TextLength)
        return nullptr;
    offset = Book.CharacterStart(offset);
    return start + offset;
}
