// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

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

// A handler replaces only a signal that is not ignored; old receives what was there.
bool InstallHandler(int signo, struct sigaction* old) {
    if (::sigaction(signo, nullptr, old) != 0)
        return false;
    if (old->sa_handler == SIG_IGN)
        return true;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(signo, &action, nullptr) == 0;
}

} // namespace

CTerminationSignals::CTerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), OnSignal(std::move(onSignal)) {
    if (SignalWriteFd >= 0)
        return;
    int fds[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) != 0)
        return;
    ReadFd.Reset(fds[0]);
    WriteFd.Reset(fds[1]);
    SignalWriteFd = WriteFd.Get();
    for (std::size_t i = 0; i < Handled.size(); ++i) {
        if (!InstallHandler(Handled[i], &Old[i])) {
            RestoreHandlers(i);
            SignalWriteFd = -1;
            return;
        }
    }
    Active = true;
    Notifier = new QSocketNotifier(ReadFd.Get(), QSocketNotifier::Read, this);
    connect(Notifier, &QSocketNotifier::activated, this, &CTerminationSignals::OnSignalByte);
}

CTerminationSignals::~CTerminationSignals() {
    if (Active) {
        RestoreHandlers(Handled.size());
        SignalWriteFd = -1;
    }
    delete Notifier; // before its descriptor goes
}

void CTerminationSignals::RestoreHandlers(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        ::sigaction(Handled[i], &Old[i], nullptr);
}

void CTerminationSignals::OnSignalByte() {
    char bytes[64];
    while (::read(ReadFd.Get(), bytes, sizeof bytes) > 0) {
    }
    if (OnSignal)
        OnSignal();
    else
        QCoreApplication::quit();
}
