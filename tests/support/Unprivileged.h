// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <grp.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

inline constexpr uid_t Nobody = 65534;

// Runs check in a child process; true when it returned true. Under root, whom permissions
// do not stop, the child first hands folder (and all in it) to the user nobody and becomes
// that user, so that checks of refused access still check something.
inline bool RunUnprivileged(const std::string& folder, const std::function<bool()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        bool ready = true;
        if (::geteuid() == 0) {
            ready = ::chown(folder.c_str(), Nobody, Nobody) == 0;
            for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
                ready = ready && ::lchown(entry.path().c_str(), Nobody, Nobody) == 0;
            ready = ready && ::setgroups(0, nullptr) == 0 && ::setgid(Nobody) == 0 &&
                    ::setuid(Nobody) == 0;
        }
        ::_exit(ready && check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}
