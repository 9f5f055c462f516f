#include "engine/PhaseTimer.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

namespace {

class PhaseTimerTest : public testing::Test {
protected:
    // The gap and the show time, as the player uses them.
    void StartTwoPhases(uint32_t gap, uint32_t show) {
        Timer.Reset(2);
        ASSERT_TRUE(Timer.SetDuration(0, gap));
        ASSERT_TRUE(Timer.SetDuration(1, show));
    }
    CFakeClock Clock{1000};
    CPhaseTimer Timer{Clock};
};

TEST_F(PhaseTimerTest, NoPhases_BeforeResetOrCountZero_NothingEndsNothingSet) {
    EXPECT_EQ(Timer.Tick(), -1);
    EXPECT_EQ(Timer.Remaining(), 0u);
    Timer.Reset(0);
    Clock.Advance(100000);
    EXPECT_EQ(Timer.Tick(), -1);
    EXPECT_FALSE(Timer.SetDuration(0, 1));
}

TEST_F(PhaseTimerTest, Remaining_SleptExactly_EachEndOnceInTurnFullLengthEach) {
    StartTwoPhases(400, 700);
    EXPECT_FALSE(Timer.SetDuration(2, 1));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(Timer.Remaining(), i % 2 == 0 ? 400u : 700u);
        Clock.Advance(Timer.Remaining() - 1);
        EXPECT_EQ(Timer.Tick(), -1);
        Clock.Advance(1);
        EXPECT_EQ(Timer.Tick(), i % 2);
    }
}

TEST_F(PhaseTimerTest, LatePoll_OnePhaseEndsAndTheNextKeepsItsFullLength) {
    StartTwoPhases(100, 100);
    Clock.Advance(1000);
    EXPECT_EQ(Timer.Remaining(), 0u);
    EXPECT_EQ(Timer.Tick(), 0);
    EXPECT_EQ(Timer.Tick(), -1);
    EXPECT_EQ(Timer.Remaining(), 100u);
}

TEST_F(PhaseTimerTest, TickCountWrap_KeepsTheTrueElapsedTime) {
    Clock.Set(0xFFFFFF00u);
    StartTwoPhases(0x200, 10);
    Clock.Advance(0x1FF);
    EXPECT_EQ(Timer.Tick(), -1);
    Clock.Advance(1);
    EXPECT_EQ(Timer.Tick(), 0);
}

TEST_F(PhaseTimerTest, DurationChangedMidPhase_AppliesToTheRunningPhase) {
    StartTwoPhases(500, 500);
    Clock.Advance(300);
    Timer.SetDuration(0, 200);
    EXPECT_EQ(Timer.Tick(), 0);
}

TEST_F(PhaseTimerTest, Reset_KeepsAPhaseTheCountHoldsAndRestartsItsTime) {
    Timer.Reset(3);
    Clock.Advance(3000);
    Timer.Tick();
    Clock.Advance(3000);
    ASSERT_EQ(Timer.Tick(), 1);
    Clock.Advance(2000);
    Timer.Reset(3);
    EXPECT_EQ(Timer.Phase(), 2);
    EXPECT_EQ(Timer.Remaining(), CPhaseTimer::InitialDuration);
    Timer.Reset(2);
    EXPECT_EQ(Timer.Phase(), 0);
}

TEST_F(PhaseTimerTest, ZeroDurations_EndOnePhaseAtEveryPoll) {
    StartTwoPhases(0, 0);
    EXPECT_EQ(Timer.Tick(), 0);
    EXPECT_EQ(Timer.Tick(), 1);
    EXPECT_EQ(Timer.Tick(), 0);
}

} // namespace
