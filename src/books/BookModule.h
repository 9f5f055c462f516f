// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookEntry.h"

#include <string>
#include <string_view>
#include <vector>

// Finds and loads the book module the first time a book is read, once for the process.
namespace BookModule {

// The module's file name.
inline constexpr std::string_view FileName = "skimmet-books.so";

// Where the module is looked for, first to last: the file that SKIMMET_BOOK_MODULE names
// (a build's tests), beside the program (a build tree), and the library folder of the
// prefix the program is installed in (installFolder is relative to the program's folder).
std::vector<std::string> Candidates(const char* variable, std::string_view programFolder,
                                    std::string_view installFolder);

// Whether an entry came from this release with this layout; why not otherwise.
bool Fits(const SBookEntry* entry, std::string& error);

// The loaded module's entry; nullptr with the reason when there is none to load, the
// same reason on every later call.
const SBookEntry* Entry(std::string& error);

} // namespace BookModule
