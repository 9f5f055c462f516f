// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panel/ViewControl.h"

#include <QFont>

// A view that records what the panel asks of it.
class CFakeViewControl final : public IViewControl {
public:
    uint32_t Flags = 0;
    int PanelRequest = -1, FontRecreations = 0, TimingChanges = 0, Repaints = 0, Focusings = 0;

    QFont Font;

    uint32_t PlayFlags() const override { return Flags; }
    const QFont& DisplayFont() const override { return Font; }
    void ShowOptionsPanel(int page) override { PanelRequest = page; }
    void RecreateFont() override { ++FontRecreations; }
    void TimingChanged() override { ++TimingChanges; }
    void RepaintView() override { ++Repaints; }
    void FocusView() override { ++Focusings; }
};
