// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/TextEncoding.h"

#include "text/TextConverter.h"
#include "text/Utf8.h"

#include <uchardet.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace TextEncoding {
namespace {

constexpr std::array<std::string_view, 15> Names{
    "UTF-8",        "UTF-16LE", "UTF-16BE", "UTF-32LE",   "UTF-32BE",
    "windows-1251", "KOI8-R",   "IBM866",   "ISO-8859-5", "windows-1252",
    "Shift_JIS",    "GB18030",  "Big5",     "EUC-KR",     "EUC-JP"};

constexpr std::array<std::string_view, 6> HeldAsBytes{"UTF-8",  "windows-1251", "KOI8-R",
                                                      "IBM866", "ISO-8859-5",   "windows-1252"};

struct SAlias {
    std::string_view Spelling; // lower case, without '-' and '_'
    std::string_view Name;
};
constexpr std::array<SAlias, 12> Aliases{{{"cp1251", "windows-1251"},
                                          {"cp1252", "windows-1252"},
                                          {"cp866", "IBM866"},
                                          {"koi8", "KOI8-R"},
                                          {"sjis", "Shift_JIS"},
                                          {"cp932", "Shift_JIS"},
                                          {"gbk", "GB18030"},
                                          {"gb2312", "GB18030"},
                                          {"big5hkscs", "Big5"},
                                          {"uhc", "EUC-KR"},
                                          {"ascii", "UTF-8"},
                                          {"usascii", "UTF-8"}}};

constexpr std::string_view Replacement = "\xEF\xBF\xBD";

std::string Folded(std::string_view name) {
    std::string folded;
    for (const char c : name) {
        if (c == '-' || c == '_')
            continue;
        folded += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return folded;
}

// head without a character that the detection limit may have cut (up to the last three
// bytes go unchecked, which cannot make invalid bytes pass for a whole text).
std::string_view WithoutCutEnd(std::string_view head) {
    for (std::size_t back = 1; back < ::Utf8::MaxCharacterBytes && back <= head.size(); ++back) {
        const auto byte = static_cast<unsigned char>(head[head.size() - back]);
        if (!::Utf8::IsContinuation(byte))
            return byte >= 0xC0 ? head.substr(0, head.size() - back) : head;
    }
    return head;
}

struct SBom {
    std::string_view Bytes;
    std::string_view Encoding;
};
// UTF-32 LE before UTF-16 LE: its mark begins with the other's.
constexpr std::array<SBom, 5> Boms{{{"\xEF\xBB\xBF", "UTF-8"},
                                    {std::string_view("\xFF\xFE\0\0", 4), "UTF-32LE"},
                                    {std::string_view("\0\0\xFE\xFF", 4), "UTF-32BE"},
                                    {"\xFF\xFE", "UTF-16LE"},
                                    {"\xFE\xFF", "UTF-16BE"}}};

std::size_t UnitSize(std::string_view encoding) {
    if (encoding.starts_with("UTF-32"))
        return 4;
    return encoding.starts_with("UTF-16") ? 2 : 1;
}

// All of bytes converted into out; a sequence that cannot be converted is replaced by
// replacement (skipping step bytes of it), or, without a replacement, fails it.
std::optional<std::string> Converted(std::string_view to, std::string_view from,
                                     std::string_view bytes, std::string_view replacement,
                                     std::size_t step) {
    std::string out;
    CStringOutput output(out);
    CTextConverter converter(to, from, output,
                             {replacement, step, SIZE_MAX, bytes.size() + bytes.size() / 2 + 16});
    if (!converter.Add(bytes, true))
        return std::nullopt;
    out.resize(converter.Written());
    return out;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    // The cutter's own notion of a character, so that what detection calls UTF-8 is what
    // the cutter reads as such.
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = ::Utf8::WellFormedLength(bytes.substr(at));
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

std::span<const std::string_view> Known() {
    return Names;
}

std::optional<std::string_view> Canonical(std::string_view name) {
    const std::string folded = Folded(name);
    for (const std::string_view known : Names) {
        if (Folded(known) == folded)
            return known;
    }
    for (const SAlias& alias : Aliases) {
        if (alias.Spelling == folded)
            return alias.Name;
    }
    return std::nullopt;
}

bool IsHeldAsBytes(std::string_view encoding) {
    for (const std::string_view held : HeldAsBytes) {
        if (held == encoding)
            return true;
    }
    return false;
}

std::size_t BomLength(std::string_view bytes, std::string_view encoding) {
    for (const SBom& bom : Boms) {
        if (bom.Encoding == encoding && bytes.starts_with(bom.Bytes))
            return bom.Bytes.size();
    }
    return 0;
}

SDetected Detect(std::string_view head) {
    head = head.substr(0, DetectionLimit);
    for (const SBom& bom : Boms) {
        if (head.starts_with(bom.Bytes))
            return {bom.Encoding, bom.Bytes.size()};
    }
    if (IsValidUtf8(head.size() == DetectionLimit ? WithoutCutEnd(head) : head))
        return {Utf8, 0};
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(
        uchardet_new(), &uchardet_delete);
    if (detector && uchardet_handle_data(detector.get(), head.data(), head.size()) == 0) {
        uchardet_data_end(detector.get());
        if (const std::optional<std::string_view> name =
                Canonical(uchardet_get_charset(detector.get()));
            name && *name != Utf8)
            return {*name, 0};
    }
    return {Fallback, 0};
}

std::optional<std::string> ToUtf8(std::string_view bytes, std::string_view encoding) {
    if (encoding == Utf8) {
        // Held as it is; only what cannot be shown is replaced.
        std::string out;
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t length = ::Utf8::WellFormedLength(bytes.substr(at));
            out.append(length ? bytes.substr(at, length) : Replacement);
            at += length ? length : 1;
        }
        return out;
    }
    return Converted(Utf8, encoding, bytes, Replacement, UnitSize(encoding));
}

std::optional<std::size_t> ToUtf8Into(std::string_view bytes, std::string_view encoding,
                                      IGrowingOutput& out, std::size_t limit) {
    CTextConverter converter(Utf8, encoding, out, ConversionOptions(encoding, bytes.size(), limit));
    if (!converter.Add(bytes, true))
        return std::nullopt;
    return converter.Written();
}

CTextConverter::SOptions ConversionOptions(std::string_view encoding, std::size_t size,
                                           std::size_t limit) {
    return {Replacement, UnitSize(encoding), limit, size + size / 2 + 16};
}

std::optional<std::string> FromUtf8(std::string_view utf8, std::string_view encoding) {
    if (encoding == Utf8)
        return IsValidUtf8(utf8) ? std::optional<std::string>(utf8) : std::nullopt;
    return Converted(encoding, Utf8, utf8, {}, 1);
}

} // namespace TextEncoding
