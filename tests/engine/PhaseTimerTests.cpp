#include "engine/PhaseTimer.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class PhaseTimerTest : public testing::Test {
protected:
    // Two phases, as the player uses them: the gap and the show time.
    void StartTwoPhases(uint32_t gap, uint32_t show) {
        Timer.Reset(2);
        ASSERT_TRUE(Timer.SetDuration(0, gap));
        ASSERT_TRUE(Timer.SetDuration(1, show));
    }

    // Polls every `step` ms until `until` ms have passed; returns (time, phase) of each end.
    std::vector<std::pair<uint32_t, int>> Poll(uint32_t step, uint32_t until) {
        std::vector<std::pair<uint32_t, int>> ends;
        for (uint32_t t = step; t <= until; t += step) {
            Clock.Advance(step);
            if (const int ended = Timer.Tick(); ended >= 0)
                ends.emplace_back(t, ended);
        }
        return ends;
    }

    CFakeClock Clock{1000};
    CPhaseTimer Timer{Clock};
};

TEST_F(PhaseTimerTest, BeforeReset_NothingEndsAndNoDurationCanBeSet) {
    Clock.Advance(100000);
    EXPECT_EQ(Timer.Tick(), -1);
    EXPECT_EQ(Timer.Remaining(), 0u);
    EXPECT_FALSE(Timer.SetDuration(0, 10));
}

TEST_F(PhaseTimerTest, Reset_GivesEveryPhase3000Ms) {
    Timer.Reset(2);
    EXPECT_EQ(Poll(10, 6000), (std::vector<std::pair<uint32_t, int>>{{3000, 0}, {6000, 1}}));
}

TEST_F(PhaseTimerTest, RegularPolling_ReportsEachEndOnceInTurn) {
    StartTwoPhases(400, 700);
    const std::vector<std::pair<uint32_t, int>> expected = {
        {400, 0}, {1100, 1}, {1500, 0}, {2200, 1}};
    EXPECT_EQ(Poll(10, 2250), expected);
}

TEST_F(PhaseTimerTest, LatePoll_EndsOnePhaseAndGivesTheNextItsFullLength) {
    StartTwoPhases(400, 700);
    Clock.Advance(5000);
    EXPECT_EQ(Timer.Tick(), 0);
    EXPECT_EQ(Timer.Tick(), -1);
    Clock.Advance(699);
    EXPECT_EQ(Timer.Tick(), -1);
    Clock.Advance(1);
    EXPECT_EQ(Timer.Tick(), 1);
}

TEST_F(PhaseTimerTest, TickCountWrap_KeepsTheTrueElapsedTime) {
    Clock.Set(0xFFFFFF00u);
    StartTwoPhases(400, 700);
    Clock.Advance(399); // past the wrap
    EXPECT_EQ(Timer.Remaining(), 1u);
    EXPECT_EQ(Timer.Tick(), -1);
    Clock.Advance(1);
    EXPECT_EQ(Timer.Tick(), 0);
}

TEST_F(PhaseTimerTest, ZeroDurations_EndOnePhaseAtEveryPoll) {
    StartTwoPhases(0, 0);
    std::vector<int> ends;
    for (int i = 0; i < 5; ++i)
        ends.push_back(Timer.Tick());
    EXPECT_EQ(ends, (std::vector<int>{0, 1, 0, 1, 0}));
}

TEST_F(PhaseTimerTest, DurationChangedMidPhase_AppliesToTheRunningPhase) {
    StartTwoPhases(400, 700);
    Clock.Advance(300);
    ASSERT_TRUE(Timer.SetDuration(0, 1000));
    Clock.Advance(600);
    EXPECT_EQ(Timer.Tick(), -1) << "lengthened";
    ASSERT_TRUE(Timer.SetDuration(0, 200));
    EXPECT_EQ(Timer.Remaining(), 0u);
    EXPECT_EQ(Timer.Tick(), 0) << "shortened below the elapsed time";
}

TEST_F(PhaseTimerTest, SetDuration_OutsideThePhasesChangesNothing) {
    StartTwoPhases(400, 700);
    EXPECT_FALSE(Timer.SetDuration(-1, 5));
    EXPECT_FALSE(Timer.SetDuration(2, 5));
    EXPECT_EQ(Poll(10, 1100), (std::vector<std::pair<uint32_t, int>>{{400, 0}, {1100, 1}}));
}

TEST_F(PhaseTimerTest, Reset_KeepsThePhaseAndRestartsItsTime) {
    StartTwoPhases(0, 700);
    ASSERT_EQ(Timer.Tick(), 0);
    Clock.Advance(500);
    Timer.Reset(2); // pause and resume during the show time
    EXPECT_EQ(Timer.Phase(), 1);
    EXPECT_EQ(Timer.Remaining(), 3000u);
    Clock.Advance(3000);
    EXPECT_EQ(Timer.Tick(), 1);
}

TEST_F(PhaseTimerTest, ResetToFewerPhases_StartsOverAtTheFirst) {
    StartTwoPhases(0, 700);
    ASSERT_EQ(Timer.Tick(), 0);
    Timer.Reset(1);
    EXPECT_EQ(Timer.Phase(), 0);
    Clock.Advance(3000);
    EXPECT_EQ(Timer.Tick(), 0);
    EXPECT_EQ(Timer.Tick(), -1);

    Timer.Reset(0);
    Clock.Advance(100000);
    EXPECT_EQ(Timer.Tick(), -1);
    EXPECT_FALSE(Timer.SetDuration(0, 1));
}

TEST_F(PhaseTimerTest, Remaining_CountsDownToZeroAndStaysThereWhenLate) {
    StartTwoPhases(400, 700);
    EXPECT_EQ(Timer.Remaining(), 400u);
    Clock.Advance(150);
    EXPECT_EQ(Timer.Remaining(), 250u);
    Clock.Advance(250);
    EXPECT_EQ(Timer.Remaining(), 0u);
    Clock.Advance(90);
    EXPECT_EQ(Timer.Remaining(), 0u);
    ASSERT_EQ(Timer.Tick(), 0);
    EXPECT_EQ(Timer.Remaining(), 700u);
}

TEST_F(PhaseTimerTest, SleepingForRemaining_LandsExactlyOnEachEnd) {
    StartTwoPhases(400, 700);
    for (int i = 0; i < 6; ++i) {
        const uint32_t wait = Timer.Remaining();
        EXPECT_EQ(wait, i % 2 == 0 ? 400u : 700u);
        Clock.Advance(wait - 1);
        EXPECT_EQ(Timer.Tick(), -1);
        Clock.Advance(1);
        EXPECT_EQ(Timer.Tick(), i % 2);
    }
}

} // namespace
