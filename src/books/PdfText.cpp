// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/PdfText.h"

#include "books/IsolatedPages.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>
#include <poppler-toc.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

struct SLine {
    std::string text;
    // Poppler leaves a blank line between the blocks it finds on a page: a paragraph, a
    // heading, a table's cell.
    bool startsBlock = false;
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

// A row of the page as Poppler lays it out, with where each character starts: the layout
// puts one character in each column.
struct SRow {
    std::string text;
    std::vector<size_t> starts;
    // The first and the last column that hold a character.
    size_t first = 0;
    size_t last = 0;

    explicit SRow(std::string_view row) : text(row) {
        int32_t at = 0;
        const auto size = static_cast<int32_t>(text.size());
        bool seen = false;
        while (at < size) {
            const size_t column = starts.size();
            if (text[static_cast<size_t>(at)] != ' ') {
                first = seen ? first : column;
                last = column;
                seen = true;
            }
            starts.push_back(static_cast<size_t>(at));
            U8_FWD_1(text.data(), at, size);
        }
        starts.push_back(text.size());
    }

    size_t Columns() const { return starts.size() - 1; }

    bool BlankAt(size_t column) const { return column >= Columns() || text[starts[column]] == ' '; }

    bool IsBlank() const { return text.find_first_not_of(' ') == std::string::npos; }

    // The row's text from one column to another, without its outer spaces and with one
    // space for each run of them: the layout pads words and table cells to their place.
    std::string Part(size_t begin, size_t end) const {
        const size_t from = starts[std::min(begin, Columns())];
        const size_t to = starts[std::min(end, Columns())];
        std::string part;
        bool space = false;
        for (size_t i = from; i < to; ++i) {
            if (text[i] == ' ') {
                space = !part.empty();
                continue;
            }
            if (space)
                part += ' ';
            space = false;
            part += text[i];
        }
        return part;
    }
};

constexpr size_t MaxLayoutWidth = 1000;

// A printed page takes Poppler a tenth of a second at most.
constexpr std::chrono::seconds MaxPageTime{10};

// A page's lines as the child process sends them: "P" for a page, then each line as its
// block mark, its size and its text. A page Poppler could not open is sent empty.
std::string Packed(const std::vector<SLine>& lines) {
    std::string packed = "P";
    for (const SLine& line : lines) {
        const uint32_t size = static_cast<uint32_t>(line.text.size());
        packed += line.startsBlock ? 'B' : 'L';
        packed.append(reinterpret_cast<const char*>(&size), sizeof size);
        packed += line.text;
    }
    return packed;
}

std::vector<SLine> Unpacked(std::string_view packed) {
    std::vector<SLine> lines;
    size_t at = 1;
    uint32_t size = 0;
    while (packed.size() - at > sizeof size) {
        const bool startsBlock = packed[at] == 'B';
        std::memcpy(&size, packed.data() + at + 1, sizeof size);
        at += 1 + sizeof size;
        lines.push_back({std::string(packed.substr(at, size)), startsBlock});
        at += size;
    }
    return lines;
}

// The column between two columns of text: blank on nearly every row, with text on both
// sides on many. Justified or ragged text of one column leaves no such column blank.
std::optional<size_t> FindGutter(const std::vector<SRow>& rows) {
    size_t width = 0;
    size_t filled = 0;
    for (const SRow& row : rows) {
        width = std::max(width, row.Columns());
        filled += row.IsBlank() ? 0 : 1;
    }
    // A page laid out wider than any printed one (text set far apart) is not searched:
    // the search looks at every row for each column.
    if (filled < 8 || width > MaxLayoutWidth)
        return std::nullopt;
    std::optional<size_t> best;
    size_t bestBlank = 0;
    for (size_t column = width / 4; column < width * 3 / 4; ++column) {
        size_t blank = 0;
        size_t both = 0;
        for (const SRow& row : rows) {
            if (row.IsBlank())
                continue;
            const bool gap = row.BlankAt(column) && row.BlankAt(column + 1);
            blank += gap ? 1 : 0;
            both += gap && row.first < column && row.last > column + 1 ? 1 : 0;
        }
        if (blank * 20 >= filled * 19 && both * 3 >= filled && blank > bestBlank) {
            best = column;
            bestBlank = blank;
        }
    }
    return best;
}

// Columns of running text, not a table: the left column's lines mostly reach near the
// gutter, where a table's cells stay short. A table is read row by row.
std::optional<size_t> FindColumns(const std::vector<SRow>& rows) {
    const std::optional<size_t> gutter = FindGutter(rows);
    if (!gutter)
        return std::nullopt;
    size_t filled = 0;
    size_t wide = 0;
    for (const SRow& row : rows) {
        if (row.IsBlank())
            continue;
        ++filled;
        size_t end = *gutter;
        while (end > 0 && row.BlankAt(end - 1))
            --end;
        wide += end * 10 >= *gutter * 6 ? 1 : 0;
    }
    if (wide * 2 < filled)
        return std::nullopt;
    return gutter;
}

void AddLine(std::vector<SLine>& lines, bool& startsBlock, std::string text) {
    if (text.empty()) {
        startsBlock = true;
        return;
    }
    lines.push_back({std::move(text), startsBlock});
    startsBlock = false;
}

// Poppler's layout of the page keeps words, table cells and line-end hyphens as printed,
// and a blank row where the page leaves space. Two columns are read one after the other;
// a row across both (a title) ends them. (Poppler's word list, with every word's box,
// costs three times as much: it parses the whole document again for every page; its
// reading-order text joins every line-end hyphen.)
std::vector<SLine> PageLines(const poppler::page& page) {
    const std::string text = Utf8(page.text(poppler::rectf(), poppler::page::physical_layout));
    std::vector<SRow> rows;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of("\n\f", start), text.size());
        std::string_view row(text.data() + start, end - start);
        while (!row.empty() && (row.back() == ' ' || row.back() == '\r'))
            row.remove_suffix(1);
        rows.emplace_back(row);
        start = end + 1;
    }
    const std::optional<size_t> gutter = FindColumns(rows);
    std::vector<SLine> lines;
    bool startsBlock = true;
    if (!gutter) {
        for (const SRow& row : rows)
            AddLine(lines, startsBlock, row.Part(0, row.Columns()));
        return lines;
    }
    std::vector<std::string> left;
    std::vector<std::string> right;
    const auto flush = [&] {
        for (std::vector<std::string>* column : {&left, &right}) {
            startsBlock = true;
            for (std::string& part : *column)
                AddLine(lines, startsBlock, std::move(part));
            column->clear();
        }
    };
    for (const SRow& row : rows) {
        if (!row.BlankAt(*gutter) || !row.BlankAt(*gutter + 1)) {
            flush();
            AddLine(lines, startsBlock, row.Part(0, row.Columns()));
            startsBlock = true;
            continue;
        }
        left.push_back(row.Part(0, *gutter));
        right.push_back(row.Part(*gutter, row.Columns()));
    }
    flush();
    return lines;
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

