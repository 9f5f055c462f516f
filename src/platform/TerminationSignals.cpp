#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A signal handler can reach nothing but globals; this is the write end of the active
// instance's socket pair, -1 while there is none.
volatile sig_atomic_t SignalWriteFd = -1;

extern "C" void OnTerminationSignal(int signo) {
    const int savedErrno = errno;
    const int fd = SignalWriteFd;
    if (fd >= 0) {
        const char byte = static_cast<char>(signo);
        // Non-blocking: if the pipe is full a quit is already pending.
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

bool InstallHandler(int signo, struct sigaction* old) {
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(signo, &action, old) == 0;
}

} // namespace

CTerminationSignals::CTerminationSignals(QObject* parent) : QObject(parent) {
    if (SignalWriteFd >= 0)
        return;
    int fds[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) != 0)
        return;
    ReadFd.Reset(fds[0]);
    WriteFd.Reset(fds[1]);
    SignalWriteFd = WriteFd.Get();
    if (!InstallHandler(SIGINT, &OldInt)) {
        SignalWriteFd = -1;
        return;
    }
    if (!InstallHandler(SIGTERM, &OldTerm)) {
        ::sigaction(SIGINT, &OldInt, nullptr);
        SignalWriteFd = -1;
        return;
    }
    Active = true;
    Notifier = new QSocketNotifier(ReadFd.Get(), QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &CTerminationSignals::OnSignalByte);
}

CTerminationSignals::~CTerminationSignals() {
    if (Active) {
        ::sigaction(SIGINT, &OldInt, nullptr);
        ::sigaction(SIGTERM, &OldTerm, nullptr);
        SignalWriteFd = -1;
    }
    delete Notifier; // before its descriptor goes
}

void CTerminationSignals::OnSignalByte() {
    char bytes[64];
    while (::read(ReadFd.Get(), bytes, sizeof bytes) > 0) {
    }
    QCoreApplication::quit();
}
