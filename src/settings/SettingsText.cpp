// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsText.h"

namespace SettingsText {

std::string Encode(std::string_view text, bool escapeBackslash) {
    std::string form;
    for (const char c : text.substr(0, text.find('\0'))) {
        switch (c) {
        case '\n':
            form += "\\n";
            break;
        case '\r':
            form += "\\r";
            break;
        case '\t':
            form += "\\t";
            break;
        case '\\':
            form += escapeBackslash ? "\\\\" : "\\";
            break;
        default:
            form += c;
        }
    }
    return form;
}

std::string Decode(std::string_view form) {
    std::string text;
    for (std::size_t i = 0; i < form.size() && form[i] != '\0'; ++i) {
        char c = form[i];
        if (c == '\\') {
            if (++i == form.size())
                break;
            c = form[i];
            if (c == 'n')
                c = '\n';
            else if (c == 'r')
                c = '\r';
            else if (c == 't')
                c = '\t';
            else if (c == '\0')
                break;
        }
        text += c;
    }
    return text;
}

} // namespace SettingsText