// The value of a page number written in digits or in small roman numerals.
std::optional<long> PageNumberValue(std::string_view word) {
    if (word.empty() || word.size() > 9)
        return std::nullopt;
    if (std::all_of(word.begin(), word.end(), [](unsigned char c) { return std::isdigit(c); }))
        return std::stol(std::string(word));
    static const std::regex Roman("m{0,3}(cm|cd|d?c{0,3})(xc|xl|l?x{0,3})(ix|iv|v?i{0,3})");
    if (!std::regex_match(word.begin(), word.end(), Roman))
        return std::nullopt;
    static constexpr std::pair<char, long> Digits[] = {
        {'i', 1}, {'v', 5}, {'x', 10}, {'l', 50}, {'c', 100}, {'d', 500}, {'m', 1000}};
    const auto digit = [](char c) {
        return std::find_if(std::begin(Digits), std::end(Digits),
                            [c](const auto& pair) { return pair.first == c; })
            ->second;
    };
    long value = 0;
    for (size_t i = 0; i < word.size(); ++i) {
        const long here = digit(word[i]);
        const bool subtracted = i + 1 < word.size() && digit(word[i + 1]) > here;
        value += subtracted ? -here : here;
    }
    return value;
}

// A line that is only a page number: "12", "- 12 -", "xiv", "Page 3", "3 of 40", "3 / 40".
bool IsPageNumber(std::string_view text) {
    std::string word = WordOf(text);
    std::erase_if(word, [](char c) { return c == '-' || c == ' '; });
    if (word.starts_with("page"))
        word.erase(0, 4);
    if (const size_t of = word.find("of"); of != std::string::npos && of > 0)
        word.resize(of);
    if (const size_t slash = word.find('/'); slash != std::string::npos && slash > 0)
        word.resize(slash);
    return PageNumberValue(word).has_value();
}

