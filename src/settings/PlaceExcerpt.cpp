// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PlaceExcerpt.h"

#include <algorithm>

namespace PlaceExcerpt {

std::string Take(std::string_view text, int32_t offset) {
    if (offset < 0 || static_cast<std::size_t>(offset) >= text.size())
        return {};
    return std::string(text.substr(static_cast<std::size_t>(offset), Length));
}

int32_t Relocate(std::string_view text, int32_t offset, std::string_view excerpt) {
    if (excerpt.empty() || offset < 0)
        return offset;
    const std::size_t at = std::min(static_cast<std::size_t>(offset), text.size());
    if (text.substr(at).starts_with(excerpt) && at == static_cast<std::size_t>(offset))
        return offset;
    const std::size_t from = at > SearchWindow ? at - SearchWindow : 0;
    const std::size_t to = std::min(text.size(), at + SearchWindow + excerpt.size());
    const std::string_view window = text.substr(from, to - from);
    const std::size_t after = window.find(excerpt, at - from);
    const std::size_t before = window.rfind(excerpt, at - from);
    std::size_t found = std::string_view::npos;
    if (after != std::string_view::npos)
        found = after;
    if (before != std::string_view::npos &&
        (found == std::string_view::npos || (at - from) - before < after - (at - from)))
        found = before;
    if (found == std::string_view::npos)
        return offset;
    return static_cast<int32_t>(from + found);
}

} // namespace PlaceExcerpt
