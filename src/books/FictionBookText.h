// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace FictionBookText {

// The text of a FictionBook 2: its main body, then the bodies of notes; contents gets
// the main body's section titles, nested as the sections are.
std::optional<std::string> Read(std::string_view bytes, std::string& error,
                                const BookText::Progress& progress,
                                TableOfContents* contents = nullptr);
// The same of the one .fb2 a zip file holds.
std::optional<std::string> ReadZip(std::string_view bytes, std::string& error,
                                   const BookText::Progress& progress,
                                   TableOfContents* contents = nullptr);
// The name of the first .fb2 in a zip's list of names, empty if there is none.
std::string FindBookName(const std::vector<std::string>& names);

} // namespace FictionBookText
