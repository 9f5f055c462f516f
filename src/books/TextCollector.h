// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libxml/tree.h>

#include <cstddef>
#include <string>
#include <string_view>

// Turns parsed HTML or FictionBook into the book's text: a line per block, white space
// collapsed, so that the same book always gives the same text and the same positions.
class CTextCollector {
public:
    enum class EMode { Html, FictionBook };

    CTextCollector(std::string& out, EMode mode) : m_out(out), m_mode(mode) {}

    // Adds the text of the node and all below it; false once the text is over the cap.
    bool Add(const xmlNode* node);

    static constexpr size_t MaxText = size_t{1} << 30;

private:
    enum class EKind { Skipped, Block, Pre, Cell, Break, Inline };

    EKind KindOf(const xmlNode* node) const;
    void Enter(EKind kind);
    void Leave(EKind kind);
    void AddText(std::string_view text);
    void AddFlowing(std::string_view text);
    void AddEntity(const xmlNode* node);
    void EndBlock();

    std::string& m_out;
    const EMode m_mode;
    std::string m_line;
    bool m_space = false;
    int m_pre = 0;
    bool m_overflow = false;
};
