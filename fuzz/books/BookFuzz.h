// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookReaders.h"
#include "books/BookText.h"

#include "FuzzCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Whatever the bytes, a book reads to text or to a message, and to the same text at every
// opening: bookmarks are positions in it.
inline void CheckBookReads(const uint8_t* data, size_t size, BookText::Format format) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    BookReaders::DetectZip(bytes);
    std::string error;
    TableOfContents contents;
    const std::optional<std::string> text = BookReaders::Read(bytes, format, error, {}, contents);
    CHECK(text.has_value() != !error.empty());
    if (!text)
        return;
    CHECK(text->empty() || text->back() == '\n');
    // Every entry of the table lies in the text, in the text's order.
    for (std::size_t i = 0; i < contents.size(); ++i) {
        CHECK(contents[i].Offset >= 0);
        CHECK(static_cast<std::size_t>(contents[i].Offset) <= text->size());
        CHECK(i == 0 || contents[i - 1].Offset <= contents[i].Offset);
    }
    std::string again;
    TableOfContents againContents;
    CHECK(BookReaders::Read(bytes, format, again, {}, againContents) == text);
    CHECK(againContents == contents);
}
