// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TextDecoding.h"

#include <gtest/gtest.h>

namespace {
// A character cut at either end is left out, at most one character's worth; other bad
// bytes are marked.
TEST(DecodeCutTextTest, BadBytes_CutCharactersLeftOutOthersMarked) {
    const QString bad(QChar(0xFFFD));
    const struct {
        const char* Name;
        std::string Bytes;
        QString Expected;
    } rows[] = {{"whole", "caf\xC3\xA9", "caf\xC3\xA9"},
                {"cut at the end", "x\xE2\x82", "x"},
                {"cut at the start", "\xA9tude", "tude"},
                {"bad byte", "a\xFF", "a" + bad},
                {"more than a character's worth", "\x80\x80\x80\x80z", bad + "z"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(DecodeCutText(row.Bytes), row.Expected);
    }
}
} // namespace
