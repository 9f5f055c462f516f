#include "app/SkimmetApp.h"

#include "about/AboutDialog.h"
#include "app/MainFrame.h"
#include "app/TextDocument.h"
#include "platform/LockKeys.h"
#include "platform/Services.h"

CSkimmetApp::CSkimmetApp(CServices& services, QObject* parent)
    : QObject(parent), Services(services) {
    Handlers.emplace(CommandId::AppAbout, CommandHandler{[this] { OnAppAbout(); }, {}});
    Handlers.emplace(CommandId::AppExit, CommandHandler{[this] { OnAppExit(); }, {}});
}

CSkimmetApp::~CSkimmetApp() = default;

void CSkimmetApp::InitInstance(std::unique_ptr<ILockKeys> lockKeys) {
    Frame = std::make_unique<CMainFrame>(Services, this, std::move(lockKeys));
    Frame->showMaximized();
    // Opened over the shown window, so that its messages and progress have an owner.
    if (!StartFile.isEmpty())
        Frame->Document().Open(StartFile);
}

const CommandHandler* CSkimmetApp::FindHandler(int id) const {
    const auto found = Handlers.find(id);
    return found == Handlers.end() ? nullptr : &found->second;
}

void CSkimmetApp::OnAppAbout() {
    CAboutDialog about(Services.UrlOpener, Frame.get());
    about.exec();
}

void CSkimmetApp::OnAppExit() {
    if (Frame)
        Frame->close();
}
