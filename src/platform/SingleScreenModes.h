// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplayModes.h"

// Where the display mode cannot be changed (Wayland, the offscreen platform, an X
// server without RandR): one mode, the primary screen as it is now.
class CSingleScreenModes final : public IDisplayModes {
public:
    std::vector<DisplayMode> Modes() override;
    bool SetMode(const DisplayMode& mode) override;
    void Restore() override;
};
