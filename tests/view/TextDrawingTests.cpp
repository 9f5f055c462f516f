// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/TextDecoding.h"
#include "view/UnitLayout.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {
// A character cut at either end is left out, at most one character's worth; other bad
// bytes are marked.
TEST(DecodeCutTextTest, CutCharactersLeftOutOthersDecoded) {
    const QString bad(QChar(0xFFFD));
    for (const auto& [bytes, expected] :
         {std::pair<std::string, QString>{"caf\xC3\xA9", "caf\xC3\xA9"},
          {"x\xE2\x82", "x"},
          {"\xA9tude", "tude"},
          {"a\xFF", "a" + bad},
          {"\x80\x80\x80\x80z", bad + "z"}})
        EXPECT_EQ(DecodeCutText(bytes), expected) << bytes;
}

// A unit drawn from the layout must land in the rectangle Qt's word-wrapped drawing takes.
TEST(UnitLayoutTest, Size_MatchesQtWordWrappedBoundingRect) {
    QFont font("DejaVu Sans");
    font.setPixelSize(20);
    const QFontMetrics metrics(font);
    for (const char* text : {"late, and ", "Incomprehensibilities everywhere", "Hello\nWorld"})
        for (const int width : {0, 40, 150, 5000}) {
            const QRect bounds = metrics.boundingRect(
                QRect(0, 0, width, 1 << 24), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
            EXPECT_EQ(CUnitLayout(text, font, width).Size(), bounds.size()) << text << width;
        }
}
} // namespace
