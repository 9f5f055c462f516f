// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/RecentTexts.h"

#include "platform/Folders.h"
#include "platform/ProfileFile.h"
#include "platform/RegularFile.h"
#include "settings/TextSettings.h"

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <sys/stat.h>
#include <utility>

namespace {

bool IsStorable(std::string_view path) {
    return path.starts_with('/') && path.find_first_of(std::string_view("\n\0", 2)) == path.npos;
}

std::string ReadCapped(const std::string& path) {
    const CRegularFile file = CRegularFile::Open(path, CRegularFile::LastLink::Follow);
    if (file.Refused != CRegularFile::Refusal::None)
        return {};
    std::string bytes(CRecentTexts::MaxFileSize, '\0');
    const std::size_t done = file.Read(bytes.data(), bytes.size());
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
