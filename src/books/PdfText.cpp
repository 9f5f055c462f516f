// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/PdfText.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace {

struct SLine {
    std::string text;
    double top = 0;
    double bottom = 0;
};

std::string Utf8(const poppler::ustring& text) {
    const poppler::byte_array bytes = text.to_utf8();
    return {bytes.begin(), bytes.end()};
}

// Poppler hands out words in reading order but not its lines: a word that does not share
// the line's height, or that starts back left of the line's last word, begins a new one.
bool StartsNewLine(const SLine& line, const poppler::rectf& box, double lastRight) {
    const double middle = (box.top() + box.bottom()) / 2;
    return middle < line.top || middle > line.bottom || box.left() < lastRight - box.height();
}

std::vector<SLine> PageLines(const poppler::page& page) {
    std::vector<SLine> lines;
    double lastRight = 0;
    bool spaceAfter = false;
    for (const poppler::text_box& word : page.text_list()) {
        const poppler::rectf box = word.bbox();
        if (lines.empty() || StartsNewLine(lines.back(), box, lastRight)) {
            lines.push_back({{}, box.top(), box.bottom()});
        } else {
            SLine& line = lines.back();
            line.top = std::min(line.top, box.top());
            line.bottom = std::max(line.bottom, box.bottom());
            if (spaceAfter)
                line.text += ' ';
        }
        lines.back().text += Utf8(word.text());
        lastRight = box.right();
        spaceAfter = word.has_space_after();
    }
    std::erase_if(lines, [](const SLine& line) { return line.text.empty(); });
    return lines;
}

// A gap is a paragraph's when the next line sits lower than the page's usual line pitch
// by a good margin; on a page of one or two gaps there is no usual pitch, so then only a
// space of half a line or more counts. A line above the last one starts a column or block
// that goes on with the same paragraph.
std::vector<bool> ParagraphGaps(const std::vector<SLine>& lines) {
    std::vector<double> pitches;
    for (size_t i = 1; i < lines.size(); ++i)
        pitches.push_back(lines[i].top - lines[i - 1].top);
    std::vector<double> positive;
    std::copy_if(pitches.begin(), pitches.end(), std::back_inserter(positive),
                 [](double pitch) { return pitch > 0; });
    std::vector<bool> gaps(pitches.size(), false);
    if (positive.size() >= 3) {
        std::nth_element(positive.begin(), positive.begin() + positive.size() / 2, positive.end());
        const double usual = positive[positive.size() / 2];
        for (size_t i = 0; i < pitches.size(); ++i)
            gaps[i] = pitches[i] > 1.3 * usual;
        return gaps;
    }
    for (size_t i = 0; i < pitches.size(); ++i) {
        const SLine& above = lines[i];
        const SLine& below = lines[i + 1];
        const double height = std::max(above.bottom - above.top, below.bottom - below.top);
        gaps[i] = pitches[i] > 0 && below.top - above.bottom > height / 2;
    }
    return gaps;
}

UChar32 FirstCodePoint(const std::string& text) {
    UChar32 c = 0;
    int32_t i = 0;
    U8_NEXT(text.data(), i, static_cast<int32_t>(text.size()), c);
    return c;
}

// The hyphen's length in bytes when the line ends in a letter and a hyphen (ASCII, the
// Unicode hyphen or a soft one), else 0.
size_t TrailingHyphen(const std::string& text) {
    for (const std::string_view hyphen : {"-", "\u2010", "\u00ad"}) {
        if (!text.ends_with(hyphen) || text.size() == hyphen.size())
            continue;
        int32_t end = static_cast<int32_t>(text.size() - hyphen.size());
        UChar32 before = 0;
        U8_PREV(text.data(), 0, end, before);
        return u_isalpha(before) ? hyphen.size() : 0;
    }
    return 0;
}

std::string PageText(const poppler::page& page) {
    const std::vector<SLine> lines = PageLines(page);
    if (lines.empty())
        return {};
    const std::vector<bool> gaps = ParagraphGaps(lines);
    std::string text = lines.front().text;
    for (size_t i = 1; i < lines.size(); ++i) {
        const size_t hyphen = TrailingHyphen(text);
        if (gaps[i - 1])
            text += '\n';
        else if (hyphen > 0 && u_islower(FirstCodePoint(lines[i].text)))
            text.resize(text.size() - hyphen);
        else
            text += ' ';
        text += lines[i].text;
    }
    return text + '\n';
}

void IgnorePopplerMessage(const std::string&, void*) {}

} // namespace

std::optional<std::string> ReadPdfText(std::string_view bytes, std::string& error,
                                       const BookText::Progress& progress) {
    // Poppler's complaints about a damaged file would land on the terminal; the message
    // below says what matters.
    [[maybe_unused]] static const bool quiet = [] {
        poppler::set_debug_error_function(IgnorePopplerMessage, nullptr);
        return true;
    }();
    if (bytes.size() > INT_MAX) {
        error = "The PDF file is too large to read.";
        return std::nullopt;
    }
    const std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
    if (!document) {
        error = "The file is not a PDF that Poppler can read.";
        return std::nullopt;
    }
    if (document->is_locked()) {
        error = "The PDF file is locked with a password.";
        return std::nullopt;
    }
    const int count = document->pages();
    std::string text;
    for (int i = 0; i < count; ++i) {
        const std::unique_ptr<poppler::page> page(document->create_page(i));
        if (page)
            text += PageText(*page);
        if (progress && !progress(static_cast<uint64_t>(i) + 1, static_cast<uint64_t>(count)))
            return std::nullopt;
    }
    return text;
}
