// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <csignal>
#include <gtest/gtest.h>
#include <string>

namespace {
volatile std::sig_atomic_t Caught = 0;
extern "C" void CatchSignal(int signo) {
    Caught = signo;
}

// A signal ignored at start (nohup) stays ignored; going, the instance gives the signal
// back to the handler from before it. One loop serves all three: the last shows its bound.
TEST(TerminationSignals, SignalCaughtOrIgnoredBefore_CallsBackUnlessIgnoredThenGivesItBack) {
    const int signo = CTerminationSignals::Handled.back();
    for (const bool ignored : {false, true}) {
        SCOPED_TRACE(std::to_string(signo) + (ignored ? " ignored" : " caught"));
        struct sigaction before = {}, old = {};
        before.sa_handler = ignored ? SIG_IGN : CatchSignal;
        sigaction(signo, &before, &old);
        int calls = 0;
        {
            const CTerminationSignals termination([&calls] { ++calls; });
            ASSERT_TRUE(termination.IsActive());
            // A second one stays inactive, and its going leaves the first working.
            EXPECT_FALSE(CTerminationSignals().IsActive());
            std::raise(signo);
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(calls, ignored ? 0 : 1);
        Caught = 0;
        std::raise(signo);
        EXPECT_EQ(Caught, ignored ? 0 : signo);
        sigaction(signo, &old, nullptr);
    }
}
} // namespace
