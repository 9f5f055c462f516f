// The settings file: sections MAIN, LogFont and POSITION of an INI file.
#include "platform/ProfileFile.h"
#include "settings/ReadingSettings.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {
constexpr std::string_view MainSection = "MAIN";
constexpr std::string_view FontSection = "LogFont";
constexpr std::string_view PositionSection = "POSITION";

// Reading buffers as the format has always used them: a stop-symbol text form of up
// to 66 characters (so that one too long is seen as too long), a face name of 31.
constexpr std::size_t StopSymbolsReadSize = 67;

// Bounds that keep every value read from a file within what the options pages
// accept, so that no file can stall or break the reading.
constexpr int32_t MaxUnitLength = 999;
constexpr int32_t MaxPhaseTime = 30000;
constexpr int32_t MaxWidth = 3000;

// Heights are stored negated; wrap rather than overflow on the one value that has no
// negation.
int32_t Negate(int32_t value) {
    return static_cast<int32_t>(0u - static_cast<uint32_t>(value));
}

uint8_t LowByte(int32_t value) {
    return static_cast<uint8_t>(value & 0xFF);
}

uint32_t ReadPhaseTime(const CProfileFile& file, std::string_view key, uint32_t current) {
    const int32_t value = file.GetInt(MainSection, key, static_cast<int32_t>(current));
    return static_cast<uint32_t>(std::clamp(value, 1, MaxPhaseTime));
}

std::string BookmarkKey(int index) {
    return "Bookmark" + std::to_string(index + 1);
}
} // namespace

void CReadingSettings::StoreTo(CProfileFile& file) const {
    file.WriteInt(MainSection, "BkgColor", static_cast<int32_t>(BkgColor));
    file.WriteInt(MainSection, "DisplaySettingNum", DisplaySettingNum);
    file.WriteInt(MainSection, "durat", static_cast<int32_t>(durat));
    file.WriteInt(MainSection, "freq", static_cast<int32_t>(freq));
    file.WriteInt(MainSection, "MaxText", MaxText);
    file.WriteInt(MainSection, "MinText", MinText);
    file.WriteInt(MainSection, "UcOffset", UcOffset);
    file.WriteInt(MainSection, "Width", Width);
    file.WriteInt(MainSection, "TexColor", static_cast<int32_t>(TexColor));
    file.WriteString(MainSection, "StopSimbols", GetStopSymbolsText());

    file.WriteInt(FontSection, "Height", Negate(Font.lfHeight));
    file.WriteInt(FontSection, "CharSet", Font.lfCharSet);
    file.WriteInt(FontSection, "Escapement", Font.lfEscapement);
    file.WriteInt(FontSection, "Orientation", Font.lfOrientation);
    file.WriteInt(FontSection, "Weight", Font.lfWeight);
    file.WriteInt(FontSection, "Italic", Font.lfItalic);
    file.WriteInt(FontSection, "Underline", Font.lfUnderline);
    file.WriteInt(FontSection, "StrikeOut", Font.lfStrikeOut);
    file.WriteInt(FontSection, "OutPrecision", Font.lfOutPrecision);
    file.WriteInt(FontSection, "ClipPrecision", Font.lfClipPrecision);
    file.WriteInt(FontSection, "Quality", Font.lfQuality);
    file.WriteInt(FontSection, "PitchAndFamily", Font.lfPitchAndFamily);
    file.WriteString(FontSection, "FaceName",
                     std::string(Font.lfFaceName, strnlen(Font.lfFaceName, LogFont::FaceSize - 1)));
}

bool CReadingSettings::SaveToFile(const std::string& fileName, SettingsFileMode mode,
                                  std::string* error) const {
    // Every key goes into one document built on the existing file, which is then
    // committed at once: a failure anywhere leaves the previous file untouched.
    CProfileFile file;
    if (!file.Load(fileName, error))
        return false;
    StoreTo(file);
    if (!Book.WritePosition(file, mode)) {
        if (error)
            *error = "No text is loaded, so there is no position to save";
        return false;
    }
    return file.Save(fileName, error);
}

