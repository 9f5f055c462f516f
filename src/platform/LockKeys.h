// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>

enum class LockKey { Caps, Num, Scroll };

// The state of the keyboard's lock keys, for the status bar's indicators.
class ILockKeys {
public:
    virtual ~ILockKeys() = default;
    // On or off; nullopt where the platform cannot tell.
    virtual std::optional<bool> IsOn(LockKey key) const = 0;
};

// The X keyboard extension's indicators on X11; elsewhere (Wayland, offscreen) every
// key is unknown.
std::unique_ptr<ILockKeys> CreateLockKeys();
