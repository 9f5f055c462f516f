// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/TextEncoding.h"

#include "text/Utf8.h"

#include <uchardet.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <iconv.h>
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

// Room past a conversion's limit for the longest sequence or replacement written at once.
constexpr std::size_t Slack = 64;
constexpr std::size_t NoLimit = SIZE_MAX - Slack;

std::size_t UnitSize(std::string_view encoding) {
    if (encoding.starts_with("UTF-32"))
        return 4;
    return encoding.starts_with("UTF-16") ? 2 : 1;
}

// A string as the memory a conversion writes into (it is filled as it grows, which small
// conversions do not mind).
class CStringOutput final : public IGrowingOutput {
public:
    explicit CStringOutput(std::string& out) : Out(out) {}
    char* Grow(std::size_t size) override {
        Out.resize(size);
        return Out.data();
    }

private:
    std::string& Out;
};

class CConverter {
public:
    CConverter(std::string_view to, std::string_view from)
        : Handle(::iconv_open(std::string(to).c_str(), std::string(from).c_str())) {}
    ~CConverter() {
        if (IsValid())
            ::iconv_close(Handle);
    }
    CConverter(const CConverter&) = delete;
    CConverter& operator=(const CConverter&) = delete;
    bool IsValid() const { return Handle != reinterpret_cast<iconv_t>(-1); }

    // Converts all of bytes into out. An input sequence that cannot be converted is
    // replaced by replacement (and skipping bytes of step), or, without a
    // replacement, fails the conversion.
    bool Convert(std::string_view bytes, std::string& out, std::string_view replacement,
                 std::size_t step) {
        CStringOutput output(out);
        const std::optional<std::size_t> used =
            ConvertInto(bytes, output, replacement, step, NoLimit);
        out.resize(used.value_or(0));
        return used.has_value();
    }

    // The same into memory grown as needed, up to a little past limit: the length
    // written, past limit when the conversion stopped there; nullopt when it failed.
    std::optional<std::size_t> ConvertInto(std::string_view bytes, IGrowingOutput& out,
                                           std::string_view replacement, std::size_t step,
                                           std::size_t limit) {
        std::size_t capacity = std::min(bytes.size() + bytes.size() / 2 + 16, limit + Slack);
        char* data = out.Grow(capacity);
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        std::size_t used = 0;
        bool overLimit = false;
        const auto grow = [&] {
            overLimit = capacity > limit;
            capacity = std::min(capacity * 2, limit + Slack);
            data = overLimit ? data : out.Grow(capacity);
            return !overLimit && data != nullptr;
        };
        while (data && !overLimit && inLeft > 0) {
            char* to = data + used;
            std::size_t outLeft = capacity - used;
            const std::size_t result = ::iconv(Handle, &in, &inLeft, &to, &outLeft);
            used = capacity - outLeft;
            if (result != static_cast<std::size_t>(-1))
                break;
            if (errno == E2BIG) {
                grow();
                continue;
            }
            if (replacement.empty())
                return std::nullopt;
            // EILSEQ, or EINVAL for a sequence cut by the end of the text.
            if (capacity - used < replacement.size() + 16 && !grow())
                continue;
            std::memcpy(data + used, replacement.data(), replacement.size());
            used += replacement.size();
            const std::size_t skip = std::min(inLeft, step);
            in += skip;
            inLeft -= skip;
            ::iconv(Handle, nullptr, nullptr, nullptr, nullptr);
        }
        if (!data)
            return std::nullopt;
        return overLimit ? std::max(used, limit + 1) : used;
    }

private:
    iconv_t Handle;
};

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
    std::string out;
    if (encoding == Utf8) {
        // Held as it is; only what cannot be shown is replaced.
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t length = ::Utf8::WellFormedLength(bytes.substr(at));
            out.append(length ? bytes.substr(at, length) : Replacement);
            at += length ? length : 1;
        }
        return out;
    }
    CConverter converter("UTF-8", encoding);
    if (!converter.IsValid() || !converter.Convert(bytes, out, Replacement, UnitSize(encoding)))
        return std::nullopt;
    return out;
}

std::optional<std::size_t> ToUtf8Into(std::string_view bytes, std::string_view encoding,
                                      IGrowingOutput& out, std::size_t limit) {
    CConverter converter("UTF-8", encoding);
    if (!converter.IsValid())
        return std::nullopt;
    return converter.ConvertInto(bytes, out, Replacement, UnitSize(encoding),
                                 std::min(limit, NoLimit));
}

std::optional<std::string> FromUtf8(std::string_view utf8, std::string_view encoding) {
    if (encoding == Utf8)
        return IsValidUtf8(utf8) ? std::optional<std::string>(utf8) : std::nullopt;
    CConverter converter(encoding, "UTF-8");
    std::string out;
    if (!converter.IsValid() || !converter.Convert(utf8, out, {}, 1))
        return std::nullopt;
    return out;
}

} // namespace TextEncoding
