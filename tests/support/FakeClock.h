// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Clock.h"

// A clock the test moves by hand.
class CFakeClock final : public IClock {
public:
    explicit CFakeClock(uint32_t start = 0) : Now(start) {}
    uint32_t NowMs() const override { return Now; }
    void Advance(uint32_t ms) { Now += ms; }

private:
    uint32_t Now;
};
