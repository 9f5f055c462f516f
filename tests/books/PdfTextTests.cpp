// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/PdfText.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

// Pages of lines one under the other, an empty line leaving a blank line's gap. The bottom
// line is drawn first: only reading order, not drawing order, gives the text back. A tab
// starts a table's next cell, or the right column, 250 points on; a '|' draws the next
// word on its own after a wide gap, as justified lines and section numbers are.
QByteArray WritePdf(const std::vector<std::vector<QString>>& pages) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    QPainter painter(&writer);
    painter.setFont(QFont("DejaVu Sans", 10));
    const int pitch = painter.fontMetrics().lineSpacing();
    for (size_t page = 0; page < pages.size(); ++page) {
        if (page > 0)
            writer.newPage();
        for (size_t line = pages[page].size(); line-- > 0;) {
            const int y = 40 + static_cast<int>(line) * pitch;
            const QStringList cells = pages[page][line].split('\t');
            for (int cell = 0; cell < cells.size(); ++cell) {
                int x = 40 + cell * 250;
                for (const QString& word : cells[cell].split('|')) {
                    painter.drawText(x, y, word);
                    x += painter.fontMetrics().horizontalAdvance(word) + 8;
                }
            }
        }
    }
    painter.end();
    return buffer.data();
}

std::optional<std::string> Read(const QByteArray& pdf, std::string& error,
                                const BookText::Progress& progress = {}) {
    return ReadPdfText({pdf.constData(), static_cast<size_t>(pdf.size())}, error, progress);
}

// Lines joined, paragraph gaps kept, a page ending its paragraph unless its sentence runs
// on. A line-end hyphen joins a word the document never writes with it, and stays in one
// it does (and between a small letter and a capital).
TEST(PdfText, Read_Pages_GiveTheTextInReadingOrder) {
    const QByteArray pdf =
        WritePdf({{"The quick brown fox", "jumps over the lazy", "dog and runs"},
                  {"away.", "", "A second para-", "graph ends here. Its floating-"},
                  {"point numbers are floating-point."},
                  {"Mid-", "Atlantic crossing", "takes a week."}});
    std::string error;
    const auto text = Read(pdf, error);
    ASSERT_TRUE(text) << error;
    EXPECT_EQ(*text, "The quick brown fox jumps over the lazy dog and runs away.\n"
                     "A second paragraph ends here. Its floating-point numbers are "
                     "floating-point.\n"
                     "Mid-Atlantic crossing takes a week.\n");
}

// Words apart wherever the page sets them apart; two columns of text read one after the
// other, a table row by row.
TEST(PdfText, Read_Layouts_KeepWordsApartInReadingOrder) {
    std::vector<QString> columns;
    for (int row = 1; row <= 8; ++row)
        columns.push_back(QString("Left column line number %1\tright %1").arg(row));
    std::string left;
    std::string right;
    for (int row = 1; row <= 8; ++row) {
        left += " Left column line number " + std::to_string(row);
        right += " right " + std::to_string(row);
    }
    const struct {
        const char* Name;
        std::vector<QString> Lines;
        std::string Text;
    } rows[] = {
        {"justified",
         {"and|walked|exactly.|The|currently|supported"},
         "and walked exactly. The currently supported\n"},
        {"section number", {"1.1|Social", "", "Text."}, "1.1 Social\nText.\n"},
        {"table",
         {"Feature\tSample", "Ligatures\tfi", "Kerning\tAV"},
         "Feature Sample Ligatures fi Kerning AV\n"},
        {"columns", columns, left.substr(1) + "\n" + right.substr(1) + "\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        std::string error;
        const auto text = Read(WritePdf({row.Lines}), error);
        ASSERT_TRUE(text) << error;
        EXPECT_EQ(*text, row.Text);
    }
}

// An encryption dictionary whose user key matches no password: Poppler holds the file locked.
QByteArray Locked(QByteArray pdf) {
    const QByteArray key = "<" + QByteArray(64, 'a') + ">";
    return pdf.replace("trailer\n<<", "trailer\n<< /Encrypt << /Filter /Standard /V 1 /R 2 /O " +
                                          key + " /U " + key + " /P -4 >> /ID [<01><01>]");
}

// A running header at the top of most pages and a page number at the bottom are left out.
TEST(PdfText, Read_HeadersAndPageNumbers_LeftOut) {
    std::vector<std::vector<QString>> pages;
    for (int page = 1; page <= 4; ++page)
        pages.push_back({"Maintainers' Guide " + QString::number(page), "",
                         "Text of page " + QString::number(page) + ".", "",
                         "- " + QString::number(page) + " -"});
    std::string error;
    const auto text = Read(WritePdf(pages), error);
    ASSERT_TRUE(text) << error;
    EXPECT_EQ(*text, "Text of page 1.\nText of page 2.\nText of page 3.\nText of page 4.\n");
}

} // namespace

