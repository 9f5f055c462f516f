#include "ViewTestSupport.h"

#include <QSignalSpy>

#include <chrono>

namespace {
// 89 bytes: cut with the default settings into six units, the last one the rest of the text.
const std::string Story = "It was late, and the house was quiet. Nobody moved.\r\n"
                          "The clock on the wall struck twelve.";
const std::vector<std::string> StoryUnits{"It was ",
                                          "late, and ",
                                          "the house was quiet.",
                                          " Nobody moved",
                                          "The clock on the wall struck ",
                                          "twelve."};

using PlayerTest = FlashViewFixture;

TEST_F(PlayerTest, Cycle_DefaultTiming_GapThenUnitThenEraseThenNextUnit) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);

    Advance(399);
    EXPECT_TRUE(Shown.empty());
    Advance(1);
    ASSERT_EQ(Shown, std::vector<std::string>{"It was "});
    EXPECT_TRUE(UnitOnScreen());

    Advance(699);
    EXPECT_TRUE(UnitOnScreen());
    Advance(1);
    EXPECT_FALSE(UnitOnScreen());

    Advance(399);
    EXPECT_EQ(Shown.size(), 1u);
    Advance(1);
    EXPECT_EQ(Shown.back(), "late, and ");
}

TEST_F(PlayerTest, Cycle_OnePhaseEndPerWake_EvenWhenWholePhasesAreOverdue) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(5000); // the gap, the show time and another gap are all overdue
    EXPECT_EQ(Shown.size(), 1u);
    EXPECT_TRUE(UnitOnScreen());
    View->OnTimer(); // the show time began at the last wake
    EXPECT_TRUE(UnitOnScreen());
}

TEST_F(PlayerTest, Cycle_WholeText_EveryUnitInOrderThenTheEnd) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    for (int i = 0; i < 40 && Fakes.Dialogs.Messages.empty(); ++i)
        Advance(700);
    EXPECT_EQ(Shown, StoryUnits);
    ASSERT_EQ(Fakes.Dialogs.Messages.size(), 1u);
}

TEST_F(PlayerTest, NextUnit_BeforeEachCut_AnnouncesTheCursorTheUnitStartsAt) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(400);
    Advance(700);
    Advance(400);
    ASSERT_EQ(CursorsBeforeCut.size(), 2u);
    EXPECT_EQ(CursorsBeforeCut[0], Text.c_str());
    EXPECT_EQ(CursorsBeforeCut[1], Text.c_str() + 7); // after "It was "
}

TEST_F(PlayerTest, Pause_InTheGap_ResumesWithTheNextUnshownUnitAfterOneGap) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(400);
    Advance(700);
    Advance(100);
    View->SetPlayState(CFlashView::Pause);
    EXPECT_EQ(View->State(), CFlashView::ReadingState::Paused);
    EXPECT_EQ(CursorOffset(), 7u);

    Advance(10000);
    EXPECT_EQ(Shown.size(), 1u);

    View->SetPlayState(CFlashView::Run);
    Advance(399);
    EXPECT_EQ(Shown.size(), 1u);
    Advance(1);
    EXPECT_EQ(Shown.back(), "late, and ");
}

TEST_F(PlayerTest, Pause_DuringShowTime_ResumesWithBlankShowTimeThenGap) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(400);
    Advance(300);
    View->SetPlayState(CFlashView::Pause);
    EXPECT_FALSE(UnitOnScreen());

    View->SetPlayState(CFlashView::Run);
    Advance(700); // a whole show time, with nothing on the screen
    EXPECT_EQ(Shown.size(), 1u);
    EXPECT_FALSE(UnitOnScreen());
    Advance(400);
    EXPECT_EQ(Shown.back(), "late, and ");
}

TEST_F(PlayerTest, Stop_AfterSomeUnits_RewindsAndRunStartsAtTheTextStart) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(400);
    Advance(700);
    Advance(400);
    Advance(700);
    View->SetPlayState(CFlashView::Stop);
    EXPECT_EQ(View->State(), CFlashView::ReadingState::Stopped);
    EXPECT_EQ(View->Cursor(), View->TextStart());

    View->SetPlayState(CFlashView::Run);
    Advance(400);
    EXPECT_EQ(Shown.back(), "It was ");
}

TEST_F(PlayerTest, PlayState_AnyOtherValue_ActsAsPause) {
    Load(Story);
    for (const int value : {7, -1}) {
        View->SetPlayState(CFlashView::Run);
        View->SetPlayState(value);
        EXPECT_EQ(View->State(), CFlashView::ReadingState::Paused) << value;
    }
}

