// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandTable.h"
#include "platform/LockKeys.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>
#include <string>
#include <utility>

class CMainFrame;
struct CServices;

// The program: creates the main window and handles the commands that belong to no
// window (About and Exit). The QApplication and the services are made by main.
class CSkimmetApp : public QObject, public ICommandTarget {
    Q_OBJECT
public:
    explicit CSkimmetApp(CServices& services, QObject* parent = nullptr);
    ~CSkimmetApp() override;

    // Creates the main frame, shows it maximized and, once it is on the screen, opens the
    // start file, if any.
    // lockKeys: as for CMainFrame.
    void InitInstance(std::unique_ptr<ILockKeys> lockKeys = nullptr);
    CMainFrame* MainFrame() const { return Frame.get(); }

    // The text named on the command line, opened once the window InitInstance shows is
    // on the screen; empty when none. Bytes as the command line gives them.
    void SetStartFile(std::string path) { StartFile = std::move(path); }

    // The end of the desktop session or a termination signal: the reading stops as at a
    // close, the text's settings are saved with failures reported on standard error
    // rather than in boxes nobody will answer, and the event loop ends with 0.
    void EndSession();

    const CommandHandler* FindHandler(int id) const override;

    void OnAppAbout();
    void OnAppExit();

private:
    void OpenStartFile();

    CServices& Services;
    std::map<int, CommandHandler> Handlers;
    std::string StartFile;
    bool StartFilePending = false; // until the window is first on the screen
    std::unique_ptr<CMainFrame> Frame;
};
