// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/HtmlStream.h"

#include "books/TextCollector.h"
#include "books/XmlDocument.h"

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <cstring>

namespace {
enum class EText { None, Text, Cdata };

// What the handlers share, reached through the parser context's _private.
struct SStream {
    CTextCollector& Collector;
    // The elements open, as the tree builder counts them for its bound on depth.
    unsigned Open = 0;
    // What the last report was: the tree joins text reported twice in a row.
    EText Last = EText::None;
    bool Refused = false;
};

xmlParserCtxt* ContextOf(void* context) {
    return static_cast<xmlParserCtxt*>(context);
}

SStream& StreamOf(void* context) {
    return *static_cast<SStream*>(ContextOf(context)->_private);
}

void Refuse(void* context) {
    StreamOf(context).Refused = true;
    xmlStopParser(ContextOf(context));
}

void StartElement(void* context, const xmlChar* name, const xmlChar** attributes) {
    SStream& stream = StreamOf(context);
    stream.Last = EText::None;
    // The tree builder halts the parser an element deeper than this, and the page is
    // damaged whether or not a tree is built.
    if (stream.Open > xmlParserMaxDepth) {
        xmlStopParser(ContextOf(context));
        return;
    }
    ++stream.Open;
    // The tree names an element without its prefix: Word's <o:p> is a paragraph.
    xmlChar* prefix = nullptr;
    xmlChar* local = std::strchr(reinterpret_cast<const char*>(name), ':')
                         ? xmlSplitQName(ContextOf(context), name, &prefix)
                         : nullptr;
    const bool added =
        stream.Collector.Open(reinterpret_cast<const char*>(local ? local : name), attributes);
    xmlFree(local);
    xmlFree(prefix);
    if (!added)
        Refuse(context);
}

void EndElement(void* context, const xmlChar*) {
    SStream& stream = StreamOf(context);
    stream.Last = EText::None;
    if (stream.Open == 0)
        return;
    --stream.Open;
    stream.Collector.Close();
}

void AddText(void* context, const xmlChar* text, int length, EText kind) {
    SStream& stream = StreamOf(context);
    const bool continued = stream.Last == kind;
    stream.Last = kind;
    // The tree keeps no text outside every element.
    if (stream.Open == 0 || length <= 0)
        return;
    const std::string_view chunk(reinterpret_cast<const char*>(text), static_cast<size_t>(length));
    if (!stream.Collector.Characters(chunk, continued))
        Refuse(context);
}

void Characters(void* context, const xmlChar* text, int length) {
    AddText(context, text, length, EText::Text);
}

void Cdata(void* context, const xmlChar* text, int length) {
    AddText(context, text, length, EText::Cdata);
}

// A comment or a processing instruction: kept nowhere, it parts the text around it.
void Comment(void* context, const xmlChar*) {
    StreamOf(context).Last = EText::None;
}

void Instruction(void* context, const xmlChar*, const xmlChar*) {
    StreamOf(context).Last = EText::None;
}
} // namespace

namespace HtmlStream {

EResult Collect(std::string_view bytes, CTextCollector& collector, std::string& error) {
    SStream stream{collector};
    // The document itself and its doctype are still built: they are small, and the parser
    // consults them.
    const XmlDocument::Doc doc =
        XmlDocument::ParseHtmlWith(bytes, error, [&stream](xmlParserCtxt& context) {
            context._private = &stream;
            xmlSAXHandler& sax = *context.sax;
            sax.startElement = StartElement;
            sax.endElement = EndElement;
            sax.characters = Characters;
            sax.cdataBlock = Cdata;
            sax.comment = Comment;
            sax.processingInstruction = Instruction;
        });
    if (stream.Refused)
        return EResult::Refused;
    if (!doc)
        return error.empty() ? EResult::Empty : EResult::Damaged;
    return collector.Finish() ? EResult::Read : EResult::Refused;
}

} // namespace HtmlStream
