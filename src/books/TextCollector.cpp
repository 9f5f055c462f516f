// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/TextCollector.h"

#include "books/XmlDocument.h"

#include <libxml/HTMLparser.h>
#include <libxml/entities.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace {
constexpr std::array HtmlBlocks{"p",  "div", "h1", "h2", "h3",         "h4",         "h5",
                                "h6", "li",  "dt", "dd", "blockquote", "figcaption", "tr"};
constexpr std::array FictionBookBlocks{"p", "v", "subtitle", "text-author", "tr"};
// Nothing of these is read: the head repeats the title, scripts and styles are not text,
// and a picture's alternative text is not part of the book's flow.
constexpr std::array HtmlSkipped{"head", "script", "style", "img", "title", "noscript"};
constexpr std::array FictionBookSkipped{"image", "binary", "stylesheet"};

template <size_t N> bool Contains(const std::array<const char*, N>& names, const char* name) {
    for (const char* candidate : names)
        if (std::strcmp(candidate, name) == 0)
            return true;
    return false;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The value of the first attribute of that name, empty when it has none or one longer
// than any id a book uses.
std::string AttributeOf(const xmlChar* const* attributes, const char* name) {
    for (const xmlChar* const* at = attributes; at && at[0]; at += 2) {
        if (std::strcmp(reinterpret_cast<const char*>(at[0]), name) != 0)
            continue;
        const char* value = reinterpret_cast<const char*>(at[1]);
        const size_t length = value ? std::strlen(value) : 0;
        return length <= XmlDocument::MaxAttribute ? std::string(value, length) : std::string();
    }
    return {};
}

const char* NameOf(const xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

} // namespace

CTextCollector::EKind CTextCollector::KindOf(const char* name) const {
    if (m_mode == EMode::FictionBook) {
        if (Contains(FictionBookSkipped, name))
            return EKind::Skipped;
        if (Contains(FictionBookBlocks, name))
            return EKind::Block;
    } else {
        if (Contains(HtmlSkipped, name))
            return EKind::Skipped;
        if (Contains(HtmlBlocks, name))
            return EKind::Block;
        if (std::strcmp(name, "pre") == 0)
            return EKind::Pre;
    }
    if (std::strcmp(name, "td") == 0 || std::strcmp(name, "th") == 0)
        return EKind::Cell;
    if (std::strcmp(name, "br") == 0)
        return EKind::Break;
    return EKind::Inline;
}

bool CTextCollector::Add(const xmlNode* root) {
    AddFinished(root);
    EndBlock();
    return m_stop == EStop::None;
}

bool CTextCollector::AddFinished(const xmlNode* root) {
    // A walk of its own rather than recursion: a hostile file may nest a million elements.
    m_steps.assign(1, {root, false, false});
    while (!m_steps.empty() && m_stop == EStop::None) {
        const SStep step = m_steps.back();
        m_steps.pop_back();
        if (step.Leaving)
            End(step.Node);
        else
            Step(step.Node, step.InEntity);
    }
    m_steps.clear();
    return m_stop == EStop::None;
}

bool CTextCollector::Begin(const xmlNode* element) {
    const EKind kind = KindOf(NameOf(element));
    if (kind == EKind::Skipped)
        return false;
    Enter(kind);
    EnterElement(element);
    return true;
}

void CTextCollector::End(const xmlNode* element) {
    Leave(KindOf(NameOf(element)));
    LeaveElement(element);
}

const char* CTextCollector::Refusal() const {
    if (m_stop == EStop::EntitiesTooLarge)
        return "the book is damaged: its entities expand to more than a million nodes or "
               "64 MiB of text";
    return "the book's text is larger than 1 GB";
}

void CTextCollector::Push(const xmlNode* last, bool inEntity) {
    for (const xmlNode* child = last; child; child = child->prev)
        m_steps.push_back({child, false, inEntity});
}

void CTextCollector::Step(const xmlNode* node, bool inEntity) {
    if (inEntity && ++m_entityNodes > MaxEntityNodes) {
        m_stop = EStop::EntitiesTooLarge;
        return;
    }
    // Each text node is whole: none carries on another's line.
    m_return = false;
    switch (node->type) {
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
        if (node->content)
            AddText(reinterpret_cast<const char*>(node->content), inEntity);
        break;
    case XML_ENTITY_REF_NODE: {
        const auto* entity = reinterpret_cast<const xmlEntity*>(node->children);
        if (entity && entity->etype == XML_INTERNAL_GENERAL_ENTITY && entity->children)
            Push(entity->last, true);
        else
            AddEntity(node, inEntity);
        break;
    }
    case XML_ELEMENT_NODE: {
        if (!Begin(node))
            break;
        m_steps.push_back({node, true, inEntity});
        Push(node->last, inEntity);
        break;
    }
    case XML_DOCUMENT_NODE:
    case XML_HTML_DOCUMENT_NODE:
        Push(node->last, inEntity);
        break;
    default:
        break;
    }
}

int32_t CTextCollector::Offset() const {
    const size_t pending = m_line.empty() ? 0 : m_line.size() + (m_space ? 1 : 0);
    return static_cast<int32_t>(m_out.size() + pending);
}

int CTextCollector::HeadingLevel(const char* name, int sections) const {
    if (m_mode == EMode::Html) {
        if (name[0] == 'h' && name[1] >= '1' && name[1] <= '3' && name[2] == '\0')
            return name[1] - '1';
        return -1;
    }
    return std::strcmp(name, "title") == 0 ? sections - 1 : -1;
}

void CTextCollector::EnterElement(const xmlNode* node) {
    if (m_ids)
        NoteId(XmlDocument::Attribute(node, "id"));
    if (!m_contents)
        return;
    int sections = 0;
    for (const xmlNode* up = node->parent; up && up->type == XML_ELEMENT_NODE; up = up->parent)
        sections += std::strcmp(NameOf(up), "section") == 0 ? 1 : 0;
    BeginHeading(node, HeadingLevel(NameOf(node), sections));
}

void CTextCollector::NoteId(std::string id) {
    if (!id.empty())
        m_ids->try_emplace(std::move(id), Offset());
}

bool CTextCollector::BeginHeading(const xmlNode* node, int level) {
    if (!m_contents || level < 0)
        return false;
    // The heading's own text starts on a line of its own.
    EndBlock();
    m_headings.push_back({node, m_out.size(), level});
    return true;
}

void CTextCollector::LeaveElement(const xmlNode* node) {
    if (!m_headings.empty() && m_headings.back().Node == node)
        EndHeading();
}

void CTextCollector::EndHeading() {
    const SHeading heading = m_headings.back();
    m_headings.pop_back();
    EndBlock();
    std::string title;
    for (const char c : std::string_view(m_out).substr(heading.Start)) {
        if (IsSpace(c)) {
            if (!title.empty() && title.back() != ' ')
                title += ' ';
            continue;
        }
        title += c;
    }
    // Generated pages end their headings with a pilcrow that links to them.
    constexpr std::string_view Pilcrow = "\xC2\xB6";
    while (!title.empty() && (title.back() == ' ' || title.ends_with(Pilcrow)))
        title.resize(title.back() == ' ' ? title.size() - 1 : title.size() - Pilcrow.size());
    if (title.empty() || !m_contents)
        return;
    // A heading inside another ends first but begins later.
    const auto offset = static_cast<int32_t>(heading.Start);
    const auto at = std::upper_bound(
        m_contents->begin(), m_contents->end(), offset,
        [](int32_t start, const SChapter& chapter) { return start < chapter.Offset; });
    m_contents->insert(at, {std::move(title), offset, heading.Level});
}

bool CTextCollector::Open(const char* name, const xmlChar* const* attributes) {
    const EKind kind = KindOf(name);
    if (m_skipped > 0 || kind == EKind::Skipped) {
        ++m_skipped;
        return true;
    }
    Enter(kind);
    if (m_ids)
        NoteId(AttributeOf(attributes, "id"));
    const bool section = m_mode == EMode::FictionBook && std::strcmp(name, "section") == 0;
    const bool heading = BeginHeading(nullptr, HeadingLevel(name, m_sections));
    m_sections += section ? 1 : 0;
    m_open.push_back({kind, heading, section});
    return m_stop == EStop::None;
}

void CTextCollector::Close() {
    if (m_skipped > 0) {
        --m_skipped;
        return;
    }
    if (m_open.empty())
        return;
    const SOpen open = m_open.back();
    m_open.pop_back();
    m_sections -= open.Section ? 1 : 0;
    Leave(open.Kind);
    if (open.Heading)
        EndHeading();
}

bool CTextCollector::Characters(std::string_view text, bool continued) {
    if (m_skipped > 0)
        return true;
    m_return = m_return && continued;
    AddText(text);
    return m_stop == EStop::None;
}

void CTextCollector::Rewind(const SMark& mark) {
    m_out.resize(mark.Out);
    m_entityNodes = mark.EntityNodes;
    m_entityText = mark.EntityText;
    m_line.clear();
    m_space = false;
    m_return = false;
    m_pre = 0;
    m_stop = EStop::None;
    m_steps.clear();
    m_headings.clear();
    m_open.clear();
    m_skipped = 0;
    m_sections = 0;
    if (m_contents)
        std::erase_if(*m_contents, [&mark](const SChapter& chapter) {
            return static_cast<size_t>(chapter.Offset) >= mark.Out;
        });
}

bool CTextCollector::Finish() {
    EndBlock();
    return m_stop == EStop::None;
}

void CTextCollector::AddEntity(const xmlNode* node, bool inEntity) {
    const auto* entity = reinterpret_cast<const xmlEntity*>(node->children);
    if (entity && entity->etype == XML_INTERNAL_PREDEFINED_ENTITY && entity->content) {
        AddText(reinterpret_cast<const char*>(entity->content), inEntity);
        return;
    }
    if (entity && entity->etype == XML_INTERNAL_GENERAL_ENTITY && entity->content) {
        AddText(reinterpret_cast<const char*>(entity->content), true);
        return;
    }
    // XHTML names HTML's entities through a DTD that is never loaded.
    if (!entity && node->name) {
        if (const htmlEntityDesc* html = htmlEntityLookup(node->name)) {
            std::string text;
            AppendUtf8(text, html->value);
            AddText(text);
        }
    }
}

void CTextCollector::Enter(EKind kind) {
    if (kind == EKind::Block || kind == EKind::Pre)
        EndBlock();
    if (kind == EKind::Pre)
        ++m_pre;
    if (kind == EKind::Break) {
        m_line += '\n';
        m_space = false;
    }
}

void CTextCollector::Leave(EKind kind) {
    if (kind == EKind::Pre)
        --m_pre;
    if (kind == EKind::Block || kind == EKind::Pre)
        EndBlock();
    if (kind == EKind::Cell)
        m_space = true;
}

void CTextCollector::AddText(std::string_view text, bool fromEntity) {
    if (fromEntity) {
        m_entityText += text.size();
        if (m_entityText > MaxEntityText) {
            m_stop = EStop::EntitiesTooLarge;
            return;
        }
    }
    if (m_pre > 0) {
        // A line ends in a carriage return, a line feed or both.
        for (const char c : text) {
            const bool joined = c == '\n' && m_return;
            m_return = c == '\r';
            if (!joined)
                m_line += m_return ? '\n' : c;
        }
    } else {
        AddFlowing(text);
    }
    if (m_out.size() + m_line.size() > MaxText)
        m_stop = EStop::TextTooLarge;
}

void CTextCollector::AddFlowing(std::string_view text) {
    for (const char c : text) {
        if (IsSpace(c)) {
            m_space = true;
            continue;
        }
        if (m_space && !m_line.empty() && m_line.back() != '\n')
            m_line += ' ';
        m_space = false;
        m_line += c;
    }
}

void CTextCollector::EndBlock() {
    m_space = false;
    if (m_line.empty())
        return;
    if (m_out.size() + m_line.size() + 1 > MaxText) {
        m_stop = EStop::TextTooLarge;
        return;
    }
    m_out += m_line;
    m_out += '\n';
    m_line.clear();
}
