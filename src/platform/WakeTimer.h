// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

// A single-shot wake at a point of the injected clock's millisecond count (IClock's
// time base), so that the player never reads the system clock itself.
class IWakeTimer {
public:
    using Callback = std::function<void()>;
    virtual ~IWakeTimer() = default;
    // Called at each wake; replaces any earlier callback.
    virtual void SetCallback(Callback fired) = 0;
    // Fires once when the clock enters millisecond `deadline`, replacing any earlier
    // request; a deadline already past fires as soon as possible.
    virtual void ArmAt(uint32_t deadline) = 0;
    virtual void Cancel() = 0;
    virtual bool IsArmed() const = 0;
    // The millisecond it is armed for; meaningful while armed.
    virtual uint32_t Deadline() const = 0;
};
