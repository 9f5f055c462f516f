// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/XmlDocument.h"

#include "books/BookText.h"
#include "text/TextEncoding.h"

#include <libxml/HTMLparser.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <cstring>
#include <vector>

namespace {
bool FitsInt(std::string_view bytes) {
    return bytes.size() <= static_cast<size_t>(INT_MAX);
}

void Silent(void*, const char*, ...) {}

constexpr const char* NoMemory = "there is not enough memory to parse it";
constexpr const char* TooDeep = "its elements nest more than 256 deep, or its markup stops the "
                                "parser early";

struct SContextFreer {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

// False when text holds no from.
bool ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    std::string result;
    std::size_t done = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, done)) {
        result.append(text, done, at - done);
        result += to;
        done = at + from.size();
    }
    if (done == 0)
        return false;
    result.append(text, done);
    text = std::move(result);
    return true;
}

// Some of libxml2's messages (an encoding that fails, say) bypass the parser's options and
// would land on the reader's terminal; the book's message says what matters.
void SilenceLibxml() {
    xmlSetGenericErrorFunc(nullptr, Silent);
}
// A book in UTF-16 or UTF-32 as UTF-8, which the parser is then told it is; nullopt for
// one in bytes.
std::optional<std::string> WideAsUtf8(std::string_view bytes) {
    const std::string_view encoding = BookText::WideEncoding(bytes);
    if (encoding.empty())
        return std::nullopt;
    return TextEncoding::ToUtf8(bytes.substr(TextEncoding::BomLength(bytes, encoding)), encoding);
}

// The XML in UTF-8 whatever its declaration says when utf8, else in what it declares.
XmlDocument::Doc ParseXmlAs(std::string_view bytes, bool utf8, std::string& error,
                            std::string* undefinedEntity, const XmlDocument::Setup& setup) {
    if (!FitsInt(bytes)) {
        error = "the XML is too large";
        return nullptr;
    }
    // No XML_PARSE_NOENT (it would substitute external entities) and no DTD loading;
    // libxml2 refuses entities that expand out of proportion by itself, and without
    // XML_PARSE_HUGE it keeps its limits on depth, names and text nodes.
    constexpr int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    SilenceLibxml();
    xmlResetLastError();
    const std::unique_ptr<xmlParserCtxt, SContextFreer> context(xmlNewParserCtxt());
    if (!context) {
        error = NoMemory;
        return nullptr;
    }
    if (setup)
        setup(*context);
    XmlDocument::Doc doc(xmlCtxtReadMemory(
        context.get(), bytes.data(), static_cast<int>(bytes.size()), nullptr,
        utf8 ? "UTF-8" : nullptr, utf8 ? options | XML_PARSE_IGNORE_ENC : options));
    if (!doc) {
        const xmlError* last = xmlGetLastError();
        error = last && last->message ? last->message : "the XML is not well formed";
        while (!error.empty() && error.back() == '\n')
            error.pop_back();
        // libxml2's words for it name an option of its own.
        if (last && last->code == XML_ERR_INTERNAL_ERROR && error.find("depth") != error.npos)
            error = TooDeep;
        if (undefinedEntity && last && last->code == XML_ERR_UNDECLARED_ENTITY && last->str1)
            *undefinedEntity = last->str1;
    }
    return doc;
}
} // namespace

