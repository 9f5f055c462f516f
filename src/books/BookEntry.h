// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What the book module gives the program: the readers live in a library of their own so
// that a plain text starts without loading Poppler, libxml2 and libzip.
struct SBookEntry {
    // The layout and the release the module was built with: a module left behind by
    // another release may pass other types and must not be called.
    uint32_t Size = sizeof(SBookEntry);
    const char* Version = SKIMMET_VERSION;
    // What a zip holds: an EPUB, a zipped FictionBook, a damaged zip or something else.
    BookText::Format (*DetectZip)(std::string_view bytes) = nullptr;
    std::optional<std::string> (*Read)(std::string_view bytes, BookText::Format format,
                                       std::string& error, const BookText::Progress& progress,
                                       TableOfContents& contents) = nullptr;
};

// The one symbol the module exports: a function returning its entry.
inline constexpr const char* BookEntrySymbol = "SkimmetBookEntry";
