// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/EpubContents.h"

#include "books/EpubText.h"
#include "books/XmlDocument.h"
#include "books/ZipArchive.h"
#include "platform/Folders.h"

#include <cstring>

namespace {

// A table nested deeper than this is no table a reader can use; its walk stops there
// rather than run out of stack.
constexpr int MaxLevel = 32;

bool IsElement(const xmlNode* node, const char* name) {
    return node && node->type == XML_ELEMENT_NODE &&
           std::strcmp(reinterpret_cast<const char*>(node->name), name) == 0;
}

// The text below node, its white space collapsed; empty when it is too long to be a title.
std::string TextOf(const xmlNode* node) {
    const std::optional<std::string> content =
        XmlDocument::BoundedText(node->children, XmlDocument::MaxAttribute);
    std::string text;
    for (const char c : content.value_or("")) {
        const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (space && (text.empty() || text.back() == ' '))
            continue;
        text += space ? ' ' : c;
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

// The manifest item's href named by a test on its attributes.
template <typename Test> std::string ManifestHref(const xmlNode* package, Test test) {
    const xmlNode* manifest = XmlDocument::FindElement(package, "manifest");
    for (const xmlNode* item = manifest ? manifest->children : nullptr; item; item = item->next)
        if (IsElement(item, "item") && test(item))
            return XmlDocument::Attribute(item, "href");
    return {};
}

bool HasWord(const std::string& list, std::string_view word) {
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = std::min(list.find(' ', start), list.size());
        if (std::string_view(list).substr(start, end - start) == word)
            return true;
        start = end + 1;
    }
    return false;
}

struct SDocument {
    XmlDocument::Doc Doc;
    std::string Folder;
};

SDocument Load(const CZipArchive& zip, const std::string& base, const std::string& href) {
    const std::optional<std::string> path = EpubText::ResolvePath(base, href);
    if (!path || !zip.Has(*path))
        return {};
    std::string error;
    const std::optional<std::string> bytes = zip.Read(*path, error, CZipArchive::MaxTreeEntry);
    if (!bytes)
        return {};
    XmlDocument::Doc doc = XmlDocument::ParseXml(*bytes, error);
    if (!doc)
        doc = XmlDocument::ParseHtml(*bytes, error);
    return {std::move(doc), std::string(FolderPart(*path))};
}

void Add(std::vector<EpubContents::SEntry>& entries, const std::string& folder,
         const std::string& href, std::string title, int level) {
    const std::optional<std::string> path = EpubText::ResolvePath(folder, href);
    if (!path || title.empty())
        return;
    const std::size_t hash = href.find('#');
    std::string fragment = hash == std::string::npos ? "" : href.substr(hash + 1);
    entries.push_back({std::move(title), *path, std::move(fragment), level});
}

// An ol of the navigation document: each li's link (or heading span), then its own ol.
void ReadList(const xmlNode* list, const std::string& folder, int level,
              std::vector<EpubContents::SEntry>& entries) {
    if (level > MaxLevel)
        return;
    for (const xmlNode* li = list->children; li; li = li->next) {
        if (!IsElement(li, "li"))
            continue;
        for (const xmlNode* child = li->children; child; child = child->next) {
            if (IsElement(child, "a"))
                Add(entries, folder, XmlDocument::Attribute(child, "href"), TextOf(child), level);
            else if (IsElement(child, "ol"))
                ReadList(child, folder, level + 1, entries);
        }
    }
}

// The nav element whose epub:type holds "toc", else the first one.
const xmlNode* TocNav(const xmlNode* node) {
    const xmlNode* first = nullptr;
    std::vector<const xmlNode*> steps{node};
    while (!steps.empty()) {
        const xmlNode* at = steps.back();
        steps.pop_back();
        if (IsElement(at, "nav")) {
            if (HasWord(XmlDocument::Attribute(at, "type"), "toc"))
                return at;
            first = first ? first : at;
        }
        for (const xmlNode* child = at->last; child; child = child->prev)
            if (child->type == XML_ELEMENT_NODE)
                steps.push_back(child);
    }
    return first;
}

void ReadNavPoints(const xmlNode* parent, const std::string& folder, int level,
                   std::vector<EpubContents::SEntry>& entries) {
    if (level > MaxLevel)
        return;
    for (const xmlNode* point = parent->children; point; point = point->next) {
        if (!IsElement(point, "navPoint"))
            continue;
        const xmlNode* label = XmlDocument::FindElement(point, "navLabel");
        const xmlNode* content = nullptr;
        for (const xmlNode* child = point->children; child; child = child->next)
            content = content ? content : (IsElement(child, "content") ? child : nullptr);
        if (label && content)
            Add(entries, folder, XmlDocument::Attribute(content, "src"), TextOf(label), level);
        ReadNavPoints(point, folder, level + 1, entries);
    }
}

} // namespace

namespace EpubContents {

std::vector<SEntry> Read(const CZipArchive& zip, const xmlNode* package, const std::string& base) {
    std::vector<SEntry> entries;
    const std::string nav = ManifestHref(package, [](const xmlNode* item) {
        return HasWord(XmlDocument::Attribute(item, "properties"), "nav");
    });
    if (!nav.empty()) {
        const SDocument document = Load(zip, base, nav);
        const xmlNode* toc =
            document.Doc ? TocNav(xmlDocGetRootElement(document.Doc.get())) : nullptr;
        const xmlNode* list = toc ? XmlDocument::FindElement(toc, "ol") : nullptr;
        if (list)
            ReadList(list, document.Folder, 0, entries);
        if (!entries.empty())
            return entries;
    }
    const xmlNode* spine = XmlDocument::FindElement(package, "spine");
    const std::string tocId = spine ? XmlDocument::Attribute(spine, "toc") : "";
    const std::string ncx = ManifestHref(package, [&tocId](const xmlNode* item) {
        return (!tocId.empty() && XmlDocument::Attribute(item, "id") == tocId) ||
               XmlDocument::Attribute(item, "media-type") == "application/x-dtbncx+xml";
    });
    if (ncx.empty())
        return entries;
    const SDocument document = Load(zip, base, ncx);
    const xmlNode* map =
        document.Doc ? XmlDocument::FindElement(xmlDocGetRootElement(document.Doc.get()), "navMap")
                     : nullptr;
    if (map)
        ReadNavPoints(map, document.Folder, 0, entries);
    return entries;
}

} // namespace EpubContents
