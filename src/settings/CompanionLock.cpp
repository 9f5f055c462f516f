// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/CompanionLock.h"

#include "platform/Folders.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <utility>

namespace {

// FNV-1a: stable across runs and versions, which std::hash is not promised to be.
uint64_t NameHash(const std::string& text) {
    uint64_t hash = 14695981039346656037ULL;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    return hash;
}

// The same text reached through another spelling of its folder ("./", "..", a link to
// the folder) is still the same text.
std::string ResolvedFolderPath(const std::string& path) {
    const std::string_view folderPart = FolderPart(path);
    const std::string folder = folderPart.empty() ? "." : std::string(folderPart);
    const std::string name = path.substr(folderPart.size());
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr),
                                                           &std::free);
    return real ? std::string(real.get()) + "/" + name : path;
}

// The folder is the user's own, not a link: no one else can swap the lock file.
bool MakePrivateFolder(const std::string& folder) {
    if (!MakeFolder(folder, 0700))
        return false;
    struct stat status {};
    return ::lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid();
}

} // namespace

std::string CCompanionLock::LockFilePath(const std::string& companionPath) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime == nullptr || runtime[0] != '/')
        return {};
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.lock",
                  static_cast<unsigned long long>(NameHash(ResolvedFolderPath(companionPath))));
    return std::string(runtime) + "/skimmet/" + name;
}

CCompanionLock CCompanionLock::Acquire(const std::string& companionPath) {
    CCompanionLock lock;
    lock.Current = State::Unavailable;
    const std::string path = LockFilePath(companionPath);
    if (path.empty() || !MakePrivateFolder(ParentFolder(path)))
        return lock;
    CUniqueFd file(::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file.IsValid())
        return lock;
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (::fcntl(file.Get(), F_OFD_SETLK, &whole) == 0) {
        lock.File = std::move(file);
        lock.Current = State::Held;
    } else if (errno == EAGAIN || errno == EACCES) {
        lock.Current = State::HeldElsewhere;
    }
    return lock;
}