namespace {
// A PDF written object by object, for what Qt's writer makes none of.
std::string ObjectPdf(const std::vector<std::string>& objects) {
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const std::size_t offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// One page of the same line written over itself 300,000 times.
QByteArray OverlappingPdf() {
    std::string lines = "BT /F1 12 Tf 20 250 Td ";
    for (int i = 0; i < 300'000; ++i)
        lines += "0 0 Td (overlapping line) Tj ";
    lines += "ET";
    return QByteArray::fromStdString(ObjectPdf({
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] /Contents 4 0 R "
        "/Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + std::to_string(lines.size()) + " >>\nstream\n" + lines + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
    }));
}

// A one-page PDF with an outline.
std::string OutlinedPdf() {
    return ObjectPdf({
        "<< /Type /Catalog /Pages 2 0 R /Outlines 5 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] /Contents 4 0 R "
        "/Resources << /Font << /F1 6 0 R >> >> >>",
        "<< /Length 109 >>\nstream\nBT /F1 12 Tf 20 250 Td (Contents 2) Tj 0 -40 Td (Intro) Tj "
        "0 -40 Td (Some text here.) Tj 0 -40 Td (Later) Tj ET\nendstream",
        "<< /Type /Outlines /First 7 0 R /Last 9 0 R /Count 3 >>",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
        "<< /Title (Intro) /Parent 5 0 R /Next 8 0 R /First 10 0 R /Last 10 0 R /Count 1 "
        "/Dest [3 0 R /XYZ 0 220 0] >>",
        "<< /Title (Missing) /Parent 5 0 R /Prev 7 0 R /Next 9 0 R /Dest [3 0 R /XYZ 0 0 0] >>",
        "<< /Title (Later) /Parent 5 0 R /Prev 8 0 R /Dest [3 0 R /XYZ 0 140 0] >>",
        "<< /Title (Some text here.) /Parent 7 0 R /Dest [3 0 R /XYZ 0 180 0] >>",
    });
}

// Each outline title at the first line after the one before that holds it alone; a
// title the text lacks is left out.
TEST(PdfText, Outline_TitlesAtTheirOwnLinesNestedAndMissingLeftOut) {
    std::string error;
    TableOfContents contents;
    const std::optional<std::string> text = ReadPdfText(OutlinedPdf(), error, {}, &contents);
    ASSERT_TRUE(text) << error;
    const std::size_t intro = text->find("Intro");
    const std::size_t some = text->find("Some text here.");
    const std::size_t later = text->find("Later");
    ASSERT_NE(later, std::string::npos) << *text;
    EXPECT_EQ(contents, (TableOfContents{{"Intro", static_cast<int32_t>(intro), 0},
                                         {"Some text here.", static_cast<int32_t>(some), 1},
                                         {"Later", static_cast<int32_t>(later), 0}}))
        << *text;
}

TEST(PdfText, Read_UnreadableLockedOrEndless_NulloptWithMessage) {
    const QByteArray pdf = WritePdf({{"Some text."}});
    const struct {
        const char* Name;
        QByteArray Bytes;
        const char* Message;
    } rows[] = {
        {"truncated", pdf.left(pdf.size() / 2), "not a PDF"},
        {"locked", Locked(pdf), "password"},
        {"endless page", OverlappingPdf(), "page 1 of the PDF takes more than 10 s to read"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        std::string error;
        EXPECT_EQ(Read(row.Bytes, error), std::nullopt);
        EXPECT_THAT(error, testing::HasSubstr(row.Message));
    }
}

// Asked at every page and every tenth of a second within one, a stop ends the read.
TEST(PdfText, Read_ProgressSaysStop_NulloptWithoutMessage) {
    const struct {
        const char* Name;
        QByteArray Bytes;
        int Asks;
    } rows[] = {
        {"at the first page", WritePdf({{"One"}, {"Two"}}), 1},
        {"within an endless page", OverlappingPdf(), 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        int asked = 0;
        std::string error;
        EXPECT_EQ(Read(row.Bytes, error, [&](uint64_t, uint64_t) { return ++asked < row.Asks; }),
                  std::nullopt);
        EXPECT_EQ(error, "");
        EXPECT_EQ(asked, row.Asks);
    }
}

} // namespace
