// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the reading session asks of the window its units are drawn in.
class IUnitDrawer {
public:
    virtual ~IUnitDrawer() = default;
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
    // The reading is over (stopped already): tells the reader.
    virtual void ShowTheEnd() = 0;
};
