// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeyCombination>

#include <functional>
#include <span>

// Command ids, shared by menu, toolbar, accelerators and prompts.
namespace CommandId {
inline constexpr int FileOpen = 57601;
inline constexpr int LoadSettings = 32796;
inline constexpr int SaveAsDefault = 32792;
inline constexpr int SaveFileSettings = 32794;
inline constexpr int AppExit = 57665;
inline constexpr int EditUndo = 57643;
inline constexpr int EditCut = 57635;
inline constexpr int EditCopy = 57634;
inline constexpr int EditPaste = 57637;
inline constexpr int ViewToolBar = 59392;
inline constexpr int ViewStatusBar = 59393;
inline constexpr int FullScreen = 32772;
inline constexpr int OptionsPanel = 32773;
inline constexpr int ReadingOptions = 32805;
inline constexpr int MovePosition = 32807;
inline constexpr int Run = 32782;
inline constexpr int Pause = 32783;
inline constexpr int Stop = 32784;
inline constexpr int AddBookmark = 32799;
inline constexpr int AppAbout = 57664;
inline constexpr int HomePage = 32787;
inline constexpr int NextPane = 57680;
inline constexpr int PrevPane = 57681;
// View > Encoding: "Auto-detect", then one command per encoding the text can be read
// in, EncodingFirst + its index in TextEncoding::Known().
inline constexpr int EncodingAuto = 33000;
inline constexpr int EncodingFirst = 33001;
inline constexpr int EncodingCount = 15;
// Run menu, below Add Bookmark: reading from the keyboard.
inline constexpr int RunOrPause = 33100;
inline constexpr int SentenceBack = 33101;
inline constexpr int SentenceForward = 33102;
inline constexpr int Faster = 33103;
inline constexpr int Slower = 33104;
inline constexpr int BackToStart = 33105;
// Run menu, last: pacing by content on or off.
inline constexpr int PaceByContent = 33106;
// Run menu, after it: looking back, a unit, a paragraph or a sentence at a time.
inline constexpr int UnitBack = 33107;
inline constexpr int UnitForward = 33108;
inline constexpr int ParagraphBack = 33109;
inline constexpr int ParagraphForward = 33110;
inline constexpr int Replay = 33111;
inline constexpr int ChapterBack = 33112;
inline constexpr int ChapterForward = 33113;
inline constexpr int PauseAtChapterEnd = 33114;
// File > "Recent texts": the submenu that the frame fills with the texts opened last.
inline constexpr int RecentTexts = 33200;
// View menu, last: the window of the reading log.
inline constexpr int ReadingLog = 33300;
} // namespace CommandId

// Everything the user sees of one command.
struct CommandInfo {
    int Id;
    const char* MenuText;  // "&" marks the mnemonic, "\t" starts the shortcut text
    const char* Prompt;    // status bar, while the item is highlighted or the button hovered
    const char* ToolTip;   // toolbar buttons
    const char* IconTheme; // freedesktop icon name, or nullptr
    const char* IconFile;  // bundled image base name (":/toolbar/<name>.svg"), or nullptr
    bool Checkable;        // shows a check mark / pressed button in some state
};

// One entry of a menu: a command, a separator (Id 0 and no submenu) or a submenu. A
// submenu with an Id has no items of its own: the frame fills it each time it opens.
struct MenuItem {
    int Id = 0;
    const char* SubMenuTitle = nullptr;
    std::span<const MenuItem> SubItems = {};
};

struct MenuDef {
    const char* Title;
    std::span<const MenuItem> Items;
};

struct Accelerator {
    QKeyCombination Keys;
    int Id;
};

// Every command of the program, including those that only have an accelerator.
std::span<const CommandInfo> Commands();
// The menu bar, left to right.
std::span<const MenuDef> MainMenu();
// Toolbar buttons in order; 0 is a separator.
std::span<const int> ToolBarButtons();
std::span<const Accelerator> Accelerators();
// Commands drawn as a one-of-many choice in the menus; none may be checked.
std::span<const std::span<const int>> RadioGroups();

struct CommandState {
    bool Enabled = true;
    bool Checked = false;
    bool operator==(const CommandState&) const = default;
};

struct CommandHandler {
    std::function<void()> Execute;
    // Empty: always enabled, never checked.
    std::function<CommandState()> Update;
};

// A window or the application, as a link in the chain a command is offered along.
class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // nullptr when this target does not handle id.
    virtual const CommandHandler* FindHandler(int id) const = 0;
};
