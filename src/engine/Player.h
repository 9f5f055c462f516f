// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/PhaseTimer.h"
#include "engine/UnitCutter.h"

#include <array>
#include <cstdint>

class CReadingSettings;
class IClock;
class IWakeTimer;

// What the player asks of the window it plays in.
class IPlayerDrawer {
public:
    virtual ~IPlayerDrawer() = default;
    // Puts the unit (NUL-terminated) on the screen; its pixels change before this returns.
    virtual void ShowUnit(const char* unit) = 0;
    // Clears the shown unit's own rectangle now.
    virtual void EraseUnit() = 0;
    // The unit the next gap is expected to end with, to prepare while the gap runs.
    virtual void PrepareUnit(const char* unit) = 0;
    // The reading state changed: whatever was shown or prepared is gone.
    virtual void ForgetUnits() = 0;
    // Repaints the whole window for the state the flags now say.
    virtual void RepaintForState() = 0;
    // After every change of the play flags.
    virtual void OnFlagsChanged(uint32_t flags) = 0;
    // After SetPlayState and SetText, once the flags are told.
    virtual void OnPlayStateChanged() = 0;
    // At the end of a gap, before the next unit is cut: the cursor is where it starts.
    virtual void OnAboutToCutUnit() = 0;
    // A unit has just been drawn.
    virtual void OnUnitShown() = 0;
    // The reading is over (the player has stopped already).
    virtual void ShowTheEnd() = 0;
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
    // Announces AboutToCutUnit, then cuts the unit at the cursor into unit (UnitBufferSize
    // bytes) and moves the cursor past it. Null at the end of the text: unit then holds
    // the rest and the cursor stays.
    const char* NextUnit(char* unit);
    // The cursor was put elsewhere by a key: a running reading drops the unit on the
    // screen and goes on from there after a whole gap; otherwise the view shows the new
    // place.
    void PositionMoved();
    // freq or durat changed: the running phase is re-timed at once.
    void TimingChanged() { UpdateWake(); }
    // The work due at a phase end: cuts and draws the next unit when the gap is over,
    // erases the unit when its show time is over. Does nothing when no phase has ended
    // or when no text is running. The wake timer calls it at each phase end.
    void OnTimer();
    // Off: no wake is armed and the owner calls OnTimer (the periodic polling of old).
    void SetSelfTimed(bool on);

    const CPhaseTimer& PhaseTimer() const { return Timer; }
    const char* TextStart() const { return Start; }
    const char* Cursor() const { return CursorPos; }
    // Where a reading left now should take up again: the start of the unit last flashed
    // while running (the cursor is already past it), the cursor while paused, the text's
    // start when stopped. Null without a text.
    const char* PlaceToKeep() const;
    const char* UnitBuffer() const { return Unit.data(); }

private:
    void StateChanged();
    void PushDurations();
    void UpdateWake();
    void PrepareNextUnit();
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
};
