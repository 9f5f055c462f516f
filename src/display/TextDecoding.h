// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstddef>
#include <string_view>

#include "text/TextEncoding.h"

// Bytes taken out of the text buffer, decoded for display: a text held in a single-byte
// code page by that encoding, anything else as UTF-8. A piece cut out of the middle of
// a UTF-8 text may start or end inside a multi-byte character: those broken halves are
// left out rather than shown as replacement marks. Other invalid bytes become U+FFFD.
QString DecodeCutText(std::string_view bytes, std::string_view encoding = TextEncoding::Utf8);

// The same, with every line break (CR LF, CR or LF) as one line feed: Qt breaks lines
// at line feeds only.
QString DecodeCutTextLines(std::string_view bytes, std::string_view encoding = TextEncoding::Utf8);

// The start of text that holds its first `characters` characters: UTF-8 code points in
// character mode (an invalid byte is one), bytes otherwise.
std::string_view LeadingCharacters(std::string_view text, std::size_t characters,
                                   bool characterMode);
