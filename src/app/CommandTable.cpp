// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandTable.h"

#include <QtGlobal>

#include <array>
#include <utility>

namespace {

using namespace CommandId;

constexpr CommandInfo EncodingRow(int index, const char* name) {
    return {EncodingFirst + index,
            name,
            QT_TRANSLATE_NOOP("Commands", "Reads the text again in this encoding"),
            "",
            nullptr,
            nullptr,
            true};
}

// The texts are the program's own, letter for letter, spelling included.
constexpr std::array CommandList{
    CommandInfo{FileOpen, QT_TRANSLATE_NOOP("Commands", "Open...\tCtrl+O"),
                QT_TRANSLATE_NOOP("Commands", "Opens an existing text file"),
                QT_TRANSLATE_NOOP("Commands", "Open"), "document-open", "open", false},
    CommandInfo{LoadSettings, QT_TRANSLATE_NOOP("Commands", "Load settings..."),
                QT_TRANSLATE_NOOP("Commands", "Load settings from file"),
                QT_TRANSLATE_NOOP("Commands", "Load settings..."), "document-import",
                "load-settings", false},
    CommandInfo{SaveAsDefault, QT_TRANSLATE_NOOP("Commands", "...as default"),
                QT_TRANSLATE_NOOP("Commands",
                                  "Saves currient settings as defaulte settings of the program"),
                QT_TRANSLATE_NOOP("Commands", "Save settings"), "document-save-as", "save-default",
                false},
    CommandInfo{
        SaveFileSettings, QT_TRANSLATE_NOOP("Commands", "...of this file"),
        QT_TRANSLATE_NOOP("Commands", "Saves settings as settings of the currently opened file"),
        QT_TRANSLATE_NOOP("Commands", "Save settings of this file"), "document-save", "save-file",
        false},
    CommandInfo{AppExit, QT_TRANSLATE_NOOP("Commands", "E&xit\tCtrl+Q"),
                QT_TRANSLATE_NOOP("Commands", "Quit the application; prompts to save documents"),
                QT_TRANSLATE_NOOP("Commands", "Exit"), nullptr, nullptr, false},
    CommandInfo{EditUndo, QT_TRANSLATE_NOOP("Commands", "&Undo\tCtrl+Z"),
                QT_TRANSLATE_NOOP("Commands", "Undo the last action"),
                QT_TRANSLATE_NOOP("Commands", "Undo"), nullptr, nullptr, false},
    CommandInfo{EditCut, QT_TRANSLATE_NOOP("Commands", "Cu&t\tCtrl+X"),
                QT_TRANSLATE_NOOP("Commands", "Cut the selection and put it on the Clipboard"),
                QT_TRANSLATE_NOOP("Commands", "Cut"), nullptr, nullptr, false},
    CommandInfo{EditCopy, QT_TRANSLATE_NOOP("Commands", "&Copy\tCtrl+C"),
                QT_TRANSLATE_NOOP("Commands", "Copy the selection and put it on the Clipboard"),
                QT_TRANSLATE_NOOP("Commands", "Copy"), nullptr, nullptr, false},
    CommandInfo{EditPaste, QT_TRANSLATE_NOOP("Commands", "&Paste\tCtrl+V"),
                QT_TRANSLATE_NOOP("Commands", "Insert Clipboard contents"),
                QT_TRANSLATE_NOOP("Commands", "Paste"), nullptr, nullptr, false},
    CommandInfo{ViewToolBar, QT_TRANSLATE_NOOP("Commands", "&Toolbar"),
                QT_TRANSLATE_NOOP("Commands", "Show or hide the toolbar"),
                QT_TRANSLATE_NOOP("Commands", "Toggle ToolBar"), nullptr, nullptr, true},
    CommandInfo{ViewStatusBar, QT_TRANSLATE_NOOP("Commands", "&Status Bar"),
                QT_TRANSLATE_NOOP("Commands", "Show or hide the status bar"),
                QT_TRANSLATE_NOOP("Commands", "Toggle StatusBar"), nullptr, nullptr, true},
    CommandInfo{FullScreen, QT_TRANSLATE_NOOP("Commands", "Full Screen\tF11"),
                QT_TRANSLATE_NOOP("Commands", "Full Screen View"),
                QT_TRANSLATE_NOOP("Commands", "Full Screen"), "view-fullscreen", "full-screen",
                false},
    CommandInfo{OptionsPanel, QT_TRANSLATE_NOOP("Commands", "Options panel"),
                QT_TRANSLATE_NOOP("Commands", "Shows\\Hides an options panel"),
                QT_TRANSLATE_NOOP("Commands", "Option panel"), "preferences-system",
                "options-panel", true},
    CommandInfo{ReadingOptions, QT_TRANSLATE_NOOP("Commands", "Reading options"),
                QT_TRANSLATE_NOOP("Commands",
                                  "Shows the options panel and opens a page of reading options"),
                QT_TRANSLATE_NOOP("Commands", "Reading options"), "preferences-desktop-font",
                "reading-options", false},
    CommandInfo{
        MovePosition, QT_TRANSLATE_NOOP("Commands", "Move position"),
        QT_TRANSLATE_NOOP("Commands",
                          "Shows the options panel and opens a page of moving a text position"),
        QT_TRANSLATE_NOOP("Commands", "Move position"), "go-jump", "move-position", false},
    CommandInfo{Run, QT_TRANSLATE_NOOP("Commands", "Run"), "", QT_TRANSLATE_NOOP("Commands", "Run"),
                "media-playback-start", "run", true},
    CommandInfo{Pause, QT_TRANSLATE_NOOP("Commands", "Pause"),
                QT_TRANSLATE_NOOP("Commands", "Stops and saves currient position"),
                QT_TRANSLATE_NOOP("Commands", "Pause"), "media-playback-pause", "pause", true},
    CommandInfo{Stop, QT_TRANSLATE_NOOP("Commands", "STOP"),
                QT_TRANSLATE_NOOP("Commands", "Stops tand sets the position to the beginning"),
                QT_TRANSLATE_NOOP("Commands", "Stop"), "media-playback-stop", "stop", true},
    CommandInfo{
        AddBookmark, QT_TRANSLATE_NOOP("Commands", "Add Bookmark"),
        QT_TRANSLATE_NOOP("Commands", "Adds a bookmark associated with the current position"),
        QT_TRANSLATE_NOOP("Commands", "Add Bookmark"), "bookmark-new", "add-bookmark", false},
    CommandInfo{RunOrPause, QT_TRANSLATE_NOOP("Commands", "Run or Pause\tSpace"),
                QT_TRANSLATE_NOOP("Commands", "Runs the reading, or pauses it while it runs"),
                QT_TRANSLATE_NOOP("Commands", "Run or Pause"), nullptr, nullptr, false},
    CommandInfo{SentenceBack, QT_TRANSLATE_NOOP("Commands", "Back one sentence\tLeft"),
                QT_TRANSLATE_NOOP("Commands", "Moves to the start of the previous sentence"),
                QT_TRANSLATE_NOOP("Commands", "Back one sentence"), nullptr, nullptr, false},
    CommandInfo{SentenceForward, QT_TRANSLATE_NOOP("Commands", "Forward one sentence\tRight"),
                QT_TRANSLATE_NOOP("Commands", "Moves to the start of the next sentence"),
                QT_TRANSLATE_NOOP("Commands", "Forward one sentence"), nullptr, nullptr, false},
    CommandInfo{Faster, QT_TRANSLATE_NOOP("Commands", "Faster\tUp"),
                QT_TRANSLATE_NOOP("Commands", "Shortens the gap and the duration by a tenth"),
                QT_TRANSLATE_NOOP("Commands", "Faster"), nullptr, nullptr, false},
    CommandInfo{Slower, QT_TRANSLATE_NOOP("Commands", "Slower\tDown"),
                QT_TRANSLATE_NOOP("Commands", "Lengthens the gap and the duration by a tenth"),
                QT_TRANSLATE_NOOP("Commands", "Slower"), nullptr, nullptr, false},
    CommandInfo{BackToStart, QT_TRANSLATE_NOOP("Commands", "Back to the start\tHome"),
                QT_TRANSLATE_NOOP("Commands", "Moves to the start of the text"),
                QT_TRANSLATE_NOOP("Commands", "Back to the start"), nullptr, nullptr, false},
    CommandInfo{PaceByContent, QT_TRANSLATE_NOOP("Commands", "Pace by content\tCtrl+P"),
                QT_TRANSLATE_NOOP("Commands",
                                  "Paces each unit by what it holds and what ended the one before"),
                QT_TRANSLATE_NOOP("Commands", "Pace by content"), nullptr, nullptr, true},
    CommandInfo{UnitBack, QT_TRANSLATE_NOOP("Commands", "Back one unit\tCtrl+Left"),
                QT_TRANSLATE_NOOP("Commands", "Moves to the unit before"),
                QT_TRANSLATE_NOOP("Commands", "Back one unit"), nullptr, nullptr, false},
    CommandInfo{UnitForward, QT_TRANSLATE_NOOP("Commands", "Forward one unit\tCtrl+Right"),
                QT_TRANSLATE_NOOP("Commands", "Moves to the unit after"),
                QT_TRANSLATE_NOOP("Commands", "Forward one unit"), nullptr, nullptr, false},
    CommandInfo{ParagraphBack, QT_TRANSLATE_NOOP("Commands", "Back one paragraph\tCtrl+Up"),
                QT_TRANSLATE_NOOP("Commands", "Moves to the start of the previous paragraph"),
                QT_TRANSLATE_NOOP("Commands", "Back one paragraph"), nullptr, nullptr, false},
    CommandInfo{ParagraphForward, QT_TRANSLATE_NOOP("Commands", "Forward one paragraph\tCtrl+Down"),
                QT_TRANSLATE_NOOP("Commands", "Moves to the start of the next paragraph"),
                QT_TRANSLATE_NOOP("Commands", "Forward one paragraph"), nullptr, nullptr, false},
    CommandInfo{
        Replay, QT_TRANSLATE_NOOP("Commands", "Replay\tBackspace"),
        QT_TRANSLATE_NOOP("Commands", "Reads the sentence again from its start, slowly at first"),
        QT_TRANSLATE_NOOP("Commands", "Replay"), nullptr, nullptr, false},
    CommandInfo{
        ChapterBack, QT_TRANSLATE_NOOP("Commands", "Back one chapter\tPage Up"),
        QT_TRANSLATE_NOOP("Commands",
                          "Moves to the start of this chapter, or of the one before at its start"),
        QT_TRANSLATE_NOOP("Commands", "Back one chapter"), nullptr, nullptr, false},
    CommandInfo{ChapterForward, QT_TRANSLATE_NOOP("Commands", "Forward one chapter\tPage Down"),
                QT_TRANSLATE_NOOP("Commands", "Moves to the start of the next chapter"),
                QT_TRANSLATE_NOOP("Commands", "Forward one chapter"), nullptr, nullptr, false},
    CommandInfo{
        PauseAtChapterEnd, QT_TRANSLATE_NOOP("Commands", "Pause at chapter end"),
        QT_TRANSLATE_NOOP("Commands",
                          "Pauses the reading once the last unit of a chapter has been shown"),
        QT_TRANSLATE_NOOP("Commands", "Pause at chapter end"), nullptr, nullptr, true},
    CommandInfo{
        ReadingLog, QT_TRANSLATE_NOOP("Commands", "Reading log"),
        QT_TRANSLATE_NOOP("Commands", "Shows what was read, how fast and how well it was followed"),
        QT_TRANSLATE_NOOP("Commands", "Reading log"), nullptr, nullptr, false},
    CommandInfo{
        AppAbout, QT_TRANSLATE_NOOP("Commands", "&About Skimmet..."),
        QT_TRANSLATE_NOOP("Commands", "Display program information, version number and copyright"),
        QT_TRANSLATE_NOOP("Commands", "About"), "help-about", "about", false},
    CommandInfo{HomePage, QT_TRANSLATE_NOOP("Commands", "Home Page"),
                QT_TRANSLATE_NOOP("Commands", "Visit my WWW home page"),
                QT_TRANSLATE_NOOP("Commands", "Home Page"), "go-home", "home-page", false},
    // Reachable by accelerator only; nothing handles them.
    CommandInfo{NextPane, nullptr, "", "", nullptr, nullptr, false},
    CommandInfo{PrevPane, nullptr, "", "", nullptr, nullptr, false},
    CommandInfo{
        EncodingAuto, QT_TRANSLATE_NOOP("Commands", "Auto-detect"),
        QT_TRANSLATE_NOOP("Commands", "Reads the text again in the encoding its bytes show"), "",
        nullptr, nullptr, true},
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
constexpr std::array FileMenu{
    MenuItem{FileOpen},
    Separator,
    MenuItem{LoadSettings},
    MenuItem{0, QT_TRANSLATE_NOOP("Commands", "Save settings"), FileSaveMenu},
    Separator,
    MenuItem{RecentTexts, QT_TRANSLATE_NOOP("Commands", "Recent texts")},
    Separator,
    MenuItem{AppExit}};
constexpr std::array EditMenu{MenuItem{EditUndo}, Separator, MenuItem{EditCut}, MenuItem{EditCopy},
                              MenuItem{EditPaste}};
constexpr std::array ViewSubOptionsMenu{MenuItem{ReadingOptions}, MenuItem{MovePosition}};
constexpr std::array ViewMenu{
    MenuItem{ViewToolBar},
    MenuItem{ViewStatusBar},
    Separator,
    MenuItem{FullScreen},
    MenuItem{OptionsPanel},
    MenuItem{0, QT_TRANSLATE_NOOP("Commands", "SubOptions"), ViewSubOptionsMenu},
    Separator,
    MenuItem{0, QT_TRANSLATE_NOOP("Commands", "Encoding"), ViewEncodingMenu},
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

constexpr std::array MenuBar{MenuDef{QT_TRANSLATE_NOOP("Commands", "&File"), FileMenu},
                             MenuDef{QT_TRANSLATE_NOOP("Commands", "&Edit"), EditMenu},
                             MenuDef{QT_TRANSLATE_NOOP("Commands", "&View"), ViewMenu},
                             MenuDef{QT_TRANSLATE_NOOP("Commands", "&Run"), RunMenu},
                             MenuDef{QT_TRANSLATE_NOOP("Commands", "&Help"), HelpMenu}};

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
