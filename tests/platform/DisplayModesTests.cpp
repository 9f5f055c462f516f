#include "platform/DisplayModes.h"
#include "platform/SingleScreenModes.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace {
TEST(DisplayModeText, Mode_ReadsAsInTheListWithoutAnUnknownRate) {
    EXPECT_EQ(DisplayModeText({1024, 768, 32, 60}).toStdString(), "1024 x 768  60 MHz  32 bpp");
    EXPECT_EQ(DisplayModeText({640, 480, 4, 0}).toStdString(), "640 x 480  4 bpp");
}

TEST(SingleScreenModes, CreateDisplayModes_Offscreen_OnlyTheCurrentScreenAndNoSwitching) {
    ASSERT_EQ(QGuiApplication::platformName().toStdString(), "offscreen");
    const std::unique_ptr<IDisplayModes> modes = CreateDisplayModes();
    ASSERT_NE(dynamic_cast<CSingleScreenModes*>(modes.get()), nullptr);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const std::vector<DisplayMode> list = modes->Modes();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], (DisplayMode{screen->size().width(), screen->size().height(),
                                    screen->depth(), list[0].Frequency}));
    EXPECT_FALSE(modes->SetMode(list[0]));
    EXPECT_FALSE(modes->SetMode({640, 480, 16, 0}));
    modes->Restore();
    EXPECT_EQ(modes->Modes(), list);
}
} // namespace