TEST_F(PlayerTest, PlayState_Changes_TouchOnlyRunStopBitsAndAnnounceEachChange) {
    QSignalSpy changes(View.get(), &CFlashView::PlayFlagsChanged);
    View->SetFlag(CFlashView::PanelShownBit | CFlashView::FullScreenBit, true);
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    View->SetPlayState(CFlashView::Pause);
    View->SetPlayState(CFlashView::Stop);
    const std::vector<uint32_t> expected{0x13, 0x17, 0x0F, 0x07, 0x17};
    ASSERT_EQ(changes.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(changes[static_cast<qsizetype>(i)][0].toUInt(), expected[i]) << i;
}

TEST_F(PlayerTest, Run_WhileRunning_StartsTheCurrentPhaseOver) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(300);
    View->SetPlayState(CFlashView::Run);
    Advance(399);
    EXPECT_TRUE(Shown.empty());
    Advance(1);
    EXPECT_EQ(Shown.size(), 1u);
}

TEST_F(PlayerTest, EndOfText_RestWithText_FlashedAsLastUnitThenTheEndOnce) {
    Load("Hello there."); // shorter than MaxText: the whole text is the rest
    View->SetPlayState(CFlashView::Run);
    Advance(400);
    EXPECT_EQ(Shown, std::vector<std::string>{"Hello there."});
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());

    Advance(699);
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
    Advance(1);
    EXPECT_FALSE(UnitOnScreen());
    ASSERT_EQ(Fakes.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Fakes.Dialogs.Messages[0].Text, "The End");
    EXPECT_EQ(Fakes.Dialogs.Messages[0].Icon, MessageIcon::None);
    EXPECT_EQ(View->State(), CFlashView::ReadingState::Stopped);
    EXPECT_EQ(View->Cursor(), View->TextStart());

    for (int i = 0; i < 10; ++i)
        Advance(1000);
    EXPECT_EQ(Fakes.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Shown.size(), 1u);

    View->SetPlayState(CFlashView::Run); // again, from the beginning
    Advance(400);
    EXPECT_EQ(Shown, (std::vector<std::string>{"Hello there.", "Hello there."}));
}

TEST_F(PlayerTest, EndOfText_BlankRest_TheEndAtOnceWithoutAUnit) {
    for (const std::string text : {"", " \t\r\n  ", "\n\n\n"}) {
        Shown.clear();
        Fakes.Dialogs.Messages.clear();
        Load(text);
        View->SetPlayState(CFlashView::Run);
        // After an end found at a gap's end, the next run begins with a blank show time.
        for (int i = 0; i < 2 && Fakes.Dialogs.Messages.empty(); ++i)
            Advance(700);
        EXPECT_TRUE(Shown.empty()) << '"' << text << '"';
        EXPECT_EQ(Fakes.Dialogs.Messages.size(), 1u) << '"' << text << '"';
        EXPECT_EQ(View->State(), CFlashView::ReadingState::Stopped);
    }
}

TEST_F(PlayerTest, EndOfText_WhileTheBoxIsOpen_ReadingIsStoppedAndNothingFlashes) {
    Load("Hello there.");
    bool checked = false;
    Fakes.Dialogs.OnMessage = [&] {
        EXPECT_EQ(View->State(), CFlashView::ReadingState::Stopped);
        EXPECT_EQ(View->Cursor(), View->TextStart());
        EXPECT_FALSE(View->WakePending());
        const std::size_t shownBefore = Shown.size();
        for (int i = 0; i < 5; ++i)
            Advance(1000);
        QCoreApplication::processEvents();
        EXPECT_EQ(Shown.size(), shownBefore);
        EXPECT_FALSE(UnitOnScreen());
        checked = true;
    };
    View->SetPlayState(CFlashView::Run);
    Advance(400);
    Advance(700);
    EXPECT_TRUE(checked);
    EXPECT_EQ(Fakes.Dialogs.Messages.size(), 1u);
}

TEST_F(PlayerTest, EndOfText_PositionMovedBackDuringLastPiece_ReadingGoesOn) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    for (std::size_t i = 0; i + 1 < StoryUnits.size(); ++i) {
        Advance(400);
        Advance(700);
    }
    Advance(400);
    ASSERT_EQ(Shown.back(), "twelve.");
    ASSERT_TRUE(Settings.SetPosition(0));
    Advance(700);
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
    EXPECT_EQ(View->State(), CFlashView::ReadingState::Running);
    Advance(400);
    EXPECT_EQ(Shown.back(), "It was ");
}

TEST_F(PlayerTest, SetText_WhileRunning_StoppedAtTheNewStartWithoutMessage) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(400);
    ASSERT_TRUE(UnitOnScreen());

    const std::string second = "A new text, longer than thirty-two bytes in all.";
    Load(second);
    EXPECT_EQ(View->State(), CFlashView::ReadingState::Stopped);
    EXPECT_EQ(View->Cursor(), Text.c_str());
    EXPECT_EQ(View->TextStart(), Text.c_str());
    EXPECT_FALSE(UnitOnScreen());
    EXPECT_FALSE(View->WakePending());
    Advance(5000);
    EXPECT_EQ(Shown.size(), 1u);
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

