// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandTable.h"

#include <array>
#include <utility>

namespace {

using namespace CommandId;

constexpr CommandInfo EncodingRow(int index, const char* name) {
    return {EncodingFirst + index,
            name,
            "Reads the text again in this encoding",
            "",
            nullptr,
            nullptr,
            true};
}

// The texts are the program's own, letter for letter, spelling included.
constexpr std::array CommandList{
    CommandInfo{FileOpen, "Open...\tCtrl+O", "Opens an existing text file", "Open", "document-open",
                "open", false},
    CommandInfo{LoadSettings, "Load settings...", "Load settings from file", "Load settings...",
                "document-import", "load-settings", false},
    CommandInfo{SaveAsDefault, "...as default",
                "Saves currient settings as defaulte settings of the program", "Save settings",
                "document-save-as", "save-default", false},
    CommandInfo{SaveFileSettings, "...of this file",
                "Saves settings as settings of the currently opened file",
                "Save settings of this file", "document-save", "save-file", false},
    CommandInfo{AppExit, "E&xit\tCtrl+Q", "Quit the application; prompts to save documents", "Exit",
                nullptr, nullptr, false},
    CommandInfo{EditUndo, "&Undo\tCtrl+Z", "Undo the last action", "Undo", nullptr, nullptr, false},
    CommandInfo{EditCut, "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard", "Cut",
                nullptr, nullptr, false},
    CommandInfo{EditCopy, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard", "Copy",
                nullptr, nullptr, false},
    CommandInfo{EditPaste, "&Paste\tCtrl+V", "Insert Clipboard contents", "Paste", nullptr, nullptr,
                false},
    CommandInfo{ViewToolBar, "&Toolbar", "Show or hide the toolbar", "Toggle ToolBar", nullptr,
                nullptr, true},
    CommandInfo{ViewStatusBar, "&Status Bar", "Show or hide the status bar", "Toggle StatusBar",
                nullptr, nullptr, true},
    CommandInfo{FullScreen, "Full Screen\tF11", "Full Screen View", "Full Screen",
                "view-fullscreen", "full-screen", false},
    CommandInfo{OptionsPanel, "Options panel", "Shows\\Hides an options panel", "Option panel",
                "preferences-system", "options-panel", true},
    CommandInfo{ReadingOptions, "Reading options",
                "Shows the options panel and opens a page of reading options", "Reading options",
                "preferences-desktop-font", "reading-options", false},
    CommandInfo{MovePosition, "Move position",
                "Shows the options panel and opens a page of moving a text position",
                "Move position", "go-jump", "move-position", false},
    CommandInfo{Run, "Run", "", "Run", "media-playback-start", "run", true},
    CommandInfo{Pause, "Pause", "Stops and saves currient position", "Pause",
                "media-playback-pause", "pause", true},
    CommandInfo{Stop, "STOP", "Stops tand sets the position to the beginning", "Stop",
                "media-playback-stop", "stop", true},
    CommandInfo{AddBookmark, "Add Bookmark", "Adds a bookmark associated with the current position",
                "Add Bookmark", "bookmark-new", "add-bookmark", false},
    CommandInfo{RunOrPause, "Run or Pause\tSpace", "Runs the reading, or pauses it while it runs",
                "Run or Pause", nullptr, nullptr, false},
    CommandInfo{SentenceBack, "Back one sentence\tLeft",
                "Moves to the start of the previous sentence", "Back one sentence", nullptr,
                nullptr, false},
    CommandInfo{SentenceForward, "Forward one sentence\tRight",
                "Moves to the start of the next sentence", "Forward one sentence", nullptr, nullptr,
                false},
    CommandInfo{Faster, "Faster\tUp", "Shortens the gap and the duration by a tenth", "Faster",
                nullptr, nullptr, false},
    CommandInfo{Slower, "Slower\tDown", "Lengthens the gap and the duration by a tenth", "Slower",
                nullptr, nullptr, false},
    CommandInfo{BackToStart, "Back to the start\tHome", "Moves to the start of the text",
                "Back to the start", nullptr, nullptr, false},
    CommandInfo{PaceByContent, "Pace by content\tCtrl+P",
                "Paces each unit by what it holds and what ended the one before", "Pace by content",
                nullptr, nullptr, true},
    CommandInfo{UnitBack, "Back one unit\tCtrl+Left", "Moves to the unit before", "Back one unit",
                nullptr, nullptr, false},
    CommandInfo{UnitForward, "Forward one unit\tCtrl+Right", "Moves to the unit after",
                "Forward one unit", nullptr, nullptr, false},
    CommandInfo{ParagraphBack, "Back one paragraph\tCtrl+Up",
                "Moves to the start of the previous paragraph", "Back one paragraph", nullptr,
                nullptr, false},
    CommandInfo{ParagraphForward, "Forward one paragraph\tCtrl+Down",
                "Moves to the start of the next paragraph", "Forward one paragraph", nullptr,
                nullptr, false},
    CommandInfo{Replay, "Replay\tBackspace",
                "Reads the sentence again from its start, slowly at first", "Replay", nullptr,
                nullptr, false},
    CommandInfo{ChapterBack, "Back one chapter\tPage Up",
                "Moves to the start of this chapter, or of the one before at its start",
                "Back one chapter", nullptr, nullptr, false},
    CommandInfo{ChapterForward, "Forward one chapter\tPage Down",
                "Moves to the start of the next chapter", "Forward one chapter", nullptr, nullptr,
                false},
    CommandInfo{PauseAtChapterEnd, "Pause at chapter end",
                "Pauses the reading once the last unit of a chapter has been shown",
                "Pause at chapter end", nullptr, nullptr, true},
    CommandInfo{ReadingLog, "Reading log",
                "Shows what was read, how fast and how well it was followed", "Reading log",
                nullptr, nullptr, false},
    CommandInfo{AppAbout, "&About Skimmet...",
                "Display program information, version number and copyright", "About", "help-about",
                "about", false},
    CommandInfo{HomePage, "Home Page", "Visit my WWW home page", "Home Page", "go-home",
                "home-page", false},
    // Reachable by accelerator only; nothing handles them.
    CommandInfo{NextPane, nullptr, "", "", nullptr, nullptr, false},
    CommandInfo{PrevPane, nullptr, "", "", nullptr, nullptr, false},
    CommandInfo{EncodingAuto, "Auto-detect", "Reads the text again in the encoding its bytes show",
                "", nullptr, nullptr, true},
    EncodingRow(0, "UTF-8"),
    EncodingRow(1, "UTF-16LE"),
    EncodingRow(2, "UTF-16BE"),
    EncodingRow(3, "UTF-32LE"),
    EncodingRow(4, "UTF-32BE"),
    EncodingRow(5, "windows-1251"),
    EncodingRow(6, "KOI8-R"),
    EncodingRow(7, "IBM866"),
    EncodingRow(8, "ISO-8859-5"),
    EncodingRow(9, "windows-1252"),
    EncodingRow(10, "Shift_JIS"),
    EncodingRow(11, "GB18030"),
    EncodingRow(12, "Big5"),
    EncodingRow(13, "EUC-KR"),
    EncodingRow(14, "EUC-JP"),
};

constexpr MenuItem Separator{};

template <std::size_t... I> constexpr auto EncodingItems(std::index_sequence<I...>) {
    return std::array{MenuItem{EncodingAuto}, Separator, MenuItem{EncodingFirst + int{I}}...};
}
constexpr auto ViewEncodingMenu = EncodingItems(std::make_index_sequence<EncodingCount>());

constexpr std::array FileSaveMenu{MenuItem{SaveAsDefault}, MenuItem{SaveFileSettings}};
// "Recent texts" above Exit, where every desktop program keeps it.
constexpr std::array FileMenu{MenuItem{FileOpen},
                              Separator,
                              MenuItem{LoadSettings},
                              MenuItem{0, "Save settings", FileSaveMenu},
                              Separator,
                              MenuItem{RecentTexts, "Recent texts"},
                              Separator,
                              MenuItem{AppExit}};
constexpr std::array EditMenu{MenuItem{EditUndo}, Separator, MenuItem{EditCut}, MenuItem{EditCopy},
                              MenuItem{EditPaste}};
constexpr std::array ViewSubOptionsMenu{MenuItem{ReadingOptions}, MenuItem{MovePosition}};
constexpr std::array ViewMenu{MenuItem{ViewToolBar},
                              MenuItem{ViewStatusBar},
                              Separator,
                              MenuItem{FullScreen},
                              MenuItem{OptionsPanel},
                              MenuItem{0, "SubOptions", ViewSubOptionsMenu},
                              Separator,
                              MenuItem{0, "Encoding", ViewEncodingMenu},
                              Separator,
                              MenuItem{ReadingLog}};
constexpr std::array RunMenu{MenuItem{Run},
                             MenuItem{Pause},
                             MenuItem{Stop},
                             Separator,
                             MenuItem{AddBookmark},
                             Separator,
                             MenuItem{RunOrPause},
                             MenuItem{SentenceBack},
                             MenuItem{SentenceForward},
                             MenuItem{Faster},
                             MenuItem{Slower},
                             MenuItem{BackToStart},
                             Separator,
                             MenuItem{PaceByContent},
                             Separator,
                             MenuItem{UnitBack},
                             MenuItem{UnitForward},
                             MenuItem{ParagraphBack},
                             MenuItem{ParagraphForward},
                             MenuItem{Replay},
                             MenuItem{ChapterBack},
                             MenuItem{ChapterForward},
                             MenuItem{PauseAtChapterEnd}};
constexpr std::array HelpMenu{MenuItem{AppAbout}, MenuItem{HomePage}};

constexpr std::array MenuBar{MenuDef{"&File", FileMenu}, MenuDef{"&Edit", EditMenu},
                             MenuDef{"&View", ViewMenu}, MenuDef{"&Run", RunMenu},
                             MenuDef{"&Help", HelpMenu}};

// 0 is a separator.
// clang-format off
constexpr std::array ToolBar{
    FileOpen, 0,
    Run, Pause, Stop, AddBookmark, 0,
    FullScreen, 0,
    OptionsPanel, ReadingOptions, MovePosition, 0,
    LoadSettings, SaveAsDefault, SaveFileSettings, 0,
    HomePage, AppAbout,
};
// clang-format on

constexpr std::array AcceleratorList{
    Accelerator{Qt::CTRL | Qt::Key_O, FileOpen},
    Accelerator{Qt::CTRL | Qt::Key_Q, AppExit},
    Accelerator{QKeyCombination(Qt::Key_F11), FullScreen},
    Accelerator{Qt::CTRL | Qt::Key_C, EditCopy},
    Accelerator{Qt::CTRL | Qt::Key_Insert, EditCopy},
    Accelerator{Qt::CTRL | Qt::Key_V, EditPaste},
    Accelerator{Qt::SHIFT | Qt::Key_Insert, EditPaste},
    Accelerator{Qt::CTRL | Qt::Key_X, EditCut},
    Accelerator{Qt::SHIFT | Qt::Key_Delete, EditCut},
    Accelerator{Qt::CTRL | Qt::Key_Z, EditUndo},
    Accelerator{Qt::ALT | Qt::Key_Backspace, EditUndo},
    Accelerator{QKeyCombination(Qt::Key_F6), NextPane},
    Accelerator{Qt::SHIFT | Qt::Key_F6, PrevPane},
    // Return on the main keyboard and Enter on the keypad are one key to the user.
    Accelerator{Qt::ALT | Qt::Key_Return, FullScreen},
    Accelerator{Qt::ALT | Qt::Key_Enter, FullScreen},
    // Reading from the keyboard. Space is the view's own in full-screen mode and a
    // focused panel control's; the frame hands those keys on (CMainFrame::KeepsKey).
    Accelerator{QKeyCombination(Qt::Key_Space), RunOrPause},
    Accelerator{QKeyCombination(Qt::Key_Return), RunOrPause},
    Accelerator{QKeyCombination(Qt::Key_Enter), RunOrPause},
    Accelerator{QKeyCombination(Qt::Key_MediaTogglePlayPause), RunOrPause},
    Accelerator{QKeyCombination(Qt::Key_MediaPlay), RunOrPause},
    Accelerator{QKeyCombination(Qt::Key_Left), SentenceBack},
    Accelerator{QKeyCombination(Qt::Key_Right), SentenceForward},
    Accelerator{QKeyCombination(Qt::Key_Up), Faster},
    Accelerator{QKeyCombination(Qt::Key_Down), Slower},
    Accelerator{QKeyCombination(Qt::Key_Home), BackToStart},
    Accelerator{Qt::CTRL | Qt::Key_P, PaceByContent},
    Accelerator{Qt::CTRL | Qt::Key_Left, UnitBack},
    Accelerator{Qt::CTRL | Qt::Key_Right, UnitForward},
    Accelerator{Qt::CTRL | Qt::Key_Up, ParagraphBack},
    Accelerator{Qt::CTRL | Qt::Key_Down, ParagraphForward},
    Accelerator{QKeyCombination(Qt::Key_Backspace), Replay},
    Accelerator{QKeyCombination(Qt::Key_PageUp), ChapterBack},
    Accelerator{QKeyCombination(Qt::Key_PageDown), ChapterForward},
};

// One of many: the play state, and the encoding a text is read in.
constexpr std::array PlayGroup{Run, Pause, Stop};
template <std::size_t... I> constexpr auto EncodingIds(std::index_sequence<I...>) {
    return std::array{EncodingAuto, EncodingFirst + int{I}...};
}
constexpr auto EncodingGroup = EncodingIds(std::make_index_sequence<EncodingCount>());
constexpr std::array<std::span<const int>, 2> RadioGroupList{PlayGroup, EncodingGroup};

} // namespace

std::span<const std::span<const int>> RadioGroups() {
    return RadioGroupList;
}

std::span<const CommandInfo> Commands() {
    return CommandList;
}

std::span<const MenuDef> MainMenu() {
    return MenuBar;
}

std::span<const int> ToolBarButtons() {
    return ToolBar;
}

std::span<const Accelerator> Accelerators() {
    return AcceleratorList;
}
