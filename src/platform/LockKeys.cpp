// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LockKeys.h"

#include <QGuiApplication>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>

// Xlib defines macros (None, Bool, Status ...) that clash with Qt; it comes last.
#include <X11/XKBlib.h>
#endif

namespace {

class CUnknownLockKeys final : public ILockKeys {
public:
    std::optional<bool> IsOn(LockKey) const override { return std::nullopt; }
};

#if QT_CONFIG(xcb)
// Asks the server by indicator name: which indicator bit a lock key drives depends on
// the keyboard map, so the bit numbers are not fixed.
class CXkbLockKeys final : public ILockKeys {
public:
    explicit CXkbLockKeys(Display* display)
        : XDisplay(display), Names{XInternAtom(display, "Caps Lock", False),
                                   XInternAtom(display, "Num Lock", False),
                                   XInternAtom(display, "Scroll Lock", False)} {}

    std::optional<bool> IsOn(LockKey key) const override {
        const Atom name = Names[static_cast<int>(key)];
        if (name == 0)
            return std::nullopt;
        Bool on = False;
        if (!XkbGetNamedIndicator(XDisplay, name, nullptr, &on, nullptr, nullptr))
            return std::nullopt;
        return on != False;
    }

private:
    Display* XDisplay;
    Atom Names[3];
};
#endif

} // namespace

std::unique_ptr<ILockKeys> CreateLockKeys() {
#if QT_CONFIG(xcb)
    if (qGuiApp) {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            if (Display* display = x11->display())
                return std::make_unique<CXkbLockKeys>(display);
        }
    }
#endif
    return std::make_unique<CUnknownLockKeys>();
}
