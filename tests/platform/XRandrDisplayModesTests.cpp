#include "XServerProbe.h"

#include "platform/DisplayModes.h"
#include "platform/XRandrDisplayModes.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

// Against Xorg with the dummy driver and xorg-dummy.conf: 1024x768 at start; 800x600 at
// 60 and 72 Hz; 640x480. The adapter, and the program itself driven by xdotool's keys,
// checked through the X server.
namespace {
const std::string Original = "1024x768 1024x768 1024x768";
const DisplayMode Mode1024{1024, 768, 32, 60}, Mode800{800, 600, 32, 60},
    Mode800At72{800, 600, 32, 72}, Mode640{640, 480, 32, 60}; // depth 24 is stored in 32 bits

constexpr int DeadlineMs = 20000;

// xdotool's standard output; nullopt when it failed.
std::optional<QString> Tool(const QStringList& arguments) {
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    const bool ok = tool.waitForFinished(DeadlineMs) && tool.exitStatus() == QProcess::NormalExit &&
                    tool.exitCode() == 0;
    if (!ok)
        return std::nullopt;
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

bool ModeBecomes(const char* name) {
    const std::string prefix = name + std::string(" ");
    return QTest::qWaitFor([&] { return ReadXServerState().starts_with(prefix); }, DeadlineMs);
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class DummyXorg : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* why = std::getenv("SKIMMET_XORG_UNAVAILABLE"))
            GTEST_SKIP() << why;
        ASSERT_EQ(QGuiApplication::platformName().toStdString(), "xcb");
        ASSERT_EQ(ReadXServerState(), Original)
            << "not the server of xorg-dummy.conf, or a test left a mode behind";
    }
    static std::unique_ptr<CXRandrDisplayModes> Open() {
        return CXRandrDisplayModes::Open(nullptr);
    }
};

TEST_F(DummyXorg, Modes_ConfiguredModes_ListedOnceEachInAStableOrderThroughRandr) {
    const std::vector<DisplayMode> list = Open()->Modes();
    EXPECT_EQ(Open()->OutputName().toStdString(), "DUMMY0");
    for (const DisplayMode& mode : {Mode1024, Mode800, Mode800At72, Mode640})
        EXPECT_NE(std::find(list.begin(), list.end(), mode), list.end()) << mode.Frequency;
    for (const DisplayMode& mode : list)
        EXPECT_EQ(std::count(list.begin(), list.end(), mode), 1) << mode.Width;
    EXPECT_EQ(CreateDisplayModes()->Modes(), list); // RandR on Qt's own display
}

TEST_F(DummyXorg, SetMode_InForceSmallerLargerRefusedAndBack_TheServerFollowsRestoreEndsAtStart) {
    const std::tuple<DisplayMode, bool, std::string> steps[] = {
        {Mode1024, true, Original}, // in force already: nothing to do
        {Mode800At72, true, "800x600_72 800x600 800x600"},
        {Mode640, true, "640x480 640x480 640x480"},
        {Mode1024, true, Original}, // the screen has to grow first
        {Mode800, true, "800x600 800x600 800x600"},
        {{1000, 700, 32, 60}, false, "800x600 800x600 800x600"},
        {{800, 600, 16, 60}, false, "800x600 800x600 800x600"}, // RandR keeps the depth
        {{800, 600, 32, 61}, false, "800x600 800x600 800x600"}};
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
    EXPECT_EQ(ReadXServerState(), "800x600 800x600 800x600");
    modes->Restore();
    EXPECT_EQ(ReadXServerState(), Original);
}

TEST_F(DummyXorg, Program_AltEnterThenEscapeOrSigterm_ModeSwitchedThenRestored) {
    // Of the same size as another mode, so that only the right refresh rate passes.
    const std::vector<DisplayMode> modes = Open()->Modes();
    const auto number = std::find(modes.begin(), modes.end(), Mode800At72) - modes.begin();
    ASSERT_GT(number, 0);
    QTemporaryDir folder;
    const QString text = folder.filePath(QStringLiteral("story.txt"));
    ASSERT_TRUE(Write(text, "It was late. Nobody moved.\n"));
    ASSERT_TRUE(Write(text + ".skm", "[MAIN]\r\nDisplaySettingNum=" + QByteArray::number(number)));
    qputenv("XDG_CONFIG_HOME", folder.filePath(QStringLiteral("cfg")).toLocal8Bit());
    QProcess program;
    program.start(QStringLiteral(SKIMMET_PROGRAM), {text});
    const QString pid = QString::number(program.processId());
    const auto enter = [&] {
        QString window;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                window = Tool({"search", "--onlyvisible", "--pid", pid}).value_or(QString());
                return !window.isEmpty() && !window.contains(QLatin1Char('\n'));
            },
            DeadlineMs));
        ASSERT_TRUE(Tool({"windowfocus", "--sync", window}));
        ASSERT_TRUE(Tool({"key", "alt+Return"}));
        ASSERT_TRUE(ModeBecomes("800x600_72")) << "the mode did not change";
    };
    ASSERT_NO_FATAL_FAILURE(enter());
    ASSERT_TRUE(Tool({"key", "Escape"})); // the covering view has the keyboard
    ASSERT_TRUE(ModeBecomes("1024x768")) << "Escape did not restore the mode";
    ASSERT_NO_FATAL_FAILURE(enter());
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(DeadlineMs));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(ReadXServerState(), Original);
}
} // namespace
