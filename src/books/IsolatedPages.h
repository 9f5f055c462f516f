// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Pages read one after the other in a child process. Poppler cannot be stopped inside a
// page, and one page can cost it minutes and gigabytes (300,000 overlapping lines in a
// 136 KB file): the child is killed when a page takes longer than the limit, or when
// progress, asked at every page and every tenth of a second, says stop.
namespace IsolatedPages {

// A page's bytes, made in the child.
using ReadPage = std::function<std::string(int page)>;

// Every page's bytes in order; nullopt with a message naming the page when one takes
// longer than limit or the child fails, nullopt with no message when cancelled.
std::optional<std::vector<std::string>> Read(int count, const ReadPage& readPage,
                                             const BookText::Progress& progress,
                                             std::chrono::milliseconds limit, std::string& error);

} // namespace IsolatedPages
