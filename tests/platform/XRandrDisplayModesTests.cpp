#include "XServerProbe.h"

#include "platform/DisplayModes.h"
#include "platform/XRandrDisplayModes.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>

// Against Xorg with the dummy driver and xorg-dummy.conf (1024x768 at start; 800x600 at
// 60 and 72 Hz; 640x480); the XcbPlatform tests also under Xvfb.
namespace {
class XcbPlatform : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* why = std::getenv("SKIMMET_XORG_UNAVAILABLE"))
            GTEST_SKIP() << why;
        ASSERT_EQ(QGuiApplication::platformName().toStdString(), "xcb")
            << "run with an X server and QT_QPA_PLATFORM=xcb";
        Original = ReadXServerState();
        ASSERT_TRUE(Original.has_value());
    }
    std::optional<XServerState> Original;
};

TEST_F(XcbPlatform, CreateDisplayModes_X11_ListsTheCurrentModeThroughRandrAndKeepsIt) {
    const std::unique_ptr<IDisplayModes> modes = CreateDisplayModes();
    ASSERT_NE(dynamic_cast<CXRandrDisplayModes*>(modes.get()), nullptr);
    const std::vector<DisplayMode> list = modes->Modes();
    const auto current = std::find_if(list.begin(), list.end(), [&](const DisplayMode& mode) {
        return QSize(mode.Width, mode.Height) == Original->Crtc;
    });
    ASSERT_NE(current, list.end());
    EXPECT_EQ(current->BitsPerPixel, 32); // depth 24 is stored in 32 bits
    EXPECT_EQ(QGuiApplication::primaryScreen()->size(), Original->Screen);
    EXPECT_TRUE(modes->SetMode(*current));
    modes->Restore();
    EXPECT_EQ(ReadXServerState(), Original);
}

class DummyXorg : public XcbPlatform {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(XcbPlatform::SetUp());
        if (!IsSkipped()) {
            ASSERT_EQ(Original->ModeName.toStdString(), "1024x768")
                << "not the server of xorg-dummy.conf, or a test left a mode behind";
        }
    }
    static std::unique_ptr<CXRandrDisplayModes> Open() {
        return CXRandrDisplayModes::Open(nullptr);
    }
};

const DisplayMode Mode1024{1024, 768, 32, 60}, Mode800{800, 600, 32, 60},
    Mode800At72{800, 600, 32, 72}, Mode640{640, 480, 32, 60};

TEST_F(DummyXorg, Modes_ConfiguredModes_ListedOnceEachInAStableOrder) {
    const std::vector<DisplayMode> list = Open()->Modes();
    EXPECT_EQ(Open()->OutputName().toStdString(), "DUMMY0");
    for (const DisplayMode& mode : {Mode1024, Mode800, Mode800At72, Mode640})
        EXPECT_NE(std::find(list.begin(), list.end(), mode), list.end()) << mode.Frequency;
    for (const DisplayMode& mode : list)
        EXPECT_EQ(std::count(list.begin(), list.end(), mode), 1) << mode.Width;
    EXPECT_EQ(CreateDisplayModes()->Modes(), list);
}

TEST_F(DummyXorg, SetMode_SmallerLargerRefusedAndBack_TheServerFollowsAndRestoreEndsAtTheStart) {
    const auto state = [](const char* name, QSize size) {
        return XServerState{name, size, size};
    };
    const std::tuple<DisplayMode, bool, XServerState> steps[] = {
        {Mode800At72, true, state("800x600_72", {800, 600})},
        {Mode640, true, state("640x480", {640, 480})},
        {Mode1024, true, *Original}, // the screen has to grow first
        {Mode800, true, state("800x600", {800, 600})},
        {{1000, 700, 32, 60}, false, state("800x600", {800, 600})},
        {{800, 600, 16, 60}, false, state("800x600", {800, 600})}, // RandR keeps the depth
        {{800, 600, 32, 61}, false, state("800x600", {800, 600})}};
    const std::unique_ptr<CXRandrDisplayModes> modes = Open();
    for (const auto& [mode, accepted, after] : steps) {
        SCOPED_TRACE(DisplayModeText(mode).toStdString());
        EXPECT_EQ(modes->SetMode(mode), accepted);
        EXPECT_EQ(ReadXServerState(), after);
    }
    for (int i = 0; i < 2; ++i) {
        modes->Restore();
        EXPECT_EQ(ReadXServerState(), Original);
    }
    ASSERT_TRUE(Open()->SetMode(Mode640)); // and destroyed at once
    EXPECT_EQ(ReadXServerState(), Original);
}

TEST_F(DummyXorg, Restore_AfterTheModeWasChangedBehindItsBack_OriginalModeBack) {
    const std::unique_ptr<CXRandrDisplayModes> modes = Open();
    ASSERT_TRUE(modes->SetMode(Mode800));
    // Someone else switches on and back: to the 800x600 this adapter set.
    ASSERT_TRUE(Open()->SetMode(Mode640));
    EXPECT_EQ(ReadXServerState()->Crtc.width(), 800);
    modes->Restore();
    EXPECT_EQ(ReadXServerState(), Original);
}
} // namespace
