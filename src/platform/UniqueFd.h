// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>

#include <utility>

// Owns one file descriptor and closes it when it goes; -1 owns nothing.
class CUniqueFd {
public:
    CUniqueFd() = default;
    explicit CUniqueFd(int fd) : Fd(fd) {}
    ~CUniqueFd() { Reset(); }
    CUniqueFd(CUniqueFd&& other) noexcept : Fd(other.Release()) {}
    CUniqueFd& operator=(CUniqueFd&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    CUniqueFd(const CUniqueFd&) = delete;
    CUniqueFd& operator=(const CUniqueFd&) = delete;

    int Get() const { return Fd; }
    bool IsValid() const { return Fd >= 0; }
    explicit operator bool() const { return IsValid(); }
    // Gives the descriptor up without closing it.
    int Release() { return std::exchange(Fd, -1); }
    void Reset(int fd = -1) {
        if (Fd >= 0)
            ::close(Fd);
        Fd = fd;
    }
    // Closes now and returns close(2)'s result, where a late write error shows up.
    int Close() { return Fd >= 0 ? ::close(std::exchange(Fd, -1)) : 0; }

private:
    int Fd = -1;
};
