// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReadingSession.h"
#include "engine/ReadingSpeed.h"
#include "engine/UnitDrawer.h"
#include "settings/ReadingSettings.h"
#include "support/FakeClock.h"
#include "support/FakeWakeTimer.h"
#include "support/ReadingProbe.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {
// Cut with the default settings into units at 0, 7, 17, 37, 53 and 82.
const std::string Story = "It was late, and the house was quiet. Nobody moved.\r\n"
                          "The clock on the wall struck twelve.";

// Draws nothing; keeps what was shown, each unit followed by a bar.
struct CDrawnUnits final : IUnitDrawer {
    void ShowUnit(const char* unit) override {
        Shown.append(unit) += '|';
        OnScreen = true;
    }
    void EraseUnit() override { OnScreen = false; }
    void PrepareUnit(const char*) override {}
    void ForgetUnits() override { OnScreen = false; }
    void RepaintForState() override {}
    void ShowTheEnd() override { Ended(); }
    std::function<void()> Ended;
    std::string Shown;
    bool OnScreen = false;
};

struct ReadingSessionTest : ::testing::Test {
    ReadingSessionTest() {
        Session.AddListener(Probe);
        Session.SetDrawer(&Drawn);
        // Counted only when the reading has stopped first, as it must.
        Drawn.Ended = [this] {
            if (Session.Cursor() == Session.TextStart() && !Session.IsReading() && !Wake.IsArmed())
                ++Ends;
        };
    }
    ~ReadingSessionTest() override { Session.RemoveListener(Probe); }
    void TestBody() override {}

    // As a text is opened: handed to the session, then put at its stored place.
    void Open(int32_t storedPlace) {
        Settings.TextLength = static_cast<int32_t>(Story.size());
        Session.SetText(Story.c_str());
        Settings.SetPosition(storedPlace);
    }
    void Advance(uint32_t ms) {
        Clock.Advance(ms);
        Wake.Fire();
    }
    // A gap, with the unit shown at its end, and the unit's show time.
    void Cycle() {
        Advance(Settings.freq);
        Advance(Settings.durat);
    }
    void Run() { Session.SetPlayState(CPlayer::Run); }
    // Runs text (kept by the caller while it runs) from its start.
    void Run(const std::string& text) {
        Drawn.Shown.clear();
        Ends = 0;
        Settings.TextLength = static_cast<int32_t>(text.size());
        Session.SetText(text.c_str());
        Run();
    }
    int32_t Kept() {
        Session.KeepPlace();
        return Settings.Book.GetOffset();
    }

    CFakeClock Clock{5000};
    CFakeWakeTimer Wake;
    CReadingSettings Settings;
    CReadingSession Session{Settings, Clock, Wake};
    CReadingProbe Probe;
    CDrawnUnits Drawn;
    int Ends = 0; // the end reported properly
};

// The place kept when the reading is left (the window closes, the session ends, a
// signal comes, another text opens) is where the next Run would start.
// What the reader does, one step at a time: Cycle is a gap and a show time, Gap a gap
// with its unit shown at its end.
enum class Step { Run, Cycle, Gap, Pause, Stop, Jump53, Follow53, StepBack30, NextSentence };

void Do(ReadingSessionTest& t, Step step) {
    switch (step) {
    case Step::Run:
        return t.Run();
    case Step::Cycle:
        return t.Cycle();
    case Step::Gap:
        return t.Advance(t.Settings.freq);
    case Step::Pause:
        return t.Session.SetPlayState(CPlayer::Pause);
    case Step::Stop:
        return t.Session.SetPlayState(CPlayer::Stop);
    case Step::Jump53:
        t.Session.JumpTo(53);
        return;
    case Step::Follow53:
        t.Session.FollowTo(53);
        return;
    case Step::StepBack30:
        t.Session.StepBy(-30);
        return;
    case Step::NextSentence:
        return t.Session.MoveBySentence(true);
    }
}

struct PlaceRow {
    const char* Name;
    std::vector<Step> Steps;
    int32_t Kept;
};

