// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/IsolatedPages.h"

#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace {
using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds AskEvery{100};

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Each page as its size, then its bytes. Ends with _exit: the parent's handlers, buffers
// and objects are not the child's to run or flush. A signal meant to end the program
// ends the child as it is, without telling the program's handler, and so does the end
// of the thread that started it.
[[noreturn]] void RunChild(int fd, int count, const IsolatedPages::ReadPage& readPage,
                           pid_t parent) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        ::signal(signal, SIG_DFL);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        _exit(1);
    for (int i = 0; i < count; ++i) {
        const std::string page = readPage(i);
        const uint64_t size = page.size();
        if (!WriteAll(fd, reinterpret_cast<const char*>(&size), sizeof size) ||
            !WriteAll(fd, page.data(), page.size()))
            _exit(1);
    }
    _exit(0);
}

// The child, killed and waited for however the read ends.
struct SChild {
    pid_t Pid;
    CUniqueFd Pipe;

    ~SChild() {
        ::kill(Pid, SIGKILL);
        while (::waitpid(Pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
};

// Moves the pages complete in pending to pages.
void TakePages(std::string& pending, std::vector<std::string>& pages) {
    size_t at = 0;
    uint64_t size = 0;
    while (pending.size() - at >= sizeof size) {
        std::memcpy(&size, pending.data() + at, sizeof size);
        if (pending.size() - at - sizeof size < size)
            break;
        pages.push_back(pending.substr(at + sizeof size, size));
        at += sizeof size + size;
    }
    pending.erase(0, at);
}

// Reads what the child has sent, if anything, within a tenth of a second; false when it
// has gone without sending every page.
bool Receive(int fd, std::string& pending, std::vector<std::string>& pages) {
    pollfd ready{fd, POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(AskEvery.count()));
    if (polled == 0 || (polled < 0 && errno == EINTR))
        return true;
    char chunk[64 * 1024];
    const ssize_t got = polled > 0 ? ::read(fd, chunk, sizeof chunk) : -1;
    if (got < 0 && errno == EINTR)
        return true;
    if (got <= 0)
        return false;
    pending.append(chunk, static_cast<size_t>(got));
    TakePages(pending, pages);
    return true;
}
} // namespace

namespace IsolatedPages {

std::optional<std::vector<std::string>> Read(int count, const ReadPage& readPage,
                                             const BookText::Progress& progress,
                                             std::chrono::milliseconds limit, std::string& error) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        error = std::string("the PDF cannot be read: ") + std::strerror(errno);
        return std::nullopt;
    }
    CUniqueFd writeEnd(fds[1]);
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0)
        RunChild(fds[1], count, readPage, parent);
    if (pid < 0) {
        ::close(fds[0]);
        error = std::string("the PDF cannot be read: ") + std::strerror(errno);
        return std::nullopt;
    }
    writeEnd.Reset();
    const SChild child{pid, CUniqueFd(fds[0])};
    std::vector<std::string> pages;
    std::string pending;
    Clock::time_point pageStart = Clock::now();
    Clock::time_point asked = pageStart - AskEvery;
    while (pages.size() < static_cast<size_t>(count)) {
        const size_t before = pages.size();
        const bool alive = Receive(child.Pipe.Get(), pending, pages);
        const Clock::time_point now = Clock::now();
        if (pages.size() > before)
            pageStart = now;
        if (progress && (pages.size() > before || now - asked >= AskEvery)) {
            asked = now;
            if (!progress(pages.size(), static_cast<uint64_t>(count)))
                return std::nullopt;
        }
        const std::string page = std::to_string(pages.size() + 1);
        if (!alive) {
            error = "Poppler failed on page " + page + " of the PDF (a damaged file?)";
            return std::nullopt;
        }
        if (now - pageStart > limit) {
            error = "page " + page + " of the PDF takes more than " +
                    std::to_string(limit.count() / 1000) +
                    " s to read (a damaged file, or too much text on one page)";
            return std::nullopt;
        }
    }
    return pages;
}

} // namespace IsolatedPages
