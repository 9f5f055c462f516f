#include "platform/WakeTimer.h"

#include <QSocketNotifier>

#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>

namespace {
timespec ToTimespec(std::chrono::nanoseconds sinceEpoch) {
    // A zero it_value would disarm the timer instead of firing it at once.
    const auto ns = std::max<int64_t>(sinceEpoch.count(), 1);
    return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}
} // namespace

CWakeTimer::CWakeTimer(QObject* parent, Backend preferred) : QObject(parent) {
    Fallback.setSingleShot(true);
    Fallback.setTimerType(Qt::PreciseTimer);
    connect(&Fallback, &QTimer::timeout, this, &CWakeTimer::OnQtTimeout);
    if (preferred != Backend::TimerFd)
        return;
    // steady_clock is CLOCK_MONOTONIC on Linux, so its time points arm the fd directly.
    Fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (Fd < 0)
        return;
    Notifier = std::make_unique<QSocketNotifier>(Fd, QSocketNotifier::Read);
    connect(Notifier.get(), &QSocketNotifier::activated, this, &CWakeTimer::OnFdReadable);
}

CWakeTimer::~CWakeTimer() {
    Notifier.reset();
    if (Fd >= 0)
        close(Fd);
}

void CWakeTimer::ArmAt(TimePoint deadline) {
    Armed = true;
    ArmedFor = deadline;
    if (Fd >= 0) {
        itimerspec value{};
        value.it_value = ToTimespec(deadline.time_since_epoch());
        timerfd_settime(Fd, TFD_TIMER_ABSTIME, &value, nullptr);
        return;
    }
    const auto wait = deadline - std::chrono::steady_clock::now();
    // Rounded up: a wake before the deadline would only be armed again.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    Fallback.start(static_cast<int>(std::clamp<int64_t>(ms, 0, INT_MAX)));
}

void CWakeTimer::Cancel() {
    Armed = false;
    Fallback.stop();
    if (Fd >= 0) {
        const itimerspec disarm{};
        timerfd_settime(Fd, 0, &disarm, nullptr);
    }
}

void CWakeTimer::OnFdReadable() {
    uint64_t expirations = 0;
    // Disarming clears a pending expiry, but a readiness the event loop saw before that
    // may still be delivered: only a successful read is a real wake.
    if (read(Fd, &expirations, sizeof expirations) != static_cast<ssize_t>(sizeof expirations))
        return;
    if (!Armed)
        return;
    Armed = false;
    emit Fired();
}

void CWakeTimer::OnQtTimeout() {
    if (!Armed)
        return;
    Armed = false;
    emit Fired();
}
