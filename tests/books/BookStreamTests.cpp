// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/HtmlStream.h"
#include "books/TextCollector.h"
#include "books/XmlDocument.h"
#include "books/XmlStream.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

namespace {
struct SOutcome {
    std::string Text;
    std::vector<std::string> Contents; // "offset level title"
    std::map<std::string, int32_t> Ids;
    std::string Error;
};

enum class EWay { HtmlStream, HtmlTree, XmlStream, XmlTree };

// The page through the collector, from its tree or as the parser reports it; a refused
// page keeps only its message.
SOutcome Collect(const std::string& page, EWay way,
                 CTextCollector::EMode mode = CTextCollector::EMode::Html) {
    SOutcome outcome;
    std::unordered_map<std::string, int32_t> ids;
    TableOfContents contents;
    CTextCollector collector(outcome.Text, mode);
    collector.CollectHeadings(&contents);
    collector.CollectIds(&ids);
    bool read = false;
    XmlStream::SState state;
    if (way == EWay::HtmlStream) {
        const HtmlStream::EResult result = HtmlStream::Collect(page, collector, outcome.Error);
        read = result == HtmlStream::EResult::Read;
        if (result == HtmlStream::EResult::Refused)
            outcome.Error = collector.Refusal();
    } else if (way == EWay::XmlStream) {
        const auto all = [&collector](const xmlNode*) {
            return &collector;
        };
        read = XmlDocument::ParseXml(page, outcome.Error, nullptr,
                                     XmlStream::Collecting(all, state)) &&
               collector.Finish();
        outcome.Error = state.Refused || read ? collector.Refusal() : outcome.Error;
    } else if (const XmlDocument::Doc doc = way == EWay::HtmlTree
                                                ? XmlDocument::ParseHtml(page, outcome.Error)
                                                : XmlDocument::ParseXml(page, outcome.Error)) {
        read = collector.Add(reinterpret_cast<const xmlNode*>(doc.get()));
        outcome.Error = collector.Refusal();
    }
    if (!read)
        return {{}, {}, {}, "refused: " + outcome.Error};
    outcome.Error.clear();
    outcome.Ids.insert(ids.begin(), ids.end());
    for (const SChapter& chapter : contents)
        outcome.Contents.push_back(std::to_string(chapter.Offset) + " " +
                                   std::to_string(chapter.Level) + " " + chapter.Title);
    return outcome;
}

void ExpectSameAsTree(const std::string& page, bool xml = false,
                      CTextCollector::EMode mode = CTextCollector::EMode::Html) {
    const SOutcome stream = Collect(page, xml ? EWay::XmlStream : EWay::HtmlStream, mode);
    const SOutcome tree = Collect(page, xml ? EWay::XmlTree : EWay::HtmlTree, mode);
    EXPECT_EQ(stream.Text, tree.Text);
    EXPECT_EQ(stream.Contents, tree.Contents);
    EXPECT_EQ(stream.Ids, tree.Ids);
    EXPECT_EQ(stream.Error, tree.Error);
}

std::string Repeated(const std::string& part, int times) {
    std::string whole;
    for (int i = 0; i < times; ++i)
        whole += part;
    return whole;
}

// Pages of markup picked at random from pieces that test the collector's rules and the
// parser's repairs: unclosed and stray tags, prefixes, entities, line ends, comments, and
// text past the parser's buffer of a thousand bytes.
std::string RandomPage(std::mt19937& random) {
    static const std::vector<std::string> pieces = [] {
        const std::string all =
            "<p>|</p>|<div id='d'>|</div>|<h1>|</h1>|<h2 id='h'>|</h2>|<h3>|<pre>|</pre>|<td>|"
            "<th>|<tr>|</tr>|<table>|</table>|<br>|<b>|</b>|<li id='l'>|<ul>|</ul>|<script>s()"
            "</script>|<style>p{}</style>|<head>|</head>|<title>T</title>|<img alt='a'>|<o:p>|"
            "</o:p>|<x:h1>|<html>|</html>|<body>|</body>|<noscript>|<font>|<dt>|<dd>|"
            "<textarea>|<blockquote>|<figcaption>|<p id>| |  \t|\r\n|\r|\n|word|\xC3\xA9t|"
            "&nbsp;|&amp;|&eacute;|&#13;|&#x263A;|&bogus;|&|<|>|</|<!-- c -->|<![CDATA[c]]>|"
            "<?pi x?>|<!DOCTYPE html>";
        std::vector<std::string> split{std::string(997, 'x')};
        for (size_t start = 0, bar = 0; bar != std::string::npos; start = bar + 1) {
            bar = all.find('|', start);
            split.push_back(all.substr(start, bar - start));
        }
        return split;
    }();
    std::string page;
    const int count = static_cast<int>(random() % 120);
    for (int i = 0; i < count; ++i)
        page += pieces[random() % pieces.size()];
    return page;
}

// Elements nested at random, with text, entities of text and of markup, references
// to entities nobody declared, line ends, comments and sections.
void RandomElement(std::mt19937& random, int depth, std::string& out) {
    static const std::vector<std::string> tags{"p",  "div",     "h1",    "h2",   "pre",
                                               "td", "br",      "b",     "head", "script",
                                               "li", "section", "title", "x:p"};
    static const std::vector<std::string> texts{" a ",      "\r\n",     "&e1;",   "&e2;",
                                                "&amp;",    "&#13;",    "&nbsp;", "<![CDATA[c\r]]>",
                                                "<!--c-->", "<?pi x?>", "w\tv",   "&#x263A;"};
    const std::string tag = tags[random() % tags.size()];
    const std::string id = " id='i" + std::to_string(random() % 4) + "'";
    out += "<" + tag + (random() % 3 ? "" : id) + ">";
    for (unsigned children = random() % 5; depth < 6 && children > 0; --children) {
        if (random() % 2)
            RandomElement(random, depth + 1, out);
        else
            out += texts[random() % texts.size()];
    }
    out += "</" + tag + ">";
}
} // namespace

