// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/ClipboardTexts.h"

#include "platform/Folders.h"
#include "platform/ProfileFile.h"
#include "platform/RegularFile.h"
#include "settings/NameHash.h"
#include "settings/TextSettings.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <sys/stat.h>

namespace {

constexpr std::string_view Prefix = "clipboard-";
constexpr std::string_view Suffix = ".txt";
// Names another text already holds are passed over; past this many, something is wrong.
constexpr int MaxTries = 16;

std::string NameFor(std::string_view text, int attempt) {
    char hex[17] = {};
    std::snprintf(hex, sizeof hex, "%016llx",
                  static_cast<unsigned long long>(NameHash(text, static_cast<uint64_t>(attempt))));
    return std::string(Prefix) + hex + std::string(Suffix);
}

enum class EFound { Missing, Same, Other, Unreadable };

EFound Compare(const std::string& path, std::string_view text) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0)
        return errno == ENOENT ? EFound::Missing : EFound::Unreadable;
    if (!S_ISREG(status.st_mode) || static_cast<uint64_t>(status.st_size) != text.size())
        return EFound::Other;
    const CRegularFile file = CRegularFile::Open(path, CRegularFile::LastLink::Refuse);
    if (file.Refused != CRegularFile::Refusal::None)
        return EFound::Unreadable;
    std::string bytes(text.size(), '\0');
    if (file.Read(bytes.data(), bytes.size()) != bytes.size())
        return EFound::Other;
    return bytes == text ? EFound::Same : EFound::Other;
}

} // namespace

namespace ClipboardTexts {

std::string DefaultFolder() {
    const std::string state = UserFolder("XDG_STATE_HOME", "/.local/state");
    return state.empty() ? std::string() : state + "/skimmet/clipboard";
}

std::optional<std::string> Keep(std::string_view text, const std::string& folder,
                                std::string& error) {
    if (folder.empty()) {
        error = "There is no folder to keep the text in: neither XDG_STATE_HOME nor HOME is set.";
        return std::nullopt;
    }
    if (!MakeFolder(folder, 0700, &error))
        return std::nullopt;
    for (int attempt = 0; attempt < MaxTries; ++attempt) {
        const std::string path = folder + '/' + NameFor(text, attempt);
        switch (Compare(path, text)) {
        case EFound::Same:
            return path;
        case EFound::Missing:
            if (!SaveFileAtomically(path, text, &error))
                return std::nullopt;
            return path;
        case EFound::Unreadable:
            error = "Cannot read " + path + ".";
            return std::nullopt;
        case EFound::Other:
            break;
        }
    }
    error = "Every name for the text in " + folder + " is taken.";
    return std::nullopt;
}

bool IsKept(std::string_view path, std::string_view folder) {
    if (folder.empty() || !path.starts_with(folder))
        return false;
    path.remove_prefix(folder.size());
    return path.starts_with('/') && path.find('/', 1) == path.npos &&
           path.substr(1).starts_with(Prefix) && path.ends_with(Suffix);
}

} // namespace ClipboardTexts
