// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtWakeTimer.h"

#include "platform/Clock.h"

#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {
timespec ToTimespec(std::chrono::nanoseconds sinceEpoch) {
    // A zero it_value would disarm the timer instead of firing it at once.
    const auto ns = std::max<int64_t>(sinceEpoch.count(), 1);
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}
} // namespace

CWakeTimer::CWakeTimer(const IClock& clock, QObject* parent, Backend preferred, SetTimeFn setTime)
    : QObject(parent), Clock(clock), SetTime(setTime ? setTime : &timerfd_settime) {
    Fallback.setSingleShot(true);
    Fallback.setTimerType(Qt::PreciseTimer);
    connect(&Fallback, &QTimer::timeout, this, &CWakeTimer::Fire);
    if (preferred != Backend::TimerFd)
        return;
    // steady_clock is CLOCK_MONOTONIC on Linux, so its time points arm the fd directly.
    Fd.Reset(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC));
    if (!Fd)
        return;
    Notifier = std::make_unique<QSocketNotifier>(Fd.Get(), QSocketNotifier::Read);
    connect(Notifier.get(), &QSocketNotifier::activated, this, &CWakeTimer::OnFdReadable);
}

CWakeTimer::~CWakeTimer() {
    Notifier.reset();
}

std::chrono::steady_clock::time_point CWakeTimer::ToTimePoint(uint32_t deadline) const {
    using namespace std::chrono;
    // The system clock is read before the injected one: should a millisecond pass in
    // between, the wake comes a millisecond early (and is armed again), never late.
    const auto now = floor<milliseconds>(steady_clock::now());
    const auto ahead = static_cast<int32_t>(deadline - Clock.NowMs());
    return now + milliseconds(ahead);
}

void CWakeTimer::ArmAt(uint32_t deadline) {
    Armed = true;
    ArmedFor = deadline;
    const auto at = ToTimePoint(deadline);
    if (Fd) {
        itimerspec value{};
        value.it_value = ToTimespec(at.time_since_epoch());
        if (SetTime(Fd.Get(), TFD_TIMER_ABSTIME, &value, nullptr) == 0)
            return;
        // A wake that never comes would stall the reading: the Qt timer takes over.
        DropTimerFd();
    }
    const auto wait = at - std::chrono::steady_clock::now();
    // Rounded up: a wake before the deadline would only be armed again.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    Fallback.start(static_cast<int>(std::clamp<int64_t>(ms, 0, INT_MAX)));
}

void CWakeTimer::Cancel() {
    Armed = false;
    Fallback.stop();
    if (!Fd)
        return;
    const itimerspec disarm{};
    // An expiry that stays armed is harmless (it is ignored while not armed), but an fd
    // that cannot be set is of no more use.
    if (SetTime(Fd.Get(), 0, &disarm, nullptr) != 0)
        DropTimerFd();
}

void CWakeTimer::DropTimerFd() {
    Notifier.reset();
    Fd.Reset();
}

void CWakeTimer::OnFdReadable() {
    uint64_t expirations = 0;
    // Disarming clears a pending expiry, but a readiness the event loop saw before that
    // may still be delivered: only a successful read is a real wake.
    if (read(Fd.Get(), &expirations, sizeof expirations) !=
        static_cast<ssize_t>(sizeof expirations))
        return;
    Fire();
}

void CWakeTimer::Fire() {
    if (!Armed)
        return;
    Armed = false;
    if (OnFired)
        OnFired();
}