TEST(XmlStream, RandomDocuments_ReadAsTheirTree) {
    std::mt19937 random(29);
    const std::string prolog =
        "<?xml version='1.0'?><!DOCTYPE html PUBLIC '-//W3C//DTD XHTML 1.1//EN' 'x.dtd' ["
        "<!ENTITY e1 '<b id=\"e\">x</b>&#13;<section><title>T</title></section>'>"
        "<!ENTITY e2 'a&#13;&#10;&e1;'>]><html xmlns='http://www.w3.org/1999/xhtml' "
        "xmlns:x='urn:x'>";
    for (int page = 0; page < 1000 && !HasFailure(); ++page) {
        std::string xml = prolog;
        RandomElement(random, 0, xml);
        xml += "</html>";
        SCOPED_TRACE(xml);
        ExpectSameAsTree(xml, true, CTextCollector::EMode::Html);
        ExpectSameAsTree(xml, true, CTextCollector::EMode::FictionBook);
    }
}

TEST(HtmlStream, HostilePages_ReadAsTheirTree) {
    const struct {
        const char* Name;
        std::string Page;
    } rows[] = {
        {"nothing", ""},
        {"blanks only", " \n "},
        {"text after the root", "<html><body><p>a</p></body></html> tail <b>x</b>"},
        {"line ends across the parser's buffer",
         "<pre>" + std::string(999, 'x') + "\r\n" + std::string(998, 'y') + "\r\r\n</pre>"},
        {"deepest kept", Repeated("<div>", 255) + "x"},
        {"one too deep", Repeated("<div>", 258) + "x"},
        {"nested elements", Repeated("<div>", 100'000) + "x"},
        {"unclosed fonts and paragraphs", "<html><body>" + Repeated("<font><p>line\n", 200)},
        {"long id", "<p id='" + std::string(70'000, 'i') + "'>x</p><p id='k'>y</p>"},
        {"Latin-1", "<p>caf\xE9</p><h1>T\xEAte</h1>"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        ExpectSameAsTree(row.Page);
    }
}

TEST(HtmlStream, RandomPages_ReadAsTheirTree) {
    std::mt19937 random(29);
    for (int page = 0; page < 3000 && !HasFailure(); ++page) {
        const std::string html = RandomPage(random);
        SCOPED_TRACE(html);
        ExpectSameAsTree(html);
    }
}
