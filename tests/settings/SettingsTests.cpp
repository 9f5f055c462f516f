// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ProfileFile.h"
#include "settings/ReadingSettings.h"
#include "settings/TextBuffer.h"
#include "settings/TextSettings.h"
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"
#include "text/TextEncoding.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <tuple>
#include <utility>
#include <vector>

// The reading settings and their position book, their file, and loading a text: its
// bytes, then its settings.
namespace {
namespace fs = std::filesystem;
using namespace std::string_literals;

// A settings record bound to a text of `length` bytes, cursor at the start.
struct BoundText {
    explicit BoundText(int length) : Bytes(static_cast<std::size_t>(length), 'a') {
        Settings.BindText(&Start, &Cursor);
        Settings.TextLength = length;
    }
    int32_t Offset() const { return static_cast<int32_t>(Cursor - Start); }
    std::string Bytes;
    const char* Start = Bytes.c_str();
    const char* Cursor = Start;
    CReadingSettings Settings;
};

// The settings as a file holds them: MAIN, LogFont and the step.
std::string Stored(const CReadingSettings& settings) {
    CProfileFile file;
    settings.StoreTo(file);
    settings.Book.WritePosition(file, SettingsFileMode::SettingsOnly);
    return file.Text();
}

// The unconditional tail of the stop symbols: its text form is written where it starts
// unless it does not fit, and the split moves within the string.
TEST(ReadingSettings, UnconditionalTail_WrittenWhereItStartsAndShiftedWithinTheString) {
    CReadingSettings settings;
    for (const auto& [symbols, ucOffset, text, expected] :
         {std::tuple<std::string, int32_t, std::string, std::string>{",;.:?!\\n\\r", 2, ";", ",;;"},
          {",;", 2, std::string(61, 'a'), ",;" + std::string(61, 'a')},
          {",;.", 2, std::string(62, 'a'), ",;."}, // over 63: nothing changes
          {"a", 5, "x", "ax"},                     // split beyond: appended
          {"a", -3, "x", "ax"}}) {
        SCOPED_TRACE(text);
        settings.SetStopSymbolsText(symbols);
        settings.UcOffset = ucOffset;
        EXPECT_EQ(settings.GetUnconditionalText(), ucOffset == 2 ? symbols.substr(2) : "");
        settings.SetUnconditionalText(text);
        EXPECT_EQ(std::pair(std::string(settings.StopSimbols), settings.UcOffset),
                  std::pair(expected, ucOffset));
    }
    settings.ResetDefaults(); // the split moves within the string, then refuses
    for (const auto& [direction, moves] :
         {std::pair{SplitDirection::Forward, 6}, {SplitDirection::Back, 8}}) {
        for (int i = 0; i < moves; ++i)
            EXPECT_TRUE(settings.ShiftSplit(direction));
        EXPECT_FALSE(settings.ShiftSplit(direction));
    }
    settings.SetStopSymbolsText("a");
    settings.UcOffset = 2; // beyond the string: forward refused, back allowed
    EXPECT_FALSE(settings.ShiftSplit(SplitDirection::Forward));
    EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Back));
    EXPECT_EQ(settings.GetUnconditionalText(), "");
}

TEST(PositionBook, WithoutText_NoPositionAndBookmarksStoreZero) {
    const char *start = nullptr, *cursor = nullptr;
    CReadingSettings unbound, empty;
    empty.BindText(&start, &cursor);
    for (auto [settings, offset] : {std::pair{&unbound, -1}, {&empty, -2}}) {
        EXPECT_EQ(settings->Book.GetOffset(), offset);
        EXPECT_FALSE(settings->SetPosition(0) || settings->MoveBy(1));
        settings->AddBookmark();
        int32_t at = 5;
        EXPECT_EQ(settings->GetBookmark(0, at), nullptr);
        EXPECT_EQ(std::pair(settings->Book.Bookmarks[0], at), std::pair(0, -1));
        // A load applies the settings, but cannot place the position.
        const CProfileFile file = CProfileFile::FromText("[MAIN]\nfreq=50\n[POSITION]\nStep=4");
        EXPECT_FALSE(settings->LoadFrom(file, SettingsFileMode::Full, 10));
        EXPECT_EQ(std::tuple(settings->freq, settings->Book.Step, settings->TextLength),
                  std::tuple(50U, 4, 10));
    }
}

