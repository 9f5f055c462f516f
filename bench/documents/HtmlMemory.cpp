// SPDX-License-Identifier: GPL-3.0-or-later
// Reading markup-heavy books: the time and the peak memory of the reader, which collects
// the text as the parser goes, beside those of collecting it from the book's whole tree,
// in the same run.
//
//   documents_html [--paragraphs N] [--folder DIR]
//
// Writes an HTML page of N paragraphs "<p>a</p>" (default 2,000,000: 16 MB) and a
// FictionBook of as many in DIR (default $TMPDIR or /tmp), then reads each in a process of
// its own for each way: the file read into memory, then its text. Target: the reader's
// peak memory (ru_maxrss) at most the file's size + 4 x its text + 64 MiB, and both ways
// giving the same text. Exit code 1 when a target is missed.

#include "books/BookReaders.h"
#include "books/TextCollector.h"
#include "books/XmlDocument.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// What one reading left: its time, its peak memory and what the text came to.
struct SRun {
    double Ms = 0;
    long MaxRssKiB = 0;
    size_t TextBytes = 0;
    size_t TextHash = 0;
    bool Ok = false;
};

std::optional<std::string> Text(const std::string& book, BookText::Format format, bool tree) {
    std::string error;
    if (!tree) {
        TableOfContents contents;
        return BookReaders::Read(book, format, error, {}, contents);
    }
    const bool html = format == BookText::Format::Html;
    const XmlDocument::Doc doc =
        html ? XmlDocument::ParseHtml(book, error) : XmlDocument::ParseXml(book, error);
    const xmlNode* from = html || !doc
                              ? reinterpret_cast<const xmlNode*>(doc.get())
                              : XmlDocument::FindElement(xmlDocGetRootElement(doc.get()), "body");
    std::string text;
    CTextCollector collector(text, html ? CTextCollector::EMode::Html
                                        : CTextCollector::EMode::FictionBook);
    if (!from || !collector.Add(from))
        return std::nullopt;
    return text;
}

// Reads the file and its text in a child, which reports the text's size and hash through
// a pipe.
SRun ReadInChild(const std::string& path, BookText::Format format, bool tree) {
    int channel[2];
    if (::pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(2);
    }
    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(channel[0]);
        std::ifstream in(path, std::ios::binary);
        const std::string page{std::istreambuf_iterator<char>(in), {}};
        const std::optional<std::string> text = Text(page, format, tree);
        const size_t report[2] = {text ? text->size() : 0,
                                  text ? std::hash<std::string>{}(*text) : 0};
        const bool written = ::write(channel[1], report, sizeof report) == sizeof report;
        ::_exit(text && written ? 0 : 1);
    }
    ::close(channel[1]);
    SRun run;
    size_t report[2] = {0, 0};
    const bool reported = ::read(channel[0], report, sizeof report) == sizeof report;
    ::close(channel[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    run.Ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    run.MaxRssKiB = usage.ru_maxrss;
    run.TextBytes = report[0];
    run.TextHash = report[1];
    run.Ok = reported && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

bool Check(const char* what, bool ok) {
    std::printf("  %-58s %s\n", what, ok ? "PASS" : "FAIL");
    return ok;
}

bool Measure(const std::string& path, BookText::Format format, const char* name,
             const std::string& head, long paragraphs, const std::string& tail) {
    {
        std::ofstream out(path, std::ios::binary);
        out << head;
        for (long i = 0; i < paragraphs; ++i)
            out << "<p>a</p>";
        out << tail;
        if (!out) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(2);
        }
    }
    const long fileKiB = static_cast<long>((head.size() + 8 * paragraphs + tail.size()) / 1024);
    const SRun stream = ReadInChild(path, format, false);
    const SRun tree = ReadInChild(path, format, true);
    ::unlink(path.c_str());

    const long textKiB = static_cast<long>(stream.TextBytes / 1024);
    const long targetKiB = fileKiB + 4 * textKiB + 64 * 1024;
    std::printf("%s of %ld paragraphs: %ld KiB, text %ld KiB\n", name, paragraphs, fileKiB,
                textKiB);
    std::printf("  %-22s %9.1f ms  peak %8ld KiB\n", "reader (stream)", stream.Ms,
                stream.MaxRssKiB);
    std::printf("  %-22s %9.1f ms  peak %8ld KiB\n", "whole tree", tree.Ms, tree.MaxRssKiB);
    bool ok = true;
    ok &= Check("both ways read the book", stream.Ok && tree.Ok);
    ok &= Check("both ways give the same text",
                stream.TextBytes == tree.TextBytes && stream.TextHash == tree.TextHash);
    ok &= Check("reader's peak at most file + 4 x text + 64 MiB", stream.MaxRssKiB <= targetKiB);
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    long paragraphs = 2'000'000;
    std::string folder = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--paragraphs")
            paragraphs = std::max(1L, std::atol(argv[i + 1]));
        else if (name == "--folder")
            folder = argv[i + 1];
        else {
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
            return 2;
        }
    }
    bool ok = Measure(folder + "/skimmet-bench-paragraphs.html", BookText::Format::Html, "HTML", "",
                      paragraphs, "");
    ok &= Measure(folder + "/skimmet-bench-paragraphs.fb2", BookText::Format::FictionBook,
                  "FictionBook", "<?xml version='1.0'?><FictionBook><body>", paragraphs,
                  "</body></FictionBook>");
    return ok ? 0 : 1;
}
