// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReadingListener.h"

#include <cstdint>
#include <vector>

// A listener that records what the reading session told it.
struct CReadingProbe final : IReadingListener {
    void OnReadingStateChanged() override { ++StateChanges; }
    void OnPlayFlagsChanged(uint32_t flags) override { Flags.push_back(flags); }
    void OnPlaceMoved() override { ++PlaceMoves; }
    void OnSettingsChanged(SettingsAspect aspect) override { Aspects.push_back(aspect); }
    void OnUnitShown() override { ++UnitsShown; }

    // Whether any settings change told touched aspect.
    bool Told(SettingsAspect aspect) const {
        for (const SettingsAspect told : Aspects) {
            if (Touches(told, aspect))
                return true;
        }
        return false;
    }

    int StateChanges = 0;
    std::vector<uint32_t> Flags;
    int PlaceMoves = 0;
    std::vector<SettingsAspect> Aspects;
    int UnitsShown = 0;
};
