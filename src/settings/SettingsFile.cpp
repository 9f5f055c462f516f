// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: sections MAIN, LogFont and POSITION of an INI file.
#include "platform/ProfileFile.h"
#include "settings/PlaceExcerpt.h"
#include "settings/ReadingSettings.h"
#include "settings/SettingsTable.h"
#include "settings/SettingsText.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {
using namespace SettingsTable;

std::string_view FaceNameOf(const LogFont& font) {
    return {font.lfFaceName, strnlen(font.lfFaceName, LogFont::FaceSize - 1)};
}

template <std::size_t N>
void WriteInts(CProfileFile& file, std::string_view section,
               const std::array<SIntSetting, N>& settings, const CReadingSettings& from) {
    for (const SIntSetting& setting : settings)
        file.WriteInt(section, setting.Key, setting.Get(from));
}

// Each value read falls back to the default and is brought within its bounds, so that
// no file can stall or break the reading.
template <std::size_t N>
void ReadInts(const CProfileFile& file, std::string_view section,
              const std::array<SIntSetting, N>& settings, CReadingSettings& into) {
    for (const SIntSetting& setting : settings) {
        if (setting.Read)
            setting.Set(into, setting.Bounded(file.GetInt(section, setting.Key, setting.Default)));
    }
}

// The key that keeps the text at a place, beside the place's own key.
std::string ExcerptKey(const std::string& placeKey) {
    return placeKey + "Text";
}

// Room for an encoded excerpt: every byte of it escaped, and the terminator.
constexpr std::size_t ExcerptFormSize = 2 * PlaceExcerpt::Length + 1;

std::string BookmarkKey(int index) {
    return "Bookmark" + std::to_string(index + 1);
}
} // namespace

void CReadingSettings::StoreTo(CProfileFile& file, SettingsFileMode mode) const {
    WriteInts(file, MainSection, MainInts, *this);
    file.WriteString(MainSection, StopSymbolsKey, GetStopSymbolsText());
    // The encoding belongs to the text: only its own file keeps it.
    if (mode == SettingsFileMode::Full) {
        if (KeepEncoding && !Encoding.empty())
            file.WriteString(MainSection, EncodingKey, Encoding);
        else
            file.DeleteKey(MainSection, EncodingKey);
    }
    WriteInts(file, MainSection, PacingInts, *this);
    WriteInts(file, MainSection, RunInts, *this);
    if (mode == SettingsFileMode::Full) {
        if (AsPlainText)
            file.WriteInt(MainSection, AsPlainTextKey, 1);
        else
            file.DeleteKey(MainSection, AsPlainTextKey);
    }
    WriteInts(file, FontSection, FontInts, *this);
    file.WriteString(FontSection, FaceNameKey, FaceNameOf(Font));
}

bool CReadingSettings::SaveToFile(const std::string& fileName, SettingsFileMode mode,
                                  std::string* error) const {
    // Every key goes into one document built on the existing file, which is then
    // committed at once: a failure anywhere leaves the previous file untouched.
    CProfileFile file;
    std::string unreadable;
    if (!file.Load(fileName, &unreadable)) {
        // The file is read first to keep what else it holds: the reader asked for a save.
        if (error)
            *error = "Cannot save the settings. " + unreadable;
        return false;
    }
    StoreTo(file, mode);
    if (!Book.WritePosition(file, mode)) {
        if (error)
            *error = "No text is loaded, so there is no position to save";
        return false;
    }
    return file.Save(fileName, error);
}

bool CReadingSettings::LoadFromFile(const std::string& fileName, SettingsFileMode mode,
                                    int32_t textLength, std::string* error) {
    CProfileFile file;
    const bool readable = file.Load(fileName, error);
    if (!readable)
        file = CProfileFile();
    return LoadFrom(file, mode, textLength) && readable;
}

