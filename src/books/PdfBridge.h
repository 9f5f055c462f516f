// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"

#include <optional>
#include <string>
#include <string_view>

// The text of a PDF's pages (defined with the PDF reader, PdfText.cpp).
std::optional<std::string> ReadPdfText(std::string_view bytes, std::string& error,
                                       const BookText::Progress& progress);
