// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DisplayModes.h"
#include "platform/XRandrDisplayModes.h"

#include <QGuiApplication>
#include <algorithm>
#include <gtest/gtest.h>

// Against Xorg with the dummy driver and xorg-dummy.conf: 1024x768 at start; 800x600 at
// 60 and 72 Hz; 640x480. The adapter, checked through the X server.
namespace {
// What the X server itself says about the first lit output, read on a connection of its
// own, so that the adapter is checked from the outside: the mode's name in the server's
// configuration, the CRTC's size and the screen's, as in "800x600_72 800x600 800x600".
std::string ReadXServerState();

const std::string Original = "1024x768 1024x768 1024x768", At800 = "800x600 800x600 800x600";
const DisplayMode Mode1024{1024, 768, 32, 60}, Mode800{800, 600, 32, 60},
    Mode800At72{800, 600, 32, 72}, Mode640{640, 480, 32, 60}; // depth 24 is stored in 32 bits

class DummyXorg : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* why = std::getenv("SKIMMET_XORG_UNAVAILABLE"))
            GTEST_SKIP() << why;
        ASSERT_EQ(QGuiApplication::platformName().toStdString(), "xcb");
        ASSERT_EQ(ReadXServerState(), Original)
            << "not the server of xorg-dummy.conf, or a test left a mode behind";
    }
    static std::unique_ptr<CXRandrDisplayModes> Open() { return CXRandrDisplayModes::Open({}); }
};

// Through the program's own choice of adapter, which on X11 has to be RandR.
TEST_F(DummyXorg, Modes_ConfiguredModes_ListedOnceEachThroughRandr) {
    const std::vector<DisplayMode> list = CreateDisplayModes()->Modes();
    for (const DisplayMode& mode : {Mode1024, Mode800, Mode800At72, Mode640})
        EXPECT_NE(std::find(list.begin(), list.end(), mode), list.end()) << mode.Frequency;
    for (const DisplayMode& mode : list)
        EXPECT_EQ(std::count(list.begin(), list.end(), mode), 1) << mode.Width;
}

// Another adapter, destroyed at once, puts back the mode it found: the one this one set.
TEST_F(DummyXorg, SetMode_InForceSmallerLargerRefusedAndBehindItsBack_ServerFollowsRestoreEnds) {
    const std::tuple<DisplayMode, bool, std::string> steps[] = {
        {Mode1024, true, Original}, // in force already: nothing to do
        {Mode800At72, true, "800x600_72 800x600 800x600"},
        {Mode640, true, "640x480 640x480 640x480"},
        {Mode1024, true, Original}, // the screen has to grow first
        {Mode800, true, At800},
        {{1000, 700, 32, 60}, false, At800},
        {{800, 600, 16, 60}, false, At800}, // RandR keeps the depth
        {{800, 600, 32, 61}, false, At800}};
    const std::unique_ptr<CXRandrDisplayModes> modes = Open();
    for (const auto& [mode, accepted, after] : steps) {
        SCOPED_TRACE(DisplayModeText(mode).toStdString());
        EXPECT_EQ(modes->SetMode(mode), accepted);
        EXPECT_EQ(ReadXServerState(), after);
    }
    ASSERT_TRUE(Open()->SetMode(Mode640));
    EXPECT_EQ(ReadXServerState(), At800);
    for (int i = 0; i < 2; ++i) {
        modes->Restore();
        EXPECT_EQ(ReadXServerState(), Original);
    }
}

} // namespace

// Xlib last: its macros (None, Status, Bool...) would clash with the names of Qt's headers.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace {
template <typename T> using XPtr = std::unique_ptr<T, void (*)(T*)>;

std::string ReadXServerState() {
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    Display* dpy = display.get();
    const XPtr<XRRScreenResources> resources(
        dpy ? XRRGetScreenResources(dpy, DefaultRootWindow(dpy)) : nullptr, XRRFreeScreenResources);
    for (int i = 0; resources && i < resources->noutput; ++i) {
        const XPtr<XRROutputInfo> output(
            XRRGetOutputInfo(dpy, resources.get(), resources->outputs[i]), XRRFreeOutputInfo);
        if (!output || output->connection != RR_Connected || output->crtc == None)
            continue;
        const XPtr<XRRCrtcInfo> crtc(XRRGetCrtcInfo(dpy, resources.get(), output->crtc),
                                     XRRFreeCrtcInfo);
        XWindowAttributes root{}; // the root window follows the screen size
        if (!crtc || !XGetWindowAttributes(dpy, DefaultRootWindow(dpy), &root))
            return {};
        std::string state;
        for (int m = 0; m < resources->nmode; ++m)
            if (resources->modes[m].id == crtc->mode)
                state.assign(resources->modes[m].name, resources->modes[m].nameLength);
        return state + ' ' + std::to_string(crtc->width) + 'x' + std::to_string(crtc->height) +
               ' ' + std::to_string(root.width) + 'x' + std::to_string(root.height);
    }
    return {};
}
} // namespace