// The numbers a line begins and ends with, where a header or footer puts the page number.
std::vector<long> NumbersAtEnds(std::string_view text) {
    std::vector<long> numbers;
    const size_t firstEnd = std::min(text.find(' '), text.size());
    const size_t lastStart = text.rfind(' ') == std::string_view::npos ? 0 : text.rfind(' ') + 1;
    for (const std::string_view token : {text.substr(0, firstEnd), text.substr(lastStart)}) {
        if (const std::optional<long> number = PageNumberValue(WordOf(token)))
            numbers.push_back(*number);
    }
    return numbers;
}

// Printed page numbers go up with the pages: a number at an edge line's end is the page's
// own when it is the page's index plus an offset that holds on a run of nearby pages. A
// footnote or a chapter's first line may begin with a number too, but not in such a run.
class CPageNumbering {
public:
    void Count(size_t page, const SLine& line) {
        for (const long number : NumbersAtEnds(line.text)) {
            SRun& run = m_runs[number - static_cast<long>(page)];
            if (run.pages > 0 && run.lastPage == page)
                continue;
            const bool near = run.pages > 0 && page - run.lastPage <= MaximumGap;
            run.pages = near ? run.pages + 1 : 1;
            run.longest = std::max(run.longest, run.pages);
            run.lastPage = page;
        }
    }

    bool CarriesNumber(size_t page, const SLine& line) const {
        for (const long number : NumbersAtEnds(line.text)) {
            const auto found = m_runs.find(number - static_cast<long>(page));
            if (found != m_runs.end() && found->second.longest >= MinimumRun)
                return true;
        }
        return false;
    }

private:
    // A chapter's first page often goes without its number.
    static constexpr size_t MaximumGap = 2;
    static constexpr size_t MinimumRun = 3;

    struct SRun {
        size_t pages = 0;
        size_t longest = 0;
        size_t lastPage = 0;
    };
    std::map<long, SRun> m_runs;
};

// What a running header or footer keeps from page to page: its text with each number as
// '#' (page numbers change, and grow longer).
std::string FurnitureKey(const SLine& line) {
    std::string key;
    for (const char c : line.text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            key += c;
        else if (!key.ends_with('#'))
            key += '#';
    }
    return key;
}

// How many lines at each end of a page may be its header or footer.
constexpr size_t EdgeLines = 3;

// The lines at the top of a page and those at its bottom, as ranges of indices; a short
// page keeps at least half its lines out of the edges.
std::array<std::pair<size_t, size_t>, 2> Edges(const std::vector<SLine>& lines) {
    const size_t edge = std::min(EdgeLines, lines.size() / 2);
    return {{{0, edge}, {lines.size() - edge, lines.size()}}};
}

