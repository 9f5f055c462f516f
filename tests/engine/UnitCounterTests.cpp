// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReadingEstimate.h"
#include "engine/ReadingSession.h"
#include "engine/UnitCounter.h"
#include "engine/UnitDrawer.h"
#include "settings/ReadingSettings.h"
#include "support/FakeClock.h"
#include "support/FakeWakeTimer.h"

#include <gtest/gtest.h>
#include <string>

namespace {
// Plays a text to its end from an offset and counts the units flashed.
struct CPlayedUnits final : IUnitDrawer {
    void ShowUnit(const char*) override { ++Units; }
    void EraseUnit() override {}
    void PrepareUnit(const char*) override {}
    void ForgetUnits() override {}
    void RepaintForState() override {}
    void ShowTheEnd() override { Ended = true; }

    int64_t Play(CReadingSettings& settings, const std::string& text, int32_t from) {
        CFakeClock clock{0};
        CFakeWakeTimer wake;
        CReadingSession session{settings, clock, wake};
        session.SetDrawer(this);
        settings.TextLength = static_cast<int32_t>(text.size());
        session.SetText(text.c_str());
        settings.SetPosition(from);
        session.SetPlayState(CPlayer::Run);
        while (!Ended) {
            clock.Advance(2000);
            session.OnTimer();
        }
        return Units;
    }
    int64_t Units = 0;
    bool Ended = false;
};

// Words begun in the text from `from` on: the one the reader stands in counts.
int64_t TextWords(const std::string& text, std::size_t from) {
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    };
    int64_t words = 0;
    for (std::size_t i = from; i < text.size(); ++i)
        words += !blank(text[i]) && (i == from || blank(text[i - 1]));
    return words;
}
} // namespace

TEST(UnitCounter, Count_Texts_SameUnitsAsThePlayerFlashesAndTheirWords) {
    const struct {
        std::string Text;
        int32_t From;
        bool CharacterMode;
    } cases[] = {
        {"It was late, and the house was quiet. Nobody moved.\r\nThe clock on the wall struck "
         "twelve.",
         0, false},
        {"It was late, and the house was quiet. Nobody moved.\r\n", 4, false},
        {"Wait... What?! Really?!?! Yes.\r\n\r\nNo... well, maybe; we will see about it.", 0,
         false},
        {"Some words here, and more words there, and still more.   \t\r\n  \r\n   ", 0, false},
        // A stop symbol standing alone before a line break is not flashed, but it is a
        // word of the text: the count is the text's words, not those of the units shown.
        {"The first clause is long enough to stand alone ;\r\nand the second one follows it "
         ".\r\nThe end.",
         0, false},
        {"", 0, false},
        {"Pneumonoultramicroscopicsilicovolcanoconiosis is a long word, isn't it, friend?", 0,
         false},
        {"Жили-были дед да баба, и была у них курочка Ряба. Снесла курочка яичко, не простое.", 0,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        CReadingSettings settings;
        settings.CharacterMode = c.CharacterMode;
        const int64_t played = CPlayedUnits().Play(settings, c.Text, c.From);
        const auto cut = CUnitCounter::SCutSettings::Of(settings);

        CUnitCounter whole(c.Text.c_str() + c.From, cut);
        EXPECT_TRUE(whole.Step(SIZE_MAX));
        EXPECT_EQ(whole.Count().Units, played);
        EXPECT_EQ(whole.Count().Words, TextWords(c.Text, static_cast<std::size_t>(c.From)));
        CUnitCounter stepped(c.Text.c_str() + c.From, cut);
        while (!stepped.Step(1)) {
        }
        EXPECT_EQ(stepped.Count().Units, whole.Count().Units);
        EXPECT_EQ(stepped.Count().Words, whole.Count().Words);
        EXPECT_EQ(stepped.BytesDone(), c.Text.size() - static_cast<std::size_t>(c.From));
    }
}

TEST(ReadingEstimate, TimeText_Edges_SecondsRoundedUpThenWholeMinutes) {
    const std::pair<uint64_t, const char*> cases[] = {
        {0, "0 s"},
        {1, "1 s"},
        {59'000, "59 s"},
        {59'001, "1 min"},
        {60'000, "1 min"},
        {3'599'000, "59 min"},
        {3'600'000, "1 h 00 min"},
        {33'179'000, "9 h 12 min"},
    };
    for (const auto& [ms, text] : cases)
        EXPECT_EQ(CReadingEstimate::TimeText(ms), text) << ms;
}

TEST(ReadingEstimate, Text_CountOrNone_PercentCutTimeAndSpeed) {
    using SCount = CUnitCounter::SCount;
    const std::pair<CReadingEstimate, const char*> cases[] = {
        {{29, 100, SCount{100, 300}, false, 1100, std::nullopt, std::nullopt},
         "28% \xC2\xB7 1 min left \xC2\xB7 164 wpm"},
        {{3, 100, SCount{30'000, 90'000}, true, 1100, std::nullopt, std::nullopt},
         "3% \xC2\xB7 about 9 h 10 min left \xC2\xB7 164 wpm"},
        {{100, 100, SCount{}, false, 1100, std::nullopt, std::nullopt}, "100% \xC2\xB7 0 s left"},
        {{42, 100, std::nullopt, false, 1100, std::nullopt, std::nullopt}, "42%"},
        {{29, 100, SCount{100, 300}, false, 1100, std::pair(3, 20), SCount{10, 30}},
         "Ch 3/20 \xC2\xB7 28% \xC2\xB7 11 s left in chapter \xC2\xB7 1 min \xC2\xB7 164 wpm"},
        {{29, 100, SCount{100, 300}, false, 1100, std::pair(3, 20), std::nullopt},
         "Ch 3/20 \xC2\xB7 28% \xC2\xB7 1 min left \xC2\xB7 164 wpm"},
    };
    for (const auto& [estimate, text] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(estimate.Text(), text);
    }
}

// The count at a chapter's end holds the units read before the next chapter begins: the
// one that reaches into it too, none when the count begins at it.
TEST(UnitCounter, AtMark_TheUnitsUpToTheOneThatReachesTheMark) {
    const std::string text = "It was late, and the house was quiet. Nobody moved.\r\n"
                             "The clock on the wall struck twelve.";
    const CReadingSettings settings;
    const auto cut = CUnitCounter::SCutSettings::Of(settings);
    const struct {
        int32_t From;
        int32_t Mark;
        int64_t Units;
    } rows[] = {{0, 38, 3}, {0, 37, 3}, {0, 36, 3}, {0, 17, 2}, {38, 38, 0}, {0, 200, 6}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Mark);
        CUnitCounter counter(text.c_str() + row.From, cut);
        counter.SetMark(text.c_str() + row.Mark);
        counter.Step(SIZE_MAX);
        ASSERT_TRUE(counter.AtMark());
        EXPECT_EQ(counter.AtMark()->Units, row.Units);
    }
}
