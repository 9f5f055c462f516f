// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandTable.h"
#include "platform/LockKeys.h"
#include "settings/ReadingSettings.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class CFlashView;
class CReadingPane;
class CTextDocument;
class QKeyEvent;
class QLabel;
class QMenu;
class QToolBar;
struct CServices;

// The main window: menu, toolbar, status bar and accelerators around the flash view.
// It owns the settings record and the view, and handles the commands of reading.
class CMainFrame : public QMainWindow, public ICommandTarget {
    Q_OBJECT
public:
    // app is offered the commands that neither the view nor the frame handles.
    // lockKeys: the lock-key source for the status bar; nullptr takes the platform's.
    CMainFrame(CServices& services, const ICommandTarget* app = nullptr,
               std::unique_ptr<ILockKeys> lockKeys = nullptr, QWidget* parent = nullptr);
    ~CMainFrame() override;
    CMainFrame(const CMainFrame&) = delete;
    CMainFrame& operator=(const CMainFrame&) = delete;

    CReadingSettings& Settings() { return ReadingSettings; }
    CFlashView& View() { return *FlashView; }
    CTextDocument& Document() { return *TextDocument; }
    QToolBar* ToolBar() const { return Bar; }

    // The action of command id, shared by the menu and the toolbar; nullptr for an
    // unknown id.
    QAction* ActionFor(int id) const;
    // The action that carries the accelerator keys of command id (added to the frame,
    // enabled with the command); nullptr when the command has none.
    QAction* AcceleratorFor(int id) const;

    // Offers id to the view, then to the frame, then to the application; a command
    // that nobody handles, or whose handler disables it, does nothing.
    void ExecuteCommand(int id);
    // What the menu and toolbar show for id now.
    CommandState StateOf(int id) const;

    const CommandHandler* FindHandler(int id) const override;

    void OnRun();
    void OnPause();
    void OnStop();
    void OnAddBookmark();
    void OnHomePage();
    void OnFullScreen();
    // Brings the options panel, if there is one, in line with the settings.
    void RefreshPanel();

protected:
    void changeEvent(QEvent* event) override;
    // Stops, keeps the text's settings in its companion file, then closes.
    void closeEvent(QCloseEvent* event) override;
    // One local file dropped on the window is opened.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateAccelerator(int id);
    void CreateMenus();
    void CreateRecentTextsMenu(QMenu* menu);
    void FillRecentTexts(QMenu* menu);
    void CreateToolBar();
    void CreateStatusBar();
    void CreateReadingPane();
    void AddHandler(int id, std::function<void()> execute,
                    std::function<CommandState()> update = {});
    void AddHandlers();
    void AddEncodingHandlers();
    void AddKeyboardHandlers();
    void OnRunOrPause();
    void MoveBySentence(bool forward);
    // Puts the reading at offset if the text has it, without stopping.
    void MoveTo(int32_t offset);
    void ChangeSpeed(uint32_t (*step)(uint32_t));
    // The key belongs to the focused widget rather than to a command: what an edit, a
    // list or a slider of the options panel does with it, Space on a panel button, Space
    // on the full-screen view.
    bool KeepsKey(const QObject* focus, const QKeyEvent& key) const;
    const CommandHandler* Route(int id) const;
    void UpdateCommandStates();
    void UpdateLockIndicators();
    void OnPlayFlagsChanged(uint32_t flags);
    // Enabled while a text is loaded; checked while the flags under mask equal checkedWhen.
    CommandState PlayCommandState(uint32_t mask, uint32_t checkedWhen) const;
    // A text is loaded and running.
    bool IsReading() const;

    // Destroyed in reverse order: the view before the settings it works on.
    CReadingSettings ReadingSettings;
    QStatusBar* Status = nullptr; // owned as child
    QToolBar* Bar = nullptr;      // owned as child
    // Holds the text that the view points into, so it goes after the view.
    std::unique_ptr<CTextDocument> TextDocument;
    std::unique_ptr<CFlashView> FlashView;

    CServices& Services;
    const ICommandTarget* App;
    std::unique_ptr<ILockKeys> LockKeys;
    std::map<int, QAction*> Actions;            // owned as children
    std::map<int, QAction*> AcceleratorActions; // owned as children
    std::map<int, CommandHandler> Handlers;     // the frame's own
    std::array<QLabel*, 3> LockIndicators{};    // by LockKey, owned by the status bar
    CReadingPane* Pane = nullptr;               // owned by the status bar
};
