// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Pacing.h"
#include "engine/PhaseTimer.h"
#include "engine/UnitCutter.h"
#include "engine/UnitDrawer.h"

#include <array>
#include <cstdint>
#include <optional>

class CReadingSettings;
class IClock;
class IWakeTimer;

// What the player asks of the one it plays for: the drawing, and news of each change.
class IPlayerDrawer : public IUnitDrawer {
public:
    // After every change of the play flags.
    virtual void OnFlagsChanged(uint32_t flags) = 0;
    // After SetPlayState and SetText, once the flags are told.
    virtual void OnPlayStateChanged() = 0;
    // At the end of a gap, before the next unit is cut: the cursor is where it starts.
    virtual void OnAboutToCutUnit() = 0;
    // A unit has just been drawn.
    virtual void OnUnitShown() = 0;
};

// The reading: play state, the gap and show phases and the cutting of units, on an
// injected clock and wake timer. The settings' position book is bound to the player's
// text start and cursor for the player's lifetime.
class CPlayer {
public:
    enum : uint32_t {
        PanelShownBit = 0x01,
        FullScreenBit = 0x02,
        TextLoadedBit = 0x04,
        RunningBit = 0x08,
        StoppedBit = 0x10,
    };
    enum PlayState { Stop = 0, Run = 1, Pause = 2 };

    CPlayer(CReadingSettings& settings, const IClock& clock, IWakeTimer& wake,
            IPlayerDrawer& drawer);
    ~CPlayer();
    CPlayer(const CPlayer&) = delete;
    CPlayer& operator=(const CPlayer&) = delete;

    uint32_t PlayFlags() const { return Flags; }
    bool IsReading() const { return (Flags & TextLoadedBit) && (Flags & RunningBit); }
    // 0 stop, 1 run, anything else pause.
    void SetPlayState(int state);
    // A new text (NUL-terminated, owned by the caller), stopped at its start; null: none.
    void SetText(const char* text);
    // Sets or clears a bit that is not the play state's (panel shown, full screen).
    void SetFlag(uint32_t bit, bool on);
    // The cursor was put elsewhere by a key: a running reading drops the unit on the
    // screen and goes on from there after a whole gap; otherwise the view shows the new
    // place.
    void PositionMoved();
    // The cursor was moved with the reading going on (the slider, a step): paced, the
    // reading starts gently again from the next unit.
    void RestartPace();
    // A replay has just put the reading back: its units start slower and rise back to
    // speed over a gentle start's units, paced or not.
    void Replay();
    // freq or durat changed: the running phase is re-timed at once.
    void TimingChanged() { UpdateWake(); }
    // The work due at a phase end: cuts and draws the next unit when the gap is over,
    // erases the unit when its show time is over. Does nothing when no phase has ended
    // or when no text is running. The wake timer calls it at each phase end.
    void OnTimer();
    // Off: no wake is armed and the owner calls OnTimer, as a periodic timer would (the
    // timing benchmark compares the two).
    void SetSelfTimed(bool on);

    const CPhaseTimer& PhaseTimer() const { return Timer; }
    // The clock's millisecond the armed wake comes at: the end of the current phase.
    std::optional<uint32_t> NextWake() const;
    const char* TextStart() const { return Start; }
    const char* Cursor() const { return CursorPos; }
    // Where the next Run starts reading: the start of the unit last flashed while
    // running (the cursor is already past it), else the cursor (the text's start after
    // Stop, the stored place after opening, the moved place after a move). Null without
    // a text.
    const char* PlaceToKeep() const;
    const char* UnitBuffer() const { return Unit.data(); }
    // The start of the unit flashed last when the cursor is still right after it (no
    // move since), else null.
    const char* LastShownStart() const { return ShownTo == CursorPos ? ShownFrom : nullptr; }
    // The times of the unit the gap now running (or the next one) leads to.
    uint32_t GapMs() const;
    uint32_t ShowMs() const;

private:
    // Announces AboutToCutUnit, then cuts the unit at the cursor into unit (UnitBufferSize
    // bytes) and moves the cursor past it. Null at the end of the text: unit then holds
    // the rest and the cursor stays.
    const char* NextUnit(char* unit);
    void StateChanged();
    void PushDurations();
    void UpdateWake();
    void PrepareNextUnit();
    // A run or a jump: the reading starts gently again, after a unit that ended nothing.
    void StartPace();
    // Paces the unit at the cursor, while the gap before it runs.
    void UpdatePace();
    void ShowNextUnit();
    void EndShowTime();
    void FinishReading();

    CReadingSettings& Settings;
    const IClock& Clock;
    IWakeTimer& Wake;
    IPlayerDrawer& Drawer;
    CPhaseTimer Timer;
    const char* Start = nullptr;
    const char* CursorPos = nullptr;
    uint32_t Flags = StoppedBit;
    std::array<char, UnitBufferSize> Unit{};
    bool SelfTimed = true;
    // Where the cursor stood when the last piece of the text was shown: when its show
    // time ends there, the reading is over.
    const char* LastPieceAt = nullptr;
    // The last unit flashed in this run, from and to; the cursor moved elsewhere since
    // (the slider, a bookmark) makes it stale.
    const char* ShownFrom = nullptr;
    const char* ShownTo = nullptr;
    Pacing::SPace Pace;
    Pacing::End LastEnd = Pacing::End::None;
    int UnitsIntoRun = 0;
    // Moved during a show time: the gap after it starts the pace again.
    bool PaceRestarts = false;
    // The units of a replay's gentle start are running.
    bool Replaying = false;
};
