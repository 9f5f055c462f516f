#include "platform/Clock.h"
#include "platform/QtWakeTimer.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cerrno>

namespace {
using Backend = CWakeTimer::Backend;

TEST(WakeTimerTest, Armed_FiresOnceNotBeforeTheDeadlineAndCancelledNever) {
    const CWakeTimer::SetTimeFn failing = [](int, int, const itimerspec*, itimerspec*) {
        return errno = EINVAL, -1;
    };
    // Should arming the timerfd fail, the Qt timer takes over.
    for (const auto& [preferred, setTime, active] :
         {std::tuple{Backend::TimerFd, CWakeTimer::SetTimeFn{}, Backend::TimerFd},
          {Backend::QtTimer, nullptr, Backend::QtTimer},
          {Backend::TimerFd, failing, Backend::QtTimer}}) {
        SCOPED_TRACE(static_cast<int>(preferred) * 10 + (setTime != nullptr));
        CSteadyClock clock;
        CWakeTimer timer(clock, nullptr, preferred, setTime);
        std::vector<uint32_t> firedAt;
        timer.SetCallback([&] { firedAt.push_back(clock.NowMs()); });
        timer.ArmAt(clock.NowMs() - 5);
        timer.Cancel();
        const uint32_t deadline = clock.NowMs() + 20;
        timer.ArmAt(deadline);
        EXPECT_EQ(timer.ActiveBackend(), active);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !firedAt.empty(); }, 5000));
        QTest::qWait(30);
        ASSERT_EQ(firedAt.size(), 1u);
        // At most a millisecond early, which the player re-arms; never more.
        EXPECT_GE(static_cast<int32_t>(firedAt[0] - deadline), -1);
        EXPECT_FALSE(timer.IsArmed());
    }
}
} // namespace
