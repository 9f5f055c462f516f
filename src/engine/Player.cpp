// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Player.h"

#include "platform/Clock.h"
#include "platform/WakeTimer.h"
#include "settings/ReadingSettings.h"

#include <algorithm>

namespace {
// Far beyond any gentle start: the count of a long run stops there.
constexpr int MaxUnitsIntoRun = 1000000;
} // namespace

CPlayer::CPlayer(CReadingSettings& settings, const IClock& clock, IWakeTimer& wake,
                 IPlayerDrawer& drawer)
    : Settings(settings), Clock(clock), Wake(wake), Drawer(drawer), Timer(clock) {
    Settings.BindText(&Start, &CursorPos);
    Wake.SetCallback([this] { OnTimer(); });
}

// The settings record may be gone already (its owner can destroy it before its child
// windows), so the destructor leaves it alone.
CPlayer::~CPlayer() {
    Wake.SetCallback(nullptr);
    Wake.Cancel();
}

void CPlayer::SetPlayState(int state) {
    switch (state) {
    case Run:
        Flags = (Flags | RunningBit) & ~StoppedBit;
        // A run starts with the gap before the next unit, whatever phase a pause cut
        // short: the unit of an interrupted show time is gone from the screen already,
        // and waiting out the rest of its show time would show nothing.
        Timer.Reset(0);
        Timer.Reset(2);
        StartPace();
        PushDurations();
        break;
    case Stop:
        Flags &= ~RunningBit;
        CursorPos = Start;
        Flags |= StoppedBit;
        break;
    default:
        Flags &= ~(RunningBit | StoppedBit);
        break;
    }
    StateChanged();
    if (IsReading() && Timer.Phase() == 0)
        PrepareNextUnit();
    Drawer.RepaintForState();
    Drawer.OnFlagsChanged(Flags);
    Drawer.OnPlayStateChanged();
}

void CPlayer::SetText(const char* text) {
    Start = text;
    CursorPos = text;
    Flags = (Flags & ~RunningBit) | StoppedBit;
    if (text)
        Flags |= TextLoadedBit;
    else
        Flags &= ~TextLoadedBit;
    StateChanged();
    Drawer.OnFlagsChanged(Flags);
    Drawer.OnPlayStateChanged();
}

void CPlayer::SetFlag(uint32_t bit, bool on) {
    const uint32_t flags = on ? Flags | bit : Flags & ~bit;
    if (flags == Flags)
        return;
    Flags = flags;
    Drawer.OnFlagsChanged(Flags);
}

void CPlayer::StateChanged() {
    // Whatever was on the screen goes with the repaint that a state change brings.
    Drawer.ForgetUnits();
    LastPieceAt = nullptr;
    ShownFrom = ShownTo = nullptr;
    UpdateWake();
}

void CPlayer::PositionMoved() {
    LastPieceAt = nullptr;
    ShownFrom = ShownTo = nullptr;
    if (!IsReading()) {
        Drawer.RepaintForState();
        return;
    }
    Drawer.EraseUnit();
    // A reset to no phases drops the phase index, so the two begin again at the gap.
    Timer.Reset(0);
    Timer.Reset(2);
    StartPace();
    PushDurations();
    PrepareNextUnit();
    UpdateWake();
}

const char* CPlayer::PlaceToKeep() const {
    if (!Start)
        return nullptr;
    if ((Flags & RunningBit) && ShownFrom && ShownTo == CursorPos)
        return ShownFrom;
    return CursorPos;
}

std::optional<uint32_t> CPlayer::NextWake() const {
    if (!Wake.IsArmed())
        return std::nullopt;
    return Wake.Deadline();
}

const char* CPlayer::NextUnit(char* unit) {
    Drawer.OnAboutToCutUnit();
    if (!CursorPos) {
        unit[0] = '\0';
        return nullptr;
    }
    const char* next = CutUnit(CursorPos, unit, Settings);
    if (next)
        CursorPos = next;
    return next;
}

void CPlayer::PushDurations() {
    Timer.SetDuration(0, GapMs());
    Timer.SetDuration(1, ShowMs());
}

uint32_t CPlayer::GapMs() const {
    return Settings.Pacing.On || Replaying ? Pacing::GapMs(Pace, Settings) : Settings.freq;
}

uint32_t CPlayer::ShowMs() const {
    return Settings.Pacing.On || Replaying ? Pacing::ShowMs(Pace, Settings) : Settings.durat;
}

