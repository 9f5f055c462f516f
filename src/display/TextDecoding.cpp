// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TextDecoding.h"

#include "text/Utf8.h"

#include <cstddef>
#include <optional>
#include <string>

namespace {
constexpr auto MaxSequence = static_cast<std::size_t>(Utf8::MaxCharacterBytes);

std::string_view DropCutStart(std::string_view bytes) {
    std::size_t skip = 0;
    while (skip < bytes.size() && skip < MaxSequence - 1 &&
           Utf8::IsContinuation(static_cast<unsigned char>(bytes[skip])))
        ++skip;
    return bytes.substr(skip);
}

std::string_view DropCutEnd(std::string_view bytes) {
    // Find the last byte that is not a continuation, within one sequence of the end.
    for (std::size_t back = 1; back <= MaxSequence && back <= bytes.size(); ++back) {
        const std::size_t at = bytes.size() - back;
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (Utf8::IsContinuation(byte))
            continue;
        // A byte that begins no sequence announces 1 and decodes to U+FFFD on its own.
        const auto length = static_cast<std::size_t>(Utf8::AnnouncedLength(byte));
        return length > back ? bytes.substr(0, at) : bytes;
    }
    return bytes;
}
} // namespace

std::string_view LeadingCharacters(std::string_view text, std::size_t characters,
                                   bool characterMode) {
    if (!characterMode)
        return text.substr(0, characters);
    // Characters as the cutter counts them, so that a preview of n characters is what
    // a unit of n characters would hold.
    std::size_t at = 0;
    for (std::size_t count = 0; count < characters && at < text.size(); ++count) {
        at += static_cast<std::size_t>(Utf8::LengthAtStart(text.substr(at)));
    }
    return text.substr(0, at);
}

QString DecodeCutText(std::string_view bytes, std::string_view encoding) {
    if (!encoding.empty() && encoding != TextEncoding::Utf8 &&
        TextEncoding::IsHeldAsBytes(encoding)) {
        if (const std::optional<std::string> utf8 = TextEncoding::ToUtf8(bytes, encoding))
            return QString::fromStdString(*utf8);
    }
    const std::string_view whole = DropCutEnd(DropCutStart(bytes));
    return QString::fromUtf8(whole.data(), static_cast<qsizetype>(whole.size()));
}

QString DecodeCutTextLines(std::string_view bytes, std::string_view encoding) {
    QString text = DecodeCutText(bytes, encoding);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