TEST(ReadingSession, KeepPlace_InEachWayIntoAState_KeepsWhereTheNextRunStarts) {
    using enum Step;
    const PlaceRow rows[] = {
        {"opened at a stored place", {}, 37},
        {"moved by a key while stopped", {Jump53}, 53},
        {"moved by the page while stopped", {Follow53}, 53},
        {"stepped while stopped", {StepBack30}, 7},
        {"next sentence while stopped", {NextSentence}, 38},
        {"paused in a gap", {Run, Cycle, Pause}, 53},
        {"running, a unit on the screen", {Run, Cycle, Gap}, 53},
        {"running, in the gap after a unit", {Run, Cycle}, 37},
        {"running, nothing shown yet", {Run}, 37},
        {"stopped after running", {Run, Cycle, Stop}, 0},
        {"after the end", {Run, Cycle, Cycle, Cycle, Cycle}, 0},
    };
    for (const PlaceRow& row : rows) {
        SCOPED_TRACE(row.Name);
        ReadingSessionTest rig;
        rig.Open(37);
        for (const Step step : row.Steps)
            Do(rig, step);
        EXPECT_EQ(rig.Kept(), row.Kept);
    }
}

TEST_F(ReadingSessionTest, JumpWhileRunning_NextUnitIsTheNewPlacesAfterAWholeGap) {
    Open(0);
    Run();
    Cycle();
    Advance(Settings.freq);
    Session.JumpTo(53);
    Advance(Settings.freq - 1);
    EXPECT_EQ(Probe.UnitsShown, 2);
    Advance(1);
    EXPECT_EQ(Probe.UnitsShown, 3);
    EXPECT_EQ(std::string(Session.UnitBuffer()), "The clock on the wall struck ");
}

TEST_F(ReadingSessionTest, FollowWhileRunning_ReadsOnFromThereWithTheNextUnit) {
    Open(0);
    Run();
    Cycle();
    Session.FollowTo(53);
    Advance(Settings.freq);
    EXPECT_EQ(std::string(Session.UnitBuffer()), "The clock on the wall struck ");
}

TEST_F(ReadingSessionTest, Moves_OutsideTheText_RefusedAndNobodyTold) {
    Open(7);
    EXPECT_FALSE(Session.JumpTo(-1));
    EXPECT_FALSE(Session.StepBy(1000));
    EXPECT_EQ(Probe.PlaceMoves, 0);
    EXPECT_EQ(Settings.Book.GetOffset(), 7);
}

TEST_F(ReadingSessionTest, FollowTo_TellsEveryListenerButTheOrigin) {
    Open(0);
    CReadingProbe origin;
    Session.AddListener(origin);
    Session.FollowTo(7, &origin);
    Session.RemoveListener(origin);
    EXPECT_EQ(Probe.PlaceMoves, 1);
    EXPECT_EQ(origin.PlaceMoves, 0);
}

TEST_F(ReadingSessionTest, ChangeSpeed_StepsBothTimesAndRetimesThePhase) {
    Open(0);
    Run();
    Session.ChangeSpeed(ReadingSpeed::Faster);
    EXPECT_EQ(Settings.freq, 364u);
    EXPECT_EQ(Settings.durat, 636u);
    EXPECT_EQ(Session.NextWake(), 5364u);
    EXPECT_TRUE(Probe.Told(SettingsAspect::Timing));
}

TEST_F(ReadingSessionTest, AddBookmark_AtTheCursorThenPaused) {
    Open(0);
    Run();
    Cycle();
    Session.AddBookmark();
    EXPECT_EQ(Settings.Book.BookmarksNum, 1);
    EXPECT_EQ(Settings.Book.Bookmarks[0], 7);
    EXPECT_EQ(Session.GetState(), CReadingSession::State::Paused);
    EXPECT_TRUE(Probe.Told(SettingsAspect::Bookmarks));
}

TEST_F(ReadingSessionTest, Place_WhileRunning_IsTheStartOfTheUnitOnTheScreen) {
    Open(0);
    Run();
    Cycle();
    Advance(Settings.freq);
    EXPECT_EQ(Session.Place(), 7);
    EXPECT_EQ(Settings.Book.GetOffset(), 17);
}

