#include "platform/DisplayModes.h"
#include "platform/SingleScreenModes.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct TextCase {
    DisplayMode Mode;
    const char* Text;
};

void PrintTo(const TextCase& mode, std::ostream* out) {
    *out << mode.Mode.Width << "x" << mode.Mode.Height << "_" << mode.Mode.Frequency << "Hz_"
         << mode.Mode.BitsPerPixel << "bpp";
}

class DisplayModeTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DisplayModeTextTest, DisplayModeText_Mode_ReadsAsInTheList) {
    EXPECT_EQ(DisplayModeText(GetParam().Mode).toStdString(), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DisplayModeTextTest,
    ::testing::Values(TextCase{{1024, 768, 32, 60}, "1024 x 768  60 MHz  32 bpp"},
                      TextCase{{640, 480, 4, 0}, "640 x 480  4 bpp"},
                      TextCase{{1920, 1080, 32, 144}, "1920 x 1080  144 MHz  32 bpp"},
                      TextCase{{800, 600, 16, 0}, "800 x 600  16 bpp"}));

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
