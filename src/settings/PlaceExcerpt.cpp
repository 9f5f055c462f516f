// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/PlaceExcerpt.h"

#include <algorithm>

namespace PlaceExcerpt {

std::string Take(std::string_view text, int32_t offset) {
    if (offset < 0 || static_cast<std::size_t>(offset) >= text.size())
        return {};
    return std::string(text.substr(static_cast<std::size_t>(offset), Length));
}

std::string Encode(std::string_view excerpt) {
    std::string form;
    for (const char c : excerpt) {
        switch (c) {
        case '\\':
            form += "\\\\";
            break;
        case '\n':
            form += "\\n";
            break;
        case '\r':
            form += "\\r";
            break;
        case '\t':
            form += "\\t";
            break;
        default:
            form += c;
        }
    }
    return form;
}

std::string Decode(std::string_view form) {
    std::string excerpt;
    for (std::size_t i = 0; i < form.size(); ++i) {
        char c = form[i];
        if (c == '\\' && ++i < form.size()) {
            c = form[i];
            if (c == 'n')
                c = '\n';
            else if (c == 'r')
                c = '\r';
            else if (c == 't')
                c = '\t';
        }
        excerpt += c;
    }
    return excerpt;
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
