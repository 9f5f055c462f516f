// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Player.h"
#include "settings/ReadingSettings.h"
#include "support/FakeClock.h"
#include "support/FakeWakeTimer.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
// Cut with the default settings into six units, the last one the rest of the text.
const std::string Story = "It was late, and the house was quiet. Nobody moved.\r\n"
                          "The clock on the wall struck twelve.";

class PlayerTest : public testing::Test, public IPlayerDrawer {
protected:
    void ShowUnit(const char* unit) override {
        Shown.append(unit) += '|';
        OnScreen = true;
    }
    void EraseUnit() override { OnScreen = false; }
    void PrepareUnit(const char*) override {}
    void ForgetUnits() override { OnScreen = false; }
    void RepaintForState() override {}
    void OnFlagsChanged(uint32_t flags) override { Flags.push_back(flags); }
    void OnPlayStateChanged() override {}
    void OnAboutToCutUnit() override {}
    void OnUnitShown() override {}
    // Counted only when the player has stopped first, as it must.
    void ShowTheEnd() override {
        if (Stopped() && !Wake.IsArmed())
            ++Ends;
    }

    void Run(const std::string& text) { // kept by the caller while it runs
        Shown.clear();
        Ends = 0;
        Settings.TextLength = static_cast<int32_t>(text.size());
        Player.SetText(text.c_str());
        Player.SetPlayState(CPlayer::Run);
    }
    void Advance(uint32_t ms) {
        Clock.Advance(ms);
        Player.OnTimer();
    }
    // n default gaps, each with the unit shown at its end for its show time.
    void Cycle(int n) {
        for (int i = 0; i < n; ++i) {
            Advance(400);
            Advance(700);
        }
    }
    bool Stopped() const {
        return Player.Cursor() == Player.TextStart() && !(Player.PlayFlags() & CPlayer::RunningBit);
    }

    CFakeClock Clock{5000};
    CFakeWakeTimer Wake;
    CReadingSettings Settings;
    CPlayer Player{Settings, Clock, Wake, *this};
    std::string Shown; // each unit followed by a bar
    bool OnScreen = false;
    int Ends = 0; // the end reported properly
    std::vector<uint32_t> Flags;
};

// A blank rest of the text ends the reading without a unit.
TEST_F(PlayerTest, Cycle_DefaultTiming_GapShowEraseToTheEndThenTheEndOnce) {
    const std::string story = "It was |late, and |the house was quiet.| Nobody moved|"
                              "The clock on the wall struck |twelve.|";
    for (const auto& [text, units] : {std::pair{Story, story}, {" \t\r\n  ", ""}}) {
        SCOPED_TRACE(text);
        Run(text);
        Advance(399);
        EXPECT_TRUE(Shown.empty());
        Advance(1);
        Advance(699);
        EXPECT_EQ(OnScreen, !units.empty());
        Advance(1);
        EXPECT_FALSE(OnScreen);
        Cycle(10);
        EXPECT_EQ(Shown, units);
        EXPECT_EQ(Ends, 1);
    }
}

TEST_F(PlayerTest, Pause_GapOrShowTime_ResumesWithTheNextUnshownUnit) {
    for (const uint32_t pausedAfter : {1200u, 700u}) {
        SCOPED_TRACE(pausedAfter);
        Run(Story);
        Advance(400);
        Advance(pausedAfter - 400);
        Player.SetPlayState(CPlayer::Pause);
        EXPECT_FALSE(Wake.IsArmed());
        EXPECT_FALSE(OnScreen);
        Advance(10000);
        Player.SetPlayState(CPlayer::Run);
        Cycle(1);
        EXPECT_EQ(Shown, pausedAfter > 1100 ? "It was |late, and |" : "It was |");
        Advance(pausedAfter > 1100 ? 0 : 400);
        EXPECT_EQ(Shown, "It was |late, and |");
        Player.SetPlayState(CPlayer::Stop);
    }
}

TEST_F(PlayerTest, StopThenSetText_WhileAUnitIsShown_RewoundWithoutWakeAndFlagsAnnounced) {
    Run(Story);
    for (const bool stop : {true, false}) {
        Cycle(1);
        Advance(400);
        ASSERT_TRUE(OnScreen);
        if (stop)
            Player.SetPlayState(CPlayer::Stop);
        else
            Player.SetText("A new text");
        EXPECT_TRUE(Stopped());
        EXPECT_FALSE(OnScreen);
        EXPECT_FALSE(Wake.IsArmed());
        Player.SetPlayState(CPlayer::Run);
    }
    EXPECT_EQ(Shown, "It was |late, and |It was |"); // from the start again
    EXPECT_EQ(Flags, (std::vector<uint32_t>{0x14, 0x0C, 0x14, 0x0C, 0x14, 0x0C}));
}

TEST_F(PlayerTest, TimingChangedOrAnEarlyWake_ReArmedForTheRestOfTheNewLength) {
    Run(Story);
    EXPECT_EQ(Wake.Deadline(), 5400u);
    Clock.Advance(400);
    ASSERT_TRUE(Wake.Fire());
    Clock.Advance(300);
    Settings.durat = 1000;
    Player.TimingChanged();
    EXPECT_EQ(Wake.Deadline(), 6400u);
    Clock.Advance(100);
    ASSERT_TRUE(Wake.Fire()); // early: armed again for the rest
    EXPECT_EQ(Wake.Deadline(), 6400u);
    Settings.durat = 50;
    Player.TimingChanged();
    EXPECT_EQ(Wake.Deadline(), 5800u); // over already: at once
}
} // namespace
