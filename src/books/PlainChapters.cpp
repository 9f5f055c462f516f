// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/PlainChapters.h"

#include <array>
#include <cstring>

namespace {

constexpr std::array ChapterWords{
    "Chapter",  "CHAPTER",  "Part",     "PART",     "Book",     "BOOK",
    "Глава",    "ГЛАВА",    "Часть",    "ЧАСТЬ",    "Kapitel",  "KAPITEL",
    "Chapitre", "CHAPITRE", "Capítulo", "CAPÍTULO", "Capitulo", "CAPITULO",
};

constexpr std::array NumberWords{
    "one",       "two",      "three",    "four",   "five",     "six",      "seven",   "eight",
    "nine",      "ten",      "eleven",   "twelve", "thirteen", "fourteen", "fifteen", "sixteen",
    "seventeen", "eighteen", "nineteen", "twenty", "first",    "second",   "third",   "fourth",
    "fifth",     "sixth",    "seventh",  "eighth", "ninth",    "tenth",    "last",
};

constexpr std::array ChineseNumerals{"一", "二", "三", "四", "五", "六", "七", "八",
                                     "九", "十", "百", "千", "零", "〇", "两"};

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\r\f\v") == std::string_view::npos;
}

// Where a number token ends, as a whole token: the end, a blank or punctuation after it.
bool EndsToken(std::string_view rest) {
    return rest.empty() || std::strchr(" \t\r.:,;-", rest.front()) != nullptr ||
           rest.starts_with("\xE2\x80\x94") || rest.starts_with("\xE2\x80\x93");
}

std::size_t Lowered(std::string_view text, std::size_t length, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < length && i < text.size(); ++i)
        out += static_cast<char>(text[i] >= 'A' && text[i] <= 'Z' ? text[i] - 'A' + 'a' : text[i]);
    return out.size();
}

bool StartsWithNumber(std::string_view rest) {
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9')
        ++digits;
    if (digits > 0 && digits <= 4)
        return EndsToken(rest.substr(digits));
    // In capitals only: "Part Mix" and "Chapter Did" are words.
    std::size_t roman = 0;
    while (roman < rest.size() && rest[roman] != '\0' &&
           std::strchr("IVXLCDM", rest[roman]) != nullptr)
        ++roman;
    if (roman > 0 && roman <= 8)
        return EndsToken(rest.substr(roman));
    std::string lower;
    for (const char* word : NumberWords) {
        const std::size_t length = std::strlen(word);
        if (Lowered(rest, length, lower) == length && lower == word &&
            EndsToken(rest.substr(length)))
            return true;
    }
    return false;
}

// "第" + number + "章".
bool IsChineseHeading(std::string_view line) {
    constexpr std::string_view Di = "第";
    constexpr std::string_view Zhang = "章";
    if (!line.starts_with(Di))
        return false;
    std::string_view rest = line.substr(Di.size());
    int numerals = 0;
    for (bool found = true; found && numerals < 8;) {
        found = false;
        if (!rest.empty() && rest.front() >= '0' && rest.front() <= '9') {
            rest.remove_prefix(1);
            found = true;
        }
        for (const char* numeral : ChineseNumerals) {
            if (!found && rest.starts_with(numeral)) {
                rest.remove_prefix(std::strlen(numeral));
                found = true;
            }
        }
        numerals += found ? 1 : 0;
    }
    return numerals > 0 && rest.starts_with(Zhang);
}

} // namespace

namespace PlainChapters {

bool IsHeading(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && std::strchr(" \t\r", line.back()) != nullptr)
        line.remove_suffix(1);
    if (line.empty() || line.size() > MaxHeadingBytes)
        return false;
    if (IsChineseHeading(line))
        return true;
    for (const char* word : ChapterWords) {
        const std::string_view chapter = word;
        if (line.starts_with(chapter) && line.size() > chapter.size() &&
            line[chapter.size()] == ' ')
            return StartsWithNumber(line.substr(chapter.size() + 1));
    }
    return false;
}

TableOfContents Find(std::string_view text) {
    TableOfContents contents;
    bool afterBlank = true; // the text's start counts as an empty line
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t feed = text.find('\n', at);
        const std::size_t end = feed == std::string_view::npos ? text.size() : feed;
        const std::string_view line = text.substr(at, end - at);
        const bool blank = IsBlankLine(line);
        if (afterBlank && !blank && line.size() <= MaxHeadingBytes + 8 && IsHeading(line)) {
            const std::size_t next = end + 1;
            const std::size_t nextFeed = next < text.size() ? text.find('\n', next) : next;
            const std::string_view following =
                next < text.size() ? text.substr(next, std::min(nextFeed, text.size()) - next)
                                   : std::string_view();
            if (next >= text.size() || IsBlankLine(following)) {
                std::string title(line);
                while (!title.empty() && std::strchr(" \t\r", title.back()) != nullptr)
                    title.pop_back();
                const std::size_t first = title.find_first_not_of(" \t");
                contents.push_back({title.substr(first), static_cast<int32_t>(at + first), 0});
            }
        }
        afterBlank = blank;
        at = end + 1;
    }
    return contents;
}

} // namespace PlainChapters
