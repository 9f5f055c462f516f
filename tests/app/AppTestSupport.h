#pragma once

#include "support/gui/FakeServices.h"

#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/SkimmetApp.h"
#include "platform/LockKeys.h"
#include "view/FlashView.h"

#include <QAction>
#include <QApplication>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Lock keys the test sets by hand; unknown until told.
class CFakeLockKeys final : public ILockKeys {
public:
    std::array<std::optional<bool>, 3> States{};
    std::optional<bool> IsOn(LockKey key) const override { return States[static_cast<int>(key)]; }
};

// The program as main starts it, on fake services.
class AppFixture : public ::testing::Test {
public:
    void SetUp() override {
        // Exit closes the only window; the test's own event loops must go on.
        QApplication::setQuitOnLastWindowClosed(false);
        auto keys = std::make_unique<CFakeLockKeys>();
        Keys = keys.get();
        App = std::make_unique<CSkimmetApp>(Fakes.Services);
        App->InitInstance(std::move(keys));
        Frame = App->MainFrame();
    }

    CFlashView& View() { return Frame->View(); }

    // A text of several units, stopped at its start.
    void LoadText() {
        Frame->Settings().TextLength = static_cast<int32_t>(Text.size());
        View().SetText(Text.c_str());
    }

    // Plays steps on the loaded text: a command id executes that command, its negative
    // clicks the command's action, 0 moves the clock on until the view stops by itself.
    void Play(const std::vector<int>& steps) {
        for (const int id : steps) {
            if (id == 0)
                ReadToTheEnd();
            else if (id < 0)
                Frame->ActionFor(-id)->trigger();
            else
                Frame->ExecuteCommand(id);
        }
    }

    // Moves the clock on phase by phase until the view stops by itself.
    void ReadToTheEnd() {
        for (int i = 0; i < 1000 && (View().PlayFlags() & CFlashView::RunningBit); ++i) {
            Fakes.Clock.Advance(5000);
            View().OnTimer();
        }
    }

    CFakeServices Fakes;
    CFakeLockKeys* Keys = nullptr;
    std::unique_ptr<CSkimmetApp> App;
    CMainFrame* Frame = nullptr;
    std::string Text = "Every unit is cut at punctuation, a few words at a time. Short pieces are "
                       "packed together; long ones are split at the last space that fits.";
};

// A fixture made by hand inside a table's loop: one fresh program per case.
template <typename Fixture> class Fresh final : public Fixture {
public:
    Fresh() { Fixture::SetUp(); }
    ~Fresh() override { Fixture::TearDown(); }
    void TestBody() override {}
};
