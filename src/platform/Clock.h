// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Milliseconds from an arbitrary start, 32 bits, wrapping about every 49.7 days.
class IClock {
public:
    virtual ~IClock() = default;
    virtual uint32_t NowMs() const = 0;
};

// The monotonic system clock.
class CSteadyClock final : public IClock {
public:
    uint32_t NowMs() const override;
};
