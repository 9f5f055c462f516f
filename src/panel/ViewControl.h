// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QFont;

// What the options panel needs of the view it sits in, beyond the reading session that
// both follow. The view implements it; tests can stand in for it.
class IViewControl {
public:
    virtual ~IViewControl() = default;
    // 0 hides the panel when it is shown and shows it at its page when not; 1 shows it
    // at the reading options, 2 at the move position page.
    virtual void ShowOptionsPanel(int page) = 0;
    // The font the units are drawn in now.
    virtual const QFont& DisplayFont() const = 0;
    // Hand the keyboard focus back to the view.
    virtual void FocusView() = 0;
};
