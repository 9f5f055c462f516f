// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

// The whole number at the start of text as the Windows profile calls read it: blanks
// (spaces and tabs), a sign, then digits up to the first other character. More digits
// than 32 bits hold wrap around modulo 2^32, so that a settings file means the same
// number to Skimmet as to those calls; no digits give 0.
int32_t ParseDecimal(std::string_view text);
