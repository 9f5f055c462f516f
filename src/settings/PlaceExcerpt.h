// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// A few bytes of the text at a stored place, kept beside it, so that the place can be
// found again in a text that changed since (lines added above it, a book read anew).
namespace PlaceExcerpt {

inline constexpr std::size_t Length = 24;
// How far from the stored offset the excerpt is looked for, either way.
inline constexpr std::size_t SearchWindow = std::size_t{1} << 20;

// The excerpt of text at offset: at most Length bytes, none past the text.
std::string Take(std::string_view text, int32_t offset);
// Where the excerpt stands now: offset when it still stands there (or is empty), else
// its nearest occurrence within SearchWindow either way, else offset.
int32_t Relocate(std::string_view text, int32_t offset, std::string_view excerpt);

} // namespace PlaceExcerpt