bool CReadingSettings::LoadFrom(const CProfileFile& file, SettingsFileMode mode,
                                int32_t textLength) {
    ResetDefaults();
    ReadInts(file, MainSection, MainInts, *this);
    ReadInts(file, MainSection, PacingInts, *this);
    ReadInts(file, MainSection, RunInts, *this);
    SetStopSymbolsText(
        file.GetString(MainSection, StopSymbolsKey, GetStopSymbolsText(), StopSymbolsReadSize));
    ReadInts(file, FontSection, FontInts, *this);
    const std::string face =
        file.GetString(FontSection, FaceNameKey, DefaultFaceName, LogFont::FaceSize);
    // The name and its terminator only; what lies after them in the field stays.
    const std::size_t faceLength = std::min(face.size(), std::size_t{LogFont::FaceSize - 1});
    std::memcpy(Font.lfFaceName, face.data(), faceLength);
    Font.lfFaceName[faceLength] = '\0';

    if (textLength != 0)
        TextLength = textLength;
    return Book.ReadPosition(file, mode);
}

bool CPositionBook::WritePosition(CProfileFile& file, SettingsFileMode mode) const {
    file.WriteInt(PositionSection, "Step", Step);
    if (mode == SettingsFileMode::SettingsOnly)
        return true;
    const int32_t offset = GetOffset();
    if (offset < 0)
        return false;
    const int count = std::min<int>(BookmarksNum, MaxBookmarks);
    file.WriteInt(PositionSection, "BookmarksNum", count);
    file.WriteInt(PositionSection, "CurPos", offset);
    for (int i = 0; i < count; ++i)
        file.WriteInt(PositionSection, BookmarkKey(i), Bookmarks[static_cast<std::size_t>(i)]);
    WriteExcerpt(file, "CurPos", offset);
    for (int i = 0; i < count; ++i)
        WriteExcerpt(file, BookmarkKey(i), Bookmarks[static_cast<std::size_t>(i)]);
    return true;
}

std::string_view CPositionBook::Text() const {
    const char* start = TextStart();
    if (!start)
        return {};
    return {start, static_cast<std::size_t>(std::max(TextLength(), 0))};
}

void CPositionBook::WriteExcerpt(CProfileFile& file, const std::string& placeKey,
                                 int32_t offset) const {
    const std::string excerpt = PlaceExcerpt::Take(Text(), offset);
    file.WriteString(PositionSection, ExcerptKey(placeKey), SettingsText::Encode(excerpt, true));
}

int32_t CPositionBook::FoundAgain(const CProfileFile& file, const std::string& placeKey,
                                  int32_t offset) const {
    const std::string form =
        file.GetString(PositionSection, ExcerptKey(placeKey), "", ExcerptFormSize);
    return PlaceExcerpt::Relocate(Text(), offset, SettingsText::Decode(form));
}

bool CPositionBook::ReadPosition(const CProfileFile& file, SettingsFileMode mode) {
    Step = static_cast<uint16_t>(file.GetInt(PositionSection, "Step", Step));
    if (mode == SettingsFileMode::SettingsOnly)
        return true;
    const int32_t offset = GetOffset();
    if (offset < 0)
        return false;

    const auto stored =
        static_cast<uint16_t>(file.GetInt(PositionSection, "BookmarksNum", BookmarksNum));
    const int count = std::min<int>(stored, MaxBookmarks);
    // The text may have changed since: a place whose excerpt no longer stands there is
    // looked for nearby. A position still beyond the text (the file was shortened since)
    // leaves the cursor where it is; SetOffset refuses it.
    SetOffset(FoundAgain(file, "CurPos", file.GetInt(PositionSection, "CurPos", offset)));

    int read = 0;
    for (int i = 0; i < count; ++i) {
        const int32_t value = file.GetInt(PositionSection, BookmarkKey(i), 0);
        // A 0 after the first entry marks the end of the list, as a missing key does.
        if (i > 0 && value == 0)
            break;
        const int32_t found = FoundAgain(file, BookmarkKey(i), value);
        // A later bookmark found at the start would read as the list's end next time.
        Bookmarks[static_cast<std::size_t>(i)] = i > 0 && found == 0 ? value : found;
        ++read;
    }
    BookmarksNum = static_cast<uint16_t>(read);
    return true;
}
