// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SingleScreenModes.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

std::vector<DisplayMode> CSingleScreenModes::Modes() {
    const QScreen* screen = qGuiApp != nullptr ? QGuiApplication::primaryScreen() : nullptr;
    if (screen == nullptr)
        return {DisplayMode{}};
    // Physical pixels: a display mode is not scaled by the desktop's scale factor.
    const QSize size = screen->size() * screen->devicePixelRatio();
    return {DisplayMode{size.width(), size.height(), screen->depth(),
                        static_cast<int>(std::lround(screen->refreshRate()))}};
}

bool CSingleScreenModes::SetMode(const DisplayMode&) {
    return false;
}

void CSingleScreenModes::Restore() {}
