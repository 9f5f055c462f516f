// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WakeTimer.h"

#include <utility>

// A wake timer the test fires by hand, as the event loop would at the deadline.
class CFakeWakeTimer final : public IWakeTimer {
public:
    void SetCallback(Callback fired) override { OnFired = std::move(fired); }
    void ArmAt(uint32_t deadline) override { Armed = true, At = deadline; }
    void Cancel() override { Armed = false; }
    bool IsArmed() const override { return Armed; }
    uint32_t Deadline() const override { return At; }
    // False when none was armed.
    bool Fire() {
        const bool armed = std::exchange(Armed, false);
        if (armed && OnFired)
            OnFired();
        return armed;
    }

private:
    Callback OnFired;
    bool Armed = false;
    uint32_t At = 0;
};
