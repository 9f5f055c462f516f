// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

class CTextCollector;

// An HTML page's text collected as the parser reads it. No tree is built: a page of tiny
// elements costs little more memory than its bytes and its text, where a tree costs
// some forty times its markup.
namespace HtmlStream {

enum class EResult {
    Read,    // the page's text is in the collector
    Empty,   // there was nothing to parse
    Damaged, // the parser stopped before the end; error says why
    Refused, // the collector refused the text; its Refusal() says why
};

// The page read as XmlDocument::ParseHtml reads it, its text added to collector's.
EResult Collect(std::string_view bytes, CTextCollector& collector, std::string& error);

} // namespace HtmlStream
