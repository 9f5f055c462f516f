// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

// Paths as the program spells them: '/' separates, the last part names the file.

// Everything up to and including the path's last '/': the folder part that a name
// inside the same folder is appended to. Empty for a bare name.
std::string_view FolderPart(std::string_view path);

// The folder holding path, without a trailing '/': empty for a bare name and for a
// name right below the root.
std::string ParentFolder(std::string_view path);

// Makes folder and the folders above it that are missing, each with mode (less the
// umask); an existing folder is fine, anything else in its place is not.
bool MakeFolder(const std::string& folder, mode_t mode, std::string* error = nullptr);

// The folder holding the running program's file, with its trailing '/'; empty when the
// system does not say.
std::string ExecutableFolder();
