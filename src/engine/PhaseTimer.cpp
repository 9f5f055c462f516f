// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PhaseTimer.h"

CPhaseTimer::CPhaseTimer(const IClock& clock) : Clock(clock) {}

void CPhaseTimer::Reset(int count) {
    Durations.assign(count > 0 ? static_cast<std::size_t>(count) : 0, InitialDuration);
    // The index survives a reset so that a reading paused during the show time resumes
    // there; only an index the new count cannot hold starts over at the first phase.
    if (PhaseIndex >= PhaseCount())
        PhaseIndex = 0;
    StartTick = Clock.NowMs();
}

bool CPhaseTimer::SetDuration(int phase, uint32_t milliseconds) {
    if (phase < 0 || phase >= PhaseCount())
        return false;
    Durations[static_cast<std::size_t>(phase)] = milliseconds;
    return true;
}

int CPhaseTimer::Tick() {
    if (Durations.empty())
        return -1;
    const uint32_t now = Clock.NowMs();
    // Unsigned difference: stays right across the wrap of the 32-bit tick count.
    const uint32_t elapsed = now - StartTick;
    if (elapsed < Durations[static_cast<std::size_t>(PhaseIndex)])
        return -1;
    const int ended = PhaseIndex;
    PhaseIndex = ended + 1 < PhaseCount() ? ended + 1 : 0;
    // The next phase starts when the end was noticed, so lateness is not carried over.
    StartTick = now;
    return ended;
}

uint32_t CPhaseTimer::Remaining() const {
    if (Durations.empty())
        return 0;
    const uint32_t elapsed = Clock.NowMs() - StartTick;
    const uint32_t duration = Durations[static_cast<std::size_t>(PhaseIndex)];
    return elapsed < duration ? duration - elapsed : 0;
}
