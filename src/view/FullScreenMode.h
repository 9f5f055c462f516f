// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplayModes.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <cstddef>
#include <optional>
#include <vector>

class QAction;
class QWidget;

// Lifts a widget out of its window into a frameless window that stays on top of all
// others and covers the screen, in a display mode picked by number, and puts
// everything back as it was: parent, place as a main window's central widget,
// geometry, the window it came from, and the display mode. The widget goes on
// running throughout; only its window changes.
class CFullScreenMode final : public QObject {
    Q_OBJECT
public:
    CFullScreenMode(QWidget& view, IDisplayModes& displayModes);
    // Puts the display mode back when still active; the windows are left alone, as the
    // view is on its way out.
    ~CFullScreenMode() override;
    CFullScreenMode(const CFullScreenMode&) = delete;
    CFullScreenMode& operator=(const CFullScreenMode&) = delete;

    // Index of the mode that `number` selects in a list of `count` modes (count > 0):
    // that mode when the list has it, otherwise the last one, also for a negative number.
    static std::size_t ModeIndex(std::size_t count, int number);

    bool IsActive() const { return Saved.has_value(); }
    // Switches the display to mode `displayModeNumber` (see ModeIndex), lifts the view
    // out and hides the window it was in. A mode the display refuses leaves the
    // display as it is. Does nothing when already active.
    void Enter(int displayModeNumber);
    // Undoes everything Enter did. Does nothing when not active.
    void Leave();

signals:
    // The program is quitting, or the hidden window is being closed, while the view
    // covers the screen. The owner is expected to leave at once: a top-level view
    // would otherwise stand in the way of the quit, or be left alone on the screen.
    void LeaveRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SavedState {
        QPointer<QWidget> Parent;
        // The window hidden while full screen; null when the view was a window itself.
        QPointer<QWidget> Window;
        bool WasCentralWidget = false;
        QRect Geometry;
        Qt::WindowFlags Flags;
        std::optional<DisplayMode> Switched;
        // The window's actions, lent to the view so that their shortcuts still work.
        std::vector<QPointer<QAction>> Borrowed;
    };

    std::optional<DisplayMode> SwitchDisplay(int displayModeNumber);
    QRect CoveredRect(const QWidget& onScreenOf, const std::optional<DisplayMode>& mode) const;
    void BorrowActions(SavedState& saved);
    void ReturnActions(SavedState& saved);
    void PutViewBack(const SavedState& saved);
    static void RestoreActiveWindow(QWidget& window);

    QWidget& View;
    IDisplayModes& DisplayModes;
    std::optional<SavedState> Saved;
};
