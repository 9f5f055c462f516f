#include "view/TextDecoding.h"
#include "view/UnitLayout.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <string>

namespace {
TEST(DecodeCutTextTest, CutCharactersLeftOutOthersDecoded) {
    const QString e = QString::fromUtf8("\xC3\xA9");            // two bytes
    const QString euro = QString::fromUtf8("\xE2\x82\xAC");     // three bytes
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80"); // four bytes
    const QChar bad(0xFFFD);
    struct Case {
        std::string Bytes;
        QString Expected;
    };
    const Case cases[] = {
        {"", ""},
        {"plain", "plain"},
        {"caf\xC3\xA9", "caf" + e},
        {"caf\xC3", "caf"}, // cut after the lead byte
        {"x\xE2\x82", "x"}, // cut inside three bytes
        {"x\xE2\x82\xAC", "x" + euro},
        {"x\xF0\x9F\x98", "x"}, // cut inside four bytes
        {"\xA9tude", "tude"},   // started inside a character
        {"\x82\xAC.", "."},
        {"\x9F\x98\x80 ok", " ok"},
        {"\xF0\x9F\x98\x80", face},
        {"a\xFF"
         "b",
         "a" + QString(bad) + "b"},                // invalid in the middle
        {"\x80\x80\x80\x80z", QString(bad) + "z"}, // at most one character's worth dropped
        {"\xC3", ""},
        {"ab\xF8", "ab" + QString(bad)}, // no lead byte of any length
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeCutText(c.Bytes), c.Expected) << c.Bytes;
}

// The layout must measure exactly as Qt's own word-wrapped text drawing does, so that
// a unit drawn from it lands in the rectangle the platform would compute.
TEST(UnitLayoutTest, Size_MatchesQtWordWrappedBoundingRect) {
    const char* const texts[] = {
        "It was ",
        "late, and ",
        "The clock on the wall struck twelve and then again, ",
        "Incomprehensibilities everywhere",
        "ab Incomprehensibilities",
        "Hello\nWorld",
        "x",
        "  leading and trailing  ",
    };
    const int widths[] = {0, 40, 100, 150, 600, 5000};
    for (const int pixels : {13, 20, 48}) {
        QFont font("DejaVu Sans");
        font.setPixelSize(pixels);
        font.setWeight(QFont::Bold);
        const QFontMetrics metrics(font);
        for (const char* text : texts) {
            for (const int width : widths) {
                const QSize expected =
                    metrics
                        .boundingRect(QRect(0, 0, width, 1 << 24),
                                      Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text)
                        .size();
                EXPECT_EQ(CUnitLayout(text, font, width).Size(), expected)
                    << '"' << text << "\" width " << width << " px " << pixels;
            }
        }
    }
}
} // namespace
