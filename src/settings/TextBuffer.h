// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "text/TextEncoding.h"

enum class TextLoadError {
    None,
    CannotOpen,
    TooLarge,
    ConvertedTooLarge, // the file is within the limit, its text in UTF-8 is not
    CannotAllocate,
    CannotRead,
    Cancelled,
    BadBook, // a book that cannot be read: why says what is wrong
};

// The program's message for a failed load ("Error Opening File" ...); empty for None
// and Cancelled, which need no message.
const char* TextLoadMessage(TextLoadError error);

// Gives back a text buffer's block of Length bytes.
struct STextBlockUnmap {
    std::size_t Length = 0;
    void operator()(char* block) const;
};

// The whole of one text file in a single block of exactly size + 1 bytes, the last
// one a NUL. The block never moves, so pointers into it (text start, cursor) stay
// valid when the buffer object is moved.
class CTextBuffer {
public:
    static constexpr uint64_t SizeLimit = 0x40000000; // sizes from here on are refused
    static constexpr std::size_t ChunkSize = std::size_t{4} << 20;

    // Called after each chunk read; returning false cancels the load.
    using Progress = std::function<bool(uint64_t done, uint64_t total)>;

    CTextBuffer() = default; // no text
    CTextBuffer(CTextBuffer&&) noexcept = default;
    CTextBuffer& operator=(CTextBuffer&&) noexcept = default;

    // Reads the file at path in encoding (a name TextEncoding::Canonical knows; empty or
    // unknown: detected). The size is checked before any memory is taken; a folder or
    // anything else that is not a regular file cannot be opened. A byte-order mark is
    // not part of the text; an encoding not held as bytes is converted to UTF-8. A book
    // (EPUB, FictionBook, HTML, PDF, told by its content) becomes its text in UTF-8, and
    // encoding does not apply; why receives what is wrong with a book that fails.
    // asPlainText: no book is looked for, the file is a plain text whatever it holds.
    static std::optional<CTextBuffer> Load(const std::string& path, TextLoadError& error,
                                           const Progress& progress = {},
                                           std::string_view encoding = {},
                                           std::string* why = nullptr, bool asPlainText = false);

    // What Load gives a plain text's file, in UTF-8, handed to write a piece at a time
    // without the whole text in memory: the file's own bytes when it is UTF-8, converted
    // from any other encoding. Book when the file is a book (Load reads those); Failed
    // with error set when the file cannot be read or write returned false.
    enum class Streamed { Done, Book, Failed };
    using Writer = std::function<bool(std::string_view utf8)>;
    static Streamed StreamUtf8(const std::string& path, std::string_view encoding, bool asPlainText,
                               const Writer& write, TextLoadError& error);

    // Null when there is no text; otherwise NUL-terminated after Size() bytes.
    const char* Data() const { return Bytes.get(); }
    int32_t Size() const { return Length; }
    bool HasText() const { return Bytes != nullptr; }
    // The encoding the file was read in, and whether the bytes held are UTF-8 (the
    // file's own or converted) rather than a single-byte code page.
    std::string_view Encoding() const { return EncodingName; }
    // The text's table of contents: a book's own, or a plain text's chapter headings.
    const TableOfContents& Contents() const { return Chapters; }
    bool IsUtf8() const {
        return EncodingName == TextEncoding::Utf8 || !TextEncoding::IsHeldAsBytes(EncodingName);
    }

    // Anonymous memory mapped and populated in one go: a gigabyte read into memory that
    // the kernel fills page by page while copying costs a fault per page.
    using Block = std::unique_ptr<char, STextBlockUnmap>;

    // A file opened for its text, and what its head tells of it.
    struct SOpened;

private:
    // A plain text in an encoding not held as bytes, converted as it is read.
    bool ConvertWhileReading(SOpened& opened, const Progress& progress, TextLoadError& error);
    // The file's bytes in Bytes become the text in encoding.
    bool Decode(std::string_view encoding, TextLoadError& error);
    bool ReadBook(const std::string& path, const Progress& progress, TextLoadError& error,
                  std::string* why);
    // Holds text (UTF-8) in place of the file's bytes; a text of limit bytes or more is
    // refused as too large.
    bool Hold(const std::string& text, uint64_t limit, TextLoadError& error);

    static Block Allocate(std::size_t size);

    Block Bytes;
    int32_t Length = 0;
    std::string_view EncodingName;
    TableOfContents Chapters;
};