namespace XmlDocument {

Doc ParseXml(std::string_view bytes, std::string& error, std::string* undefinedEntity,
             const Setup& setup) {
    const std::optional<std::string> utf8 = WideAsUtf8(bytes);
    return ParseXmlAs(utf8 ? *utf8 : bytes, utf8.has_value(), error, undefinedEntity, setup);
}

Doc ParseXmlLenient(std::string_view bytes, std::string& error, int maxEntities,
                    const Setup& setup) {
    const std::optional<std::string> utf8 = WideAsUtf8(bytes);
    if (utf8)
        bytes = *utf8;
    std::string amended;
    for (int taken = 0;; ++taken) {
        std::string name;
        Doc doc = ParseXmlAs(taken ? std::string_view(amended) : bytes, utf8.has_value(), error,
                             &name, setup);
        if (doc || name.empty() || taken == maxEntities)
            return doc;
        if (!taken)
            amended = bytes;
        // A character reference reads the same in whatever encoding the book declares.
        const htmlEntityDesc* known =
            htmlEntityLookup(reinterpret_cast<const xmlChar*>(name.c_str()));
        const std::string reference = "&" + name + ";";
        const std::string replacement = known ? "&#" + std::to_string(known->value) + ";" : name;
        if (!ReplaceAll(amended, reference, replacement))
            return doc;
    }
}

Doc ParseHtml(std::string_view bytes, std::string& error) {
    return ParseHtmlWith(bytes, error, nullptr);
}

Doc ParseHtmlWith(std::string_view bytes, std::string& error, const Setup& setup) {
    error.clear();
    const std::optional<std::string> utf8 = WideAsUtf8(bytes);
    if (utf8)
        bytes = *utf8;
    if (bytes.empty())
        return nullptr;
    if (!FitsInt(bytes)) {
        error = "the HTML is too large";
        return nullptr;
    }
    SilenceLibxml();
    const std::unique_ptr<htmlParserCtxt, SContextFreer> context(htmlNewParserCtxt());
    if (!context) {
        error = NoMemory;
        return nullptr;
    }
    if (setup)
        setup(*context);
    constexpr int options =
        HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_RECOVER;
    Doc doc(htmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()), nullptr,
                               TextEncoding::IsValidUtf8(bytes) ? "UTF-8" : nullptr, options));
    // Recovering, the parser goes on past every fault in the markup; it halts only when it
    // cannot go on.
    if (context->disableSAX || context->instate == XML_PARSER_EOF) {
        error = context->errNo == XML_ERR_NO_MEMORY ? NoMemory : TooDeep;
        return nullptr;
    }
    return doc;
}

const xmlNode* FindElement(const xmlNode* node, const char* name) {
    std::vector<const xmlNode*> steps{node};
    while (!steps.empty()) {
        const xmlNode* current = steps.back();
        steps.pop_back();
        if (current->type == XML_ELEMENT_NODE &&
            std::strcmp(reinterpret_cast<const char*>(current->name), name) == 0)
            return current;
        if (current->type != XML_ELEMENT_NODE && current->type != XML_DOCUMENT_NODE &&
            current->type != XML_HTML_DOCUMENT_NODE)
            continue;
        for (const xmlNode* child = current->last; child; child = child->prev)
            steps.push_back(child);
    }
    return nullptr;
}

std::optional<std::string> BoundedText(const xmlNode* first, size_t maxLength) {
    std::string text;
    std::vector<const xmlNode*> steps;
    const auto pushList = [&steps](const xmlNode* last) {
        for (const xmlNode* node = last; node; node = node->prev)
            steps.push_back(node);
    };
    const xmlNode* last = first;
    while (last && last->next)
        last = last->next;
    pushList(last);
    for (size_t nodes = 0; !steps.empty(); ++nodes) {
        if (nodes > maxLength || text.size() > maxLength)
            return std::nullopt;
        const xmlNode* node = steps.back();
        steps.pop_back();
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            if (node->content)
                text += reinterpret_cast<const char*>(node->content);
        } else if (node->type == XML_ELEMENT_NODE) {
            pushList(node->last);
        } else if (node->type == XML_ENTITY_REF_NODE) {
            const auto* entity = reinterpret_cast<const xmlEntity*>(node->children);
            if (entity && entity->children)
                pushList(entity->last);
            else if (entity && entity->content)
                text += reinterpret_cast<const char*>(entity->content);
        }
    }
    if (text.size() > maxLength)
        return std::nullopt;
    return text;
}

std::optional<std::string> BoundedAttribute(const xmlNode* node, const char* name) {
    for (const xmlAttr* attr = node->properties; attr; attr = attr->next)
        if (std::strcmp(reinterpret_cast<const char*>(attr->name), name) == 0)
            return BoundedText(attr->children, MaxAttribute);
    return std::string();
}

std::string Attribute(const xmlNode* node, const char* name) {
    return BoundedAttribute(node, name).value_or("");
}

} // namespace XmlDocument
