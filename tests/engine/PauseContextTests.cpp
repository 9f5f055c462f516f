// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PauseContext.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Part(const std::string& text, int32_t from, int32_t to) {
    return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

TEST(PauseContext, Around_TheSentenceBeforeTheUnitAndWhatFollowsToTheEnds) {
    const std::string text = "It was late. The house was quiet, and nobody moved.";
    const CReadingSettings settings;
    const struct {
        const char* Name;
        int32_t UnitFrom, UnitTo;
        const char* Before;
        const char* After;
    } rows[] = {
        {"first unit: nothing before", 0, 7, "", "late. The house was quiet, and nobody moved."},
        {"a sentence's first unit: the sentence before", 12, 17, "It was late.",
         "house was quiet, and nobody moved."},
        {"mid-sentence: its start", 33, 37, "The house was quiet,", " nobody moved."},
        {"last unit: nothing after", 37, 51, "The house was quiet, and", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        const SPauseContext context =
            PauseContext::Around(text, row.UnitFrom, row.UnitTo, settings);
        EXPECT_EQ(Part(text, context.From, context.UnitFrom), row.Before);
        EXPECT_EQ(Part(text, context.UnitTo, context.To), row.After);
    }
}

// Long text around the unit is cut at word edges, counted in characters, never inside a
// character or before a combining mark.
TEST(PauseContext, Around_LongTextCutAtWordEdgesInCharacters) {
    std::string words;
    while (words.size() < 4000)
        words += "сло\xCC\x81во ";
    CReadingSettings settings;
    settings.CharacterMode = true;
    const auto middle = static_cast<int32_t>(words.size() / 2 / 12 * 12);
    const SPauseContext context = PauseContext::Around(words, middle, middle + 12, settings);
    const std::string before = Part(words, context.From, context.UnitFrom);
    const std::string after = Part(words, context.UnitTo, context.To);
    EXPECT_TRUE(before.starts_with("сло")) << before.substr(0, 20);
    EXPECT_TRUE(after.ends_with("во")) << after.substr(after.size() - 20);
    EXPECT_LE(before.size(), std::size_t{PauseContext::MaxBefore} * 2);
    EXPECT_LE(after.size(), std::size_t{PauseContext::MaxAfter} * 2);
}

// A text in one word longer than the room: cut between two characters.
TEST(PauseContext, Around_OneLongWord_CutBetweenCharacters) {
    std::string word;
    for (int i = 0; i < 1000; ++i)
        word += "\xE4\xB8\x80";
    CReadingSettings settings;
    settings.CharacterMode = true;
    const SPauseContext context = PauseContext::Around(word, 0, 30, settings);
    EXPECT_EQ(context.To - context.UnitTo, PauseContext::MaxAfter * 3);
}

} // namespace
