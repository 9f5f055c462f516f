#pragma once

#include "support/gui/ControlLookup.h"
#include "support/gui/FakeServices.h"
#include "support/gui/FakeViewControl.h"

#include "panel/MovePositionPage.h"
#include "panel/OptionsPanel.h"
#include "panel/ReadingOptionsPage.h"
#include "settings/ReadingSettings.h"

#include <QTest>
#include <QtWidgets>
#include <gtest/gtest.h>

// The panel on a fake view, the text bound to the settings as the view binds it.
struct PanelFixture : ::testing::Test {
    void SetUp() override {
        Settings.BindText(&Start, &Cursor);
        Panel = new COptionsPanel(Settings, View, Fakes.Services, &Parent);
        Panel->setGeometry(1, 480, 800, 120);
        Parent.show();
    }
    void TestBody() override {}
    // Loads text at its start; `length` states a shorter length than its own.
    void Load(const std::string& text, int length = -1) {
        Text = text;
        Start = Cursor = Text.c_str();
        Settings.TextLength = length < 0 ? static_cast<int32_t>(Text.size()) : length;
        View.Flags |= 0x04; // text loaded
        Panel->Refresh();
    }
    int32_t Offset() const { return static_cast<int32_t>(Cursor - Start); }
    template <typename T> T& Ctl(QWidget* form, int id) { return *ControlById<T>(*form, id); }

    CFakeServices Fakes;
    CReadingSettings Settings;
    CFakeViewControl View;
    QWidget Parent;
    COptionsPanel* Panel = nullptr; // owned by Parent
    std::string Text;
    const char* Start = nullptr;
    const char* Cursor = nullptr;
};
