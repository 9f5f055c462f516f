// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <string>
#include <vector>

class CZipArchive;

// An EPUB's own table of contents: the navigation document's toc (EPUB 3), else the NCX
// (EPUB 2). Entries whose target cannot be named inside the book are left out.
namespace EpubContents {

struct SEntry {
    std::string Title;
    std::string Path;     // the document inside the book
    std::string Fragment; // the id in it, empty for its start
    int Level = 0;
};

// package: the package document's root element; base: its folder ("" or ending in "/").
std::vector<SEntry> Read(const CZipArchive& zip, const xmlNode* package, const std::string& base);

} // namespace EpubContents
