// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/BookReaders.h"

#include "books/EpubText.h"
#include "books/FictionBookText.h"
#include "books/HtmlStream.h"
#include "books/PdfText.h"
#include "books/TextCollector.h"
#include "books/ZipArchive.h"

namespace {
std::optional<std::string> ReadHtml(std::string_view bytes, std::string& error,
                                    const BookText::Progress& progress, TableOfContents& contents) {
    if (progress && !progress(0, 1)) {
        error.clear();
        return std::nullopt;
    }
    std::string text;
    CTextCollector collector(text, CTextCollector::EMode::Html);
    collector.CollectHeadings(&contents);
    std::string htmlError;
    switch (HtmlStream::Collect(bytes, collector, htmlError)) {
    case HtmlStream::EResult::Read:
        return text;
    case HtmlStream::EResult::Empty:
        error = "the HTML file cannot be read";
        break;
    case HtmlStream::EResult::Damaged:
        error = "the HTML file is damaged: " + htmlError;
        break;
    case HtmlStream::EResult::Refused:
        error = collector.Refusal();
        break;
    }
    contents.clear();
    return std::nullopt;
}
} // namespace

namespace BookReaders {

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

std::optional<std::string> Read(std::string_view bytes, BookText::Format format, std::string& error,
                                const BookText::Progress& progress, TableOfContents& contents) {
    error.clear();
    switch (format) {
    case BookText::Format::Epub:
        return EpubText::Read(bytes, error, progress, &contents);
    case BookText::Format::FictionBook:
        return FictionBookText::Read(bytes, error, progress, &contents);
    case BookText::Format::FictionBookZip:
        return FictionBookText::ReadZip(bytes, error, progress, &contents);
    case BookText::Format::Html:
        return ReadHtml(bytes, error, progress, contents);
    case BookText::Format::Pdf:
        return ReadPdfText(bytes, error, progress, &contents);
    case BookText::Format::DamagedZip:
        CZipArchive::Open(bytes, error);
        return std::nullopt;
    case BookText::Format::PlainText:
        break;
    }
    return std::string(bytes);
}

} // namespace BookReaders
