// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BackgroundRead.h"

#include <gtest/gtest.h>

#include <future>
#include <vector>

namespace {

using Reports = std::vector<uint64_t>;

// Every report reaches the window in order, each one taken before the read goes on.
TEST(BackgroundRead, Reports_EachSeenInOrderBeforeTheReadGoesOn) {
    Reports seen;
    Reports readAfter; // what the window had seen when the read went on
    CBackgroundRead reader;
    const auto end = reader.Run(
        [&](const CBackgroundRead::Progress& report) {
            for (uint64_t done = 1; done <= 3; ++done) {
                report(done, 3);
                readAfter.push_back(seen.size());
            }
        },
        [&](uint64_t done, uint64_t) {
            seen.push_back(done);
            return true;
        },
        [] { return true; });
    EXPECT_EQ(end, CBackgroundRead::EEnd::Finished);
    EXPECT_EQ(seen, (Reports{1, 2, 3}));
    EXPECT_EQ(readAfter, (Reports{1, 2, 3}));
}

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
