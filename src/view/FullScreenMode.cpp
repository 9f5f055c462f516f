// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/FullScreenMode.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {
constexpr Qt::WindowFlags CoveringFlags =
    Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

// A Wayland client can neither place its window nor keep it above the others: it asks
// the compositor for full screen, which covers the output in its current mode.
bool CoversByAsking() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
} // namespace

CFullScreenMode::CFullScreenMode(QWidget& view, IDisplayModes& displayModes)
    : View(view), DisplayModes(displayModes) {}

CFullScreenMode::~CFullScreenMode() {
    if (!Saved)
        return;
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
    ReturnActions(*Saved);
    DisplayModes.Restore();
}

std::size_t CFullScreenMode::ModeIndex(std::size_t count, int number) {
    if (number < 0 || static_cast<std::size_t>(number) >= count)
        return count - 1;
    return static_cast<std::size_t>(number);
}

std::optional<DisplayMode> CFullScreenMode::SwitchDisplay(int displayModeNumber) {
    const std::vector<DisplayMode> modes = DisplayModes.Modes();
    if (modes.empty())
        return std::nullopt;
    const DisplayMode& mode = modes[ModeIndex(modes.size(), displayModeNumber)];
    if (!DisplayModes.SetMode(mode))
        return std::nullopt;
    return mode;
}

QRect CFullScreenMode::CoveredRect(const QWidget& onScreenOf,
                                   const std::optional<DisplayMode>& mode) const {
    const QScreen* screen = onScreenOf.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QRect(0, 0, View.width(), View.height());
    const QRect geometry = screen->geometry();
    if (!mode || mode->Width <= 0 || mode->Height <= 0)
        return geometry;
    // The window system tells the toolkit of the new screen size some time after the
    // switch, so the size comes from the mode itself. A mode is in device pixels.
    const qreal ratio = std::max(screen->devicePixelRatio(), qreal(1));
    const QSize size(qRound(mode->Width / ratio), qRound(mode->Height / ratio));
    return QRect(geometry.topLeft(), size);
}

void CFullScreenMode::Enter(int displayModeNumber) {
    if (Saved)
        return;
    SavedState saved;
    saved.Parent = View.parentWidget();
    QWidget* window = View.window();
    if (window != &View)
        saved.Window = window;
    const auto* mainWindow = qobject_cast<QMainWindow*>(saved.Parent.data());
    saved.WasCentralWidget = mainWindow && mainWindow->centralWidget() == &View;
    saved.Geometry = View.geometry();
    saved.Flags = View.windowFlags();
    // Measured before the view leaves the window, whose screen is the one to cover.
    const QWidget& screenOf = saved.Window ? *saved.Window : View;
    saved.Switched = SwitchDisplay(displayModeNumber);
    const QRect covered = CoveredRect(screenOf, saved.Switched);

    View.setParent(nullptr, CoveringFlags);
    if (CoversByAsking()) {
        View.showFullScreen();
    } else {
        View.setGeometry(covered);
        View.show();
    }
    if (saved.Window)
        saved.Window->hide();
    BorrowActions(saved);
    Saved = std::move(saved);

    View.raise();
    View.activateWindow();
    View.setFocus(Qt::ActiveWindowFocusReason);
    // Sees every event of the program, the hidden window's close among them.
    QCoreApplication::instance()->installEventFilter(this);
}

void CFullScreenMode::Leave() {
    if (!Saved)
        return;
    SavedState saved = std::move(*Saved);
    Saved.reset();
    QCoreApplication::instance()->removeEventFilter(this);
    ReturnActions(saved);
    DisplayModes.Restore();
    PutViewBack(saved);
}

void CFullScreenMode::PutViewBack(const SavedState& saved) {
    View.setWindowState(View.windowState() & ~Qt::WindowFullScreen);
    View.setParent(saved.Parent, saved.Flags);
    // Taking the view out emptied the main window's central area; putting it back as a
    // plain child would leave the view outside the window's layout.
    auto* mainWindow = qobject_cast<QMainWindow*>(saved.Parent.data());
    if (saved.WasCentralWidget && mainWindow && !mainWindow->centralWidget())
        mainWindow->setCentralWidget(&View);
    if (saved.Window)
        saved.Window->show();
    View.setGeometry(saved.Geometry);
    View.show();
    if (saved.Window)
        RestoreActiveWindow(*saved.Window);
    View.setFocus(Qt::ActiveWindowFocusReason);
}

void CFullScreenMode::RestoreActiveWindow(QWidget& window) {
    window.activateWindow();
    // Taking the focused covering window down hands the toolkit's focus to the window
    // silently: the window system's focus then arrives at a window that has it already
    // and is dropped, so the widgets go on believing that no window of theirs is active,
    // and the toolbar shows no tooltips until the focus leaves the program and comes back.
    if (QApplication::activeWindow() || QGuiApplication::focusWindow() != window.windowHandle())
        return;
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(&window);
    QT_WARNING_POP
}

void CFullScreenMode::BorrowActions(SavedState& saved) {
    if (!saved.Window)
        return;
    // Shortcuts of a window's actions only work while that window is the active one;
    // on the view they go on working in the view's own window.
    const QList<QAction*> own = View.actions();
    for (QAction* action : saved.Window->actions()) {
        if (own.contains(action))
            continue;
        View.addAction(action);
        saved.Borrowed.emplace_back(action);
    }
}

void CFullScreenMode::ReturnActions(SavedState& saved) {
    for (const QPointer<QAction>& action : saved.Borrowed) {
        if (action)
            View.removeAction(action);
    }
    saved.Borrowed.clear();
}

bool CFullScreenMode::eventFilter(QObject* watched, QEvent* event) {
    const bool quitting = watched == QCoreApplication::instance() && event->type() == QEvent::Quit;
    const bool windowClosing = Saved && watched == Saved->Window && event->type() == QEvent::Close;
    if (Saved && (quitting || windowClosing))
        emit LeaveRequested();
    return QObject::eventFilter(watched, event);
}
