// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// The text form of a settings value that holds control characters: line feed, carriage
// return and tab written as \n, \r and \t.
namespace SettingsText {

// Up to the first NUL. escapeBackslash writes a backslash as \\, so that any text reads
// back as it was; stop symbols are written without, as their files have them.
std::string Encode(std::string_view text, bool escapeBackslash);
// A backslash takes the next character (n, r and t name the control characters); a NUL
// in the form ends it, as it would end the string it came from.
std::string Decode(std::string_view form);

} // namespace SettingsText