// A line's letters, lowered: a running title ("4.3. Documentation") and the heading it
// repeats ("4.3 Documentation") have the same.
std::string LetterKey(std::string_view text) {
    std::string key;
    for (const char c : text) {
        if (std::isalpha(static_cast<unsigned char>(c)) || (c & 0x80) != 0)
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

class CFurniture {
public:
    explicit CFurniture(const std::vector<std::vector<SLine>>& pages)
        : m_most(std::max<size_t>(3, (pages.size() + 1) / 2)) {
        for (size_t page = 0; page < pages.size(); ++page) {
            const std::vector<SLine>& lines = pages[page];
            std::set<std::string> keys;
            for (const auto& [begin, end] : Edges(lines)) {
                for (size_t i = begin; i < end; ++i) {
                    keys.insert(FurnitureKey(lines[i]));
                    m_numbering.Count(page, lines[i]);
                }
            }
            for (const std::string& key : keys)
                ++m_seen[key];
            for (const SLine& line : lines) {
                if (line.text.size() <= LongestTitle)
                    ++m_titles[LetterKey(line.text)];
            }
        }
    }

    // Page numbers, lines that carry the page's number, and lines that come back at a
    // page's edge on most pages are the book's furniture, not its text. Beside a page
    // number, a short line that the book has elsewhere too is a running title: the
    // chapter's or the section's name, which is also a heading.
    void Drop(size_t page, std::vector<SLine>& lines) const {
        std::vector<bool> dropped(lines.size(), false);
        for (const auto& [begin, end] : Edges(lines)) {
            const bool numbered =
                std::any_of(lines.begin() + begin, lines.begin() + end,
                            [&](const SLine& line) { return Numbers(page, line); });
            for (size_t i = begin; i < end; ++i) {
                dropped[i] = Numbers(page, lines[i]) ||
                             m_seen.at(FurnitureKey(lines[i])) >= m_most ||
                             (numbered && IsRunningTitle(lines, i));
            }
        }
        std::vector<SLine> kept;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!dropped[i])
                kept.push_back(std::move(lines[i]));
        }
        lines = std::move(kept);
    }

private:
    bool Numbers(size_t page, const SLine& line) const {
        return IsPageNumber(line.text) || m_numbering.CarriesNumber(page, line);
    }

    // Poppler may put a footer's title in the block of the text above it, but the title
    // ends the block, or begins one.
    static bool AtBlockEdge(const std::vector<SLine>& lines, size_t i) {
        return lines[i].startsBlock || i + 1 == lines.size() || lines[i + 1].startsBlock;
    }

    bool IsRunningTitle(const std::vector<SLine>& lines, size_t i) const {
        const std::string key = LetterKey(lines[i].text);
        if (key.size() < 2 || lines[i].text.size() > LongestTitle || !AtBlockEdge(lines, i))
            return false;
        const auto found = m_titles.find(key);
        return found != m_titles.end() && found->second >= 2;
    }

    static constexpr size_t LongestTitle = 80;
    size_t m_most;
    std::map<std::string, size_t> m_seen;
    std::unordered_map<std::string, size_t> m_titles;
    CPageNumbering m_numbering;
};

void DropFurniture(std::vector<std::vector<SLine>>& pages) {
    const CFurniture furniture(pages);
    for (size_t page = 0; page < pages.size(); ++page)
        furniture.Drop(page, pages[page]);
}

bool StartsListItem(std::string_view line) {
    static constexpr std::string_view Bullets[] = {"\u2022 ", "\u25E6 ", "\u25AA ", "\u2023 ",
                                                   "\u2013 ", "\u2014 ", "* "};
    return std::any_of(std::begin(Bullets), std::end(Bullets),
                       [line](std::string_view bullet) { return line.starts_with(bullet); });
}

// Poppler's blocks often hold a heading with the paragraph under it, or several
// paragraphs: a line well short of its block's longest ends a paragraph, and so does the
// line before a list's item.
std::vector<bool> ParagraphEnds(const std::vector<SLine>& lines) {
    std::vector<bool> ends(lines.size(), false);
    size_t begin = 0;
    while (begin < lines.size()) {
        size_t end = begin + 1;
        while (end < lines.size() && !lines[end].startsBlock)
            ++end;
        size_t longest = 0;
        for (size_t i = begin; i < end; ++i)
            longest = std::max(longest, lines[i].text.size());
        for (size_t i = begin; i < end; ++i) {
            ends[i] = i + 1 == end || lines[i].text.size() * 10 < longest * 6 ||
                      StartsListItem(lines[i + 1].text);
        }
        begin = end;
    }
    return ends;
}

// A sentence that runs on to the next page: the page ends in a hyphenated word, or in no
// sentence's end and the next page begins with a small letter.
bool RunsOn(const std::string& last, const std::string& next) {
    if (TrailingHyphen(last) > 0)
        return true;
    static constexpr std::string_view Ends = ".!?:;)]\"";
    return Ends.find(last.back()) == std::string_view::npos && u_islower(FirstCodePoint(next));
}

// The pages' lines one after the other, a page beginning a new block unless its first
// sentence began on the page before.
std::vector<SLine> OneRun(std::vector<std::vector<SLine>> pages) {
    std::vector<SLine> lines;
    for (std::vector<SLine>& page : pages) {
        if (page.empty())
            continue;
        page.front().startsBlock = lines.empty() || !RunsOn(lines.back().text, page.front().text);
        std::move(page.begin(), page.end(), std::back_inserter(lines));
    }
    return lines;
}

std::string JoinLines(const std::vector<SLine>& lines) {
    if (lines.empty())
        return {};
    const std::vector<bool> ends = ParagraphEnds(lines);
    std::string text = lines.front().text;
    for (size_t i = 1; i < lines.size(); ++i) {
        const size_t hyphen = TrailingHyphen(text);
        if (hyphen > 0 && text.ends_with("\u00ad"))
            text.resize(text.size() - hyphen);
        else if (hyphen > 0 && u_isalpha(FirstCodePoint(lines[i].text)))
            text.replace(text.size() - hyphen, hyphen, HyphenMark);
        else
            text += ends[i - 1] ? '\n' : ' ';
        text += lines[i].text;
    }
    return text + '\n';
}

