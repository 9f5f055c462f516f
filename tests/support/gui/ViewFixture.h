#pragma once

#include "support/FakeWakeTimer.h"
#include "support/gui/FakeServices.h"

#include "settings/ReadingSettings.h"
#include "view/FlashView.h"

#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

// A view on fake services, the fake clock and a fake wake timer, in an installed font.
class ViewFixture : public ::testing::Test {
protected:
    // The view with the panel's bits in reach.
    class CTestView : public CFlashView {
    public:
        using CFlashView::CFlashView;
        using CFlashView::SetFlag;
    };
    static constexpr int FontPixels = 20;

    void SetUp() override {
        std::strncpy(Settings.Font.lfFaceName, "DejaVu Sans", sizeof Settings.Font.lfFaceName);
        Settings.Font.lfHeight = -FontPixels;
        View = std::make_unique<CTestView>(Settings, Fakes.Services, nullptr, &Wake);
        View->resize(800, 600);
    }
    void Load(const std::string& text) {
        Text = text;
        Settings.TextLength = static_cast<int32_t>(Text.size());
        View->SetText(Text.c_str());
    }
    void Advance(uint32_t ms) {
        Fakes.Clock.Advance(ms);
        Wake.Fire();
    }
    // n gaps, each with the unit cut at its end and shown for its time.
    void Cycle(int n = 1) {
        for (int i = 0; i < n; ++i)
            Advance(Settings.freq), Advance(Settings.durat);
    }
    // Lets the repaint that a change asks for happen.
    static void Settle() { QCoreApplication::processEvents(); }

    CFakeServices Fakes;
    CFakeWakeTimer Wake;
    CReadingSettings Settings;
    std::unique_ptr<CTestView> View;
    std::string Text;
};
