#include "platform/WakeTimer.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {
using namespace std::chrono;

class WakeTimerTest : public ::testing::TestWithParam<CWakeTimer::Backend> {
protected:
    CWakeTimer Timer{nullptr, GetParam()};
    QSignalSpy Fired{&Timer, &CWakeTimer::Fired};

    static void Spin() {
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents();
    }
};

TEST_P(WakeTimerTest, DeadlinePassed_FiresOnceAtTheNextTurnOfTheLoop) {
    ASSERT_EQ(Timer.ActiveBackend(), GetParam()); // not silently the other one
    Timer.ArmAt(steady_clock::now() - milliseconds(5));
    EXPECT_TRUE(Timer.IsArmed());
    EXPECT_TRUE(QTest::qWaitFor([&] { return Fired.size() > 0; }, 5000));
    EXPECT_FALSE(Timer.IsArmed());
    Spin();
    EXPECT_EQ(Fired.size(), 1);
}

TEST_P(WakeTimerTest, Cancel_DueWakeNeverFires) {
    Timer.ArmAt(steady_clock::now() - milliseconds(5));
    Timer.Cancel();
    EXPECT_FALSE(Timer.IsArmed());
    Spin();
    EXPECT_EQ(Fired.size(), 0);
}

TEST_P(WakeTimerTest, ArmAgain_ReplacesTheEarlierDeadlineAndDoesNotFireEarly) {
    Timer.ArmAt(steady_clock::now() - milliseconds(5));
    Timer.ArmAt(steady_clock::now() + hours(1));
    Spin();
    EXPECT_EQ(Fired.size(), 0);
    EXPECT_TRUE(Timer.IsArmed());
    Timer.ArmAt(steady_clock::now() - milliseconds(1));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Fired.size() > 0; }, 5000));
    Spin();
    EXPECT_EQ(Fired.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, WakeTimerTest,
                         ::testing::Values(CWakeTimer::Backend::TimerFd,
                                           CWakeTimer::Backend::QtTimer),
                         [](const auto& info) {
                             return info.param == CWakeTimer::Backend::TimerFd ? "TimerFd"
                                                                               : "QtTimer";
                         });
} // namespace
