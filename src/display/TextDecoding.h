#pragma once

#include <QString>

#include <string_view>

// Bytes taken out of the text buffer, decoded as UTF-8 for display. A piece cut out of
// the middle of a text may start or end inside a multi-byte character: those broken
// halves are left out rather than shown as replacement marks. Other invalid bytes
// become U+FFFD.
QString DecodeCutText(std::string_view bytes);

// The same, with every line break (CR LF, CR or LF) as one line feed: Qt breaks lines
// at line feeds only.
QString DecodeCutTextLines(std::string_view bytes);
