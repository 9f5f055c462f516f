// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandActions.h"
#include "app/CommandTable.h"
#include "app/LockIndicators.h"
#include "engine/ReadingListener.h"
#include "log/ReadingLog.h"
#include "settings/ReadingSettings.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

class CFlashView;
class CLogWriter;
class CRatingRow;
class CSessionRecorder;
struct SSessionRecord;
class CReadingPane;
class CReadingSession;
class CTextDocument;
class CWakeTimer;
class QLabel;
class QMenu;
class QToolBar;
struct CServices;

// The main window: menu, toolbar, status bar and accelerators around the flash view.
// It owns the settings record, the reading session, the text and the view, and turns
// commands into calls of the session and the document.
class CMainFrame : public QMainWindow, public ICommandTarget, private IReadingListener {
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
    CReadingSession& Session() { return *ReadingSession; }
    CFlashView& View() { return *FlashView; }
    CTextDocument& Document() { return *TextDocument; }
    QToolBar* ToolBar() const { return Bar; }
    CLogWriter& LogWriter() { return *Log; }
    // The reading log's window while it is open.
    QWidget* LogWindow() const;
    CRatingRow& RatingRow() { return *Rating; }

    // The action of command id, shared by the menu and the toolbar; nullptr for an
    // unknown id.
    QAction* ActionFor(int id) const;

    // Offers id to the frame, then to the application; a command that nobody handles,
    // or whose handler disables it, does nothing.
    void ExecuteCommand(int id);
    // What the menu and toolbar show for id now.
    CommandState StateOf(int id) const;

    const CommandHandler* FindHandler(int id) const override;

    void OnRun();
    void OnPause();
    void OnStop();
    void OnHomePage();
    // Edit > Copy: puts the unit on the screen, or paused the sentence around the place,
    // on the clipboard.
    void OnCopy();
    void OnFullScreen();
    // View > "Reading log": opens its window on what the log holds now.
    void OnReadingLog();

protected:
    void changeEvent(QEvent* event) override;
    // Keeps the place, stops, keeps the text's settings in its companion file, closes.
    void closeEvent(QCloseEvent* event) override;
    // One local file dropped on the window is opened; a dropped text is read as a pasted
    // one.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnPlayFlagsChanged(uint32_t flags) override;
    // "Ready", or while a text waits stopped, how to begin reading it.
    void UpdateMessage();
    void CreateToolBar();
    void CreateStatusBar();
    void AddHandler(int id, std::function<void()> execute,
                    std::function<CommandState()> update = {});
    void AddHandlers();
    void AddReadingHandlers();
    void AddPanelHandlers();
    void AddDocumentHandlers();
    void AddEncodingHandlers();
    void AddKeyboardHandlers();
    // The key belongs to the focused widget rather than to a command.
    bool KeepsKey(const QObject* focus, const QKeyEvent& key) const;
    const CommandHandler* Route(int id) const;
    void UpdateCommandStates();
    // Enabled while a text is loaded; checked while the flags under mask equal checkedWhen.
    CommandState PlayCommandState(uint32_t mask, uint32_t checkedWhen) const;
    CommandState TextCommandState() const;
    void StartReadingLog();
    void ReportLogOpen(CReadingLog::EOpen result, const QString& aside, const QString& error);
    // After a long session, the status bar asks how well the reader followed.
    void AskRating(const SSessionRecord& session);

    // Destroyed in reverse order: the view before the text and the session it follows,
    // the session before the settings it works on.
    CReadingSettings ReadingSettings;
    std::unique_ptr<CWakeTimer> Wake;
    std::unique_ptr<CReadingSession> ReadingSession;
    QStatusBar* Status = nullptr; // owned as child
    QLabel* Message = nullptr;    // owned by Status
    QToolBar* Bar = nullptr;      // owned as child
    // Holds the text that the session points into, so it goes after the view.
    std::unique_ptr<CTextDocument> TextDocument;
    std::unique_ptr<CFlashView> FlashView;
    // The recorder hands its sessions to the writer, so it goes first.
    std::unique_ptr<CLogWriter> Log;
    std::unique_ptr<CSessionRecorder> Recorder;
    std::string LogPath;
    CRatingRow* Rating = nullptr; // owned by the status bar
    QPointer<QWidget> LogView;    // owned as child

    CServices& Services;
    const ICommandTarget* App;
    CLockIndicators LockIndicators;
    CCommandActions Actions;
    std::map<int, CommandHandler> Handlers; // the frame's own
    CReadingPane* Pane = nullptr;           // owned by the status bar
};
