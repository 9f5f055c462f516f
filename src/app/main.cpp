// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SkimmetApp.h"
#include "app/Translations.h"
#include "app/UnitsCommand.h"
#include "display/AppResources.h"
#include "log/LogCsv.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/DisplayModes.h"
#include "platform/ScreenSaver.h"
#include "platform/Services.h"
#include "platform/SessionBus.h"
#include "platform/TerminationSignals.h"
#include "platform/UrlOpener.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

const QString AppName = QStringLiteral("Skimmet");

struct CommandLine {
    QCommandLineParser Parser;
    // Not addHelpOption: its --help-all would need a QApplication to describe Qt's own
    // options.
    QCommandLineOption Help{
        {QStringLiteral("h"), QStringLiteral("help")},
        QCoreApplication::translate("CommandLine", "Displays help on commandline options.")};
    QCommandLineOption Version{
        {QStringLiteral("v"), QStringLiteral("version")},
        QCoreApplication::translate("CommandLine", "Displays version information.")};
    QCommandLineOption Units{QStringLiteral("units"),
                             QCoreApplication::translate(
                                 "CommandLine", "Print the units that reading <file> would flash, "
                                                "from its stored position on, and exit."),
                             QStringLiteral("file")};
    QCommandLineOption Schedule{
        QStringLiteral("schedule"),
        QCoreApplication::translate("CommandLine", "Print the units of --units with the gap before "
                                                   "each and its show time in ms, and exit."),
        QStringLiteral("file")};
    QCommandLineOption Text{QStringLiteral("text"),
                            QCoreApplication::translate(
                                "CommandLine", "Print the text that opening <file> gives (a book's "
                                               "text too), in UTF-8, and exit."),
                            QStringLiteral("file")};
    QCommandLineOption Contents{
        QStringLiteral("toc"),
        QCoreApplication::translate("CommandLine", "Print the table of contents of <file>: each "
                                                   "entry's offset, a tab and its indented title, "
                                                   "and exit."),
        QStringLiteral("file")};
    QCommandLineOption Encoding{
        QStringLiteral("encoding"),
        QCoreApplication::translate("CommandLine", "Print the encoding that opening <file> would "
                                                   "read it in, and exit."),
        QStringLiteral("file")};

    QCommandLineOption Log{QStringLiteral("log"),
                           QCoreApplication::translate("CommandLine",
                                                       "Print the reading log as CSV, a row a "
                                                       "session, and exit.")};

    CommandLine() {
        Parser.setApplicationDescription(QCoreApplication::translate(
            "CommandLine", "Speed reader that flashes a text a few words at a time."));
        Parser.addOption(Help);
        Parser.addOption(Version);
        Parser.addOption(Units);
        Parser.addOption(Schedule);
        Parser.addOption(Text);
        Parser.addOption(Contents);
        Parser.addOption(Encoding);
        Parser.addOption(Log);
        Parser.addPositionalArgument(
            QStringLiteral("file"),
            QCoreApplication::translate("CommandLine", "Text file to open at start."),
            QStringLiteral("[file]"));
    }
};

// The command line's own bytes for an argument the parser gives decoded: a file name
// need not be UTF-8, and its decoding cannot be undone.
std::string RawArgument(int argc, char** argv, const QString& decoded) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (QString::fromLocal8Bit(argument) == decoded)
            return std::string(argument);
        // --units=FILE, --encoding=FILE
        const std::size_t equals = argument.find('=');
        if (argument.starts_with("--") && equals != std::string_view::npos &&
            QString::fromLocal8Bit(argument.substr(equals + 1)) == decoded)
            return std::string(argument.substr(equals + 1));
    }
    return QFile::encodeName(decoded).toStdString();
}

void PrintError(const QString& text) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(text));
}

