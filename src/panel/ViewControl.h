// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

class QFont;

// What the options panel and its pages need of the view they sit in. The view
// implements it; tests can stand in for it.
class IViewControl {
public:
    virtual ~IViewControl() = default;
    // The play flags (panel shown, full screen, text loaded, running, stopped).
    virtual uint32_t PlayFlags() const = 0;
    // 0 hides the panel when it is shown and shows it at its page when not; 1 shows it
    // at the reading options, 2 at the move position page.
    virtual void ShowOptionsPanel(int page) = 0;
    // The font the units are drawn in now.
    virtual const QFont& DisplayFont() const = 0;
    // The font description changed.
    virtual void RecreateFont() = 0;
    // freq or durat changed: the running phase is re-timed at once.
    virtual void TimingChanged() = 0;
    // Colours or sizes changed: repaint the view.
    virtual void RepaintView() = 0;
    // Hand the keyboard focus back to the view.
    virtual void FocusView() = 0;
};
