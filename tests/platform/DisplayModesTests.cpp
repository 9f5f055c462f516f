#include "platform/DisplayModes.h"
#include "platform/SingleScreenModes.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(DisplayModeText, Mode_ReadsAsInTheListWithoutAnUnknownRate) {
    const std::pair<DisplayMode, const char*> cases[] = {
        {{1024, 768, 32, 60}, "1024 x 768  60 MHz  32 bpp"},
        {{640, 480, 4, 0}, "640 x 480  4 bpp"},
        {{1920, 1080, 32, 144}, "1920 x 1080  144 MHz  32 bpp"},
        {{800, 600, 16, 0}, "800 x 600  16 bpp"}};
    for (const auto& [mode, text] : cases)
        EXPECT_EQ(DisplayModeText(mode).toStdString(), text);
}

TEST(SingleScreenModes, CreateDisplayModes_Offscreen_ListsOnlyTheCurrentScreen) {
    ASSERT_EQ(QGuiApplication::platformName().toStdString(), "offscreen");
    const std::unique_ptr<IDisplayModes> modes = CreateDisplayModes();
    ASSERT_NE(dynamic_cast<CSingleScreenModes*>(modes.get()), nullptr);

    const QScreen* screen = QGuiApplication::primaryScreen();
    const std::vector<DisplayMode> list = modes->Modes();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Width, screen->size().width());
    EXPECT_EQ(list[0].Height, screen->size().height());
    EXPECT_EQ(list[0].BitsPerPixel, screen->depth());
    EXPECT_GT(list[0].Width, 0);
}

TEST(SingleScreenModes, SetMode_AnyMode_RefusesAndLeavesTheList) {
    CSingleScreenModes modes;
    const std::vector<DisplayMode> before = modes.Modes();

    EXPECT_FALSE(modes.SetMode(before.front()));
    EXPECT_FALSE(modes.SetMode({640, 480, 16, 0}));
    modes.Restore();

    EXPECT_EQ(modes.Modes(), before);
}

} // namespace
