// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UniqueFd.h"
#include "platform/WakeTimer.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>

struct itimerspec;
class IClock;
class QSocketNotifier;

// The wake timer of the event loop, to the microsecond. Qt's own timers count whole
// milliseconds from the moment they are started, so a wake meant for the edge of a
// millisecond lands anywhere up to a millisecond after it; a Linux timerfd watched by
// the event loop takes the exact point instead. Should no timerfd be available, or
// should arming it fail, a precise QTimer rounded up to whole milliseconds stands in.
class CWakeTimer : public QObject, public IWakeTimer {
    Q_OBJECT
public:
    enum class Backend { TimerFd, QtTimer };
    // timerfd_settime, or a stand-in that makes it fail.
    using SetTimeFn = int (*)(int fd, int flags, const itimerspec* value, itimerspec* old);

    // Deadlines are read in `clock`'s milliseconds, which must advance with the
    // monotonic system clock (CSteadyClock does, a fake clock only roughly).
    explicit CWakeTimer(const IClock& clock, QObject* parent = nullptr,
                        Backend preferred = Backend::TimerFd, SetTimeFn setTime = nullptr);
    ~CWakeTimer() override;

    void SetCallback(Callback fired) override { OnFired = std::move(fired); }
    void ArmAt(uint32_t deadline) override;
    void Cancel() override;
    bool IsArmed() const override { return Armed; }
    uint32_t Deadline() const override { return ArmedFor; }
    Backend ActiveBackend() const { return Fd ? Backend::TimerFd : Backend::QtTimer; }

private:
    std::chrono::steady_clock::time_point ToTimePoint(uint32_t deadline) const;
    void DropTimerFd();
    void OnFdReadable();
    void Fire();

    const IClock& Clock;
    SetTimeFn SetTime;
    CUniqueFd Fd;
    std::unique_ptr<QSocketNotifier> Notifier;
    QTimer Fallback;
    Callback OnFired;
    bool Armed = false;
    uint32_t ArmedFor = 0;
};
