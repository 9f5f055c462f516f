#include "engine/Player.h"
#include "settings/ReadingSettings.h"
#include "support/FakeClock.h"
#include "support/FakeWakeTimer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {
// Cut with the default settings into these six units, the last one the rest of the text.
const std::string Story = "It was late, and the house was quiet. Nobody moved.\r\n"
                          "The clock on the wall struck twelve.";
const std::vector<std::string> StoryUnits{"It was ",
                                          "late, and ",
                                          "the house was quiet.",
                                          " Nobody moved",
                                          "The clock on the wall struck ",
                                          "twelve."};
using Units = std::vector<std::string>;

class PlayerTest : public testing::Test, public IPlayerDrawer {
protected:
    void ShowUnit(const char* unit) override {
        Shown.emplace_back(unit);
        OnScreen = true;
    }
    void EraseUnit() override { OnScreen = false; }
    void PrepareUnit(const char* unit) override { Prepared = unit; }
    void ForgetUnits() override { OnScreen = false; }
    void RepaintForState() override {}
    void OnFlagsChanged(uint32_t flags) override { Flags.push_back(flags); }
    void OnPlayStateChanged() override { ++StateChanges; }
    void OnAboutToCutUnit() override { CutsAt.push_back(Player.Cursor()); }
    void OnUnitShown() override {}
    void ShowTheEnd() override {
        ++Ends;
        if (DuringTheEnd)
            DuringTheEnd();
    }

    void Load(const std::string& text) {
        Text = text;
        Settings.TextLength = static_cast<int32_t>(Text.size());
        Player.SetText(Text.c_str());
    }
    // The clock moves on and the wake comes, as the event loop would bring it.
    void Advance(uint32_t ms) {
        Clock.Advance(ms);
        Player.OnTimer();
    }
    // n gap-and-show steps of the default timing.
    void Cycle(int n) {
        for (int i = 0; i < n; ++i) {
            Advance(400);
            Advance(700);
        }
    }
    bool Running() const { return Player.PlayFlags() & CPlayer::RunningBit; }
    bool Stopped() const { return Player.Cursor() == Player.TextStart() && !Running(); }

    CFakeClock Clock{5000};
    CFakeWakeTimer Wake;
    CReadingSettings Settings;
    CPlayer Player{Settings, Clock, Wake, *this};
    std::string Text;
    Units Shown;
    std::string Prepared;
    bool OnScreen = false;
    int Ends = 0;
    int StateChanges = 0;
    std::vector<uint32_t> Flags;
    std::vector<const char*> CutsAt;
    std::function<void()> DuringTheEnd;
};

TEST_F(PlayerTest, Cycle_DefaultTiming_GapUnitEraseInOrderAndEachCutAnnounced) {
    Load(Story);
    Player.SetPlayState(CPlayer::Run);
    EXPECT_EQ(Prepared, "It was "); // prepared while the first gap runs
    Advance(399);
    EXPECT_TRUE(Shown.empty());
    Advance(1);
    EXPECT_EQ(Shown, Units{"It was "});
    Advance(699);
    EXPECT_TRUE(OnScreen);
    Advance(1);
    EXPECT_FALSE(OnScreen);
    EXPECT_EQ(Prepared, "late, and ");
    Advance(400);
    EXPECT_EQ(CutsAt, (std::vector<const char*>{Text.c_str(), Text.c_str() + 7}));
    Cycle(6);
    EXPECT_EQ(Shown, StoryUnits);
    EXPECT_EQ(Ends, 1);
}

TEST_F(PlayerTest, Cycle_OnePhaseEndPerWake_EvenWhenWholePhasesAreOverdue) {
    Load(Story);
    Player.SetPlayState(CPlayer::Run);
    Advance(5000);
    Player.OnTimer();
    EXPECT_EQ(Shown.size(), 1u);
    EXPECT_TRUE(OnScreen);
}

TEST_F(PlayerTest, Pause_InTheGap_ResumesWithTheNextUnshownUnitAfterOneGap) {
    Load(Story);
    Player.SetPlayState(CPlayer::Run);
    Cycle(1);
    Advance(100);
    Player.SetPlayState(7); // any other value pauses
    EXPECT_FALSE(Wake.IsArmed());
    Advance(10000);
    Player.SetPlayState(CPlayer::Run);
    Advance(399);
    EXPECT_EQ(Shown.size(), 1u);
    Advance(1);
    EXPECT_EQ(Shown.back(), "late, and ");
}

TEST_F(PlayerTest, Pause_DuringShowTime_ResumesWithBlankShowTimeThenGap) {
    Load(Story);
    Player.SetPlayState(CPlayer::Run);
    Advance(400);
    Advance(300);
    Player.SetPlayState(CPlayer::Pause);
    EXPECT_FALSE(OnScreen);
    Player.SetPlayState(CPlayer::Run);
    Advance(700);
    EXPECT_EQ(Shown.size(), 1u);
    Advance(400);
    EXPECT_EQ(Shown.back(), "late, and ");
}

TEST_F(PlayerTest, PlayState_Changes_TouchOnlyRunStopBitsAnnouncedEachTime) {
    Player.SetFlag(CPlayer::PanelShownBit | CPlayer::FullScreenBit, true);
    Player.SetFlag(CPlayer::PanelShownBit, true); // no change, no notice
    Load(Story);
    Player.SetPlayState(CPlayer::Run);
    Player.SetPlayState(CPlayer::Pause);
    Player.SetPlayState(CPlayer::Stop);
    EXPECT_EQ(Flags, (std::vector<uint32_t>{0x13, 0x17, 0x0F, 0x07, 0x17}));
    EXPECT_EQ(StateChanges, 4);
}

