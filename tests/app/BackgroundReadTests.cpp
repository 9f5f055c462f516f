// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BackgroundRead.h"

#include <gtest/gtest.h>

#include <future>

namespace {

// A read stuck in a step that never reports is given up at the window's word; it stops
// at its next report and touches nothing of the window's.
TEST(BackgroundRead, StuckRead_GivenUpAtOnceAndStopsAtItsNextReport) {
    std::promise<void> release;
    std::promise<bool> wentOn;
    int ticks = 0;
    {
        CBackgroundRead reader;
        const auto end = reader.Run(
            [stuck = release.get_future().share(),
             &wentOn](const CBackgroundRead::Progress& report) {
                stuck.wait();
                wentOn.set_value(report(1, 1));
            },
            [](uint64_t, uint64_t) {
                ADD_FAILURE() << "a report after the read was given up";
                return true;
            },
            [&] { return ++ticks < 3; });
        EXPECT_EQ(end, CBackgroundRead::EEnd::GivenUp);
    }
    release.set_value();
    EXPECT_FALSE(wentOn.get_future().get());
    EXPECT_EQ(ticks, 3);
}

} // namespace
