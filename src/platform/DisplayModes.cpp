// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DisplayModes.h"

#include "platform/LazyDisplayModes.h"
#include "platform/SingleScreenModes.h"
#include "platform/XRandrDisplayModes.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <X11/Xlib.h>

QString DisplayModeText(const DisplayMode& mode) {
    QString text =
        QCoreApplication::translate("DisplayModes", "%1 x %2  ").arg(mode.Width).arg(mode.Height);
    if (mode.Frequency != 0)
        text += QCoreApplication::translate("DisplayModes", "%1 MHz  ").arg(mode.Frequency);
    text += QCoreApplication::translate("DisplayModes", "%1 bpp").arg(mode.BitsPerPixel);
    return text;
}

namespace {

// The X display Qt talks to, so that the modes are those of the screen the windows
// are on even when Qt was given a display other than $DISPLAY.
QByteArray QtXDisplayName() {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr)
        return {};
    return QByteArray(DisplayString(x11->display()));
}

std::unique_ptr<IDisplayModes> OpenDisplayModes() {
    if (qGuiApp != nullptr) {
        const QByteArray displayName = QtXDisplayName();
        if (!displayName.isEmpty()) {
            if (auto randr = CXRandrDisplayModes::Open(displayName.constData()))
                return randr;
        }
    }
    return std::make_unique<CSingleScreenModes>();
}

} // namespace

std::unique_ptr<IDisplayModes> CreateDisplayModes() {
    return std::make_unique<CLazyDisplayModes>(OpenDisplayModes);
}