bool CReadingSettings::LoadFromFile(const std::string& fileName, SettingsFileMode mode,
                                    int32_t textLength) {
    // A file that cannot be read gives the defaults, like a file without keys.
    CProfileFile file;
    if (!file.Load(fileName))
        file = CProfileFile();
    return LoadFrom(file, mode, textLength);
}

bool CReadingSettings::LoadFrom(const CProfileFile& file, SettingsFileMode mode,
                                int32_t textLength) {
    ResetDefaults();

    BkgColor =
        static_cast<uint32_t>(file.GetInt(MainSection, "BkgColor", static_cast<int32_t>(BkgColor)));
    DisplaySettingNum = file.GetInt(MainSection, "DisplaySettingNum", 0);
    durat = ReadPhaseTime(file, "durat", durat);
    freq = ReadPhaseTime(file, "freq", freq);
    MaxText = std::clamp(file.GetInt(MainSection, "MaxText", MaxText), 1, MaxUnitLength);
    MinText = std::min(file.GetInt(MainSection, "MinText", MinText), MaxUnitLength);
    UcOffset = std::clamp(file.GetInt(MainSection, "UcOffset", UcOffset), 0, StopSymbolsSize - 1);
    Width = std::clamp(file.GetInt(MainSection, "Width", Width), 1, MaxWidth);
    TexColor =
        static_cast<uint32_t>(file.GetInt(MainSection, "TexColor", static_cast<int32_t>(TexColor)));
    SetStopSymbolsText(
        file.GetString(MainSection, "StopSimbols", GetStopSymbolsText(), StopSymbolsReadSize));

    const std::string face = file.GetString(
        FontSection, "FaceName",
        std::string_view(Font.lfFaceName, strnlen(Font.lfFaceName, LogFont::FaceSize - 1)),
        LogFont::FaceSize);
    // The name and its terminator only; what lies after them in the field stays.
    const std::size_t faceLength = std::min(face.size(), std::size_t{LogFont::FaceSize - 1});
    std::memcpy(Font.lfFaceName, face.data(), faceLength);
    Font.lfFaceName[faceLength] = '\0';
    Font.lfHeight = Negate(file.GetInt(FontSection, "Height", Negate(Font.lfHeight)));
    Font.lfEscapement = file.GetInt(FontSection, "Escapement", Font.lfEscapement);
    Font.lfOrientation = file.GetInt(FontSection, "Orientation", Font.lfOrientation);
    Font.lfWeight = file.GetInt(FontSection, "Weight", Font.lfWeight);
    Font.lfItalic = LowByte(file.GetInt(FontSection, "Italic", Font.lfItalic));
    Font.lfUnderline = LowByte(file.GetInt(FontSection, "Underline", Font.lfUnderline));
    Font.lfStrikeOut = LowByte(file.GetInt(FontSection, "StrikeOut", Font.lfStrikeOut));
    Font.lfOutPrecision = LowByte(file.GetInt(FontSection, "OutPrecision", Font.lfOutPrecision));
    Font.lfClipPrecision = LowByte(file.GetInt(FontSection, "ClipPrecision", Font.lfClipPrecision));
    Font.lfQuality = LowByte(file.GetInt(FontSection, "Quality", Font.lfQuality));
    Font.lfPitchAndFamily =
        LowByte(file.GetInt(FontSection, "PitchAndFamily", Font.lfPitchAndFamily));
    // CharSet is written but deliberately not read: the character set stays the
    // default whatever a file says.

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
    return true;
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
    // A position beyond the text (the file was shortened since) leaves the cursor
    // where it is; SetOffset refuses it.
    SetOffset(file.GetInt(PositionSection, "CurPos", offset));

    int read = 0;
    for (int i = 0; i < count; ++i) {
        const int32_t value = file.GetInt(PositionSection, BookmarkKey(i), 0);
        // A 0 after the first entry marks the end of the list, as a missing key does.
        if (i > 0 && value == 0)
            break;
        Bookmarks[static_cast<std::size_t>(i)] = value;
        ++read;
    }
    BookmarksNum = static_cast<uint16_t>(read);
    return true;
}
