#include "platform/LockKeys.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <gtest/gtest.h>

// Xlib's macros clash with gtest and Qt; it comes last.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace {

// Locks or unlocks modifiers on the server, as the lock keys do.
class LockedModifiers {
public:
    LockedModifiers(Display* display, unsigned mask) : XDisplay(display), Mask(mask) { Set(true); }
    ~LockedModifiers() { Set(false); }
    LockedModifiers(const LockedModifiers&) = delete;
    LockedModifiers& operator=(const LockedModifiers&) = delete;

private:
    void Set(bool on) {
        XkbLockModifiers(XDisplay, XkbUseCoreKbd, Mask, on ? Mask : 0);
        XSync(XDisplay, False);
    }
    Display* XDisplay;
    unsigned Mask;
};

Display* XDisplay() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

TEST(LockKeysX11, LockedModifiers_EachKeyReadAsItsOwnState) {
    Display* display = XDisplay();
    ASSERT_NE(display, nullptr) << "needs the xcb platform on an X server";
    const std::unique_ptr<ILockKeys> keys = CreateLockKeys();
    EXPECT_EQ(keys->IsOn(LockKey::Caps), false);
    EXPECT_TRUE(keys->IsOn(LockKey::Scroll).has_value());
    {
        const LockedModifiers caps(display, LockMask);
        EXPECT_EQ(keys->IsOn(LockKey::Caps), true);
        EXPECT_EQ(keys->IsOn(LockKey::Num), false);
    }
    EXPECT_EQ(keys->IsOn(LockKey::Caps), false);
    // Num Lock drives the modifier that the keyboard map binds it to (Mod2 here).
    const LockedModifiers num(display, XkbKeysymToModifiers(display, XK_Num_Lock));
    EXPECT_EQ(keys->IsOn(LockKey::Num), true);
    EXPECT_EQ(keys->IsOn(LockKey::Caps), false);
}

} // namespace
