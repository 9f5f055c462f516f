#pragma once

#include "app/CommandTable.h"
#include "platform/LockKeys.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>

class CMainFrame;
struct CServices;

// The program: creates the main window and handles the commands that belong to no
// window (About and Exit). The QApplication and the services are made by main.
class CSkimmetApp : public QObject, public ICommandTarget {
    Q_OBJECT
public:
    explicit CSkimmetApp(CServices& services, QObject* parent = nullptr);
    ~CSkimmetApp() override;

    // Creates the main frame, shows it maximized and opens the start file, if any.
    // lockKeys: as for CMainFrame.
    void InitInstance(std::unique_ptr<ILockKeys> lockKeys = nullptr);
    CMainFrame* MainFrame() const { return Frame.get(); }

    // The text named on the command line, opened by InitInstance; empty when none.
    void SetStartFile(const QString& path) { StartFile = path; }
    const QString& StartFilePath() const { return StartFile; }

    const CommandHandler* FindHandler(int id) const override;

    void OnAppAbout();
    void OnAppExit();

private:
    CServices& Services;
    std::map<int, CommandHandler> Handlers;
    QString StartFile;
    std::unique_ptr<CMainFrame> Frame;
};
