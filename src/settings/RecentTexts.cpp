// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RecentTexts.h"

#include "platform/Folders.h"
#include "platform/ProfileFile.h"
#include "platform/UniqueFd.h"
#include "settings/TextSettings.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

bool IsStorable(std::string_view path) {
    return path.starts_with('/') && path.find_first_of(std::string_view("\n\0", 2)) == path.npos;
}

std::string ReadCapped(const std::string& path) {
    // O_NONBLOCK: a FIFO in the file's place must not hang the program; it is refused.
    const CUniqueFd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat status {};
    if (!file.IsValid() || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    std::string bytes(CRecentTexts::MaxFileSize, '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(file.Get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    // A full read may have cut the last line short.
    if (done == CRecentTexts::MaxFileSize)
        bytes.resize(bytes.rfind('\n') + 1);
    return bytes;
}

} // namespace

std::string CRecentTexts::DefaultPath() {
    const std::string state = UserFolder("XDG_STATE_HOME", "/.local/state");
    return state.empty() ? std::string() : state + "/skimmet/recent";
}

CRecentTexts::CRecentTexts(std::string filePath) : FilePath(std::move(filePath)) {}

void CRecentTexts::Load() {
    Entries.clear();
    if (FilePath.empty())
        return;
    const std::string bytes = ReadCapped(FilePath);
    std::string_view rest = bytes;
    while (!rest.empty() && Entries.size() < MaxCount) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string line(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (IsStorable(line) && std::ranges::find(Entries, line) == Entries.end())
            Entries.push_back(line);
    }
}

bool CRecentTexts::Add(const std::string& path) {
    if (!IsStorable(path))
        return true;
    Load();
    std::erase(Entries, path);
    Entries.insert(Entries.begin(), path);
    if (Entries.size() > MaxCount)
        Entries.resize(MaxCount);
    return Save();
}

void CRecentTexts::DropMissing() {
    Load();
    const std::size_t before = Entries.size();
    std::erase_if(Entries, [](const std::string& path) {
        struct stat status {};
        return ::stat(path.c_str(), &status) != 0 && (errno == ENOENT || errno == ENOTDIR);
    });
    if (Entries.size() != before)
        Save();
}

bool CRecentTexts::Save() const {
    // The folders of the state file are private to the user, as the XDG base
    // directories ask for any that are made on their behalf.
    if (FilePath.empty() || !MakeFolder(ParentFolder(FilePath), 0700))
        return false;
    std::string bytes;
    for (const std::string& path : Entries)
        bytes += path + '\n';
    return SaveFileAtomically(FilePath, bytes);
}
