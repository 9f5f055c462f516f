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

TEST(ReadingSpeed, FasterSlower_SmallRoundedAndBoundValues_MoveAtLeastOneWithinBounds) {
    for (const auto& [ms, faster, slower] :
         {std::tuple{1u, 1u, 2u}, {5u, 4u, 6u}, {400u, 364u, 440u}, {30000u, 27273u, 30000u}})
        EXPECT_EQ(std::pair(ReadingSpeed::Faster(ms), ReadingSpeed::Slower(ms)),
                  std::pair(faster, slower))
            << ms;
}

} // namespace