// --help, --version and the file commands need no display: they are answered before any window
// system is touched. Returns the exit code when one of them was given.
std::optional<int> RunConsoleOptions(int& argc, char** argv) {
    QCoreApplication core(argc, argv);
    QCoreApplication::setApplicationName(AppName);
    Translations::Install(core);
    QCoreApplication::setApplicationVersion(QStringLiteral(SKIMMET_VERSION));
    CommandLine line;
    const bool parsed = line.Parser.parse(QCoreApplication::arguments());
    // The options that take a file and print what Skimmet makes of it.
    using Command = int (*)(const std::string&, std::ostream&, std::ostream&);
    const std::pair<const QCommandLineOption*, Command> fileCommands[] = {
        {&line.Units, RunUnitsCommand},
        {&line.Schedule, RunScheduleCommand},
        {&line.Text, RunTextCommand},
        {&line.Contents, RunContentsCommand},
        {&line.Encoding, RunEncodingCommand}};
    const auto given = std::count_if(std::begin(fileCommands), std::end(fileCommands),
                                     [&](const auto& c) { return line.Parser.isSet(*c.first); });
    const bool log = line.Parser.isSet(line.Log);
    const bool console =
        line.Parser.isSet(line.Help) || line.Parser.isSet(line.Version) || given > 0 || log;
    // Unknown options may be the window system's own (-platform, -geometry ...): only
    // QApplication knows them, so they are judged once it exists.
    if (!parsed && (console || line.Parser.unknownOptionNames().isEmpty())) {
        PrintError(line.Parser.errorText());
        return 1;
    }
    if (!console)
        return std::nullopt;
    if (line.Parser.isSet(line.Help)) {
        std::fputs(qPrintable(line.Parser.helpText()), stdout);
        return 0;
    }
    if (line.Parser.isSet(line.Version)) {
        std::printf("%s %s\n", qPrintable(AppName), SKIMMET_VERSION);
        return 0;
    }
    if (log) {
        if (!line.Parser.positionalArguments().isEmpty() || given > 0) {
            PrintError(QStringLiteral("--log takes nothing else."));
            return 1;
        }
        std::ios::sync_with_stdio(false);
        return RunLogCommand(std::cout, std::cerr);
    }
    const auto& [option, command] =
        *std::find_if(std::begin(fileCommands), std::end(fileCommands),
                      [&](const auto& c) { return line.Parser.isSet(*c.first); });
    if (!line.Parser.positionalArguments().isEmpty() || given > 1) {
        PrintError(
            QCoreApplication::translate("CommandLine", "--%1 takes one file and nothing else.")
                .arg(option->names().front()));
        return 1;
    }
    // The commands write through std::cout alone: it need not wait on stdio's buffer.
    std::ios::sync_with_stdio(false);
    return command(RawArgument(argc, argv, line.Parser.value(*option)), std::cout, std::cerr);
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> code = RunConsoleOptions(argc, argv))
        return *code;

    // Asking for a desktop's global menu bar with no session bus makes libdbus start a bus
    // while the window waits to come up; without a bus there is no such menu bar anyway.
    if (!SessionBusReachable(std::getenv("DBUS_SESSION_BUS_ADDRESS"),
                             std::getenv("XDG_RUNTIME_DIR")))
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication application(argc, argv);
    QApplication::setApplicationName(AppName);
    Translations::Install(application);
    QApplication::setApplicationVersion(QStringLiteral(SKIMMET_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.skimmet.skimmet"));
    QApplication::setWindowIcon(AppIcon());

    CommandLine line;
    if (!line.Parser.parse(QApplication::arguments())) {
        PrintError(line.Parser.errorText());
        return 1;
    }
    const QStringList files = line.Parser.positionalArguments();
    if (files.size() > 1) {
        PrintError(QCoreApplication::translate("CommandLine", "Only one file can be opened."));
        return 1;
    }

    const CSteadyClock clock;
    CQtDialogs dialogs;
    const std::unique_ptr<IDisplayModes> displayModes = CreateDisplayModes();
    const std::unique_ptr<IScreenSaver> screenSaver = CreateScreenSaver();
    CDesktopUrlOpener urlOpener;
    CServices services{clock, dialogs, *displayModes, *screenSaver, urlOpener};
    CSkimmetApp app(services);
    // Ctrl+C, a closed terminal or a logout ends the program as a close does, so that the
    // text's settings are kept and the screen saver and the display mode are given back.
    const CTerminationSignals termination([&app] { app.EndSession(); });
    if (!files.isEmpty())
        app.SetStartFile(RawArgument(argc, argv, files.front()));
    app.InitInstance();
    return QApplication::exec();
}
