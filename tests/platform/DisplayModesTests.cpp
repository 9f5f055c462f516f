// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DisplayModes.h"
#include "platform/LazyDisplayModes.h"
#include "support/gui/FakeServices.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {
TEST(DisplayModeText, Mode_ReadsAsInTheListWithoutAnUnknownRate) {
    EXPECT_EQ(DisplayModeText({1024, 768, 32, 60}).toStdString(), "1024 x 768  60 MHz  32 bpp");
    EXPECT_EQ(DisplayModeText({640, 480, 4, 0}).toStdString(), "640 x 480  4 bpp");
}

TEST(SingleScreenModes, CreateDisplayModes_Offscreen_OnlyTheCurrentScreenAndNoSwitching) {
    const std::unique_ptr<IDisplayModes> modes = CreateDisplayModes();
    const std::vector<DisplayMode> list = modes->Modes();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(QSize(list[0].Width, list[0].Height), QGuiApplication::primaryScreen()->size());
    EXPECT_FALSE(modes->SetMode(list[0]));
}

// The screen is asked once, when the modes are first wanted; putting back a mode that
// was never set asks nothing.
TEST(LazyDisplayModes, OpenedOnFirstUseOnly_RestoreBeforeThatAsksNothing) {
    int opened = 0;
    CLazyDisplayModes modes([&opened] {
        ++opened;
        return std::make_unique<CFakeDisplayModes>();
    });
    modes.Restore();
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(modes.Modes().size(), 3u);
    EXPECT_TRUE(modes.SetMode({800, 600, 32, 0}));
    EXPECT_EQ(opened, 1);
}
} // namespace
