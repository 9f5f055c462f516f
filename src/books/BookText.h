// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// Books read into plain text: the program cuts, places and bookmarks a book's text as it
// does a text file's, so the text must come out the same at every opening.
namespace BookText {

enum class Format : uint8_t { PlainText, Epub, FictionBook, FictionBookZip, Html, Pdf, DamagedZip };

// What the bytes are, from their content (a zip with an EPUB mimetype or one .fb2 in
// it, FictionBook XML, "%PDF-", HTML); the file name only helps tell HTML from text.
// Bytes that begin as a zip does but cannot be opened as one (a truncated book, a zip
// without its central directory) are DamagedZip, which Read refuses with the reason.
Format Detect(std::string_view bytes, std::string_view fileName);

// Called now and then with the share done; false cancels (nullopt, error empty).
using Progress = std::function<bool(uint64_t done, uint64_t total)>;

// The text of a book in UTF-8; nullopt with a message naming what is wrong otherwise.
std::optional<std::string> Read(std::string_view bytes, Format format, std::string& error,
                                const Progress& progress = {});

} // namespace BookText
