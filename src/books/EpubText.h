// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"

#include <optional>
#include <string>
#include <string_view>

namespace EpubText {

// The text of an EPUB 2 or 3: its spine's documents in reading order, the ones out of
// the reading order (linear="no") after the others. contents gets the book's table of
// contents, each entry where its document (at its fragment, when that is found) begins.
std::optional<std::string> Read(std::string_view bytes, std::string& error,
                                const BookText::Progress& progress,
                                TableOfContents* contents = nullptr);

// A path inside the book from an href relative to the folder base ("" or ending in
// "/"), its fragment dropped and its escapes decoded; nullopt if it leads outside.
std::optional<std::string> ResolvePath(std::string_view base, std::string_view href);

} // namespace EpubText
