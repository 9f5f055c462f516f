#include "XServerProbe.h"

#include "platform/DisplayModes.h"
#include "platform/XRandrDisplayModes.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

// Run by run-with-xorg-dummy.sh against Xorg with the dummy driver and
// xorg-dummy.conf (1024x768 at start; 800x600 at 60 and 72 Hz; 640x480), and the
// XcbPlatform tests also under Xvfb.

namespace {

bool Lists(const std::vector<DisplayMode>& modes, const DisplayMode& mode) {
    return std::find(modes.begin(), modes.end(), mode) != modes.end();
}

class XcbPlatform : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* why = std::getenv("SKIMMET_XORG_UNAVAILABLE"))
            GTEST_SKIP() << why;
        ASSERT_EQ(QGuiApplication::platformName().toStdString(), "xcb")
            << "run with an X server and QT_QPA_PLATFORM=xcb";
    }
};

TEST_F(XcbPlatform, CreateDisplayModes_X11_ListsTheCurrentScreenThroughRandr) {
    const std::unique_ptr<IDisplayModes> modes = CreateDisplayModes();
    ASSERT_NE(dynamic_cast<CXRandrDisplayModes*>(modes.get()), nullptr);
    const std::optional<XServerState> state = ReadXServerState();
    ASSERT_TRUE(state.has_value());

    const std::vector<DisplayMode> list = modes->Modes();
    const auto current = std::find_if(list.begin(), list.end(), [&](const DisplayMode& mode) {
        return mode.Width == state->CrtcWidth && mode.Height == state->CrtcHeight;
    });
    ASSERT_NE(current, list.end());
    EXPECT_EQ(current->BitsPerPixel, 32); // depth 24 is stored in 32 bits
    const QSize screen = QGuiApplication::primaryScreen()->size();
    EXPECT_EQ(screen.width(), state->ScreenWidth);
    EXPECT_EQ(screen.height(), state->ScreenHeight);
}

TEST_F(XcbPlatform, SetMode_TheModeInForce_SucceedsWithoutAChange) {
    const std::optional<XServerState> before = ReadXServerState();
    ASSERT_TRUE(before.has_value());
    const std::unique_ptr<IDisplayModes> modes = CreateDisplayModes();
    const std::vector<DisplayMode> list = modes->Modes();
    const auto current = std::find_if(list.begin(), list.end(), [&](const DisplayMode& mode) {
        return mode.Width == before->CrtcWidth && mode.Height == before->CrtcHeight;
    });
    ASSERT_NE(current, list.end());

    EXPECT_TRUE(modes->SetMode(*current));
    modes->Restore();

    EXPECT_EQ(ReadXServerState(), before);
}

class DummyXorg : public XcbPlatform {
protected:
    void SetUp() override {
        XcbPlatform::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Original = ReadXServerState();
        ASSERT_TRUE(Original.has_value());
        ASSERT_EQ(Original->ModeName.toStdString(), "1024x768")
            << "not the server of xorg-dummy.conf, or a test left a mode behind";
    }
    static std::unique_ptr<CXRandrDisplayModes> OpenAdapter() {
        return CXRandrDisplayModes::Open(nullptr);
    }

    std::optional<XServerState> Original;
};

const DisplayMode Mode1024{1024, 768, 32, 60};
const DisplayMode Mode800{800, 600, 32, 60};
const DisplayMode Mode800At72{800, 600, 32, 72};
const DisplayMode Mode640{640, 480, 32, 60};

TEST_F(DummyXorg, Modes_ConfiguredModes_ListedOnceEachInAStableOrder) {
    const std::unique_ptr<IDisplayModes> modes = CreateDisplayModes();
    const auto* randr = dynamic_cast<CXRandrDisplayModes*>(modes.get());
    ASSERT_NE(randr, nullptr);
    EXPECT_EQ(randr->OutputName().toStdString(), "DUMMY0");

    const std::vector<DisplayMode> list = modes->Modes();
    for (const DisplayMode& mode : {Mode1024, Mode800, Mode800At72, Mode640})
        EXPECT_TRUE(Lists(list, mode)) << DisplayModeText(mode).toStdString();
    for (auto it = list.begin(); it != list.end(); ++it)
        EXPECT_EQ(std::count(list.begin(), list.end(), *it), 1)
            << DisplayModeText(*it).toStdString();
    EXPECT_EQ(modes->Modes(), list);
    EXPECT_EQ(OpenAdapter()->Modes(), list);
}

