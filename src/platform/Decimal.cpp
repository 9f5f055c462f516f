// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Decimal.h"

int32_t ParseDecimal(std::string_view text) {
    std::size_t at = text.find_first_not_of(" \t");
    if (at == std::string_view::npos)
        return 0;
    bool negative = false;
    if (text[at] == '+' || text[at] == '-') {
        negative = text[at] == '-';
        ++at;
    }
    // Unsigned arithmetic wraps, which gives the 32-bit wrap of the value read.
    uint32_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at)
        value = value * 10U + static_cast<uint32_t>(text[at] - '0');
    return static_cast<int32_t>(negative ? 0U - value : value);
}
