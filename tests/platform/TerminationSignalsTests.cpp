#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {
// A loop that nothing quits ends after 10 s with an exit code the tests tell apart.
int RunEventLoop() {
    const QObject guard; // the timer goes with it
    QTimer::singleShot(10000, &guard, [] { QCoreApplication::exit(77); });
    return QCoreApplication::exec();
}

volatile std::sig_atomic_t Caught = 0;
extern "C" void CatchSignal(int signo) {
    Caught = signo;
}

// Going, the last one gives the signals back to the handlers from before it.
TEST(TerminationSignals, SignalBeforeOrWhileTheLoopRuns_QuitsItThenThePreviousHandlerIsBack) {
    struct sigaction catcher {
    }, old{};
    catcher.sa_handler = CatchSignal;
    sigaction(SIGTERM, &catcher, &old);
    for (const int signo : {SIGINT, SIGTERM}) {
        for (const bool beforeTheLoop : {true, false}) {
            SCOPED_TRACE(std::to_string(signo) + (beforeTheLoop ? " before" : " while"));
            const CTerminationSignals termination;
            ASSERT_TRUE(termination.IsActive());
            // A second one stays inactive, and its going leaves the first working.
            EXPECT_FALSE(CTerminationSignals().IsActive());
            if (beforeTheLoop)
                std::raise(signo);
            else
                QTimer::singleShot(0, [signo] { std::raise(signo); });
            EXPECT_EQ(RunEventLoop(), 0);
        }
    }
    std::raise(SIGTERM);
    EXPECT_EQ(Caught, SIGTERM);
    sigaction(SIGTERM, &old, nullptr);
}
} // namespace