void IgnorePopplerMessage(const std::string&, void*) {}

} // namespace

namespace {

// An outline nested deeper than this is walked no further.
constexpr int MaxOutlineLevel = 32;

std::string Collapsed(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (space && (out.empty() || out.back() == ' '))
            continue;
        out += space ? ' ' : c;
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

void OutlineEntries(const poppler::toc_item& item, int level,
                    std::vector<std::pair<std::string, int>>& entries) {
    if (level > MaxOutlineLevel)
        return;
    for (const poppler::toc_item* child : item.children()) {
        const poppler::byte_array utf8 = child->title().to_utf8();
        entries.emplace_back(Collapsed(std::string_view(utf8.data(), utf8.size())), level);
        OutlineEntries(*child, level + 1, entries);
    }
}

// A heading's number before its title: "3", "1.2.", "A.1", "IV", or "Chapter 3".
bool IsHeadingNumber(std::string_view prefix) {
    for (const std::string_view word : {"Chapter ", "Appendix ", "Part ", "Section "}) {
        if (prefix.starts_with(word)) {
            prefix.remove_prefix(word.size());
            break;
        }
    }
    if (prefix.empty() || prefix.size() > 12)
        return false;
    bool digit = false;
    for (const char c : prefix) {
        const bool allowed = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '.';
        if (!allowed)
            return false;
        digit = digit || (c >= '0' && c <= '9');
    }
    // Letters alone make a number only as one appendix letter or a Roman numeral.
    return digit || prefix.size() == 1 ||
           prefix.find_first_not_of("IVXLCDM.") == std::string_view::npos;
}

// Where a line that holds title alone, or after its heading's number, begins, at or after
// from; npos when none does. A printed table of contents has page numbers after its
// titles and never matches.
std::size_t TitleLine(std::string_view text, std::string_view title, std::size_t from) {
    for (std::size_t at = text.find(title, from); at != std::string_view::npos;
         at = text.find(title, at + 1)) {
        const std::size_t end = at + title.size();
        const bool lineEnd = end == text.size() || text[end] == '\n' || text[end] == '\r';
        if (!lineEnd)
            continue;
        const std::size_t lineStart = at == 0 ? 0 : text.rfind('\n', at - 1) + 1;
        if (lineStart == at)
            return at;
        const std::string_view before = text.substr(lineStart, at - lineStart);
        if (before.ends_with(' ') && IsHeadingNumber(before.substr(0, before.size() - 1)))
            return lineStart;
    }
    return std::string_view::npos;
}

TableOfContents PlaceOutline(std::string_view text, const poppler::document& document) {
    TableOfContents contents;
    const std::unique_ptr<poppler::toc> toc(document.create_toc());
    if (!toc || !toc->root())
        return contents;
    std::vector<std::pair<std::string, int>> entries;
    OutlineEntries(*toc->root(), 0, entries);
    std::size_t from = 0;
    for (auto& [title, level] : entries) {
        if (title.empty())
            continue;
        const std::size_t at = TitleLine(text, title, from);
        if (at == std::string_view::npos)
            continue;
        contents.push_back({std::move(title), static_cast<int32_t>(at), level});
        from = at + 1;
    }
    return contents;
}

} // namespace

std::optional<std::string> ReadPdfText(std::string_view bytes, std::string& error,
                                       const BookText::Progress& progress,
                                       TableOfContents* contents) {
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
    const std::optional<std::vector<std::string>> read = IsolatedPages::Read(
        document->pages(),
        [&document](int i) {
            const std::unique_ptr<poppler::page> page(document->create_page(i));
            return page ? Packed(PageLines(*page)) : std::string();
        },
        progress, MaxPageTime, error);
    if (!read)
        return std::nullopt;
    std::vector<std::vector<SLine>> pages;
    for (const std::string& packed : *read)
        if (!packed.empty())
            pages.push_back(Unpacked(packed));
    DropFurniture(pages);
    std::string text = ResolveHyphens(JoinLines(OneRun(std::move(pages))));
    if (contents)
        *contents = PlaceOutline(text, *document);
    return text;
}
