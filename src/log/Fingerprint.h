// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

// What tells a text apart wherever its file lies: the SHA-1, in hex, of the text's
// length in bytes as held (UTF-8) written in decimal, then its first 64 KiB, then its
// last 64 KiB. A text is hashed alike from any folder and in any encoding its file is
// read in; reading a large book's ends costs no more than a small text's whole.
std::string TextFingerprint(std::string_view text);
