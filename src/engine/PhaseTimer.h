// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <vector>

// Cyclic scheduler of phase durations measured on a 32-bit millisecond clock.
// Lateness is absorbed: a phase that ends late does not shorten the next one.
class CPhaseTimer {
public:
    static constexpr uint32_t InitialDuration = 3000;

    explicit CPhaseTimer(const IClock& clock);
    virtual ~CPhaseTimer() = default;

    // New set of `count` durations of 3000 ms; start now; the phase index is kept
    // unless the new count cannot hold it (then 0). A count below 1 leaves no phases.
    void Reset(int count);
    // False, and nothing changes, for a phase outside 0..count-1.
    bool SetDuration(int phase, uint32_t milliseconds);
    // Index of the phase that has just ended, or -1 while the current one runs (and
    // while there are no phases). At most one phase ends per call.
    int Tick();
    // Milliseconds until the current phase ends (0 when it is due); 0 before Reset.
    uint32_t Remaining() const;

    int Phase() const { return PhaseIndex; }
    int PhaseCount() const { return static_cast<int>(Durations.size()); }

private:
    const IClock& Clock;
    uint32_t StartTick = 0;
    int PhaseIndex = 0;
    std::vector<uint32_t> Durations;
};
