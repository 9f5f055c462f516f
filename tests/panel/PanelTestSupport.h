#pragma once

#include "panel/MovePositionPage.h"
#include "panel/OptionsPanel.h"
#include "settings/ReadingSettings.h"
#include "support/gui/ControlLookup.h"
#include "support/gui/FakeServices.h"
#include "support/gui/FakeViewControl.h"
#include <QTest>
#include <QtWidgets>
#include <gtest/gtest.h>

// The panel on a fake view; Load binds the text as the view binds it, `length` a shorter one.
struct PanelFixture : ::testing::Test {
    void TestBody() override {}
    void Load(const std::string& text, int length = -1) {
        Settings.BindText(&Start, &Cursor);
        Start = Cursor = (Text = text).c_str();
        Settings.TextLength = length < 0 ? static_cast<int32_t>(Text.size()) : length;
        View.Flags |= 0x04; // text loaded
        Panel.Refresh();
    }
    int32_t Offset() const { return static_cast<int32_t>(Cursor - Start); }
    std::string Text;
    const char *Start = nullptr, *Cursor = nullptr;
    CFakeServices Fakes;
    CReadingSettings Settings;
    CFakeViewControl View;
    COptionsPanel Panel{Settings, View, Fakes.Services, nullptr};
};