void CPlayer::StartPace() {
    LastEnd = Pacing::End::None;
    UnitsIntoRun = 0;
    PaceRestarts = false;
    Replaying = false;
    UpdatePace();
}

void CPlayer::Replay() {
    if (!IsReading())
        return;
    StartPace();
    Replaying = Settings.Pacing.StartUnits > 0;
    UpdatePace();
    PushDurations();
    UpdateWake();
}

void CPlayer::RestartPace() {
    if (!Settings.Pacing.On || !IsReading())
        return;
    if (Timer.Phase() != 0) {
        PaceRestarts = true;
        return;
    }
    StartPace();
    UpdateWake();
}

void CPlayer::UpdatePace() {
    Pace = {};
    if (!Settings.Pacing.On && Replaying) {
        const auto start = static_cast<int32_t>(Pacing::StartPermille(UnitsIntoRun, Settings));
        Pace = {start, start};
        return;
    }
    if (!Settings.Pacing.On || !CursorPos)
        return;
    std::array<char, UnitBufferSize> bytes{};
    CutUnit(CursorPos, bytes.data(), Settings);
    Pace = Pacing::PaceOf(bytes.data(), LastEnd, UnitsIntoRun, Settings);
}

void CPlayer::SetSelfTimed(bool on) {
    SelfTimed = on;
    UpdateWake();
}

void CPlayer::UpdateWake() {
    if (!SelfTimed || !IsReading()) {
        Wake.Cancel();
        return;
    }
    PushDurations();
    // The phase ends as the clock enters the millisecond `remaining` ahead of the
    // current one; the wake timer sleeps to that edge. The clock is read before
    // Remaining so that a millisecond passing in between makes the wake early (it is
    // armed again) rather than late.
    const uint32_t now = Clock.NowMs();
    Wake.ArmAt(now + Timer.Remaining());
}

void CPlayer::OnTimer() {
    if (!IsReading())
        return;
    // Pushed before every poll so that edits apply to the running phase.
    PushDurations();
    switch (Timer.Tick()) {
    case 0:
        ShowNextUnit();
        break;
    case 1:
        EndShowTime();
        break;
    default:
        break;
    }
    UpdateWake();
}

void CPlayer::PrepareNextUnit() {
    // The cut is only a forecast here: the unit is still cut at the end of the gap.
    if (!IsReading() || !CursorPos)
        return;
    std::array<char, UnitBufferSize> bytes{};
    if (!CutUnit(CursorPos, bytes.data(), Settings) && !HasVisibleText(bytes.data()))
        return;
    Drawer.PrepareUnit(bytes.data());
}

void CPlayer::ShowNextUnit() {
    const char* from = CursorPos;
    if (!NextUnit(Unit.data())) {
        // The rest of the text is in the unit buffer: flashed as the last unit when
        // there is anything to see in it, otherwise the reading is over now.
        if (!HasVisibleText(Unit.data())) {
            FinishReading();
            return;
        }
        LastPieceAt = CursorPos;
    }
    ShownFrom = from;
    ShownTo = CursorPos;
    Drawer.ShowUnit(Unit.data());
    Drawer.OnUnitShown();
}

void CPlayer::EndShowTime() {
    // The position may have been moved while the last piece was shown: then the
    // reading goes on from there.
    const bool lastPieceDone = LastPieceAt && LastPieceAt == CursorPos;
    LastPieceAt = nullptr;
    if (!lastPieceDone) {
        // The gap that begins is the next unit's: timed before the erase is drawn, so
        // that whoever looks at the phase then sees its length.
        if (PaceRestarts) {
            StartPace();
        } else if (Settings.Pacing.On || Replaying) {
            LastEnd = EndOfUnit(ShownFrom, ShownTo, Settings);
            UnitsIntoRun = std::min(UnitsIntoRun + 1, MaxUnitsIntoRun);
            Replaying = Replaying && UnitsIntoRun < Settings.Pacing.StartUnits;
            UpdatePace();
        }
        PushDurations();
    }
    Drawer.EraseUnit();
    if (lastPieceDone) {
        FinishReading();
        return;
    }
    // The gap has begun: its end has only to put the prepared unit on the screen.
    PrepareNextUnit();
}

void CPlayer::FinishReading() {
    // Stopped before the box opens, so that nothing flashes behind it.
    SetPlayState(Stop);
    Drawer.ShowTheEnd();
}
