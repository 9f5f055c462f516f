// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/BookText.h"

#include "books/BookModule.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cctype>

namespace {
// Enough of the start to hold an XML declaration, a doctype and a comment or two.
constexpr size_t SniffLength = 4096;

std::string Lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string_view Start(std::string_view bytes) {
    std::string_view start = bytes.substr(0, SniffLength);
    if (start.starts_with("\xEF\xBB\xBF"))
        start.remove_prefix(3);
    while (!start.empty() && std::isspace(static_cast<unsigned char>(start.front())))
        start.remove_prefix(1);
    return start;
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

Format Detect(std::string_view bytes, std::string_view fileName) {
    if (bytes.starts_with("PK\x03\x04"))
        return DetectZip(bytes);
    if (bytes.substr(0, 1024).find("%PDF-") != std::string_view::npos)
        return Format::Pdf;
    const std::string start = Lowered(Start(bytes));
    if (!start.starts_with("<"))
        return Format::PlainText;
    if (start.find("<fictionbook") != std::string::npos)
        return Format::FictionBook;
    if (start.starts_with("<!doctype html") || start.find("<html") != std::string::npos)
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
