// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes read in a chosen encoding (the first byte picks it, 0 detects): the
// detection must name an encoding Skimmet reads, and the text as shown must be valid
// UTF-8 whatever the bytes.
#include "text/TextEncoding.h"

#include "FuzzCheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
// Valid UTF-8 reads back unchanged: the UTF-8 path replaces only what is invalid.
bool IsValidUtf8(const std::string& text) {
    const std::optional<std::string> again = TextEncoding::ToUtf8(text, TextEncoding::Utf8);
    return again && *again == text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const auto known = TextEncoding::Known();
    const TextEncoding::SDetected detected = TextEncoding::Detect(bytes);
    CHECK(TextEncoding::Canonical(detected.Encoding) == detected.Encoding);
    CHECK(detected.BomLength <= bytes.size());
    const std::string_view encoding =
        data[0] == 0 ? detected.Encoding : known[data[0] % known.size()];
    const std::optional<std::string> shown =
        TextEncoding::ToUtf8(bytes.substr(TextEncoding::BomLength(bytes, encoding)), encoding);
    CHECK(shown.has_value());
    CHECK(IsValidUtf8(*shown));
    // What the reader types in a code page comes back as typed.
    if (TextEncoding::IsHeldAsBytes(encoding)) {
        if (const std::optional<std::string> back = TextEncoding::FromUtf8(*shown, encoding))
            CHECK(TextEncoding::ToUtf8(*back, encoding) == shown);
    }
    return 0;
}
