// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegularFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CRegularFile CRegularFile::Open(const std::string& path, LastLink link) {
    const int noFollow = link == LastLink::Refuse ? O_NOFOLLOW : 0;
    CRegularFile opened;
    opened.File.Reset(
        ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | noFollow));
    struct stat status {};
    if (!opened.File.IsValid() || ::fstat(opened.File.Get(), &status) != 0) {
        opened.Refused = Refusal::CannotOpen;
        opened.Error = errno;
        return opened;
    }
    if (S_ISDIR(status.st_mode)) {
        opened.Refused = Refusal::Folder;
        return opened;
    }
    if (!S_ISREG(status.st_mode)) {
        opened.Refused = Refusal::NotRegular;
        return opened;
    }
    opened.Size = static_cast<uint64_t>(status.st_size);
    return opened;
}

std::size_t CRegularFile::Read(char* into, std::size_t size, int* error) const {
    if (error)
        *error = 0;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(File.Get(), into + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && error)
            *error = errno;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}
