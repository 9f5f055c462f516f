// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>
#include <vector>

class QWidget;

struct DisplayMode {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 0;
    int Frequency = 0; // Hz, 0 when unknown
    bool operator==(const DisplayMode&) const = default;
};

// "1024 x 768  60 MHz  32 bpp"; the frequency part is left out when it is 0.
QString DisplayModeText(const DisplayMode& mode);

// The display modes of the screen a window is on, and switching between them.
class IDisplayModes {
public:
    virtual ~IDisplayModes() = default;
    // In a stable order; never empty (at least the current screen).
    virtual std::vector<DisplayMode> Modes() = 0;
    // Switches the screen to mode; false when it could not.
    virtual bool SetMode(const DisplayMode& mode) = 0;
    // Puts back the mode in force before the first SetMode; no-op when none was set.
    virtual void Restore() = 0;
};

// RandR on X11; elsewhere (Wayland, offscreen) the current screen, without switching.
std::unique_ptr<IDisplayModes> CreateDisplayModes();
