// The real program in full-screen mode on Xorg with the dummy driver (started by
// run-with-xorg-dummy.sh with tests/platform/xorg-dummy.conf: 1024x768 at start, several
// other modes), driven by xdotool's keys like a user at the keyboard, and checked through
// the X server itself.
#include "platform/XServerProbe.h"

#include "platform/DisplayModes.h"
#include "platform/XRandrDisplayModes.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <optional>

namespace {

constexpr int DeadlineMs = 20000;
// Not the mode in force at start, and of the same size as another mode, so that only the
// right refresh rate passes.
const DisplayMode TargetMode{800, 600, 32, 72};
const QString TargetModeName = QStringLiteral("800x600_72");

struct WindowGeometry {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const WindowGeometry&) const = default;
};

std::optional<QString> RunTool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(DeadlineMs) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

class FullScreenOnXorg : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* why = std::getenv("SKIMMET_XORG_UNAVAILABLE"))
            GTEST_SKIP() << why;
        ASSERT_EQ(QGuiApplication::platformName().toStdString(), "xcb")
            << "run with run-with-xorg-dummy.sh";
        Xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        ASSERT_FALSE(Xdotool.isEmpty()) << "xdotool is missing (scripts/bootstrap installs it)";
        Original = ReadXServerState();
        ASSERT_TRUE(Original.has_value());
        ASSERT_EQ(Original->ModeName.toStdString(), "1024x768")
            << "not the server of xorg-dummy.conf, or a test left a mode behind";
        ASSERT_NO_FATAL_FAILURE(WriteTextWithItsSettings());
        ASSERT_NO_FATAL_FAILURE(StartProgram());
    }

    void TearDown() override {
        if (Program.state() != QProcess::NotRunning) {
            Program.kill();
            Program.waitForFinished(DeadlineMs);
        }
    }

    // A text whose companion settings file asks for the target mode by its number.
    void WriteTextWithItsSettings() {
        ASSERT_TRUE(Folder.isValid());
        const auto randr = CXRandrDisplayModes::Open(nullptr);
        ASSERT_NE(randr, nullptr);
        const std::vector<DisplayMode> modes = randr->Modes();
        const auto target = std::find(modes.begin(), modes.end(), TargetMode);
        ASSERT_NE(target, modes.end()) << "the server does not offer 800x600 at 72 Hz";
        const auto number = static_cast<int>(target - modes.begin());
        ASSERT_NE(number, 0) << "the target must not be the mode a zero number picks";

        TextPath = Folder.filePath(QStringLiteral("story.txt"));
        QFile text(TextPath);
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("It was late, and the house was quiet. Nobody moved. The clock struck.\n");
        text.close();
        QFile settings(TextPath + QStringLiteral(".skm"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(QStringLiteral("[MAIN]\r\nDisplaySettingNum=%1\r\n").arg(number).toLatin1());
    }

    void StartProgram() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // No defaults file of the user's may take part.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           Folder.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        Program.setProcessEnvironment(environment);
        Program.setProcessChannelMode(QProcess::ForwardedChannels);
        Program.start(QStringLiteral(SKIMMET_PROGRAM), {TextPath});
        ASSERT_TRUE(Program.waitForStarted(DeadlineMs));
        ASSERT_TRUE(QTest::qWaitFor([this] { return ShownWindow().has_value(); }, DeadlineMs))
            << "the main window did not appear";
    }

    // The one window of the program that is on the screen: the main window, or the view
    // while it covers the screen.
    std::optional<QString> ShownWindow() {
        const std::optional<QString> found =
            RunTool(Xdotool, {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                              QStringLiteral("--pid"), QString::number(Program.processId())});
        if (!found)
            return std::nullopt;
        const QStringList ids = found->split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (ids.size() != 1)
            return std::nullopt;
        return ids.front();
    }

    std::optional<WindowGeometry> GeometryOf(const QString& window) {
        const std::optional<QString> shell = RunTool(
            Xdotool, {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
        if (!shell)
            return std::nullopt;
        QMap<QString, int> value;
        for (const QString& line : shell->split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            value[line.section(QLatin1Char('='), 0, 0)] = line.section(QLatin1Char('='), 1).toInt();
        return WindowGeometry{value["X"], value["Y"], value["WIDTH"], value["HEIGHT"]};
    }

    // Gives the keyboard to the program's window on the screen and types keys there.
    void PressOnShownWindow(const QString& keys) {
        const std::optional<QString> window = ShownWindow();
        ASSERT_TRUE(window.has_value());
        ASSERT_TRUE(
            RunTool(Xdotool, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), *window}));
        Press(keys);
    }

    void Press(const QString& keys) {
        ASSERT_TRUE(RunTool(Xdotool, {QStringLiteral("key"), keys}));
    }

    bool ModeIs(const QString& name) {
        const std::optional<XServerState> state = ReadXServerState();
        return state && state->ModeName == name;
    }

    // Waits for the switch and checks that the view covers the new mode's screen, on top.
    void ExpectFullScreen() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return ModeIs(TargetModeName); }, DeadlineMs))
            << "the display mode did not change";
        EXPECT_EQ(ReadXServerState(), (XServerState{TargetModeName, 800, 600, 800, 600}));
        std::optional<QString> view;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                view = ShownWindow();
                return view && GeometryOf(*view) == WindowGeometry{0, 0, 800, 600};
            },
            DeadlineMs))
            << "no window of the program covers the screen alone";
        const std::optional<QString> state =
            RunTool(QStringLiteral("xprop"),
                    {QStringLiteral("-id"), *view, QStringLiteral("_NET_WM_STATE")});
        ASSERT_TRUE(state.has_value());
        EXPECT_TRUE(state->contains(QLatin1String("_NET_WM_STATE_ABOVE"))) << state->toStdString();
    }

    // Waits for the original mode and the main window back on the screen.
    void ExpectFramed() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return ModeIs(Original->ModeName); }, DeadlineMs))
            << "the original display mode did not come back";
        EXPECT_EQ(ReadXServerState(), Original);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const std::optional<QString> window = ShownWindow();
                const std::optional<WindowGeometry> geometry =
                    window ? GeometryOf(*window) : std::nullopt;
                return geometry && geometry->Width != 800;
            },
            DeadlineMs))
            << "the main window did not come back";
    }

    QTemporaryDir Folder;
    QString TextPath;
    QString Xdotool;
    QProcess Program;
    std::optional<XServerState> Original;
};

TEST_F(FullScreenOnXorg, AltEnterEscapeAndSigterm_ModeSwitchedThenAlwaysRestored) {
    PressOnShownWindow(QStringLiteral("alt+Return"));
    ASSERT_NO_FATAL_FAILURE(ExpectFullScreen());
    // The keys go to the covering view without anyone giving it the keyboard.
    Press(QStringLiteral("Escape"));
    ASSERT_NO_FATAL_FAILURE(ExpectFramed());

    PressOnShownWindow(QStringLiteral("alt+Return"));
    ASSERT_NO_FATAL_FAILURE(ExpectFullScreen());
    Press(QStringLiteral("alt+Return"));
    ASSERT_NO_FATAL_FAILURE(ExpectFramed());

    PressOnShownWindow(QStringLiteral("alt+Return"));
    ASSERT_NO_FATAL_FAILURE(ExpectFullScreen());
    ::kill(static_cast<pid_t>(Program.processId()), SIGTERM);
    ASSERT_TRUE(Program.waitForFinished(DeadlineMs)) << "the program did not end on SIGTERM";

    EXPECT_EQ(Program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(Program.exitCode(), 0);
    EXPECT_EQ(ReadXServerState(), Original);
}

} // namespace
