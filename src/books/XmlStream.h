// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/XmlDocument.h"

#include <cstdint>
#include <functional>
#include <memory>

class CTextCollector;

// An XML book's text collected while the parser builds its tree, each node let go once it
// is collected: the tree never holds more than the open elements and their unfinished
// children, and the text comes out as a walk of the whole tree gives it.
namespace XmlStream {

// For an element that begins outside every element being collected: the collector of its
// text, or null to pass over it (the elements below it are offered in turn).
using Chooser = std::function<CTextCollector*(const xmlNode* element)>;

// What became of the collecting.
struct SState {
    bool Refused = false;         // a collector refused the text; its Refusal() says why
    bool Cancelled = false;       // set by a chooser, it stops the parse
    uint64_t Consumed = 0;        // the bytes parsed when the chooser is called
    std::shared_ptr<void> Growth; // what the handlers share while the parser runs
};

// A Setup for XmlDocument's parsers that collects as it parses into state, which must
// outlive the parse. The document then holds its prolog and an empty root element; the
// parse is stopped once a collector refuses.
XmlDocument::Setup Collecting(const Chooser& choose, SState& state);

} // namespace XmlStream
