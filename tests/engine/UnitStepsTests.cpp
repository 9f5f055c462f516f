// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/UnitCutter.h"
#include "engine/UnitSteps.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

// The unit starts reading finds from the text's start, as --units lists the units.
std::vector<int32_t> ReadingsUnitStarts(const std::string& text, const CReadingSettings& settings) {
    std::vector<int32_t> starts{0};
    std::array<char, UnitBufferSize> unit{};
    const char* at = text.c_str();
    while ((at = CutUnit(at, unit.data(), settings)) != nullptr && at < text.c_str() + text.size())
        starts.push_back(static_cast<int32_t>(at - text.c_str()));
    return starts;
}

// Words, stop symbols, closing quotes, blanks and line breaks in random order.
std::string RandomText(std::mt19937& random, const std::vector<std::string>& pieces, int count) {
    std::string text;
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    for (int i = 0; i < count; ++i)
        text += pieces[pick(random)];
    return text;
}

// Stepping back from any unit reading shows lands on the one reading showed before it,
// and stepping forward on the one after, in whatever text and settings.
TEST(UnitSteps, BackAndForward_FromEveryUnitOfRandomTexts_AgreeWithReadingsUnits) {
    const std::vector<std::string> latin{"word ", "a ", "longerword ", ". ",   ", ", "! ", "?",
                                         "\"",    ")",  "\n",          "\r\n", "  ", "x.", "\n\n"};
    const std::vector<std::string> cyrillic{
        "слово ", "да ", "длинноеслово ", ". ", "… ", "» ", "\n", "。", "甲乙", "e\xCC\x81 "};
    const struct {
        const char* Name;
        const std::vector<std::string>* Words;
        bool CharacterMode;
        int MaxText;
        int Pieces;
        int Rounds;
    } rows[] = {
        {"bytes, defaults", &latin, false, 0, 120, 40},
        {"bytes, short units", &latin, false, 8, 120, 40},
        {"bytes, long texts", &latin, false, 0, 6000, 2},
        {"characters", &cyrillic, true, 0, 120, 40},
        {"characters, short units", &cyrillic, true, 5, 120, 40},
        {"characters, long texts", &cyrillic, true, 0, 6000, 2},
    };
    std::mt19937 random(26);
    for (const auto& row : rows) {
        CReadingSettings settings;
        settings.CharacterMode = row.CharacterMode;
        if (row.CharacterMode)
            std::strcpy(settings.StopSimbols, ",;:….!?。");
        if (row.MaxText > 0)
            settings.MaxText = row.MaxText;
        for (int round = 0; round < row.Rounds; ++round) {
            const std::string text = RandomText(random, *row.Words, row.Pieces);
            SCOPED_TRACE(std::string(row.Name) + ": " + text.substr(0, 400));
            const std::vector<int32_t> starts = ReadingsUnitStarts(text, settings);
            for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
                ASSERT_EQ(UnitSteps::Forward(text, starts[k], settings), starts[k + 1])
                    << "forward from " << starts[k];
                ASSERT_EQ(UnitSteps::Back(text, starts[k + 1], settings), starts[k])
                    << "back from " << starts[k + 1];
            }
        }
    }
}

TEST(UnitSteps, AtTheEnds_StayInTheText) {
    const std::string text = "One two three. Four five six seven eight nine ten.";
    const CReadingSettings settings;
    const std::vector<int32_t> starts = ReadingsUnitStarts(text, settings);
    EXPECT_EQ(UnitSteps::Back(text, 0, settings), 0);
    EXPECT_EQ(UnitSteps::Forward(text, starts.back(), settings), starts.back());
}

} // namespace
