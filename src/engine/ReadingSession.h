// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "books/BookText.h"
#include "engine/PauseContext.h"
#include "engine/Player.h"
#include "engine/ReadingListener.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

class CReadingSettings;
class IClock;
class IUnitDrawer;
class IWakeTimer;

// The one owner of the reading: the player with its play state, the text it reads and
// the place in it. Every change of the reading goes through here, and every change is
// told to the listeners, so that the view, the options panel, the status pane and the
// frame follow the same state without reaching into each other.
class CReadingSession final : private IPlayerDrawer {
public:
    enum class State { NoText, Stopped, Running, Paused };

    CReadingSession(CReadingSettings& settings, const IClock& clock, IWakeTimer& wake);
    ~CReadingSession() override;
    CReadingSession(const CReadingSession&) = delete;
    CReadingSession& operator=(const CReadingSession&) = delete;

    // Listeners are told in the order they were added; one that goes away removes itself.
    void AddListener(IReadingListener& listener);
    void RemoveListener(const IReadingListener& listener);
    // The window units are drawn in; null draws nothing.
    void SetDrawer(IUnitDrawer* drawer) { Drawer = drawer; }

    CReadingSettings& Settings() const { return ReadingSettings; }
    uint32_t PlayFlags() const { return Player.PlayFlags(); }
    State GetState() const;
    bool HasText() const { return GetState() != State::NoText; }
    bool IsReading() const { return Player.IsReading(); }
    const char* TextStart() const { return Player.TextStart(); }
    const char* Cursor() const { return Player.Cursor(); }
    // The unit on the screen, or the one shown last.
    const char* UnitBuffer() const { return Player.UnitBuffer(); }
    const CPhaseTimer& PhaseTimer() const { return Player.PhaseTimer(); }
    std::optional<uint32_t> NextWake() const { return Player.NextWake(); }
    // Where the next Run starts reading, as an offset: the start of the unit on the
    // screen (or shown last) while running, the cursor otherwise. Nullopt without a text.
    std::optional<int32_t> Place() const;

    // The text's table of contents, in the text's order; empty for none. Set just before
    // SetText, so that whoever follows the new text finds its table.
    void SetContents(TableOfContents contents);
    const TableOfContents& Contents() const { return Chapters; }
    // The chapter offset is in: the last entry at or before it; nullopt before the first
    // entry and without a table.
    std::optional<std::size_t> ChapterAt(int32_t offset) const;
    // To the start of the next chapter, or back like "previous track".
    void MoveByChapter(bool forward);

    // What the paused view shows: the unit flashed last, or after a move the unit to
    // come, with the text around it. Nullopt unless paused.
    std::optional<SPauseContext> PausedContext() const;
    // The words a reader means by "this": running, the unit flashed last; paused, the
    // sentence around the place, without the blanks at its ends; else nothing.
    std::string_view ShownText() const;

    // 0 stop, 1 run, anything else pause.
    void SetPlayState(int state);
    // A new text (NUL-terminated, owned by the caller, TextLength set), stopped at its
    // start; null: none.
    void SetText(const char* text);
    // Sets or clears a bit that is not the play state's (panel shown, full screen).
    void SetFlag(uint32_t bit, bool on) { Player.SetFlag(bit, on); }

    // A move by a key: a running reading drops the unit on the screen and goes on from
    // offset after a whole gap. False, and nothing moves, for an offset outside the text.
    bool JumpTo(int32_t offset);
    // A move by the move position page (slider, bookmark, step): the reading goes on
    // from there with the next unit. origin is not told.
    bool FollowTo(int32_t offset, const IReadingListener* origin = nullptr);
    bool StepBy(int32_t delta, const IReadingListener* origin = nullptr);
    // To the next sentence start, or back like "previous track".
    void MoveBySentence(bool forward);
    // The same by paragraphs.
    void MoveByParagraph(bool forward);
    // One unit back or forward, as reading cuts them.
    void StepUnit(bool forward);
    // Back to the start of the sentence being read (or of the one before, from a
    // sentence's start), running, slowly at first and then back up to speed over the
    // units of a gentle start, whether or not the reading is paced.
    void Replay();
    // Gap and show time both through step (ReadingSpeed::Faster or Slower).
    void ChangeSpeed(uint32_t (*step)(uint32_t));
    // Bookmarks the place and pauses.
    void AddBookmark();
    // The settings were edited in place; origin, the editor, is not told.
    void SettingsEdited(SettingsAspect aspect, const IReadingListener* origin = nullptr);
    // The reading is left (the window closes, another text comes): it stops, with the
    // cursor at the place, so that the place is what the text's settings keep.
    void KeepPlace();

    // The work due at a phase end; the wake timer calls it.
    void OnTimer() { Player.OnTimer(); }
    // Off: no wake is armed and the owner calls OnTimer, to compare with polling.
    void SetSelfTimed(bool on) { Player.SetSelfTimed(on); }

private:
    // The player's requests, drawn by the drawer and told to the listeners.
    void ShowUnit(const char* unit) override;
    void EraseUnit() override;
    void PrepareUnit(const char* unit) override;
    void ForgetUnits() override;
    void RepaintForState() override;
    void OnFlagsChanged(uint32_t flags) override;
    void OnPlayStateChanged() override;
    void OnAboutToCutUnit() override;
    void OnUnitShown() override;
    void ShowTheEnd() override;

    std::string_view Text() const;
    // The unit whose show time has just ended was its chapter's last: the next one
    // begins in a chapter after it, and the reader asked to pause there.
    bool EndsChapter() const;
    bool MoveTo(int32_t offset, bool restartGap, const IReadingListener* origin);
    void Moved(bool restartGap, const IReadingListener* origin);
    template <typename Call> void Tell(Call call, const IReadingListener* origin = nullptr);

    CReadingSettings& ReadingSettings;
    CPlayer Player;
    IUnitDrawer* Drawer = nullptr;
    std::vector<IReadingListener*> Listeners;
    TableOfContents Chapters;
};