// SetPosition stops before the terminator, MoveBy never wraps, no offset lies before 0.
TEST(PositionBook, Moves_StayWithinTheText) {
    for (const auto& [from, delta, moved] :
         {std::tuple{50, 49, true}, {50, 50, false}, {50, INT_MAX, false}, {50, INT_MIN, false}}) {
        SCOPED_TRACE(testing::Message() << from << " by " << delta);
        BoundText text(100);
        ASSERT_TRUE(text.Settings.SetPosition(from));
        EXPECT_EQ(text.Settings.MoveBy(delta), moved);
        EXPECT_EQ(text.Offset(), moved ? from + delta : from);
    }
    BoundText text(100);
    EXPECT_FALSE(text.Settings.Book.SetOffset(-1));
}

// The list keeps the last 64 entries, even when its count was set from outside; an
// entry has text only within the text, an index beyond the list none at all.
TEST(PositionBook, Bookmarks_KeepTheLast64AndGiveTextOnlyWithinTheText) {
    BoundText text(100);
    for (int i = 0; i < 65; ++i) {
        ASSERT_TRUE(text.Settings.SetPosition(i / 2 * 2)); // each place twice
        text.Settings.AddBookmark();
    }
    auto& book = text.Settings.Book;
    EXPECT_EQ(std::tuple(book.BookmarksNum, book.Bookmarks[0], book.Bookmarks[63]),
              std::tuple(64, 0, 64));
    book.BookmarksNum = 300;
    text.Settings.AddBookmark();
    EXPECT_EQ(book.BookmarksNum, 64);
    int32_t offset = 0;
    for (const auto& [entry, hasText] : {std::pair{100, true}, {101, false}, {-1, false}}) {
        book.Bookmarks[0] = entry;
        book.BookmarksNum = 1;
        EXPECT_EQ(text.Settings.GetBookmark(0, offset), hasText ? text.Start + entry : nullptr);
        EXPECT_EQ(offset, entry);
    }
    EXPECT_EQ(text.Settings.GetBookmark(1, offset), nullptr);
    EXPECT_EQ(offset, -1);
}

// Every field away from its default, in the order a save writes them. The text's loading
// reads the encoding; the settings only write it, after the stop symbols.
constexpr char EditedFile[] =
    "[MAIN]\nBkgColor=-1\nDisplaySettingNum=-4\ndurat=2\nfreq=29999\nMaxText=900\nMinText=-4\n"
    "UcOffset=3\nWidth=777\nTexColor=1193046\nStopSimbols=ab\\tcd\\n\\r\n"
    "Encoding=windows-1251\nPaceByContent=1\nPaceReferenceLength=20\nPaceLengthWeight=0\n"
    "PaceMinShow=30000\nPaceLongWord=2\nPaceLongWordTime=500\nPaceNumberTime=1\n"
    "PaceClauseGap=10\nPaceSentenceGap=999\nPaceParagraphGap=1000\nPaceStartUnits=50\n"
    "PaceStartTime=100\nPaceSentencesFirst=1\nPauseAtChapterEnd=1\n"
    "[LogFont]\nHeight=-20\nCharSet=204\nEscapement=900\nOrientation=450\nWeight=700\nItalic=1\n"
    "Underline=2\nStrikeOut=3\nOutPrecision=5\nClipPrecision=6\nQuality=7\nPitchAndFamily=255\n"
    "FaceName=Liberation Serif\n[POSITION]\nStep=65535\nBookmarksNum=3\nCurPos=250\n"
    "Bookmark1=10\nBookmark2=499\nBookmark3=-3\nCurPosText=aaaaaaaaaaaaaaaaaaaaaaaa\n"
    "Bookmark1Text=aaaaaaaaaaaaaaaaaaaaaaaa\nBookmark2Text=a\nBookmark3Text=\n";

// A place is kept with the text there, and found again nearby in a text that changed.
TEST(PositionBook, ChangedText_PlaceFoundAgainByItsExcerptOrKeptAsStored) {
    const std::string before = "One two three. Four five six.\\n";
    const struct {
        const char* Name;
        std::string After;
        bool WithExcerpt;
        int32_t Found;
    } rows[] = {
        {"lines added above", "A new line.\n" + before, true, 27},
        {"the excerpt gone", "Something else entirely, and long enough.", true, 15},
        {"a file without excerpts", "A new line.\n" + before, false, 15},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        CTempFolder folder;
        const std::string path = folder.Path("t.skm");
        BoundText text(static_cast<int>(before.size()));
        text.Bytes = before;
        text.Start = text.Cursor = text.Bytes.c_str();
        text.Settings.SetPosition(15);
        text.Settings.AddBookmark();
        ASSERT_TRUE(text.Settings.SaveToFile(path, SettingsFileMode::Full));
        if (!row.WithExcerpt)
            WriteBytes(path, "[POSITION]\nBookmarksNum=1\nCurPos=15\nBookmark1=15\n");
        BoundText edited(static_cast<int>(row.After.size()));
        edited.Bytes = row.After;
        edited.Start = edited.Cursor = edited.Bytes.c_str();
        const auto length = static_cast<int32_t>(row.After.size());
        ASSERT_TRUE(edited.Settings.LoadFromFile(path, SettingsFileMode::Full, length));
        EXPECT_EQ(edited.Offset(), row.Found);
        EXPECT_EQ(edited.Settings.Book.Bookmarks[0], row.Found);
    }
}

