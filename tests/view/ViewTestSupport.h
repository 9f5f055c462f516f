#pragma once

#include "support/gui/FakeServices.h"

#include "settings/ReadingSettings.h"
#include "view/FlashView.h"

#include <QCoreApplication>
#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

// The view with the panel bit in reach, as the options panel will set it.
class CTestFlashView : public CFlashView {
public:
    using CFlashView::CFlashView;
    using CFlashView::SetFlag;
};

// Character height of the font every view test uses.
inline constexpr int FontPixels = 20;

// A view on fake services with a fixed, installed font, that records every unit shown.
class FlashViewFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(Settings.Font.lfFaceName, 0, sizeof Settings.Font.lfFaceName);
        std::strcpy(Settings.Font.lfFaceName, "DejaVu Sans");
        Settings.Font.lfHeight = -FontPixels;
        View = std::make_unique<CTestFlashView>(Settings, Fakes.Services);
        View->resize(800, 600);
        QObject::connect(View.get(), &CFlashView::UnitShown,
                         [this] { Shown.emplace_back(View->UnitBuffer()); });
        QObject::connect(View.get(), &CFlashView::AboutToCutUnit,
                         [this] { CursorsBeforeCut.push_back(View->Cursor()); });
    }

    void Load(const std::string& text) {
        Text = text;
        Settings.TextLength = static_cast<int32_t>(Text.size());
        View->SetText(Text.c_str());
    }

    // Moves the clock on and does what the wake would do at that moment.
    void Advance(uint32_t ms) {
        Fakes.Clock.Advance(ms);
        View->OnTimer();
    }

    bool UnitOnScreen() const { return !View->ShownUnitRect().isEmpty(); }
    std::size_t CursorOffset() const {
        return static_cast<std::size_t>(View->Cursor() - Text.c_str());
    }

    CFakeServices Fakes;
    CReadingSettings Settings;
    std::unique_ptr<CTestFlashView> View;
    std::string Text;
    std::vector<std::string> Shown;
    std::vector<const char*> CursorsBeforeCut;
};
