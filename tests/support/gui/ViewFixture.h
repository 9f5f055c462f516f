// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReadingSession.h"
#include "settings/ReadingSettings.h"
#include "support/FakeWakeTimer.h"
#include "support/gui/FakeServices.h"
#include "view/FlashView.h"

#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// A view on fake services, the fake clock and a fake wake timer, in an installed font.
class ViewFixture : public ::testing::Test {
protected:
    class CTestView : public CFlashView { // the panel's bits in reach
    public:
        using CFlashView::CFlashView;
        using CFlashView::SetFlag;
    };

    void SetUp() override {
        std::strncpy(Settings.Font.lfFaceName, "DejaVu Sans", sizeof Settings.Font.lfFaceName);
        Settings.Font.lfHeight = -20; // pixels
        View = std::make_unique<CTestView>(Session, Fakes.Services);
        View->resize(800, 600);
    }
    void Load(const std::string& text) {
        Text = text, Settings.TextLength = static_cast<int32_t>(Text.size());
        View->SetText(Text.c_str());
    }
    void Advance(uint32_t ms) { Fakes.Clock.Advance(ms), Wake.Fire(); }
    // A gap with the unit cut at its end, and the unit's show time.
    void Cycle() { Advance(Settings.freq), Advance(Settings.durat); }
    // Lets the repaint that a change asks for happen.
    static void Settle() { QCoreApplication::processEvents(); }

    CFakeServices Fakes;
    CFakeWakeTimer Wake;
    CReadingSettings Settings;
    CReadingSession Session{Settings, Fakes.Clock, Wake};
    std::unique_ptr<CTestView> View;
    std::string Text;
};
