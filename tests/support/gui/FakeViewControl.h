// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "panel/ViewControl.h"

#include <QFont>

// A view that records what the panel asks of it.
class CFakeViewControl final : public IViewControl {
public:
    int PanelRequest = -1;
    int Focusings = 0;
    QFont Font;

    const QFont& DisplayFont() const override { return Font; }
    void ShowOptionsPanel(int page) override { PanelRequest = page; }
    void FocusView() override { ++Focusings; }
};
