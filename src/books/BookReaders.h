// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"

#include <optional>
#include <string>
#include <string_view>

// The readers behind BookText, built into the book module.
namespace BookReaders {

// What a zip holds (see BookText::Detect).
BookText::Format DetectZip(std::string_view bytes);

// As BookText::Read, for every format.
std::optional<std::string> Read(std::string_view bytes, BookText::Format format, std::string& error,
                                const BookText::Progress& progress, TableOfContents& contents);

} // namespace BookReaders
