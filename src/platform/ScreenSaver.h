// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

// Keeps the desktop from blanking the screen while a text is read.
class IScreenSaver {
public:
    virtual ~IScreenSaver() = default;
    // At most one inhibition is held however often Inhibit is called.
    virtual void Inhibit() = 0;
    virtual void UnInhibit() = 0;
    virtual bool IsInhibited() const = 0;
};

// org.freedesktop.ScreenSaver on the session bus; silent when there is none.
std::unique_ptr<IScreenSaver> CreateScreenSaver();