TEST_F(PlayerTest, Stop_AfterSomeUnits_RewindsAndRunStartsOverAtTheStart) {
    Load(Story);
    Player.SetPlayState(CPlayer::Run);
    Cycle(2);
    Advance(300);
    Player.SetPlayState(CPlayer::Stop);
    EXPECT_TRUE(Stopped());
    Player.SetPlayState(CPlayer::Run);
    Player.SetPlayState(CPlayer::Run); // starts the phase over
    Advance(400);
    EXPECT_EQ(Shown.back(), "It was ");
}

TEST_F(PlayerTest, EndOfText_RestWithText_FlashedThenStoppedBeforeTheEndOnce) {
    Load("Hello there.");
    DuringTheEnd = [this] {
        EXPECT_TRUE(Stopped());
        EXPECT_FALSE(Wake.IsArmed());
        EXPECT_FALSE(OnScreen);
    };
    Player.SetPlayState(CPlayer::Run);
    Advance(400);
    Advance(699);
    EXPECT_EQ(Ends, 0);
    Advance(1);
    EXPECT_EQ(Ends, 1);
    Cycle(5);
    EXPECT_EQ(Ends, 1);
    EXPECT_EQ(Shown, Units{"Hello there."});
}

TEST_F(PlayerTest, EndOfText_BlankRest_TheEndWithoutAUnit) {
    for (const std::string text : {"", " \t\r\n  ", "\n\n\n"}) {
        SCOPED_TRACE(text);
        Ends = 0;
        Load(text);
        Player.SetPlayState(CPlayer::Run);
        // After an end found at a gap's end, the next run begins with a blank show time.
        for (int i = 0; i < 2 && Ends == 0; ++i)
            Advance(700);
        EXPECT_TRUE(Shown.empty());
        EXPECT_EQ(Ends, 1);
        EXPECT_TRUE(Stopped());
    }
}

TEST_F(PlayerTest, EndOfText_PositionMovedBackDuringLastPiece_ReadingGoesOn) {
    Load(Story);
    Player.SetPlayState(CPlayer::Run);
    Cycle(5);
    Advance(400);
    ASSERT_EQ(Shown.back(), "twelve.");
    ASSERT_TRUE(Settings.SetPosition(0));
    Advance(700);
    EXPECT_EQ(Ends, 0);
    Advance(400);
    EXPECT_EQ(Shown.back(), "It was ");
}

TEST_F(PlayerTest, SetText_WhileRunningOrNull_StoppedWithoutWakeOrMessage) {
    Load(Story);
    Player.SetPlayState(CPlayer::Run);
    Advance(400);
    Load("A new text, longer than thirty-two bytes in all.");
    EXPECT_TRUE(Stopped());
    EXPECT_FALSE(OnScreen);
    EXPECT_FALSE(Wake.IsArmed());
    Player.SetText(nullptr);
    EXPECT_FALSE(Player.PlayFlags() & CPlayer::TextLoadedBit);
    Player.SetPlayState(CPlayer::Run);
    EXPECT_FALSE(Wake.IsArmed());
    Advance(5000);
    EXPECT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Ends, 0);
}

TEST_F(PlayerTest, Wake_ArmedForEachPhaseEnd_ReTimedAndEarlyWakesArmedAgain) {
    Load(Story);
    EXPECT_FALSE(Wake.IsArmed());
    Player.SetPlayState(CPlayer::Run);
    EXPECT_EQ(Wake.Deadline(), 5400u);
    Clock.Advance(400);
    ASSERT_TRUE(Wake.Fire());
    EXPECT_EQ(Wake.Deadline(), 6100u);
    Clock.Advance(300);
    Settings.durat = 1000; // lengthened: the running show time lasts the new time
    Player.TimingChanged();
    EXPECT_EQ(Wake.Deadline(), 6400u);
    Clock.Advance(100);
    ASSERT_TRUE(Wake.Fire()); // early: armed again for the rest
    EXPECT_EQ(Wake.Deadline(), 6400u);
    Settings.durat = 50; // shortened below the time gone: due at once
    Player.TimingChanged();
    EXPECT_EQ(Wake.Deadline(), 5800u);
    ASSERT_TRUE(Wake.Fire());
    EXPECT_FALSE(OnScreen);
}

TEST_F(PlayerTest, Wake_HugeDurationOrEditWithoutNotice_AppliedAtTheNextPoll) {
    Settings.freq = 0xFFFFFFFFu; // -1 in a settings file
    Load(Story);
    Player.SetPlayState(CPlayer::Run);
    Advance(1000000);
    EXPECT_TRUE(Shown.empty());
    Settings.freq = 50;
    Advance(0);
    EXPECT_EQ(Shown.size(), 1u);
}

TEST_F(PlayerTest, Wake_NotSelfTimed_NoWakeAndTheOwnerDrivesThePhases) {
    Player.SetSelfTimed(false);
    Load(Story);
    Player.SetPlayState(CPlayer::Run);
    EXPECT_FALSE(Wake.IsArmed());
    Advance(400);
    EXPECT_EQ(Shown.size(), 1u);
    Player.SetSelfTimed(true);
    EXPECT_TRUE(Wake.IsArmed());
}

} // namespace
