// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

// Which settings an edit touched, so that each listener does only the work it needs.
enum class SettingsAspect : uint32_t {
    Timing = 0x01,    // freq, durat
    Cut = 0x02,       // MaxText, MinText, stop symbols and their split
    Look = 0x04,      // colours, Width, display mode
    Font = 0x08,      // the font description
    Bookmarks = 0x10, // the bookmark list
    Step = 0x20,      // the move position page's step
    All = 0xFF,       // a whole new set: loaded, a text's own
};

inline constexpr SettingsAspect operator|(SettingsAspect a, SettingsAspect b) {
    return static_cast<SettingsAspect>(static_cast<uint32_t>(a) | static_cast<uint32_t>(b));
}

// What a new set of settings changes when the view keeps its font until the reader
// picks one: "Load settings..." and the panel's Default.
inline constexpr SettingsAspect SettingsButFont =
    SettingsAspect::Timing | SettingsAspect::Cut | SettingsAspect::Look | SettingsAspect::Step;

inline constexpr bool Touches(SettingsAspect edited, SettingsAspect aspect) {
    return (static_cast<uint32_t>(edited) & static_cast<uint32_t>(aspect)) != 0;
}

// What the reading session tells the windows that follow it. Every call comes on the
// thread that changed the reading, after the change.
class IReadingListener {
public:
    virtual ~IReadingListener() = default;
    // Run, pause, stop or a new text: the reading state changed.
    virtual void OnReadingStateChanged() {}
    // Any bit of the play flags changed, the panel and full-screen bits included.
    virtual void OnPlayFlagsChanged(uint32_t flags) { static_cast<void>(flags); }
    // The place was put elsewhere by a move (not by reading on).
    virtual void OnPlaceMoved() {}
    virtual void OnSettingsChanged(SettingsAspect aspect) { static_cast<void>(aspect); }
    // A gap is over and the next unit is about to be cut at the cursor.
    virtual void OnAboutToCutUnit() {}
    // A unit is on the screen now.
    virtual void OnUnitShown() {}
    // A replay put the reading back to a sentence's start, running; the move it made
    // was told first.
    virtual void OnReplayed() {}
};
