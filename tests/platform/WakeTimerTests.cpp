// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Clock.h"
#include "platform/QtWakeTimer.h"

#include <QTest>
#include <cerrno>
#include <gtest/gtest.h>

namespace {
using Backend = CWakeTimer::Backend;

TEST(WakeTimerTest, Armed_FiresOnceNotBeforeTheDeadlineAndCancelledNever) {
    const CWakeTimer::SetTimeFn failing = [](int, int, const itimerspec*, itimerspec*) {
        return errno = EINVAL, -1;
    };
    // Should arming the timerfd fail, the Qt timer takes over.
    for (const CWakeTimer::SetTimeFn setTime : {CWakeTimer::SetTimeFn{}, failing}) {
        SCOPED_TRACE(setTime != nullptr);
        CSteadyClock clock;
        CWakeTimer timer(clock, nullptr, Backend::TimerFd, setTime);
        std::vector<uint32_t> firedAt;
        timer.SetCallback([&] { firedAt.push_back(clock.NowMs()); });
        timer.ArmAt(clock.NowMs() - 5);
        timer.Cancel();
        const uint32_t deadline = clock.NowMs() + 20;
        timer.ArmAt(deadline);
        EXPECT_EQ(timer.ActiveBackend(), setTime ? Backend::QtTimer : Backend::TimerFd);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !firedAt.empty(); }, 5000));
        QTest::qWait(30);
        ASSERT_EQ(firedAt.size(), 1u);
        // At most a millisecond early, which the player re-arms; never more.
        EXPECT_GE(static_cast<int32_t>(firedAt[0] - deadline), -1);
        EXPECT_FALSE(timer.IsArmed());
    }
}
} // namespace
