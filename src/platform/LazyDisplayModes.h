// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/DisplayModes.h"

#include <functional>
#include <memory>

// Opens the real display modes the first time they are asked for: asking the X server
// for its outputs and modes costs the start milliseconds, and most readings never
// change the screen's mode.
class CLazyDisplayModes final : public IDisplayModes {
public:
    explicit CLazyDisplayModes(std::function<std::unique_ptr<IDisplayModes>()> open);

    std::vector<DisplayMode> Modes() override;
    bool SetMode(const DisplayMode& mode) override;
    void Restore() override;

private:
    IDisplayModes& Real();

    std::function<std::unique_ptr<IDisplayModes>()> Open;
    std::unique_ptr<IDisplayModes> Opened;
};
