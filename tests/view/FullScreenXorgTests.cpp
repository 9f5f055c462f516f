// The real program on Xorg with the dummy driver (run-with-xorg-dummy.sh, 1024x768 at
// start), driven by xdotool's keys and checked through the X server itself.
#include "platform/XServerProbe.h"

#include "platform/DisplayModes.h"
#include "platform/XRandrDisplayModes.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

namespace {
constexpr int DeadlineMs = 20000;

bool RunTool(const QStringList& arguments, QString* out = nullptr) {
    QProcess tool;
    tool.start(QStandardPaths::findExecutable(QStringLiteral("xdotool")), arguments);
    const bool ok = tool.waitForFinished(DeadlineMs) && tool.exitStatus() == QProcess::NormalExit &&
                    tool.exitCode() == 0;
    if (out)
        *out = QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    return ok;
}

bool ModeBecomes(const QString& name) {
    return QTest::qWaitFor(
        [&] {
            const std::optional<XServerState> state = ReadXServerState();
            return state && state->ModeName == name;
        },
        DeadlineMs);
}

TEST(FullScreenOnXorg, AltEnterThenEscapeOrSigterm_ModeSwitchedThenRestored) {
    if (const char* why = std::getenv("SKIMMET_XORG_UNAVAILABLE"))
        GTEST_SKIP() << why;
    ASSERT_EQ(QGuiApplication::platformName().toStdString(), "xcb");
    ASSERT_TRUE(ModeBecomes(QStringLiteral("1024x768"))) << "a test left a mode behind";
    // Of the same size as another mode, so that only the right refresh rate passes.
    const auto modes = CXRandrDisplayModes::Open(nullptr)->Modes();
    const auto number =
        std::find(modes.begin(), modes.end(), DisplayMode{800, 600, 32, 72}) - modes.begin();
    ASSERT_GT(number, 0);

    QTemporaryDir folder;
    const QString text = folder.filePath(QStringLiteral("story.txt"));
    QFile story(text);
    ASSERT_TRUE(story.open(QIODevice::WriteOnly) &&
                story.write("It was late. Nobody moved.\n") > 0);
    story.close();
    QFile settings(text + QStringLiteral(".skm"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(QStringLiteral("[MAIN]\r\nDisplaySettingNum=%1\r\n").arg(number).toLatin1());
    settings.close();

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("cfg")));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(SKIMMET_PROGRAM), {text});
    const QString pid = QString::number(program.processId());
    const auto enter = [&] {
        QString window;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return RunTool({"search", "--onlyvisible", "--pid", pid}, &window) &&
                       !window.contains(QLatin1Char('\n'));
            },
            DeadlineMs));
        ASSERT_TRUE(RunTool({"windowfocus", "--sync", window}));
        ASSERT_TRUE(RunTool({"key", "alt+Return"}));
        ASSERT_TRUE(ModeBecomes(QStringLiteral("800x600_72"))) << "the mode did not change";
    };
    ASSERT_NO_FATAL_FAILURE(enter());
    ASSERT_TRUE(RunTool({"key", "Escape"})); // the covering view has the keyboard
    ASSERT_TRUE(ModeBecomes(QStringLiteral("1024x768"))) << "Escape did not restore the mode";
    ASSERT_NO_FATAL_FAILURE(enter());
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    ASSERT_TRUE(program.waitForFinished(DeadlineMs));
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_EQ(ReadXServerState()->ModeName.toStdString(), "1024x768");
}
} // namespace
