// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UniqueFd.h"

#include <cstddef>
#include <cstdint>
#include <string>

// A file opened for reading only when it is a regular file. A FIFO in the file's place
// does not hang the open (it is then refused as not regular), and a terminal never
// becomes the program's controlling one.
struct CRegularFile {
    // Whether a symbolic link as the path's last part is followed. Refuse for a path
    // whose links were resolved and checked already: a link put in place since then
    // is not trusted.
    enum class LastLink : uint8_t { Follow, Refuse };
    enum class Refusal : uint8_t { None, CannotOpen, Folder, NotRegular };

    static CRegularFile Open(const std::string& path, LastLink link);

    // Reads into `into` until size bytes are there or the file ends, reading on after a
    // signal broke a read off; the number of bytes read. A failed read stops early with
    // its errno in *error, which is 0 otherwise.
    std::size_t Read(char* into, std::size_t size, int* error = nullptr) const;

    CUniqueFd File;
    uint64_t Size = 0; // when opened
    Refusal Refused = Refusal::None;
    int Error = 0; // the errno with CannotOpen
};
