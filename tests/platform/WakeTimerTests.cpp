#include "platform/Clock.h"
#include "platform/QtWakeTimer.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <cerrno>

namespace {
using Backend = CWakeTimer::Backend;

void Spin() {
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

int FailingSetTime(int, int, const itimerspec*, itimerspec*) {
    errno = EINVAL;
    return -1;
}

// Each backend, and the timerfd whose arming fails (the Qt timer must take over).
struct Case {
    const char* Name;
    Backend Preferred;
    CWakeTimer::SetTimeFn SetTime;
    Backend Active;
};
const Case Cases[] = {{"timerfd", Backend::TimerFd, nullptr, Backend::TimerFd},
                      {"qt", Backend::QtTimer, nullptr, Backend::QtTimer},
                      {"failing timerfd", Backend::TimerFd, &FailingSetTime, Backend::QtTimer}};

TEST(WakeTimerTest, DeadlinePassed_FiresOnceWithCallbackAndSignal) {
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Name);
        CSteadyClock clock;
        CWakeTimer timer(clock, nullptr, c.Preferred, c.SetTime);
        QSignalSpy fired(&timer, &CWakeTimer::Fired);
        int calls = 0;
        timer.SetCallback([&] { ++calls; });
        timer.ArmAt(clock.NowMs() - 5);
        EXPECT_EQ(timer.ActiveBackend(), c.Active);
        EXPECT_TRUE(timer.IsArmed());
        EXPECT_TRUE(QTest::qWaitFor([&] { return calls > 0; }, 5000));
        EXPECT_FALSE(timer.IsArmed());
        Spin();
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(fired.size(), 1);
    }
}

TEST(WakeTimerTest, CancelOrArmAgain_TheEarlierDeadlineNeverFires) {
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Name);
        CSteadyClock clock;
        CWakeTimer timer(clock, nullptr, c.Preferred, c.SetTime);
        QSignalSpy fired(&timer, &CWakeTimer::Fired);
        timer.ArmAt(clock.NowMs() - 5);
        timer.Cancel();
        EXPECT_FALSE(timer.IsArmed());
        timer.ArmAt(clock.NowMs() - 5);
        const uint32_t later = clock.NowMs() + 3'600'000;
        timer.ArmAt(later);
        Spin();
        EXPECT_EQ(fired.size(), 0);
        EXPECT_TRUE(timer.IsArmed());
        EXPECT_EQ(timer.Deadline(), later);
    }
}

TEST(WakeTimerTest, ArmedAtAMillisecond_NeverFiresBeforeTheClockEntersIt) {
    CSteadyClock clock;
    CWakeTimer timer(clock);
    uint32_t firedAt = 0;
    timer.SetCallback([&] { firedAt = clock.NowMs(); });
    const uint32_t deadline = clock.NowMs() + 20;
    timer.ArmAt(deadline);
    ASSERT_TRUE(QTest::qWaitFor([&] { return firedAt != 0; }, 5000));
    // At most a millisecond early, which the player re-arms; never more.
    EXPECT_GE(static_cast<int32_t>(firedAt - deadline), -1);
}
} // namespace
