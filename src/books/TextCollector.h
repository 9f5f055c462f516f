// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"

#include <libxml/tree.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Turns parsed HTML or FictionBook into the book's text: a line per block, white space
// collapsed, so that the same book always gives the same text and the same positions.
// It takes a parsed tree (Add) or, with no tree kept, the elements and text a parser
// reports as it reads (Open, Close, Characters, Finish): both give the same text.
class CTextCollector {
public:
    enum class EMode { Html, FictionBook };

    CTextCollector(std::string& out, EMode mode) : m_out(out), m_mode(mode) {}

    // Adds the text of the node and all below it; false once the text is over the cap or
    // its entities expand beyond theirs, Refusal() saying which.
    bool Add(const xmlNode* node);
    // A tree that a parser is still building, collected as it grows: an element as it
    // begins (false when it is skipped: nothing below it is added), each node below it once
    // that node is finished, and the element as it ends. False from AddFinished once the
    // text is over its cap or its entities expand beyond theirs.
    bool Begin(const xmlNode* element);
    bool AddFinished(const xmlNode* node);
    void End(const xmlNode* element);

    // Where the text stands between blocks, to go back to when what is collected after it
    // is not the book's: a parse that fails part way.
    struct SMark {
        size_t Out;
        size_t EntityNodes;
        size_t EntityText;
    };
    SMark Mark() const { return {m_out.size(), m_entityNodes, m_entityText}; }
    void Rewind(const SMark& mark);

    // Why Add, AddFinished or Finish refused, in the words of a message to the reader.
    const char* Refusal() const;

    // An element begins: its name without a prefix and its attributes as name and value
    // pairs ending in a null name. False once the text is over its cap.
    bool Open(const char* name, const xmlChar* const* attributes);
    // The element opened last ends.
    void Close();
    // Text; continued when it carries on the text of the call before, with nothing between.
    bool Characters(std::string_view text, bool continued);
    // The end of what was opened; false once the text is over its cap.
    bool Finish();

    // From now on, the headings read (HTML's h1 to h3, FictionBook's section titles) are
    // added to contents; null stops it.
    void CollectHeadings(TableOfContents* contents) { m_contents = contents; }
    // From now on, where each element with an id begins in the text, by its id; null
    // stops it.
    void CollectIds(std::unordered_map<std::string, int32_t>* ids) { m_ids = ids; }
    // Where the next text added begins.
    int32_t Offset() const;

    static constexpr size_t MaxText = size_t{1} << 30;
    // An entity's content is kept once but walked at every reference: what all references
    // together produce is bounded, not how many there are.
    static constexpr size_t MaxEntityNodes = 1'000'000;
    static constexpr size_t MaxEntityText = size_t{64} << 20;

private:
    enum class EKind { Skipped, Block, Pre, Cell, Break, Inline };
    enum class EStop { None, TextTooLarge, EntitiesTooLarge };

    struct SStep {
        const xmlNode* Node;
        bool Leaving;
        bool InEntity;
    };

    // A heading being read: its element in a tree, null when the elements are reported.
    struct SHeading {
        const xmlNode* Node;
        size_t Start;
        int Level;
    };

    // An element Open began and Close ends.
    struct SOpen {
        EKind Kind;
        bool Heading;
        bool Section;
    };

    EKind KindOf(const char* name) const;
    // How deep a heading the element is, below that many sections; -1 for none.
    int HeadingLevel(const char* name, int sections) const;
    void EnterElement(const xmlNode* node);
    void LeaveElement(const xmlNode* node);
    void NoteId(std::string id);
    // False when the element is no heading or the headings are not collected.
    bool BeginHeading(const xmlNode* node, int level);
    void EndHeading();
    void Enter(EKind kind);
    void Leave(EKind kind);
    // The children of an element, document or entity, to be walked next.
    void Push(const xmlNode* last, bool inEntity);
    // Walks one node; one inside an entity counts against the entities' cap.
    void Step(const xmlNode* node, bool inEntity);
    // Text from an entity counts against the entities' cap.
    void AddText(std::string_view text, bool fromEntity = false);
    void AddFlowing(std::string_view text);
    void AddEntity(const xmlNode* node, bool inEntity);
    void EndBlock();

    std::string& m_out;
    const EMode m_mode;
    std::string m_line;
    bool m_space = false;
    // The last character added to preformatted text was a carriage return.
    bool m_return = false;
    int m_pre = 0;
    EStop m_stop = EStop::None;
    std::vector<SStep> m_steps;
    size_t m_entityNodes = 0;
    size_t m_entityText = 0;
    TableOfContents* m_contents = nullptr;
    std::unordered_map<std::string, int32_t>* m_ids = nullptr;
    std::vector<SHeading> m_headings;
    std::vector<SOpen> m_open;
    // How many open elements are skipped or inside one, and how many are sections.
    size_t m_skipped = 0;
    int m_sections = 0;
};
