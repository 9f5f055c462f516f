// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Folders.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

std::string_view FolderPart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string ParentFolder(std::string_view path) {
    const std::string_view folder = FolderPart(path);
    return std::string(folder.substr(0, folder.empty() ? 0 : folder.size() - 1));
}

bool MakeFolder(const std::string& folder, mode_t mode, std::string* error) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return true;
        if (error)
            *error = folder + " is not a folder";
        return false;
    }
    const std::string parent = ParentFolder(folder);
    if (!parent.empty() && !MakeFolder(parent, mode, error))
        return false;
    if (::mkdir(folder.c_str(), mode) != 0 && errno != EEXIST) {
        if (error)
            *error = "Cannot create " + folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

std::string ExecutableFolder() {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return {};
    path.resize(static_cast<std::size_t>(length));
    return std::string(FolderPart(path));
}
