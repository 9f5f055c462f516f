// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SessionBus.h"

#include <string>
#include <sys/stat.h>

bool SessionBusReachable(const char* address, const char* runtimeFolder) {
    if (address && *address)
        return true;
    if (!runtimeFolder || *runtimeFolder != '/')
        return false;
    struct stat status {};
    const std::string socket = std::string(runtimeFolder) + "/bus";
    return ::stat(socket.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}