TEST_F(DummyXorg, SetMode_SmallerLargerAndBack_TheServerFollowsAndRestoreEndsWhereItBegan) {
    const std::unique_ptr<CXRandrDisplayModes> modes = OpenAdapter();
    ASSERT_NE(modes, nullptr);

    ASSERT_TRUE(modes->SetMode(Mode800At72));
    EXPECT_EQ(ReadXServerState(), (XServerState{"800x600_72", 800, 600, 800, 600}));

    ASSERT_TRUE(modes->SetMode(Mode640));
    std::optional<XServerState> state = ReadXServerState();
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->CrtcWidth, 640);
    EXPECT_EQ(state->CrtcHeight, 480);
    EXPECT_EQ(state->ScreenWidth, 640);
    EXPECT_EQ(state->ScreenHeight, 480);

    ASSERT_TRUE(modes->SetMode(Mode1024)); // the screen has to grow first
    EXPECT_EQ(ReadXServerState(), Original);

    ASSERT_TRUE(modes->SetMode(Mode800));
    state = ReadXServerState();
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->CrtcWidth, 800);
    EXPECT_EQ(state->CrtcHeight, 600);

    modes->Restore();
    EXPECT_EQ(ReadXServerState(), Original);
    modes->Restore();
    EXPECT_EQ(ReadXServerState(), Original);
}

TEST_F(DummyXorg, SetMode_NotOffered_RefusedAndNothingChanges) {
    const std::unique_ptr<CXRandrDisplayModes> modes = OpenAdapter();
    ASSERT_NE(modes, nullptr);

    EXPECT_FALSE(modes->SetMode({1000, 700, 32, 60}));
    EXPECT_FALSE(modes->SetMode({800, 600, 16, 60})); // RandR cannot change the depth
    EXPECT_FALSE(modes->SetMode({800, 600, 32, 61}));
    EXPECT_EQ(ReadXServerState(), Original);
}

TEST_F(DummyXorg, Destroyed_AfterSwitching_OriginalModeBack) {
    {
        const std::unique_ptr<IDisplayModes> modes = CreateDisplayModes();
        ASSERT_TRUE(modes->SetMode(Mode640));
        ASSERT_NE(ReadXServerState(), Original);
    }
    EXPECT_EQ(ReadXServerState(), Original);
}

TEST_F(DummyXorg, Restore_AfterTheModeWasChangedBehindItsBack_OriginalModeBack) {
    const std::unique_ptr<CXRandrDisplayModes> modes = OpenAdapter();
    ASSERT_TRUE(modes->SetMode(Mode800));
    {
        const std::unique_ptr<CXRandrDisplayModes> other = OpenAdapter();
        ASSERT_TRUE(other->SetMode(Mode640)); // someone else switches on
        // and forgets: this adapter's original is the 800x600 the first one set
    }
    EXPECT_EQ(ReadXServerState()->CrtcWidth, 800);

    modes->Restore();
    EXPECT_EQ(ReadXServerState(), Original);
}

TEST_F(DummyXorg, SignalWhileSwitched_ProgramEndsNormallyWithTheOriginalMode) {
    for (const int signo : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signo);
        QProcess child;
        child.setProgram(QStringLiteral(SKIMMET_MODE_SWITCH_CHILD));
        child.setArguments({"800", "600", "72"});
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start();
        ASSERT_TRUE(child.waitForStarted());
        QByteArray said;
        while (!said.contains('\n') && child.waitForReadyRead(20000))
            said += child.readAll();
        ASSERT_EQ(said.toStdString(), "switched\n") << "the child ended with " << child.exitCode();
        EXPECT_EQ(ReadXServerState()->ModeName.toStdString(), "800x600_72");

        ::kill(static_cast<pid_t>(child.processId()), signo);
        ASSERT_TRUE(child.waitForFinished(20000));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 0);
        EXPECT_EQ(ReadXServerState(), Original);
    }
}

} // namespace
