// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes read as the companion settings file of a loaded text: every value
// must come out within its range, the cursor within the text, and the settings must
// survive a write and a second read unchanged. The same bytes written to a file and
// loaded from it must give the same settings.
#include "engine/UnitCutter.h"
#include "platform/ProfileFile.h"
#include "settings/ReadingSettings.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {
constexpr int32_t TextLength = 200;

// A text of TextLength bytes in an exact-size block, bound to a settings record.
struct BoundText {
    BoundText() : Bytes(TextLength + 1, 'w') {
        for (std::size_t i = 7; i < Bytes.size(); i += 8)
            Bytes[i] = i % 3 ? ' ' : '.';
        Bytes[TextLength] = '\0';
        Start = Bytes.data();
        Cursor = Start;
        Settings.BindText(&Start, &Cursor);
    }
    std::vector<char> Bytes;
    const char* Start = nullptr;
    const char* Cursor = nullptr;
    CReadingSettings Settings;
};

void CheckRanges(const BoundText& text) {
    const CReadingSettings& s = text.Settings;
    CHECK(s.MaxText >= 1 && s.MaxText <= 999);
    CHECK(s.MinText <= 999);
    CHECK(s.freq >= 1 && s.freq <= 30000);
    CHECK(s.durat >= 1 && s.durat <= 30000);
    CHECK(s.Width >= 1 && s.Width <= 3000);
    CHECK(s.UcOffset >= 0 && s.UcOffset <= 63);
    CHECK(s.TextLength == TextLength);
    CHECK(s.Font.lfCharSet == 204);
    CHECK(std::memchr(s.StopSimbols, '\0', sizeof s.StopSimbols) != nullptr);
    CHECK(std::memchr(s.Font.lfFaceName, '\0', sizeof s.Font.lfFaceName) != nullptr);
    const char* tail = s.UnconditionalPart();
    CHECK(tail >= s.StopSimbols && tail <= s.StopSimbols + std::strlen(s.StopSimbols));
    CHECK(s.Book.BookmarksNum <= CPositionBook::MaxBookmarks);
    CHECK(text.Cursor >= text.Start && text.Cursor <= text.Start + TextLength);
    for (int i = 0; i < CPositionBook::MaxBookmarks; ++i) {
        int32_t offset = 0;
        const char* at = s.GetBookmark(i, offset);
        CHECK(!at || (at >= text.Start && at <= text.Start + TextLength));
        CHECK(i < s.Book.BookmarksNum || (!at && offset == -1));
    }
}

void CheckSameSettings(const BoundText& a, const BoundText& b) {
    const CReadingSettings& x = a.Settings;
    const CReadingSettings& y = b.Settings;
    CHECK(x.Width == y.Width && x.DisplaySettingNum == y.DisplaySettingNum);
    CHECK(x.TexColor == y.TexColor && x.BkgColor == y.BkgColor);
    CHECK(x.MaxText == y.MaxText && x.MinText == y.MinText);
    CHECK(x.freq == y.freq && x.durat == y.durat && x.UcOffset == y.UcOffset);
    CHECK(x.Font.lfHeight == y.Font.lfHeight && x.Font.lfWeight == y.Font.lfWeight);
    CHECK(x.Font.lfEscapement == y.Font.lfEscapement);
    CHECK(x.Font.lfOrientation == y.Font.lfOrientation);
    CHECK(x.Font.lfItalic == y.Font.lfItalic && x.Font.lfQuality == y.Font.lfQuality);
    CHECK(x.Font.lfPitchAndFamily == y.Font.lfPitchAndFamily);
    CHECK(x.Book.Step == y.Book.Step && x.Book.BookmarksNum == y.Book.BookmarksNum);
    for (int i = 0; i < x.Book.BookmarksNum; ++i)
        CHECK(x.Book.Bookmarks[static_cast<std::size_t>(i)] ==
              y.Book.Bookmarks[static_cast<std::size_t>(i)]);
    CHECK(a.Cursor - a.Start == b.Cursor - b.Start);
    // The text form leaves backslashes alone and the file trims blanks and quotes
    // around a value, so only strings free of those come back exactly.
    if (!std::strpbrk(x.StopSimbols, "\\ \t\""))
        CHECK(std::strcmp(x.StopSimbols, y.StopSimbols) == 0);
}

// Whatever was read, reading the text from the stored position must come to an end.
void CheckReadingEnds(BoundText& text) {
    char unit[UnitBufferSize];
    const char* cursor = text.Cursor;
    for (int32_t cuts = 0;; ++cuts) {
        CHECK(cuts <= TextLength);
        const char* next = CutUnit(cursor, unit, text.Settings);
        CHECK(std::strlen(unit) < UnitBufferSize);
        if (!next)
            break;
        CHECK(next > cursor && next <= text.Start + TextLength);
        cursor = next;
    }
}
// One file per fuzzing process, removed when it ends.
const std::string& ScratchPath() {
    static const std::string path = [] {
        const char* folder = std::getenv("TMPDIR");
        std::string name = std::string(folder && *folder ? folder : "/tmp") + "/skimmet-fuzz-" +
                           std::to_string(::getpid()) + ".skm";
        std::atexit([] { ::unlink(ScratchPath().c_str()); });
        return name;
    }();
    return path;
}

void CheckFileReadsAsMemory(std::string_view bytes, const BoundText& fromMemory) {
    std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    CHECK(file != nullptr);
    CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    CHECK(std::fclose(file) == 0);
    BoundText fromFile;
    const bool read =
        fromFile.Settings.LoadFromFile(ScratchPath(), SettingsFileMode::Full, TextLength);
    CheckRanges(fromFile);
    if (bytes.size() > CProfileFile::MaxFileSize) {
        CHECK(!read);
        return;
    }
    CHECK(read);
    CheckSameSettings(fromMemory, fromFile);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    BoundText first;
    CHECK(
        first.Settings.LoadFrom(CProfileFile::FromText(bytes), SettingsFileMode::Full, TextLength));
    CheckRanges(first);
    CheckFileReadsAsMemory(bytes, first);

    CProfileFile written;
    first.Settings.StoreTo(written);
    CHECK(first.Settings.Book.WritePosition(written, SettingsFileMode::Full));
    BoundText second;
    CHECK(second.Settings.LoadFrom(CProfileFile::FromText(written.Text()), SettingsFileMode::Full,
                                   TextLength));
    CheckRanges(second);
    CheckSameSettings(first, second);

    CheckReadingEnds(first);
    return 0;
}
