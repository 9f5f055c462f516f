// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/BookText.h"

#include "books/EpubText.h"
#include "books/FictionBookText.h"
#include "books/PdfText.h"
#include "books/TextCollector.h"
#include "books/XmlDocument.h"
#include "books/ZipArchive.h"

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

BookText::Format DetectZip(std::string_view bytes) {
    std::string error;
    const std::unique_ptr<CZipArchive> zip = CZipArchive::Open(bytes, error);
    if (!zip)
        return BookText::Format::DamagedZip;
    if (zip->Has("mimetype")) {
        const std::optional<std::string> mimetype = zip->Read("mimetype", error);
        if (mimetype && mimetype->starts_with("application/epub+zip"))
            return BookText::Format::Epub;
    }
    return FictionBookText::FindBookName(zip->Names()).empty() ? BookText::Format::PlainText
                                                               : BookText::Format::FictionBookZip;
}

std::optional<std::string> ReadHtml(std::string_view bytes, std::string& error,
                                    const BookText::Progress& progress) {
    if (progress && !progress(0, 1)) {
        error.clear();
        return std::nullopt;
    }
    const XmlDocument::Doc doc = XmlDocument::ParseHtml(bytes);
    if (!doc) {
        error = "the HTML file cannot be read";
        return std::nullopt;
    }
    std::string text;
    CTextCollector collector(text, CTextCollector::EMode::Html);
    if (!collector.Add(reinterpret_cast<const xmlNode*>(doc.get()))) {
        error = "the book's text is larger than 1 GB";
        return std::nullopt;
    }
    return text;
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

std::optional<std::string> Read(std::string_view bytes, Format format, std::string& error,
                                const Progress& progress) {
    error.clear();
    switch (format) {
    case Format::Epub:
        return EpubText::Read(bytes, error, progress);
    case Format::FictionBook:
        return FictionBookText::Read(bytes, error, progress);
    case Format::FictionBookZip:
        return FictionBookText::ReadZip(bytes, error, progress);
    case Format::Html:
        return ReadHtml(bytes, error, progress);
    case Format::Pdf:
        return ReadPdfText(bytes, error, progress);
    case Format::DamagedZip:
        CZipArchive::Open(bytes, error);
        return std::nullopt;
    case Format::PlainText:
        break;
    }
    return std::string(bytes);
}

} // namespace BookText
