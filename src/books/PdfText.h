// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"

#include <optional>
#include <string>
#include <string_view>

// A PDF's text in reading order, in UTF-8: a page's lines run together into paragraphs,
// a line feed at every paragraph gap and at every page's end, words hyphenated at a line's
// end joined again. Progress comes at every page and every tenth of a second within one;
// nullopt with a message when Poppler cannot read the file, it is locked or a page takes
// longer than 10 s, nullopt with no message when cancelled.
// contents gets the document's outline: each title at the first line after the one before
// that is that title alone (a printed table of contents, which gives page numbers too, is
// passed over); a title the text does not hold is left out.
std::optional<std::string> ReadPdfText(std::string_view bytes, std::string& error,
                                       const BookText::Progress& progress,
                                       TableOfContents* contents = nullptr);
