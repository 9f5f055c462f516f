// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/PdfText.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <regex>
#include <unordered_set>
#include <vector>

namespace {

struct SLine {
    std::string text;
    double top = 0;
    double bottom = 0;
};

// Typeset ligatures come back as the letters they join, so that "ﬂoating" reads, and
// matches, as "floating".
std::string Utf8(const poppler::ustring& text) {
    static constexpr std::pair<std::string_view, std::string_view> Ligatures[] = {
        {"\uFB00", "ff"},  {"\uFB01", "fi"},  {"\uFB02", "fl"},
        {"\uFB03", "ffi"}, {"\uFB04", "ffl"}, {"\uFB06", "st"}};
    const poppler::byte_array bytes = text.to_utf8();
    std::string word(bytes.begin(), bytes.end());
    for (const auto& [ligature, letters] : Ligatures) {
        for (size_t at = word.find(ligature); at != std::string::npos;
             at = word.find(ligature, at + letters.size()))
            word.replace(at, ligature.size(), letters);
    }
    return word;
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

// Where a line ended in a hyphen between letters: whether it is a break inside a word or
// a hyphen of the word is decided once the whole document is known. A noncharacter marks
// the place; no text brings its own.
constexpr std::string_view HyphenMark = "\xEF\xBF\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\n';
}

bool IsEdgePunctuation(char c) {
    return std::strchr(".,;:!?\"'()[]{}<>", c) != nullptr && c != '\0';
}

// A token without the punctuation around it, ASCII letters lowered.
std::string WordOf(std::string_view token) {
    while (!token.empty() && IsEdgePunctuation(token.front()))
        token.remove_prefix(1);
    while (!token.empty() && IsEdgePunctuation(token.back()))
        token.remove_suffix(1);
    std::string word(token);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return word;
}

// The words of the text but those with an undecided hyphen.
std::unordered_set<std::string> WordsOf(std::string_view text) {
    std::unordered_set<std::string> words;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of(" \n", start), text.size());
        const std::string_view token = text.substr(start, end - start);
        if (!token.empty() && token.find(HyphenMark) == std::string_view::npos)
            words.insert(WordOf(token));
        start = end + 1;
    }
    return words;
}

// A hyphen is kept where the document writes the word with it and never without it, and
// between a small letter and a capital (Mid-Atlantic); otherwise the word is joined.
bool KeepsHyphen(std::string_view left, std::string_view right,
                 const std::unordered_set<std::string>& words) {
    UChar32 last = 0;
    int32_t end = static_cast<int32_t>(left.size());
    U8_PREV(left.data(), 0, end, last);
    if (u_islower(last) && u_isupper(FirstCodePoint(std::string(right))))
        return true;
    const std::string joined = WordOf(std::string(left) + std::string(right));
    const std::string hyphenated = WordOf(std::string(left) + "-" + std::string(right));
    return !words.contains(joined) && words.contains(hyphenated);
}

std::string ResolveHyphens(std::string text) {
    if (text.find(HyphenMark) == std::string::npos)
        return text;
    const std::unordered_set<std::string> words = WordsOf(text);
    std::string resolved;
    resolved.reserve(text.size());
    size_t done = 0;
    for (size_t mark = text.find(HyphenMark); mark != std::string::npos;
         mark = text.find(HyphenMark, done)) {
        size_t start = mark;
        while (start > 0 && !IsBlank(text[start - 1]))
            --start;
        const size_t after = mark + HyphenMark.size();
        const size_t end = std::min(text.find_first_of(" \n", after), text.size());
        const std::string_view left(text.data() + start, mark - start);
        const std::string_view right(text.data() + after, end - after);
        resolved.append(text, done, mark - done);
        if (KeepsHyphen(left, right, words))
            resolved += '-';
        done = after;
    }
    resolved.append(text, done);
    return resolved;
}

// A line that is only a page number: "12", "- 12 -", "xiv", "Page 3", "3 of 40".
bool IsPageNumber(std::string_view text) {
    std::string word = WordOf(text);
    std::erase_if(word, [](char c) { return c == '-' || c == ' '; });
    if (word.starts_with("page"))
        word.erase(0, 4);
    if (const size_t of = word.find("of"); of != std::string::npos && of > 0)
        word.resize(of);
    if (word.empty())
        return false;
    const bool digits =
        std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isdigit(c); });
    static const std::regex Roman("m{0,3}(cm|cd|d?c{0,3})(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})");
    return digits || std::regex_match(word, Roman);
}

// What a running header or footer keeps from page to page: its text with the digits as
// '#' (page numbers change), and its height on the page to a few points.
std::string FurnitureKey(const SLine& line) {
    std::string key = std::to_string(static_cast<long>(line.top / 4)) + ':';
    for (const char c : line.text)
        key += std::isdigit(static_cast<unsigned char>(c)) ? '#' : c;
    return key;
}

// How many lines at each end of a page may be its header or footer.
constexpr size_t EdgeLines = 2;

// A short page keeps at least half its lines out of the edges.
template <typename Visit> void ForEachEdgeLine(std::vector<SLine>& lines, Visit visit) {
    const size_t edge = std::min(EdgeLines, lines.size() / 2);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i < edge || i + edge >= lines.size())
            visit(lines[i]);
    }
}

// Page numbers, and lines that come back at the same height on most pages, are the
// book's furniture, not its text.
void DropFurniture(std::vector<std::vector<SLine>>& pages) {
    std::map<std::string, size_t> seen;
    for (std::vector<SLine>& lines : pages)
        ForEachEdgeLine(lines, [&seen](SLine& line) { ++seen[FurnitureKey(line)]; });
    const size_t most = std::max<size_t>(3, (pages.size() + 1) / 2);
    for (std::vector<SLine>& lines : pages) {
        ForEachEdgeLine(lines, [&](SLine& line) {
            if (IsPageNumber(line.text) || seen[FurnitureKey(line)] >= most)
                line.text.clear();
        });
        std::erase_if(lines, [](const SLine& line) { return line.text.empty(); });
    }
}

std::string PageText(const std::vector<SLine>& lines) {
    if (lines.empty())
        return {};
    const std::vector<bool> gaps = ParagraphGaps(lines);
    std::string text = lines.front().text;
    for (size_t i = 1; i < lines.size(); ++i) {
        const size_t hyphen = TrailingHyphen(text);
        if (gaps[i - 1])
            text += '\n';
        else if (hyphen > 0 && text.ends_with("\u00ad"))
            text.resize(text.size() - hyphen);
        else if (hyphen > 0 && u_isalpha(FirstCodePoint(lines[i].text)))
            text.replace(text.size() - hyphen, hyphen, HyphenMark);
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
    std::vector<std::vector<SLine>> pages;
    for (int i = 0; i < count; ++i) {
        const std::unique_ptr<poppler::page> page(document->create_page(i));
        if (page)
            pages.push_back(PageLines(*page));
        if (progress && !progress(static_cast<uint64_t>(i) + 1, static_cast<uint64_t>(count)))
            return std::nullopt;
    }
    DropFurniture(pages);
    std::string text;
    for (const std::vector<SLine>& lines : pages)
        text += PageText(lines);
    return ResolveHyphens(text);
}
