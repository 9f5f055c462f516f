// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The texts opened last, newest first, for File > "Recent texts". They are kept in one
// file of absolute paths, one a line, as the bytes the system names them by. Every
// Skimmet window shares the file: each change reads it again first, so that what
// another window added stays, and the last writer wins.
class CRecentTexts {
public:
    static constexpr std::size_t MaxCount = 10;
    // The file holds ten paths; anything beyond this is not a list of ours and is not
    // read.
    static constexpr std::size_t MaxFileSize = 64 * 1024;

    // $XDG_STATE_HOME/skimmet/recent, or ~/.local/state/skimmet/recent when the
    // variable is unset or not an absolute path. Empty when no home folder is known.
    static std::string DefaultPath();

    explicit CRecentTexts(std::string filePath = DefaultPath());

    // Reads the file again. Lines that are not absolute paths and repeated ones are
    // left out, and so is anything past MaxFileSize or MaxCount paths; a missing or
    // unreadable file is an empty list.
    void Load();
    // Reads the file, puts path first (moving it there when it is listed already) and
    // saves. A relative path, or one with a line break, which the file cannot hold,
    // changes nothing. False when the file could not be saved.
    bool Add(const std::string& path);
    // Reads the file and leaves out the texts that no longer exist, saving when any did.
    void DropMissing();

    const std::vector<std::string>& Paths() const { return Entries; }

private:
    bool Save() const;

    std::string FilePath;
    std::vector<std::string> Entries;
};
