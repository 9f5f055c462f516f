// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PhaseTimer.h"
#include "support/FakeClock.h"

#include <gtest/gtest.h>

namespace {
// The clock wraps to 0 in the second phase: elapsed time must still count right.
TEST(PhaseTimerTest, Remaining_EachPhaseEndsOnceInTurnAfterItsFullLength) {
    CFakeClock clock{0xFFFFFFFFu - 1000};
    CPhaseTimer timer{clock};
    EXPECT_EQ(timer.Tick(), -1);
    timer.Reset(2);
    ASSERT_TRUE(timer.SetDuration(0, 400) && timer.SetDuration(1, 700));
    EXPECT_FALSE(timer.SetDuration(2, 1));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(timer.Remaining(), i % 2 == 0 ? 400u : 700u);
        clock.Advance(timer.Remaining() - 1);
        EXPECT_EQ(timer.Tick(), -1);
        clock.Advance(1);
        EXPECT_EQ(timer.Tick(), i % 2);
    }
    clock.Advance(5000); // polled late: one end, and the next phase keeps its length
    EXPECT_EQ(timer.Tick(), 0);
    EXPECT_EQ(timer.Remaining(), 700u);
}
} // namespace