TEST_F(ReadingSessionTest, ListenerRemovedWhileTold_NotToldAgain) {
    struct CLeaving final : IReadingListener {
        explicit CLeaving(CReadingSession& session) : Session(session) {}
        void OnReadingStateChanged() override {
            ++Told;
            Session.RemoveListener(*this);
        }
        CReadingSession& Session;
        int Told = 0;
    } leaving(Session);
    Session.AddListener(leaving);
    Open(0);
    Run();
    EXPECT_EQ(leaving.Told, 1);
    EXPECT_EQ(Probe.StateChanges, 2);
}
// A blank rest of the text ends the reading without a unit.
TEST_F(ReadingSessionTest, Cycle_DefaultTiming_GapShowEraseToTheEndThenTheEndOnce) {
    const std::string story = "It was |late, and |the house was quiet.| Nobody moved|"
                              "The clock on the wall struck |twelve.|";
    for (const auto& [text, units] : {std::pair{Story, story}, {" \t\r\n  ", ""}}) {
        SCOPED_TRACE(text);
        Run(text);
        Advance(399);
        EXPECT_TRUE(Drawn.Shown.empty());
        Advance(1);
        Advance(699);
        EXPECT_EQ(Drawn.OnScreen, !units.empty());
        Advance(1);
        EXPECT_FALSE(Drawn.OnScreen);
        for (int i = 0; i < 10; ++i)
            Cycle();
        EXPECT_EQ(Drawn.Shown, units);
        EXPECT_EQ(Ends, 1);
    }
}

// Paused in a gap or in a show time, a run starts with a whole gap, then the next unit.
TEST_F(ReadingSessionTest, Pause_GapOrShowTime_RunStartsWithTheGap) {
    for (const uint32_t pausedAfter : {1200u, 700u}) {
        SCOPED_TRACE(pausedAfter);
        Run(Story);
        Advance(400);
        Advance(pausedAfter - 400);
        Session.SetPlayState(CPlayer::Pause);
        EXPECT_FALSE(Wake.IsArmed());
        EXPECT_FALSE(Drawn.OnScreen);
        Advance(10000);
        Session.SetPlayState(CPlayer::Run);
        Advance(Settings.freq - 1);
        EXPECT_EQ(Drawn.Shown, "It was |");
        Advance(1);
        EXPECT_EQ(Drawn.Shown, "It was |late, and |");
        Session.SetPlayState(CPlayer::Stop);
    }
}

TEST_F(ReadingSessionTest, StopThenSetText_WhileAUnitIsShown_RewoundWithoutWakeAndFlagsAnnounced) {
    Run(Story);
    for (const bool stop : {true, false}) {
        Cycle();
        Advance(400);
        ASSERT_TRUE(Drawn.OnScreen);
        if (stop)
            Session.SetPlayState(CPlayer::Stop);
        else
            Session.SetText("A new text");
        EXPECT_EQ(Session.GetState(), CReadingSession::State::Stopped);
        EXPECT_FALSE(Drawn.OnScreen);
        EXPECT_FALSE(Wake.IsArmed());
        Session.SetPlayState(CPlayer::Run);
    }
    EXPECT_EQ(Drawn.Shown, "It was |late, and |It was |late, and |"); // from the start again
    EXPECT_EQ(Probe.Flags, (std::vector<uint32_t>{0x14, 0x0C, 0x14, 0x0C, 0x14, 0x0C}));
}

TEST_F(ReadingSessionTest, TimingChangedOrAnEarlyWake_ReArmedForTheRestOfTheNewLength) {
    Run(Story);
    EXPECT_EQ(Wake.Deadline(), 5400u);
    Clock.Advance(400);
    ASSERT_TRUE(Wake.Fire());
    Clock.Advance(300);
    Settings.durat = 1000;
    Session.SettingsEdited(SettingsAspect::Timing);
    EXPECT_EQ(Wake.Deadline(), 6400u);
    Clock.Advance(100);
    ASSERT_TRUE(Wake.Fire()); // early: armed again for the rest
    EXPECT_EQ(Wake.Deadline(), 6400u);
    Settings.durat = 50;
    Session.SettingsEdited(SettingsAspect::Timing);
    EXPECT_EQ(Wake.Deadline(), 5800u); // over already: at once
}
} // namespace

