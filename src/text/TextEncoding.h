// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "text/TextConverter.h"

// The encodings Skimmet reads a text in, and how it holds each: UTF-8 and the
// single-byte code pages as the file's own bytes (so that stored positions keep their
// meaning), everything else converted to UTF-8 when read.
namespace TextEncoding {

inline constexpr std::string_view Utf8 = "UTF-8";
inline constexpr std::string_view Fallback = "windows-1252";
// Detection looks at no more of a text than this.
inline constexpr std::size_t DetectionLimit = 64 * 1024;

// Every encoding offered by name, in the order a menu lists them.
std::span<const std::string_view> Known();

// The name as Known() spells it, for any spelling iconv or uchardet uses
// ("WINDOWS-1251", "cp1251", "koi8r" ...); nullopt for an encoding not read.
std::optional<std::string_view> Canonical(std::string_view name);

// True when bytes are well-formed UTF-8 throughout (a character the way the cutter
// counts them: no overlong forms, surrogates or code points past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// True for UTF-8 and the single-byte code pages: the text is held as the file's bytes.
bool IsHeldAsBytes(std::string_view encoding);

struct SDetected {
    std::string_view Encoding;
    std::size_t BomLength = 0; // bytes of a byte-order mark at the start, not text
};

// A byte-order mark; else UTF-8 when the bytes are valid UTF-8 (a sequence cut at the
// end of head counts as valid); else what uchardet says; else windows-1252. Reads at
// most DetectionLimit bytes of head.
SDetected Detect(std::string_view head);

// The length of a byte-order mark of encoding at the start of bytes, 0 when none.
std::size_t BomLength(std::string_view bytes, std::string_view encoding);

// bytes in encoding as UTF-8; a sequence that cannot be converted becomes U+FFFD.
// nullopt when the encoding is not known to the system's converter.
std::optional<std::string> ToUtf8(std::string_view bytes, std::string_view encoding);

// ToUtf8 of a converted encoding (not UTF-8 itself) into out: the length written, or
// nullopt. The conversion stops as soon as it has written more than limit bytes, and
// grows out no further than a little past them: the length is then past limit.
std::optional<std::size_t> ToUtf8Into(std::string_view bytes, std::string_view encoding,
                                      IGrowingOutput& out, std::size_t limit = SIZE_MAX);

// How ToUtf8Into converts size bytes of encoding with limit, for a conversion made a
// piece at a time (CTextConverter from encoding to UTF-8).
CTextConverter::SOptions ConversionOptions(std::string_view encoding, std::size_t size,
                                           std::size_t limit);

// The other way, for text the reader types (stop symbols): nullopt when a character
// cannot be held in encoding.
std::optional<std::string> FromUtf8(std::string_view utf8, std::string_view encoding);

} // namespace TextEncoding
