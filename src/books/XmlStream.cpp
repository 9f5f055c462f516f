// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/XmlStream.h"

#include "books/TextCollector.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>

#include <memory>
#include <vector>

namespace {
// An element open in the main document.
struct SLevel {
    CTextCollector* Collector; // the collector of the text around it, null when passed over
    bool Begun;                // the collector began it: it is not skipped, nor inside one
};

struct SGrowth {
    const xmlParserCtxt* Main;
    XmlStream::Chooser Choose;
    XmlStream::SState& State;
    std::vector<SLevel> Levels;
};

xmlParserCtxt* ContextOf(void* context) {
    return static_cast<xmlParserCtxt*>(context);
}

// Null while the parser builds an entity's content in a context of its own: that tree is
// kept whole, for the entity's references to walk.
SGrowth* GrowthOf(void* context) {
    auto* growth = static_cast<SGrowth*>(ContextOf(context)->_private);
    return growth && growth->Main == context ? growth : nullptr;
}

// Collects the finished children of parent before last (all of them for null), and lets
// them go.
void Harvest(void* context, SGrowth& growth, xmlNode* parent, const xmlNode* last) {
    const SLevel level = growth.Levels.empty() ? SLevel{nullptr, false} : growth.Levels.back();
    xmlNode* next = nullptr;
    for (xmlNode* child = parent->children; child && child != last; child = next) {
        next = child->next;
        if (level.Begun && !growth.State.Refused && !level.Collector->AddFinished(child)) {
            growth.State.Refused = true;
            xmlStopParser(ContextOf(context));
        }
        xmlUnlinkNode(child);
        xmlFreeNode(child);
    }
}

void StartElement(void* context, const xmlChar* name, const xmlChar* prefix, const xmlChar* uri,
                  int namespaces, const xmlChar** spaces, int attributes, int defaulted,
                  const xmlChar** values) {
    const xmlNode* parent = ContextOf(context)->node;
    xmlSAX2StartElementNs(context, name, prefix, uri, namespaces, spaces, attributes, defaulted,
                          values);
    SGrowth* growth = GrowthOf(context);
    xmlNode* element = ContextOf(context)->node;
    if (!growth || !element || element == parent)
        return;
    if (element->parent && element->parent->type == XML_ELEMENT_NODE)
        Harvest(context, *growth, element->parent, element);
    const SLevel above = growth->Levels.empty() ? SLevel{nullptr, false} : growth->Levels.back();
    if (above.Collector) {
        growth->Levels.push_back({above.Collector, above.Begun && above.Collector->Begin(element)});
        return;
    }
    growth->State.Consumed = static_cast<uint64_t>(xmlByteConsumed(ContextOf(context)));
    CTextCollector* collector = growth->Choose(element);
    growth->Levels.push_back({collector, collector && collector->Begin(element)});
    if (growth->State.Cancelled)
        xmlStopParser(ContextOf(context));
}

void EndElement(void* context, const xmlChar* name, const xmlChar* prefix, const xmlChar* uri) {
    SGrowth* growth = GrowthOf(context);
    xmlNode* element = ContextOf(context)->node;
    if (!growth || !element || growth->Levels.empty()) {
        xmlSAX2EndElementNs(context, name, prefix, uri);
        return;
    }
    Harvest(context, *growth, element, nullptr);
    const SLevel level = growth->Levels.back();
    growth->Levels.pop_back();
    if (level.Begun)
        level.Collector->End(element);
    xmlSAX2EndElementNs(context, name, prefix, uri);
    if (element->parent && element->parent->type == XML_ELEMENT_NODE) {
        xmlUnlinkNode(element);
        xmlFreeNode(element);
    }
}
} // namespace

namespace XmlStream {

XmlDocument::Setup Collecting(const Chooser& choose, SState& state) {
    return [choose, &state](xmlParserCtxt& context) {
        auto growth = std::make_shared<SGrowth>(SGrowth{&context, choose, state, {}});
        context._private = growth.get();
        context.sax->startElementNs = StartElement;
        context.sax->endElementNs = EndElement;
        state.Growth = growth;
    };
}

} // namespace XmlStream
