// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One entry of a text's table of contents: where it begins in the text, its title, and
// how deep it is nested (0 at the top).
struct SChapter {
    std::string Title;
    int32_t Offset = 0;
    int Level = 0;

    bool operator==(const SChapter&) const = default;
};
using TableOfContents = std::vector<SChapter>;

// Books read into plain text: the program cuts, places and bookmarks a book's text as it
// does a text file's, so the text must come out the same at every opening.
namespace BookText {

enum class Format : uint8_t { PlainText, Epub, FictionBook, FictionBookZip, Html, Pdf, DamagedZip };

// What the bytes are, from the signature a book begins with (a zip with an EPUB mimetype
// or one .fb2 in it, "%PDF-", a FictionBook root element after the XML prolog, an HTML
// doctype or an html root followed by markup), in UTF-8, UTF-16 or UTF-32; anything else
// is a plain text, whatever it mentions. The file name only tells HTML from text when
// the bytes begin with markup. Bytes that begin as a zip does but cannot be opened as
// one (a truncated book, a zip without its central directory) are DamagedZip, which
// Read refuses with the reason.
Format Detect(std::string_view bytes, std::string_view fileName);

// The encoding of markup in UTF-16 or UTF-32, named by its byte-order mark or seen in
// its first character, "<", with zero bytes beside it; empty for any other bytes.
std::string_view WideEncoding(std::string_view bytes);

// Called now and then with the share done; false cancels (nullopt, error empty).
using Progress = std::function<bool(uint64_t done, uint64_t total)>;

// What a book supplies to a message (a path, a name, a parser's words quoting the book),
// cut to MaxDetail bytes on a character's boundary: the reader's message box lays out
// all of a message, and a hostile book's path can run to megabytes.
inline constexpr size_t MaxDetail = 200;
std::string Detail(std::string_view text);

// The text of a book in UTF-8 and, in contents, its table of contents in the text's
// order; nullopt with a message naming what is wrong otherwise.
std::optional<std::string> Read(std::string_view bytes, Format format, std::string& error,
                                const Progress& progress = {}, TableOfContents* contents = nullptr);

} // namespace BookText
