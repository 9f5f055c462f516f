#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>

class QSocketNotifier;

// A single-shot timer that fires at a point of the monotonic clock, to the microsecond.
// Qt's own timers count whole milliseconds from the moment they are started, so a wake
// meant for the edge of a millisecond lands anywhere up to a millisecond after it; a
// Linux timerfd watched by the event loop takes the exact point instead. Should no
// timerfd be available, a precise QTimer rounded up to whole milliseconds stands in.
class CWakeTimer : public QObject {
    Q_OBJECT
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    enum class Backend { TimerFd, QtTimer };

    explicit CWakeTimer(QObject* parent = nullptr, Backend preferred = Backend::TimerFd);
    ~CWakeTimer() override;

    // Fires once at `deadline`, replacing any earlier request; a deadline already past
    // fires at the next turn of the event loop.
    void ArmAt(TimePoint deadline);
    void Cancel();
    bool IsArmed() const { return Armed; }
    // The point it is armed for; meaningful while armed.
    TimePoint Deadline() const { return ArmedFor; }
    Backend ActiveBackend() const { return Fd >= 0 ? Backend::TimerFd : Backend::QtTimer; }

signals:
    void Fired();

private:
    void OnFdReadable();
    void OnQtTimeout();

    int Fd = -1;
    std::unique_ptr<QSocketNotifier> Notifier;
    QTimer Fallback;
    bool Armed = false;
    TimePoint ArmedFor;
};
