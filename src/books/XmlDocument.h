// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Parsing a book's XML and HTML safely: never from the network, no DTD loaded, no
// external entity substituted.
namespace XmlDocument {

struct SFreer {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using Doc = std::unique_ptr<xmlDoc, SFreer>;

// Called with the parser's context before it parses, to change its SAX handlers: what
// they do not build is missing from the document.
using Setup = std::function<void(xmlParserCtxt&)>;

// Strict XML in the encoding its declaration names; nullptr with libxml2's message.
// When the fault is an entity nobody declared, undefinedEntity (if given) gets its name.
Doc ParseXml(std::string_view bytes, std::string& error, std::string* undefinedEntity = nullptr,
             const Setup& setup = {});
// ParseXml that reads each entity nobody declared as the HTML character of that name, or
// else as its name, and still refuses every other fault. At most maxEntities names are
// taken in: each costs one more parse, and setup is called before each.
Doc ParseXmlLenient(std::string_view bytes, std::string& error, int maxEntities,
                    const Setup& setup = {});
// Forgiving HTML: UTF-8 when the bytes are, otherwise what the page declares. nullptr
// with the reason when the parser stops before the end (elements nested too deep, no
// memory left), for a partial text must not pass for the book's; nullptr with none when
// there is nothing to parse.
Doc ParseHtml(std::string_view bytes, std::string& error);
// ParseHtml with setup called first.
Doc ParseHtmlWith(std::string_view bytes, std::string& error, const Setup& setup);

// The first element below node (any depth, document order) with this local name.
const xmlNode* FindElement(const xmlNode* node, const char* name);

// No name, path or id a book uses is longer; a few entity references in a hostile book
// expand to gigabytes.
inline constexpr size_t MaxAttribute = 64 * 1024;

// The text of first and the nodes after it, with all below them and their entities
// expanded, as xmlNodeGetContent gives it; nullopt once it passes maxLength bytes or
// maxLength nodes, without reading further.
std::optional<std::string> BoundedText(const xmlNode* first, size_t maxLength);
// The value of the attribute of that local name, nullopt when it is longer than
// MaxAttribute.
std::optional<std::string> BoundedAttribute(const xmlNode* node, const char* name);
// BoundedAttribute, empty when the element has no such attribute or it is too long.
std::string Attribute(const xmlNode* node, const char* name);

} // namespace XmlDocument
