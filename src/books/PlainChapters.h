// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"

#include <string_view>

// The chapters of a plain text, by a conservative rule: a heading is a short line between
// empty lines (or the text's ends) that begins with a chapter word ("Chapter", "Part",
// "Book", "Глава", "Часть", "Kapitel", "Chapitre", "Capítulo", capitalised or in capitals)
// and a number: digits, a Roman numeral or an English number word up to twenty; or
// "第", a number in digits or Chinese numerals, and "章". Anything else is text, so a
// line that merely mentions a chapter never becomes one.
namespace PlainChapters {

// Headings are at most this many bytes long.
inline constexpr std::size_t MaxHeadingBytes = 100;

// Whether line (without its line break) is a heading by the rule, its surroundings aside.
bool IsHeading(std::string_view line);

// Every heading of a UTF-8 text with empty lines around it, as level-0 entries.
TableOfContents Find(std::string_view text);

} // namespace PlainChapters
