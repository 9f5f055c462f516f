#include "view/UnitLayout.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {
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
