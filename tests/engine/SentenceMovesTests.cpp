// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReadingSpeed.h"
#include "engine/SentenceMoves.h"
#include "settings/ReadingSettings.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

struct SentenceCase {
    const char* Text;
    const char* Stops;
    int UcOffset; // counted in characters in CharacterMode
    bool CharacterMode;
    std::vector<int> From, Forward, Back;
};

TEST(SentenceMoves, ForwardBack_StopRunsLineBreaksEndsCharacters_LandOnSentenceStarts) {
    const char* story = "One. Two?! Three\r\n\r\nFour";
    const SentenceCase cases[] = {
        {story,
         ",;.:?!\n\r",
         2,
         false,
         {0, 4, 5, 9, 11, 20, 24},
         {5, 5, 11, 11, 20, 24, 24},
         {0, 0, 0, 5, 5, 11, 20}},
        {story, ",;.:?!", 5, false, {0, 11, 20}, {11, 24, 24}, {0, 0, 11}}, // only '!' ends one
        {"Да… Нет。Ok", ",…。", 1, true, {0, 8, 14, 17}, {8, 17, 17, 19}, {0, 0, 8, 8}},
    };
    for (const SentenceCase& c : cases) {
        SCOPED_TRACE(c.Text + std::to_string(c.UcOffset));
        CReadingSettings settings;
        std::strcpy(settings.StopSimbols, c.Stops);
        settings.UcOffset = c.UcOffset, settings.CharacterMode = c.CharacterMode;
        const CSentenceMoves moves(c.Text, settings);
        std::vector<int> forward, back;
        for (const int from : c.From)
            forward.push_back(moves.Forward(from)), back.push_back(moves.Back(from));
        EXPECT_EQ(std::pair(forward, back), std::pair(c.Forward, c.Back));
    }
}

// A paragraph ends at a line break after a line break or after a stop symbol; a line
// break alone, as in a text wrapped by hand, ends none.
TEST(SentenceMoves, Paragraphs_BlankLinesAndStopsAtLineEnds_LandOnParagraphStarts) {
    const SentenceCase cases[] = {
        {"A\n\nB c.\nD\ne\nF",
         ".",
         0,
         false,
         {0, 2, 3, 5, 8, 10},
         {3, 3, 8, 8, 13, 13},
         {0, 0, 0, 3, 3, 8}},
        {"A\r\n\r\nB.\r\nC", ".", 0, false, {0, 5, 9}, {5, 9, 10}, {0, 0, 5}},
        {"\xE7\x94\xB2\xE3\x80\x82\n\xE4\xB9\x99\n\xE4\xB8\x99",
         "\xE3\x80\x82",
         0,
         true,
         {0, 7, 11},
         {7, 14, 14},
         {0, 0, 7}},
    };
    for (const SentenceCase& c : cases) {
        SCOPED_TRACE(c.Text);
        CReadingSettings settings;
        std::strcpy(settings.StopSimbols, c.Stops);
        settings.UcOffset = c.UcOffset, settings.CharacterMode = c.CharacterMode;
        const CSentenceMoves moves(c.Text, settings, CSentenceMoves::EScope::Paragraph);
        std::vector<int> forward, back;
        for (const int from : c.From)
            forward.push_back(moves.Forward(from)), back.push_back(moves.Back(from));
        EXPECT_EQ(std::pair(forward, back), std::pair(c.Forward, c.Back));
    }
}

TEST(ReadingSpeed, FasterSlower_SmallRoundedAndBoundValues_MoveAtLeastOneWithinBounds) {
    for (const auto& [ms, faster, slower] :
         {std::tuple{1u, 1u, 2u}, {5u, 4u, 6u}, {400u, 364u, 440u}, {30000u, 27273u, 30000u}})
        EXPECT_EQ(std::pair(ReadingSpeed::Faster(ms), ReadingSpeed::Slower(ms)),
                  std::pair(faster, slower))
            << ms;
}

} // namespace
