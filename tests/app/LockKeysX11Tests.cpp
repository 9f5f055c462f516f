// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LockKeys.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <gtest/gtest.h>

// Xlib's macros clash with gtest and Qt; it comes last.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace {

TEST(LockKeysX11, LockedModifiers_EachKeyReadAsItsOwnState) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_NE(x11, nullptr) << "needs the xcb platform on an X server";
    Display* display = x11->display();
    const std::unique_ptr<ILockKeys> keys = CreateLockKeys();
    EXPECT_TRUE(keys->IsOn(LockKey::Scroll).has_value());
    // Num Lock drives the modifier that the keyboard map binds it to (Mod2 here).
    const unsigned num = XkbKeysymToModifiers(display, XK_Num_Lock);
    for (const auto& [mask, caps, numOn] :
         {std::tuple{0u, false, false}, {LockMask, true, false}, {num, false, true}}) {
        SCOPED_TRACE(mask);
        // Locks the modifiers in mask and unlocks the others, as the lock keys do.
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask | num, mask);
        XSync(display, False);
        EXPECT_EQ(keys->IsOn(LockKey::Caps), caps);
        EXPECT_EQ(keys->IsOn(LockKey::Num), numOn);
    }
}

} // namespace
