// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/FictionBookText.h"

#include "books/TextCollector.h"
#include "books/XmlDocument.h"
#include "books/ZipArchive.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace {
// Books written by hand use HTML's entities without declaring them (FBReader's own help
// books do); a few such names are taken in, a book full of them is damaged.
constexpr int MaxUndefinedEntities = 16;
} // namespace

namespace FictionBookText {

std::optional<std::string> Read(std::string_view bytes, std::string& error,
                                const BookText::Progress& progress, TableOfContents* contents) {
    std::string xmlError;
    const XmlDocument::Doc doc =
        XmlDocument::ParseXmlLenient(bytes, xmlError, MaxUndefinedEntities);
    if (!doc) {
        error = "the FictionBook is damaged: " + BookText::Detail(xmlError);
        return std::nullopt;
    }
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root || std::strcmp(reinterpret_cast<const char*>(root->name), "FictionBook") != 0) {
        error = "the file is no FictionBook: its root element is not FictionBook";
        return std::nullopt;
    }
    std::vector<const xmlNode*> bodies;
    for (const xmlNode* child = root->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE &&
            std::strcmp(reinterpret_cast<const char*>(child->name), "body") == 0)
            bodies.push_back(child);
    // The main body is the one without a name; notes bodies follow it whatever the order.
    std::stable_partition(bodies.begin(), bodies.end(), [](const xmlNode* body) {
        return XmlDocument::Attribute(body, "name").empty();
    });
    std::string text;
    CTextCollector collector(text, CTextCollector::EMode::FictionBook);
    for (size_t i = 0; i < bodies.size(); ++i) {
        if (progress && !progress(i, bodies.size())) {
            error.clear();
            return std::nullopt;
        }
        // The notes are no chapters.
        collector.CollectHeadings(i == 0 ? contents : nullptr);
        if (!collector.Add(bodies[i])) {
            error = collector.Refusal();
            return std::nullopt;
        }
    }
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
