// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Pacing.h"
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {
using Pacing::End;

// A unit of 16 characters, the reference length, shows for exactly the show time once
// a run is past its gentle start (5 units); everything else moves away from that.
TEST(Pacing, PaceOf_FollowsTheUnitAndWhatEndedTheOneBefore) {
    const std::string reference = "abcdefg hijklmno";
    const struct {
        const char* Name;
        std::string Unit;
        End Before;
        int UnitsIntoRun;
        void (*Adjust)(CReadingSettings&);
        uint32_t Gap, Show;
    } rows[] = {
        {"reference length", reference, End::None, 5, nullptr, 400, 700},
        {"twice as long", reference + " " + "abcdefg hijklmn", End::None, 9, nullptr, 400, 1050},
        {"a number", "abcdefg 1984 kl", End::None, 5, nullptr, 400, 888},
        {"a long word", "extraordinarily", End::None, 5, nullptr, 400, 783},
        {"after a clause", reference, End::Clause, 5, nullptr, 600, 700},
        {"after a sentence", reference, End::Sentence, 5, nullptr, 1000, 700},
        {"after a paragraph", reference, End::Paragraph, 5, nullptr, 1400, 700},
        {"first unit of a run", reference, End::None, 0, nullptr, 800, 1400},
        {"third unit of a run", reference, End::Sentence, 2, nullptr, 1600, 1120},
        {"short, held to the shortest", "Hi.", End::None, 5,
         [](CReadingSettings& s) { s.Pacing.MinShow = 500; }, 400, 500},
        {"characters, not bytes", "Было поздно, и до", End::None, 5,
         [](CReadingSettings& s) { s.CharacterMode = true; }, 400, 721},
        {"pacing off", "Hi.", End::Paragraph, 0, [](CReadingSettings& s) { s.Pacing.On = 0; }, 400,
         700},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        // Gap 400 and show time 700 ms, the defaults, paced with the default factors.
        CReadingSettings settings;
        settings.Pacing.On = 1;
        if (row.Adjust)
            row.Adjust(settings);
        const Pacing::SPace pace = Pacing::PaceOf(row.Unit, row.Before, row.UnitsIntoRun, settings);
        EXPECT_EQ(Pacing::GapMs(pace, settings), row.Gap);
        EXPECT_EQ(Pacing::ShowMs(pace, settings), row.Show);
    }
}

// The unit is its bytes up to the cursor after it, stop symbols and blanks included.
TEST(Pacing, EndOfUnit_TellsClauseSentenceAndParagraph) {
    const std::pair<std::string, End> rows[] = {
        {"packed words ", End::None},
        {"words,", End::Clause},
        {"words.", End::Sentence},
        {"words?!\"  ", End::Sentence},
        {"words.\r\n", End::Paragraph},
        {"words\n\n", End::Paragraph},
        {"a line wrapped by hand\n", End::None},
        {"「行く。」", End::Sentence},
    };
    CReadingSettings settings;
    settings.CharacterMode = true;
    settings.SetStopSymbolsText(",;.:?!。\\n\\r");
    for (const auto& [unit, end] : rows) {
        SCOPED_TRACE(unit);
        EXPECT_EQ(EndOfUnit(unit.data(), unit.data() + unit.size(), settings), end);
    }
}

} // namespace
