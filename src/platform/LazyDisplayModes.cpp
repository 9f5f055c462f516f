// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LazyDisplayModes.h"

CLazyDisplayModes::CLazyDisplayModes(std::function<std::unique_ptr<IDisplayModes>()> open)
    : Open(std::move(open)) {}

IDisplayModes& CLazyDisplayModes::Real() {
    if (!Opened)
        Opened = Open();
    return *Opened;
}

std::vector<DisplayMode> CLazyDisplayModes::Modes() {
    return Real().Modes();
}

bool CLazyDisplayModes::SetMode(const DisplayMode& mode) {
    return Real().SetMode(mode);
}

void CLazyDisplayModes::Restore() {
    // Nothing was ever set when nothing was opened.
    if (Opened)
        Opened->Restore();
}
