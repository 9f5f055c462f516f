// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/FictionBookText.h"

#include "books/TextCollector.h"
#include "books/XmlDocument.h"
#include "books/XmlStream.h"
#include "books/ZipArchive.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace {
// Books written by hand use HTML's entities without declaring them (FBReader's own help
// books do); a few such names are taken in, a book full of them is damaged.
constexpr int MaxUndefinedEntities = 16;

// The bodies' texts as the parser builds them: the main body is the one without a name,
// and the bodies of notes follow it whatever the order; the table holds the sections of
// the first body in that order.
struct SBodies {
    SBodies(const BookText::Progress& progress, TableOfContents* contents)
        : Progress(progress), Contents(contents) {}

    XmlStream::SState State;

    // Each parse starts again: the undefined entities taken in cost one more.
    void Restart(size_t total) {
        State.Refused = false;
        State.Cancelled = false;
        Total = total;
        MainSeen = false;
        NotesSeen = false;
        Main.Rewind({0, 0, 0});
        Notes.Rewind({0, 0, 0});
        NotesContents.clear();
        if (Contents)
            Contents->clear();
    }

    CTextCollector* Choose(const xmlNode* element) {
        const xmlNode* parent = element->parent;
        const bool body = parent && parent->parent && parent->parent->type == XML_DOCUMENT_NODE &&
                          std::strcmp(reinterpret_cast<const char*>(element->name), "body") == 0;
        if (!body)
            return nullptr;
        if (Progress && !Progress(State.Consumed, Total)) {
            State.Cancelled = true;
            return nullptr;
        }
        const bool notes = !XmlDocument::Attribute(element, "name").empty();
        bool& seen = notes ? NotesSeen : MainSeen;
        CTextCollector& collector = notes ? Notes : Main;
        // Each body's text ends its line.
        collector.Finish();
        // The notes are no chapters.
        collector.CollectHeadings(seen ? nullptr : notes ? &NotesContents : Contents);
        seen = true;
        return &collector;
    }

    // The main bodies' text, then the notes'; nullopt when it is over the cap.
    std::optional<std::string> Text() {
        if (!Main.Finish() || !Notes.Finish())
            return std::nullopt;
        if (MainText.size() + NotesText.size() > CTextCollector::MaxText)
            return std::nullopt;
        if (!MainSeen && Contents)
            *Contents = std::move(NotesContents);
        return MainText + NotesText;
    }

    const char* Refusal() { return Main.Finish() ? Notes.Refusal() : Main.Refusal(); }

    const BookText::Progress& Progress;
    TableOfContents* Contents;
    std::string MainText;
    std::string NotesText;
    CTextCollector Main{MainText, CTextCollector::EMode::FictionBook};
    CTextCollector Notes{NotesText, CTextCollector::EMode::FictionBook};
    TableOfContents NotesContents;
    size_t Total = 0;
    bool MainSeen = false;
    bool NotesSeen = false;
};
} // namespace

namespace FictionBookText {

std::optional<std::string> Read(std::string_view bytes, std::string& error,
                                const BookText::Progress& progress, TableOfContents* contents) {
    SBodies bodies(progress, contents);
    std::string xmlError;
    const XmlDocument::Doc doc = XmlDocument::ParseXmlLenient(
        bytes, xmlError, MaxUndefinedEntities, [&bodies, &bytes](xmlParserCtxt& context) {
            bodies.Restart(bytes.size());
            XmlStream::Collecting(
                [&bodies](const xmlNode* element) { return bodies.Choose(element); },
                bodies.State)(context);
        });
    if (bodies.State.Cancelled) {
        error.clear();
        return std::nullopt;
    }
    if (bodies.State.Refused) {
        error = bodies.Refusal();
        return std::nullopt;
    }
    if (!doc) {
        error = "the FictionBook is damaged: " + BookText::Detail(xmlError);
        return std::nullopt;
    }
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root || std::strcmp(reinterpret_cast<const char*>(root->name), "FictionBook") != 0) {
        error = "the file is no FictionBook: its root element is not FictionBook";
        return std::nullopt;
    }
    std::optional<std::string> text = bodies.Text();
    if (!text)
        error = bodies.Refusal();
    return text;
}

std::string FindBookName(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower.ends_with(".fb2"))
            return name;
    }
    return {};
}

std::optional<std::string> ReadZip(std::string_view bytes, std::string& error,
                                   const BookText::Progress& progress, TableOfContents* contents) {
    const std::unique_ptr<CZipArchive> zip = CZipArchive::Open(bytes, error);
    if (!zip)
        return std::nullopt;
    const std::string name = FindBookName(zip->Names());
    if (name.empty()) {
        error = "the zip file holds no .fb2 book";
        return std::nullopt;
    }
    const std::optional<std::string> book = zip->Read(name, error);
    return book ? Read(*book, error, progress, contents) : std::nullopt;
}

} // namespace FictionBookText