// In full, no text means no position to save.
TEST(SettingsFile, SaveFull_WithoutText_FailsWithAMessageAndKeepsTheFile) {
    CTempFolder folder;
    const std::string path = folder.Path("s.skm");
    WriteBytes(path, "[A]\nk=1\n");
    std::string error;
    EXPECT_FALSE(CReadingSettings().SaveToFile(path, SettingsFileMode::Full, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(ReadBytes(path), "[A]\nk=1\n");
}

// A text whose name leaves no room for ".skm" keeps its place in a file whose name fits:
// two such names alike at their start keep one each, and a name cut inside a letter is
// cut before it.
TEST(SettingsFile, LongTextNames_EachKeepsItsPlaceInACompanionThatFits) {
    CTempFolder folder;
    const struct {
        const char* Name;
        std::string File;
        int32_t Place;
    } rows[] = {
        {"255 bytes", std::string(251, 'a') + ".txt", 7},
        {"alike at the start", std::string(251, 'a') + ".tx2", 9},
        {"two-byte letters",
         [] {
             std::string name;
             for (int i = 0; i < 125; ++i)
                 name += "\xD0\x96";
             return name + ".txt";
         }(),
         11},
    };
    std::vector<std::string> companions;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        BoundText text(100);
        ASSERT_TRUE(text.Settings.SetPosition(row.Place));
        const std::string companion = CompanionPath(folder.Path(row.File));
        std::string error;
        EXPECT_TRUE(text.Settings.SaveToFile(companion, SettingsFileMode::Full, &error)) << error;
        BoundText again(100);
        EXPECT_TRUE(again.Settings.LoadFromFile(companion, SettingsFileMode::Full, 100));
        EXPECT_EQ(again.Settings.Book.GetOffset(), row.Place);
        EXPECT_TRUE(TextEncoding::IsValidUtf8(fs::path(companion).filename().string()));
        companions.push_back(companion);
    }
    EXPECT_NE(companions[0], companions[1]);
    EXPECT_EQ(CompanionPath("/t/short.txt"), "/t/short.txt.skm");
}

// The encoding belongs to the text: a defaults file never gets it.
TEST(SettingsFile, SaveSettingsOnly_LeavesTheEncodingOut) {
    CTempFolder folder;
    CReadingSettings settings;
    settings.Encoding = "windows-1251";
    ASSERT_TRUE(settings.SaveToFile(folder.Path("d.skm"), SettingsFileMode::SettingsOnly));
    EXPECT_EQ(ReadBytes(folder.Path("d.skm")).find("Encoding"), std::string::npos);
}

// Every field is read and written back; keys of other programs stay where they were. A
// missing file has no keys, which gives the defaults but for the length, the position,
// the font width and what lies after the face name.
TEST(SettingsFile, LoadThenSave_GivesBackEveryFieldBesideForeignKeys) {
    CTempFolder folder;
    const std::string path = folder.Path("round.skm");
    WriteBytes(path, EditedFile);
    BoundText text(500);
    ASSERT_TRUE(text.Settings.LoadFromFile(path, SettingsFileMode::Full, 500));
    EXPECT_EQ(text.Offset(), 250);
    text.Settings.Encoding = "windows-1251";
    WriteBytes(path, "; mine\n[Other]\nk=v\n");
    ASSERT_TRUE(text.Settings.SaveToFile(path, SettingsFileMode::Full));
    EXPECT_EQ(ReadBytes(path), std::string("; mine\n[Other]\nk=v\n") + EditedFile);
    text.Settings.Font.lfWidth = 11;
    EXPECT_TRUE(text.Settings.LoadFromFile(folder.Path("absent"), SettingsFileMode::Full, 0));
    EXPECT_EQ(Stored(text.Settings), Stored(CReadingSettings()));
    const CReadingSettings& s = text.Settings;
    EXPECT_EQ(std::tuple(s.TextLength, text.Offset(), s.Book.BookmarksNum, s.Font.lfWidth,
                         s.Font.lfFaceName[12]),
              std::tuple(500, 250, 0, 11, 'e')); // Liberation Serif
}

// Stop symbols come in their text form (\n, \r, \t), which must fit.
TEST(SettingsFile, Load_BringsEachValueWithinItsBounds) {
    const std::pair<std::string, std::string> cases[] = {
        {"[MAIN]\nMinText=4000000", "\nMinText=999\n"},
        {"[MAIN]\ndurat=4294967295", "\ndurat=1\n"},
        {"[MAIN]\nPaceByContent=7", "\nPaceByContent=1\n"},
        {"[MAIN]\nPaceClauseGap=-5", "\nPaceClauseGap=10\n"},
        {"[MAIN]\nPaceStartUnits=99999", "\nPaceStartUnits=50\n"},
        {"[MAIN]\nStopSimbols=" + std::string(63, '.'), "=" + std::string(63, '.') + "\n"},
        {"[MAIN]\nStopSimbols=" + std::string(64, '.'), "=,;.:?!\\n\\r\n"},
        {"[MAIN]\nStopSimbols=a\\nb\\rc\\td\\q\\\\n", "=a\\nb\\rc\\tdq\\n\n"}, // text forms
        {"[MAIN]\nStopSimbols=ab\\", "=ab\n"},
        {"[MAIN]\nStopSimbols=a\0b"s, "=a\n"},
        {"[LogFont]\nItalic=257", "\nItalic=1\n"},
        {"[LogFont]\nCharSet=0", "\nCharSet=204\n"},
        {"[LogFont]\nFaceName=" + std::string(40, 'F'), "=" + std::string(31, 'F') + "\n"},
        {"[POSITION]\nStep=65538", "\nStep=2\n"},
    };
    for (const auto& [file, line] : cases) {
        SCOPED_TRACE(file);
        CReadingSettings settings;
        settings.LoadFrom(CProfileFile::FromText(file), SettingsFileMode::SettingsOnly, 0);
        EXPECT_NE(Stored(settings).find(line), std::string::npos) << Stored(settings);
    }
}

TEST(SettingsFile, Load_ReadsPositionAndBookmarkList) {
    std::string many = "BookmarksNum=1000\n"; // only 64 are read
    for (int i = 1; i <= 100; ++i)
        many += "Bookmark" + std::to_string(i) + "=5\n";
    const std::pair<std::string, std::vector<int32_t>> cases[] = {
        {"BookmarksNum=3\nBookmark1=0\nBookmark2=0\nBookmark3=7", {0}}, // a 0 ends it
        {"BookmarksNum=3\nBookmark1=4\nBookmark3=7", {4}},              // so does a gap
        {"BookmarksNum=1\nBookmark1=4\nBookmark2=9", {4}},
        {"BookmarksNum=65537\nBookmark1=4\nBookmark2=5", {4}}, // low 16 bits
        {many, std::vector(64, 5)},
    };
    for (const auto& [position, bookmarks] : cases) {
        SCOPED_TRACE(position);
        BoundText text(100); // the position may rest on the terminator
        EXPECT_TRUE(
            text.Settings.LoadFrom(CProfileFile::FromText("[POSITION]\nCurPos=100\n" + position),
                                   SettingsFileMode::Full, 100));
        EXPECT_EQ(text.Offset(), 100);
        const auto& book = text.Settings.Book;
        EXPECT_EQ(std::vector(book.Bookmarks.begin(), book.Bookmarks.begin() + book.BookmarksNum),
                  bookmarks);
    }
}

// The bytes and a NUL after them. What is no regular file is refused, a FIFO without
// waiting for a writer.
TEST(TextBuffer, Load_HoldsTheBytesAndANulRefusingWhatIsNoRegularFile) {
    CTempFolder folder;
    WriteBytes(folder.Path("empty"), "");
    WriteBytes(folder.Path("binary"), std::string("a\0b\xff\r\n", 6));
    fs::create_directory(folder.Path("folder"));
    ASSERT_EQ(::mkfifo(folder.Path("fifo").c_str(), 0600), 0);
    for (const std::string name : {"empty", "binary", "folder", "fifo"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.Path(name);
        TextLoadError error = TextLoadError::Cancelled;
        const auto text = CTextBuffer::Load(path, error);
        const bool regular = fs::is_regular_file(path);
        EXPECT_EQ(error, regular ? TextLoadError::None : TextLoadError::CannotOpen);
        ASSERT_EQ(text.has_value(), regular);
        EXPECT_TRUE(!text ||
                    std::string(text->Data(), text->Size() + 1U) == ReadBytes(path) + '\0');
    }
}

TEST(TextSettings, DefaultsFile_FollowsAnAbsoluteXdgConfigHome) {
    const CScopedEnv home("HOME", "/home/reader");
    for (const char* config : {static_cast<const char*>(nullptr), "", "cfg", "/cfg"}) {
        SCOPED_TRACE(config ? config : "unset");
        const CScopedEnv xdg("XDG_CONFIG_HOME", config);
        EXPECT_EQ(DefaultsFilePath(), config && config[0] == '/'
                                          ? "/cfg/skimmet/default.skm"
                                          : "/home/reader/.config/skimmet/default.skm");
    }
}

// The companion file first, in full, else the defaults file, settings only. The record
// starts with leftovers of a previous text.
TEST(TextSettings, LoadSettingsForText_TakesTheFirstFileThatCanBeRead) {
    const char* full =
        "[MAIN]\nfreq=111\n[POSITION]\nBookmarksNum=2\nCurPos=40\nBookmark1=10\nBookmark2=20\n";
    for (const auto& [companion, length, source, freq, bookmarks] :
         {std::tuple{"/", 100, SettingsSource::DefaultsFile, 222U, 0}, // a folder in its place
          {full, 15, SettingsSource::Companion, 111U, 2},              // shortened text
          {full, 0, SettingsSource::Companion, 111U, 2}}) {            // empty text
        SCOPED_TRACE(length);
        CTempFolder folder;
        const CScopedEnv config("XDG_CONFIG_HOME", folder.Folder().c_str());
        fs::create_directory(folder.Path("skimmet"));
        WriteBytes(folder.Path("skimmet/default.skm"),
                   "[MAIN]\nfreq=222\n[POSITION]\nBookmarksNum=1\nCurPos=60\nBookmark1=30\n");
        fs::create_directory(folder.Path(std::string(200, 'd'))); // over 260 in all
        const std::string textPath =
            folder.Path(std::string(200, 'd') + "/" + std::string(80, 'n'));
        if (std::string_view(companion) == "/")
            fs::create_directory(textPath + ".skm");
        else
            WriteBytes(textPath + ".skm", companion);
        BoundText text(length);
        text.Settings.TextLength = 5000;
        text.Settings.Book.BookmarksNum = 2;
        EXPECT_EQ(LoadSettingsForText(text.Settings, textPath, length), source);
        const CReadingSettings& s = text.Settings;
        EXPECT_EQ(std::tuple(s.freq, text.Offset(), s.Book.BookmarksNum + 0, s.TextLength),
                  std::tuple(freq, 0, bookmarks, length));
    }
}

TEST(CharacterPosition, OffsetInsideACharacter_MovesBackToItsFirstByte) {
    for (const auto& [offset, placed, stepped] :
         {std::tuple{2, 1, 3}, {4, 3, 6}, {5, 3, 6}, {9, 6, 10}, {10, 10, 10}}) {
        SCOPED_TRACE(offset);
        BoundText text(11);
        std::memcpy(text.Bytes.data(), "aж語😀b", 11); // characters at 0, 1, 3, 6 and 10
        text.Settings.CharacterMode = true;
        EXPECT_TRUE(text.Settings.SetPosition(offset));
        EXPECT_EQ(text.Offset(), placed);
        text.Settings.Book.Bookmarks[0] = offset;
        text.Settings.Book.BookmarksNum = 1;
        int32_t at = -1;
        EXPECT_EQ(text.Settings.GetBookmark(0, at), text.Start + placed);
        EXPECT_EQ(at, placed);
        ASSERT_TRUE(text.Settings.SetPosition(offset - 1));
        EXPECT_TRUE(text.Settings.MoveBy(1)); // on past a character it would end inside
        EXPECT_EQ(text.Offset(), stepped);
        text.Settings.CharacterMode = false;
        EXPECT_TRUE(text.Settings.SetPosition(offset));
        EXPECT_EQ(text.Offset(), offset);
    }
}

TEST(CharacterPosition, ShiftSplit_CountsTheCharactersOfTheStopSymbols) {
    CReadingSettings settings;
    settings.CharacterMode = true;
    settings.SetStopSymbolsText("。、…");
    settings.UcOffset = 2;
    EXPECT_TRUE(settings.ShiftSplit(SplitDirection::Forward));
    EXPECT_FALSE(settings.ShiftSplit(SplitDirection::Forward));
}
} // namespace
