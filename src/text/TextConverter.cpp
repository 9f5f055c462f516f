// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/TextConverter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

namespace {
// Room past the limit for the longest sequence or replacement written at once.
constexpr std::size_t Slack = 64;
// Room kept free for a replacement and the sequence converted after it.
constexpr std::size_t ReplacementRoom = 16;
} // namespace

CTextConverter::CTextConverter(std::string_view to, std::string_view from,
                               TextEncoding::IGrowingOutput& out, const SOptions& options)
    : Handle(::iconv_open(std::string(to).c_str(), std::string(from).c_str())), Out(out),
      Options(options) {
    Options.Limit = std::min(Options.Limit, SIZE_MAX - Slack);
    Options.Step = std::max<std::size_t>(Options.Step, 1);
}

CTextConverter::~CTextConverter() {
    if (IsValid())
        ::iconv_close(Handle);
}

bool CTextConverter::Start() {
    Capacity = std::min(std::max<std::size_t>(Options.Expected, 16), Options.Limit + Slack);
    Output = Out.Grow(Capacity);
    Failed = Output == nullptr;
    return !Failed;
}

bool CTextConverter::Grow() {
    OverLimit = Capacity > Options.Limit;
    if (OverLimit)
        return false;
    Capacity = std::min(Capacity * 2, Options.Limit + Slack);
    Output = Out.Grow(Capacity);
    Failed = Output == nullptr;
    return !Failed;
}

std::optional<std::size_t> CTextConverter::Add(std::string_view piece, bool last) {
    if (!IsValid() || Failed || (!Output && !Start()))
        return std::nullopt;
    char* in = const_cast<char*>(piece.data());
    std::size_t inLeft = piece.size();
    while (!Failed && !OverLimit && inLeft > 0) {
        char* to = Output + Used;
        std::size_t outLeft = Capacity - Used;
        const std::size_t result = ::iconv(Handle, &in, &inLeft, &to, &outLeft);
        Used = Capacity - outLeft;
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            Grow();
            continue;
        }
        // A sequence cut by the end of a piece that is not the last: the next completes it.
        if (errno == EINVAL && !last)
            break;
        if (Options.Replacement.empty())
            return std::nullopt;
        // EILSEQ, or EINVAL for a sequence cut by the end of the text.
        if (Capacity - Used < Options.Replacement.size() + ReplacementRoom && !Grow())
            continue;
        std::memcpy(Output + Used, Options.Replacement.data(), Options.Replacement.size());
        Used += Options.Replacement.size();
        const std::size_t skip = std::min(inLeft, Options.Step);
        in += skip;
        inLeft -= skip;
        ::iconv(Handle, nullptr, nullptr, nullptr, nullptr);
    }
    if (Failed)
        return std::nullopt;
    return piece.size() - inLeft;
}

std::size_t CTextConverter::Written() const {
    return OverLimit ? std::max(Used, Options.Limit + 1) : Used;
}