TEST_F(PlayerTest, SetText_Null_LeavesTheViewWithoutAText) {
    Load(Story);
    View->SetText(nullptr);
    EXPECT_EQ(View->State(), CFlashView::ReadingState::NoText);
    View->SetPlayState(CFlashView::Run);
    EXPECT_FALSE(View->WakePending());
    Advance(5000);
    EXPECT_TRUE(Shown.empty());
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

// The wake is then due at once: the event loop runs it without the clock moving.
TEST_F(PlayerTest, Timing_ShortenedBelowElapsed_PhaseEndsAtTheNextWake) {
    for (const bool inShowTime : {false, true}) {
        SCOPED_TRACE(inShowTime ? "show time" : "gap");
        Shown.clear();
        Settings.freq = 400;
        Load(Story);
        View->SetPlayState(CFlashView::Run);
        if (inShowTime)
            Advance(400);
        Advance(200);
        (inShowTime ? Settings.durat : Settings.freq) = 150;
        View->TimingChanged();
        ASSERT_TRUE(View->WakePending());
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return inShowTime ? !UnitOnScreen() : !Shown.empty(); }, 5000));
    }
}

TEST_F(PlayerTest, Timing_Lengthened_RunningPhaseLastsTheNewTime) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(300);
    Settings.freq = 1000;
    View->TimingChanged();
    Advance(100);
    Advance(599);
    EXPECT_TRUE(Shown.empty());
    Advance(1);
    EXPECT_EQ(Shown.size(), 1u);
}

TEST_F(PlayerTest, Timing_EditWithoutNotice_AppliesAtTheNextWake) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(100);
    Settings.freq = 50;
    Advance(0);
    EXPECT_EQ(Shown.size(), 1u);
}

TEST_F(PlayerTest, Timing_ZeroGap_UnitShownByTheEventLoopAlone) {
    Settings.freq = 0;
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Shown.empty(); }, 5000));
    EXPECT_EQ(Shown.front(), "It was ");
}

TEST_F(PlayerTest, Timing_HugeDuration_PhaseDoesNotEndAndPauseStillWorks) {
    Settings.freq = 0xFFFFFFFFu; // -1 in a settings file
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Advance(1000000);
    EXPECT_TRUE(Shown.empty());
    EXPECT_TRUE(View->WakePending());
    View->SetPlayState(CFlashView::Pause);
    EXPECT_FALSE(View->WakePending());
}

TEST_F(PlayerTest, Wake_OnlyWhileATextRuns) {
    EXPECT_FALSE(View->WakePending());
    View->SetPlayState(CFlashView::Run); // no text: nothing to time
    EXPECT_FALSE(View->WakePending());
    Load(Story);
    EXPECT_FALSE(View->WakePending());
    View->SetPlayState(CFlashView::Run);
    EXPECT_TRUE(View->WakePending());
    Advance(400);
    EXPECT_TRUE(View->WakePending());
    View->SetPlayState(CFlashView::Pause);
    EXPECT_FALSE(View->WakePending());
    View->SetPlayState(CFlashView::Run);
    View->SetPlayState(CFlashView::Stop);
    EXPECT_FALSE(View->WakePending());
    View->TimingChanged();
    EXPECT_FALSE(View->WakePending());
}

// Does what arms the wake and checks that the wake is set for the phase end: `remaining`
// milliseconds after the start of the millisecond of the monotonic clock it was armed in.
template <typename Arm> void ExpectWakeIn(const CFlashView& view, int64_t remaining, Arm arm) {
    using namespace std::chrono;
    const auto before = floor<milliseconds>(steady_clock::now());
    arm();
    const auto after = floor<milliseconds>(steady_clock::now());
    ASSERT_TRUE(view.NextWake());
    EXPECT_GE(*view.NextWake(), before + milliseconds(remaining));
    EXPECT_LE(*view.NextWake(), after + milliseconds(remaining));
}

TEST_F(PlayerTest, Wake_ArmedForTheEndOfTheCurrentPhase) {
    Load(Story);
    ExpectWakeIn(*View, 400, [&] { View->SetPlayState(CFlashView::Run); });
    // The unit is shown: the wake comes at the end of the show time.
    ExpectWakeIn(*View, 700, [&] { Advance(400); });
    Advance(300);
    Settings.durat = 1000;
    ExpectWakeIn(*View, 700, [&] { View->TimingChanged(); });
    // Woken early: armed again for the rest.
    ExpectWakeIn(*View, 600, [&] { Advance(100); });
}

TEST_F(PlayerTest, Wake_NotSelfTimed_NoWakeAndOwnerDrivesThePhases) {
    View->SetSelfTimed(false);
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    EXPECT_FALSE(View->WakePending());
    Advance(400);
    EXPECT_EQ(Shown.size(), 1u);
    EXPECT_FALSE(View->WakePending());
    View->SetSelfTimed(true);
    EXPECT_TRUE(View->WakePending());
}

} // namespace
