// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UniqueFd.h"

#include <cstdint>
#include <string>

// One writer per text: the Skimmet window that holds a text's lock is the one that
// writes its companion file, so that two windows on one text cannot overwrite each
// other's position and bookmarks. The lock is an open-file-description lock on a file
// in $XDG_RUNTIME_DIR/skimmet/, named after the companion's path with its folder
// resolved; the kernel gives it up when the window's process ends, however it ends.
class CCompanionLock {
public:
    enum class State : uint8_t {
        Unlocked,      // nothing asked for yet, or released
        Held,          // this one writes
        HeldElsewhere, // another window writes; this one must not
        Unavailable,   // no runtime folder to lock in: written as without a lock
    };

    CCompanionLock() = default;
    static CCompanionLock Acquire(const std::string& companionPath);

    bool MayWrite() const { return Current != State::HeldElsewhere; }

    // The lock file for companionPath; empty without a usable $XDG_RUNTIME_DIR.
    static std::string LockFilePath(const std::string& companionPath);

private:
    CUniqueFd File;
    State Current = State::Unlocked;
};