namespace {

// Paced, a run and every move start gently again: the gap before the next unit is the
// first unit's, twice the gap, where going on would give the second's (1.8 times).
TEST(ReadingSession, Paced_RunAndEveryMove_StartGentlyAgain) {
    using enum Step;
    const struct {
        const char* Name;
        std::vector<Step> Steps;
        uint32_t Gap;
    } rows[] = {
        {"going on", {}, 720},
        {"paused and run", {Pause, Run}, 800},
        {"moved by a key", {Jump53}, 800},
        {"moved by the page", {Follow53}, 800},
        {"next sentence", {NextSentence}, 800},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        ReadingSessionTest t;
        t.Settings.Pacing.On = 1;
        t.Run(Story);
        const auto toNextPhase = [&t] {
            t.Advance(*t.Session.NextWake() - t.Clock.NowMs());
        };
        toNextPhase();
        ASSERT_TRUE(t.Drawn.OnScreen);
        for (const Step step : row.Steps)
            Do(t, step);
        if (t.Drawn.OnScreen)
            toNextPhase();
        EXPECT_EQ(*t.Session.NextWake() - t.Clock.NowMs(), row.Gap);
    }
}

// "Slow down between sentences first": slower lengthens the sentence and paragraph gaps up
// to twice their defaults, then the times; faster takes the gaps back first.
TEST_F(ReadingSessionTest, SlowerWithSentencesFirst_LengthensSentenceGapsBeforeUnits) {
    Settings.Pacing.On = 1;
    Settings.Pacing.SentencesFirst = 1;
    for (int i = 0; i < 8; ++i)
        Session.ChangeSpeed(ReadingSpeed::Slower);
    EXPECT_EQ(Settings.Pacing.SentenceGap, 500);
    EXPECT_EQ(Settings.Pacing.ParagraphGap, 700);
    EXPECT_EQ(Settings.freq, 400u);
    Session.ChangeSpeed(ReadingSpeed::Slower);
    EXPECT_EQ(Settings.freq, 440u);
    Session.ChangeSpeed(ReadingSpeed::Faster);
    EXPECT_EQ(Settings.Pacing.SentenceGap, 455);
    EXPECT_EQ(Settings.freq, 440u);
}

} // namespace

namespace {
// Replay goes back to the start of the sentence on the screen and reads on, each gap and
// show time a step nearer the set ones over the gentle start's five units, paced or not.
TEST(ReadingSession, Replay_MidSentenceRunningOrPaused_FromItsStartSlowThenUpToSpeed) {
    const struct {
        const char* Name;
        bool PauseFirst;
    } rows[] = {{"running", false}, {"paused", true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        ReadingSessionTest t;
        t.Open(0);
        t.Run();
        t.Cycle();
        t.Cycle();
        t.Advance(t.Settings.freq);
        ASSERT_EQ(t.Session.Place(), 17);
        if (row.PauseFirst)
            t.Session.SetPlayState(CPlayer::Pause);
        t.Session.Replay();
        EXPECT_TRUE(t.Session.IsReading());
        EXPECT_EQ(t.Session.Place(), 0);
        std::vector<uint32_t> gaps;
        for (int unit = 0; unit < 6; ++unit) {
            gaps.push_back(*t.Session.NextWake() - t.Clock.NowMs());
            t.Advance(gaps.back());
            t.Advance(*t.Session.NextWake() - t.Clock.NowMs());
        }
        EXPECT_EQ(gaps, (std::vector<uint32_t>{800, 720, 640, 560, 480, 400}));
    }
}

} // namespace

namespace {
// Page Down goes to the next chapter; Page Up to this one's start, or from its start to
// the one before; a part and its first chapter at one place count as one.
TEST(ReadingSession, MoveByChapter_ForwardToTheNextBackLikePreviousTrack) {
    const struct {
        int32_t From;
        int32_t Forward;
        int32_t Back;
    } rows[] = {{17, 38, 0}, {38, 53, 0}, {60, 60, 53}, {0, 38, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.From);
        ReadingSessionTest t;
        t.Session.SetContents({{"One", 0, 0}, {"Two", 38, 0}, {"Two.1", 38, 1}, {"Three", 53, 0}});
        t.Open(row.From);
        t.Session.MoveByChapter(true);
        EXPECT_EQ(t.Session.Place(), row.Forward);
        t.Settings.SetPosition(row.From);
        t.Session.MoveByChapter(false);
        EXPECT_EQ(t.Session.Place(), row.Back);
    }
}
} // namespace

namespace {
// Asked to, the reading pauses once a chapter's last unit has had its show time, and
// goes on with the next chapter at the next Run.
TEST_F(ReadingSessionTest, PauseAtChapterEnd_PausesAfterTheChaptersLastUnit) {
    Session.SetContents({{"One", 0, 0}, {"Two", 38, 0}});
    Settings.PauseAtChapterEnd = 1;
    Open(0);
    Run();
    Cycle();
    Cycle();
    EXPECT_TRUE(Session.IsReading());
    Cycle();
    EXPECT_EQ(Session.GetState(), CReadingSession::State::Paused);
    EXPECT_EQ(Session.Place(), 37);
    Run();
    Advance(Settings.freq);
    EXPECT_EQ(std::string(Session.UnitBuffer()), " Nobody moved");
}
} // namespace
