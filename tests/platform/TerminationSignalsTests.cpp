#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <string>

namespace {

// Runs the application's event loop until something quits it; a guard timer ends a
// loop that nothing quits, with an exit code the tests can tell apart.
constexpr int GuardExitCode = 77;

int RunEventLoop() {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(GuardExitCode); });
    guard.start(10000);
    return QCoreApplication::exec();
}

TEST(TerminationSignals, SignalBeforeOrWhileTheLoopRuns_QuitsIt) {
    for (const int signo : {SIGINT, SIGTERM}) {
        for (const bool beforeTheLoop : {true, false}) {
            SCOPED_TRACE(std::to_string(signo) + (beforeTheLoop ? " before" : " while"));
            const CTerminationSignals termination;
            ASSERT_TRUE(termination.IsActive());
            if (beforeTheLoop)
                std::raise(signo);
            else
                QTimer::singleShot(0, [signo] { std::raise(signo); });
            EXPECT_EQ(RunEventLoop(), 0);
        }
    }
}

volatile std::sig_atomic_t Caught = 0;
extern "C" void CatchSignal(int signo) {
    Caught = signo;
}

// Installs CatchSignal for signo for the life of the object.
class CScopedCatcher {
public:
    explicit CScopedCatcher(int signo) : Signo(signo) {
        struct sigaction action {};
        action.sa_handler = CatchSignal;
        sigemptyset(&action.sa_mask);
        sigaction(Signo, &action, &Old);
        Caught = 0;
    }
    ~CScopedCatcher() { sigaction(Signo, &Old, nullptr); }

private:
    int Signo;
    struct sigaction Old {};
};

TEST(TerminationSignals, Destroyed_PreviousHandlersAreBack) {
    const CScopedCatcher term(SIGTERM);
    const CScopedCatcher interrupt(SIGINT);
    { const CTerminationSignals termination; }

    std::raise(SIGTERM);
    EXPECT_EQ(Caught, SIGTERM);
    std::raise(SIGINT);
    EXPECT_EQ(Caught, SIGINT);
}

TEST(TerminationSignals, SecondInstance_StaysInactiveAndTheFirstKeepsWorking) {
    const CTerminationSignals first;
    {
        const CTerminationSignals second;
        EXPECT_FALSE(second.IsActive());
    }
    ASSERT_TRUE(first.IsActive());
    QTimer::singleShot(0, [] { std::raise(SIGTERM); });

    EXPECT_EQ(RunEventLoop(), 0);
}

} // namespace
