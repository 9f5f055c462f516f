// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/PdfText.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <gtest/gtest.h>

namespace {

// Pages of lines drawn one under the other; an empty line leaves a blank line's gap.
QByteArray WritePdf(const std::vector<std::vector<QString>>& pages) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    QPainter painter(&writer);
    painter.setFont(QFont("DejaVu Sans", 12));
    const int pitch = painter.fontMetrics().lineSpacing();
    for (size_t page = 0; page < pages.size(); ++page) {
        if (page > 0)
            writer.newPage();
        int y = 40;
        for (const QString& line : pages[page]) {
            painter.drawText(40, y, line);
            y += pitch;
        }
    }
    painter.end();
    return buffer.data();
}

std::optional<std::string> Read(const QByteArray& pdf, std::string& error,
                                const BookText::Progress& progress = {}) {
    return ReadPdfText({pdf.constData(), static_cast<size_t>(pdf.size())}, error, progress);
}

TEST(PdfText, TwoPages_ParagraphsJoinedHyphensMendedPagesEndInLineFeeds) {
    const QByteArray pdf = WritePdf({{"The quick brown fox", "jumps over the lazy", "dog and runs away.",
                                      "", "A second para-", "graph ends here."},
                                     {"Mid-", "Atlantic crossing", "takes a week."}});
    std::string error;
    std::vector<std::pair<uint64_t, uint64_t>> calls;
    const auto text = Read(pdf, error, [&](uint64_t done, uint64_t total) {
        calls.emplace_back(done, total);
        return true;
    });
    ASSERT_TRUE(text) << error;
    EXPECT_EQ(*text, "The quick brown fox jumps over the lazy dog and runs away.\n"
                     "A second paragraph ends here.\n"
                     "Mid- Atlantic crossing takes a week.\n");
    EXPECT_EQ(calls, (std::vector<std::pair<uint64_t, uint64_t>>{{1, 2}, {2, 2}}));
}

} // namespace
