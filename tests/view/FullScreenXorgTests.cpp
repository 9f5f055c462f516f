// The real program on Xorg with the dummy driver (run-with-xorg-dummy.sh, 1024x768 at
// start), driven by xdotool's keys and checked through the X server itself.
#include "platform/XServerProbe.h"

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

namespace {
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

TEST(FullScreenOnXorg, AltEnterThenEscapeOrSigterm_ModeSwitchedThenRestored) {
    if (const char* why = std::getenv("SKIMMET_XORG_UNAVAILABLE"))
        GTEST_SKIP() << why;
    ASSERT_EQ(QGuiApplication::platformName().toStdString(), "xcb");
    ASSERT_TRUE(ModeBecomes("1024x768")) << "a test left a mode behind";
    // Of the same size as another mode, so that only the right refresh rate passes.
    const auto modes = CXRandrDisplayModes::Open(nullptr)->Modes();
    const auto number =
        std::find(modes.begin(), modes.end(), DisplayMode{800, 600, 32, 72}) - modes.begin();
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
    EXPECT_EQ(ReadXServerState(), "1024x768 1024x768 1024x768");
}
} // namespace
