// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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
    BookText::Detect(bytes, "book");
    std::string error;
    const std::optional<std::string> text = BookText::Read(bytes, format, error);
    CHECK(text.has_value() != !error.empty());
    if (!text)
        return;
    CHECK(text->empty() || text->back() == '\n');
    std::string again;
    CHECK(BookText::Read(bytes, format, again) == text);
}
