// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SkimmetApp.h"

#include "about/AboutDialog.h"
#include "app/MainFrame.h"
#include "app/TextDocument.h"
#include "platform/LockKeys.h"
#include "platform/Services.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <functional>
#include <utility>

namespace {
// Runs an action once, after the window's first exposure has been handled.
class CExposeWatch final : public QObject {
public:
    CExposeWatch(QWindow& window, std::function<void()> action)
        : QObject(&window), Action(std::move(action)) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(watched, std::move(Action), Qt::QueuedConnection);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> Action;
};

// Where no window manager maximizes the window, and whenever the reader un-maximizes
// it, it keeps a useful size: three quarters of the screen, centred.
void PlaceNormalGeometry(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect normal(QPoint(), area.size() * 3 / 4);
    normal.moveCenter(area.center());
    window.setGeometry(normal);
}
} // namespace

CSkimmetApp::CSkimmetApp(CServices& services, QObject* parent)
    : QObject(parent), Services(services) {
    Handlers.emplace(CommandId::AppAbout, CommandHandler{[this] { OnAppAbout(); }, {}});
    Handlers.emplace(CommandId::AppExit, CommandHandler{[this] { OnAppExit(); }, {}});
#ifndef QT_NO_SESSIONMANAGER
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { EndSession(); });
#endif
}

CSkimmetApp::~CSkimmetApp() = default;

void CSkimmetApp::InitInstance(std::unique_ptr<ILockKeys> lockKeys) {
    Frame = std::make_unique<CMainFrame>(Services, this, std::move(lockKeys));
    PlaceNormalGeometry(*Frame);
    Frame->showMaximized();
    if (StartFile.empty())
        return;
    // Opened once the window is on the screen: a box or progress dialog shown before
    // that has no place of the window to be centred on, and lands in a corner.
    StartFilePending = true;
    new CExposeWatch(*Frame->windowHandle(), [this] { OpenStartFile(); });
}

void CSkimmetApp::OpenStartFile() {
    if (!std::exchange(StartFilePending, false) || !Frame)
        return;
    Frame->Document().OpenLocal(StartFile);
}

void CSkimmetApp::EndSession() {
    if (Frame) {
        Frame->Document().SetUnattended();
        // The start file is the window's text even when the session ends before the
        // window came up: its settings are kept as for any text.
        OpenStartFile();
        Frame->close();
    }
    // exit rather than quit: a box or dialog open at this moment has an event loop of its
    // own, which ends too.
    QCoreApplication::exit(0);
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
