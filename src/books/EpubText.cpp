// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/EpubText.h"

#include "books/EpubContents.h"
#include "books/HtmlStream.h"
#include "books/TextCollector.h"
#include "books/XmlDocument.h"
#include "books/XmlStream.h"
#include "books/ZipArchive.h"
#include "platform/Folders.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <unordered_map>
#include <vector>

namespace {
constexpr const char* ContainerPath = "META-INF/container.xml";
constexpr const char* EncryptionPath = "META-INF/encryption.xml";

struct SItem {
    std::string Path;
    std::string MediaType;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
        if (text[i] == '%' && low >= 0) {
            out += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

template <typename Visit> void ForEachElement(const xmlNode* node, const char* name, Visit visit) {
    for (const xmlNode* child = node ? node->children : nullptr; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE &&
            std::strcmp(reinterpret_cast<const char*>(child->name), name) == 0)
            visit(child);
}

// The package document the container names, as a path inside the zip.
std::optional<std::string> PackagePath(const CZipArchive& zip, std::string& error) {
    if (!zip.Has(ContainerPath)) {
        error = "the EPUB has no META-INF/container.xml";
        return std::nullopt;
    }
    const std::optional<std::string> bytes =
        zip.Read(ContainerPath, error, CZipArchive::MaxTreeEntry);
    if (!bytes)
        return std::nullopt;
    std::string xmlError;
    const XmlDocument::Doc doc = XmlDocument::ParseXml(*bytes, xmlError);
    const xmlNode* rootfile =
        doc ? XmlDocument::FindElement(xmlDocGetRootElement(doc.get()), "rootfile") : nullptr;
    const std::optional<std::string> named =
        rootfile ? XmlDocument::BoundedAttribute(rootfile, "full-path") : std::string();
    if (!named) {
        error = "META-INF/container.xml is damaged: its package path is over 64 KiB long";
        return std::nullopt;
    }
    const std::string& fullPath = *named;
    if (fullPath.empty()) {
        error = "META-INF/container.xml names no package document";
        return std::nullopt;
    }
    std::optional<std::string> path = EpubText::ResolvePath("", fullPath);
    if (!path)
        error = "META-INF/container.xml points outside the book: " + BookText::Detail(fullPath);
    else if (!zip.Has(*path))
        error = "the package document " + BookText::Detail(*path) +
                " named by META-INF/container.xml is missing";
    return path && zip.Has(*path) ? path : std::nullopt;
}

// The items the reading order names, in that order, or a message naming the one amiss.
std::optional<std::vector<SItem>> Spine(const xmlNode* package, const std::string& base,
                                        std::string& error) {
    std::map<std::string, SItem> manifest;
    ForEachElement(XmlDocument::FindElement(package, "manifest"), "item", [&](const xmlNode* item) {
        const std::string href = XmlDocument::Attribute(item, "href");
        manifest[XmlDocument::Attribute(item, "id")] = {href,
                                                        XmlDocument::Attribute(item, "media-type")};
    });
    std::vector<SItem> linear;
    std::vector<SItem> aside;
    ForEachElement(XmlDocument::FindElement(package, "spine"), "itemref", [&](const xmlNode* ref) {
        if (!error.empty())
            return;
        const std::string id = XmlDocument::Attribute(ref, "idref");
        const auto found = manifest.find(id);
        if (found == manifest.end()) {
            error = "the spine names an item the manifest lacks: " + BookText::Detail(id);
            return;
        }
        std::optional<std::string> path = EpubText::ResolvePath(base, found->second.Path);
        if (!path) {
            error = "a spine item points outside the book: " + BookText::Detail(found->second.Path);
            return;
        }
        SItem item{std::move(*path), found->second.MediaType};
        (XmlDocument::Attribute(ref, "linear") == "no" ? aside : linear).push_back(item);
    });
    if (!error.empty())
        return std::nullopt;
    linear.insert(linear.end(), aside.begin(), aside.end());
    // Items may name one document at several fragments: it is read once, at its first
    // place in the reading order.
    std::set<std::string> seen;
    std::erase_if(linear, [&seen](const SItem& item) { return !seen.insert(item.Path).second; });
    if (linear.empty())
        error = "the EPUB's spine is empty";
    return linear.empty() ? std::nullopt : std::optional(linear);
}

// The paths META-INF/encryption.xml says are encrypted (fonts are, in many a free book).
std::set<std::string> EncryptedPaths(const CZipArchive& zip) {
    std::set<std::string> paths;
    std::string error;
    const std::optional<std::string> bytes =
        zip.Has(EncryptionPath) ? zip.Read(EncryptionPath, error, CZipArchive::MaxTreeEntry)
                                : std::nullopt;
    const XmlDocument::Doc doc = bytes ? XmlDocument::ParseXml(*bytes, error) : nullptr;
    std::vector<const xmlNode*> steps;
    if (doc)
        steps.push_back(xmlDocGetRootElement(doc.get()));
    while (!steps.empty()) {
        const xmlNode* node = steps.back();
        steps.pop_back();
        if (std::strcmp(reinterpret_cast<const char*>(node->name), "CipherReference") == 0)
            if (auto path = EpubText::ResolvePath("", XmlDocument::Attribute(node, "URI")))
                paths.insert(*path);
        for (const xmlNode* child = node->children; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                steps.push_back(child);
    }
    return paths;
}

// Where a spine document begins in the text, and each of its ids.
struct SPlaces {
    int32_t Start = 0;
    std::unordered_map<std::string, int32_t> Ids;
};

// The book's own table, in the text's order; an entry whose document is not read is
// left out.
TableOfContents Contents(const CZipArchive& zip, const xmlNode* package, const std::string& base,
                         const std::map<std::string, SPlaces>& places) {
    TableOfContents contents;
    for (const EpubContents::SEntry& entry : EpubContents::Read(zip, package, base)) {
        const auto document = places.find(entry.Path);
        if (document == places.end())
            continue;
        const auto id = document->second.Ids.find(entry.Fragment);
        const int32_t offset =
            id == document->second.Ids.end() ? document->second.Start : id->second;
        contents.push_back({entry.Title, offset, entry.Level});
    }
    std::stable_sort(contents.begin(), contents.end(),
                     [](const SChapter& a, const SChapter& b) { return a.Offset < b.Offset; });
    return contents;
}

// An item's text added to the collector's; false with the reason when the item is damaged
// or the text over its cap.
bool AddItem(const std::string& bytes, const SItem& item, CTextCollector& collector,
             std::unordered_map<std::string, int32_t>& ids, std::string& error) {
    if (item.MediaType != "text/html") {
        const CTextCollector::SMark mark = collector.Mark();
        XmlStream::SState state;
        const XmlDocument::Doc doc = XmlDocument::ParseXml(
            bytes, error, nullptr,
            XmlStream::Collecting([&collector](const xmlNode*) { return &collector; }, state));
        if (state.Refused || (doc && !collector.Finish())) {
            error = collector.Refusal();
            return false;
        }
        if (doc)
            return true;
        collector.Rewind(mark);
        ids.clear();
    }
    // Many books carry XHTML that is not quite XML, or HTML's entities with no DTD.
    switch (HtmlStream::Collect(bytes, collector, error)) {
    case HtmlStream::EResult::Read:
    case HtmlStream::EResult::Empty:
        return true;
    case HtmlStream::EResult::Damaged:
        error = "the spine item " + BookText::Detail(item.Path) + " is damaged: " + error;
        return false;
    case HtmlStream::EResult::Refused:
        error = collector.Refusal();
        return false;
    }
    return false;
}
} // namespace

namespace EpubText {

std::optional<std::string> ResolvePath(std::string_view base, std::string_view href) {
    const std::string_view noFragment = href.substr(0, href.find('#'));
    if (noFragment.find(':') != std::string_view::npos)
        return std::nullopt;
    const std::string whole = noFragment.starts_with('/')
                                  ? PercentDecoded(noFragment)
                                  : std::string(base) + PercentDecoded(noFragment);
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= whole.size()) {
        const size_t slash = std::min(whole.find('/', start), whole.size());
        const std::string part = whole.substr(start, slash - start);
        start = slash + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (parts.empty())
                return std::nullopt;
            parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string path;
    for (const std::string& part : parts)
        path += (path.empty() ? "" : "/") + part;
    return path.empty() ? std::nullopt : std::optional(path);
}

std::optional<std::string> Read(std::string_view bytes, std::string& error,
                                const BookText::Progress& progress, TableOfContents* contents) {
    const std::unique_ptr<CZipArchive> zip = CZipArchive::Open(bytes, error);
    if (!zip)
        return std::nullopt;
    const std::optional<std::string> packagePath = PackagePath(*zip, error);
    if (!packagePath)
        return std::nullopt;
    const std::optional<std::string> packageBytes =
        zip->Read(*packagePath, error, CZipArchive::MaxTreeEntry);
    if (!packageBytes)
        return std::nullopt;
    std::string xmlError;
    const XmlDocument::Doc package = XmlDocument::ParseXml(*packageBytes, xmlError);
    if (!package) {
        error = "the package document " + BookText::Detail(*packagePath) +
                " is damaged: " + BookText::Detail(xmlError);
        return std::nullopt;
    }
    const std::optional<std::vector<SItem>> spine =
        Spine(xmlDocGetRootElement(package.get()), std::string(FolderPart(*packagePath)), error);
    if (!spine)
        return std::nullopt;
    const std::set<std::string> encrypted = EncryptedPaths(*zip);
    std::string text;
    CTextCollector collector(text, CTextCollector::EMode::Html);
    std::map<std::string, SPlaces> places;
    for (size_t i = 0; i < spine->size(); ++i) {
        const SItem& item = (*spine)[i];
        if (progress && !progress(i, spine->size())) {
            error.clear();
            return std::nullopt;
        }
        if (encrypted.contains(item.Path) || zip->IsEncrypted(item.Path)) {
            error =
                "the EPUB is encrypted (DRM): " + BookText::Detail(item.Path) + " cannot be read";
            return std::nullopt;
        }
        if (!zip->Has(item.Path)) {
            error = "the spine item " + BookText::Detail(item.Path) + " is missing from the EPUB";
            return std::nullopt;
        }
        const std::optional<std::string> itemBytes = zip->Read(item.Path, error);
        if (!itemBytes)
            return std::nullopt;
        SPlaces& place = places[item.Path];
        place.Start = collector.Offset();
        collector.CollectIds(contents ? &place.Ids : nullptr);
        if (!AddItem(*itemBytes, item, collector, place.Ids, error))
            return std::nullopt;
    }
    if (contents)
        *contents = Contents(*zip, xmlDocGetRootElement(package.get()),
                             std::string(FolderPart(*packagePath)), places);
    return text;
}

} // namespace EpubText
