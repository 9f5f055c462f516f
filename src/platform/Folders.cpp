// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Folders.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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
