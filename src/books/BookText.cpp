// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/BookText.h"

#include "books/BookModule.h"
#include "text/TextEncoding.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cctype>

namespace {
// Enough of the start to hold an XML declaration, a doctype and a long comment or two.
constexpr size_t SniffLength = 64 * 1024;

std::string Lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimmedFront(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

// The start of the bytes in UTF-8 and lower case, without a byte-order mark or the blanks
// before the first character.
std::string Start(std::string_view bytes) {
    const std::string_view wide = BookText::WideEncoding(bytes);
    std::string_view start = bytes.substr(0, SniffLength);
    std::optional<std::string> decoded;
    if (!wide.empty()) {
        const size_t unit = wide.starts_with("UTF-32") ? 4 : 2;
        decoded = TextEncoding::ToUtf8(bytes.substr(0, SniffLength * unit), wide);
        start = decoded ? std::string_view(*decoded) : std::string_view();
    }
    if (start.starts_with("\xEF\xBB\xBF"))
        start.remove_prefix(3);
    return Lowered(TrimmedFront(start));
}

// Where the doctype at start ends, past its internal subset; npos when it does not.
size_t DoctypeEnd(std::string_view start) {
    const size_t open = start.find_first_of("[>");
    const size_t close =
        open != std::string_view::npos && start[open] == '[' ? start.find(']', open) : open;
    return close == std::string_view::npos ? close : start.find('>', close);
}

// start past the declaration, processing instructions, comments and a doctype that
// come before the root element; empty when one of them does not end within it.
std::string_view PastProlog(std::string_view start) {
    while (true) {
        start = TrimmedFront(start);
        std::string_view close;
        if (start.starts_with("<?"))
            close = "?>";
        else if (start.starts_with("<!--"))
            close = "-->";
        else if (!start.starts_with("<!doctype"))
            return start;
        const size_t at = close.empty() ? DoctypeEnd(start) : start.find(close, 2);
        if (at == std::string_view::npos)
            return {};
        start.remove_prefix(at + std::max<size_t>(close.size(), 1));
    }
}

// Whether the element at start is named name, with or without a namespace prefix.
bool IsElement(std::string_view start, std::string_view name) {
    if (!start.starts_with('<'))
        return false;
    const size_t end = start.find_first_of(" \t\r\n/>");
    if (end == std::string_view::npos)
        return false;
    std::string_view tag = start.substr(1, end - 1);
    const size_t colon = tag.find(':');
    if (colon != std::string_view::npos)
        tag.remove_prefix(colon + 1);
    return tag == name;
}

// An html root a page opens with: its tag is followed by markup, not by prose that
// names the tag.
bool IsHtmlRoot(std::string_view root) {
    if (!IsElement(root, "html"))
        return false;
    const size_t close = root.find('>');
    if (close == std::string_view::npos)
        return false;
    const std::string_view after = TrimmedFront(root.substr(close + 1));
    return after.empty() || after.starts_with('<');
}

bool IsPdf(std::string_view bytes) {
    std::string_view start = bytes.substr(0, SniffLength);
    if (start.starts_with("\xEF\xBB\xBF"))
        start.remove_prefix(3);
    start = TrimmedFront(start);
    return start.starts_with("%PDF-") && start.size() > 5 &&
           std::isdigit(static_cast<unsigned char>(start[5]));
}

// Without the module a zip cannot be looked into: called damaged, its reading then
// says why the module is missing.
BookText::Format DetectZip(std::string_view bytes) {
    std::string error;
    const SBookEntry* entry = BookModule::Entry(error);
    return entry ? entry->DetectZip(bytes) : BookText::Format::DamagedZip;
}
} // namespace

namespace BookText {

std::string_view WideEncoding(std::string_view bytes) {
    struct SMark {
        std::string_view Start;
        std::string_view Encoding;
    };
    // UTF-32 before UTF-16: the little-endian mark of one begins with the other's.
    static constexpr SMark Marks[] = {
        {std::string_view("\xFF\xFE\0\0", 4), "UTF-32LE"},
        {std::string_view("\0\0\xFE\xFF", 4), "UTF-32BE"},
        {"\xFF\xFE", "UTF-16LE"},
        {"\xFE\xFF", "UTF-16BE"},
        {std::string_view("<\0\0\0", 4), "UTF-32LE"},
        {std::string_view("\0\0\0<", 4), "UTF-32BE"},
        {std::string_view("<\0", 2), "UTF-16LE"},
        {std::string_view("\0<", 2), "UTF-16BE"},
    };
    for (const SMark& mark : Marks)
        if (bytes.starts_with(mark.Start))
            return mark.Encoding;
    return {};
}

Format Detect(std::string_view bytes, std::string_view fileName) {
    if (bytes.starts_with("PK\x03\x04"))
        return DetectZip(bytes);
    if (IsPdf(bytes))
        return Format::Pdf;
    const std::string start = Start(bytes);
    if (!start.starts_with("<"))
        return Format::PlainText;
    const std::string_view root = PastProlog(start);
    if (IsElement(root, "fictionbook"))
        return Format::FictionBook;
    if (start.starts_with("<!doctype html") || IsHtmlRoot(root))
        return Format::Html;
    const std::string name = Lowered(fileName);
    const bool htmlName =
        name.ends_with(".html") || name.ends_with(".htm") || name.ends_with(".xhtml");
    return htmlName ? Format::Html : Format::PlainText;
}

std::string Detail(std::string_view text) {
    if (text.size() <= MaxDetail)
        return std::string(text);
    size_t end = 0;
    while (end + static_cast<size_t>(Utf8::LengthAtStart(text.substr(end))) <= MaxDetail)
        end += static_cast<size_t>(Utf8::LengthAtStart(text.substr(end)));
    return std::string(text.substr(0, end)) + "\u2026";
}

std::optional<std::string> Read(std::string_view bytes, Format format, std::string& error,
                                const Progress& progress, TableOfContents* contents) {
    error.clear();
    TableOfContents ignored;
    TableOfContents& chapters = contents ? *contents : ignored;
    chapters.clear();
    if (format == Format::PlainText)
        return std::string(bytes);
    const SBookEntry* entry = BookModule::Entry(error);
    if (!entry)
        return std::nullopt;
    return entry->Read(bytes, format, error, progress, chapters);
}

} // namespace BookText
