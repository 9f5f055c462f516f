// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/PlainChapters.h"

#include <gtest/gtest.h>

namespace {

TEST(PlainChapters, IsHeading_ChapterWordAndNumberOnly) {
    const struct {
        const char* Line;
        bool Heading;
    } rows[] = {
        {"Chapter 1", true},
        {"CHAPTER XIV. The Return", true},
        {"  Chapter Twelve\r", true},
        {"Part II", true},
        {"BOOK ONE", true},
        {"Глава 3", true},
        {"ЧАСТЬ IV", true},
        {"Kapitel 7: Heimkehr", true},
        {"Chapitre premier", false},
        {"Capítulo 10", true},
        {"第十二章 归来", true},
        {"第3章", true},
        {"Chapter", false},
        {"Chapter and verse were quoted at length.", false},
        {"Part Mix", false},
        {"chapter 1", false},
        {"Chapter 12345", false},
        {"Chapters 1", false},
        {"第章", false},
        {"In Chapter 3 we saw", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PlainChapters::IsHeading(row.Line), row.Heading) << row.Line;
}

// Only a heading line between empty lines (or the text's ends) counts.
TEST(PlainChapters, Find_HeadingsBetweenEmptyLinesAtTheirFirstLetter) {
    const std::string text = "Chapter 1\n\nIt began.\nChapter 2\nnot alone.\n\n  Chapter 3 \r\n"
                             "\r\nEnd.\n\nPART IV";
    const TableOfContents found = PlainChapters::Find(text);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0], (SChapter{"Chapter 1", 0, 0}));
    EXPECT_EQ(found[1], (SChapter{"Chapter 3", 45, 0}));
    EXPECT_EQ(found[2], (SChapter{"PART IV", 65, 0}));
}

} // namespace
