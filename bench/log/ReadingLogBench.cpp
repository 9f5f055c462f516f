// SPDX-License-Identifier: GPL-3.0-or-later
// What the reading log costs the window, on Qt's offscreen platform unless QT_QPA_PLATFORM
// names another:
//   BM_SessionRecorded  a session's begin and end on the UI thread (the record is cut and
//                       handed to the writer's thread); target under 5 ms.
//   BM_LogWindowOpens   View > "Reading log" on a log of 10,000 sessions: the log read,
//                       the window built, shown and painted once; target under 300 ms.
// With --fill-month it writes a month of plausible sessions over five texts into the log
// file named, for a look at the window (docs/screenshot-reading-log.png), and exits.
//
//   reading_log_bench [benchmark options]
//   reading_log_bench --fill-month LOG

#include "support/FakeClock.h"
#include "support/FakeWakeTimer.h"
#include "support/gui/FakeServices.h"

#include "app/ReadingLogWindow.h"
#include "engine/ReadingSession.h"
#include "log/LogWriter.h"
#include "log/ReadingLog.h"
#include "log/SessionRecorder.h"
#include "settings/ReadingSettings.h"

#include <QApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int64_t DayMs = 24 * 3600 * 1000;

const char* const Texts[] = {"/home/reader/books/Moby Dick.epub", "/home/reader/books/Walden.txt",
                             "/home/reader/papers/attention.pdf", "/home/reader/books/Emma.fb2",
                             "/home/reader/notes/meeting.txt"};

// days of sessions ending today, perDay a day on average, over the texts named: the speed
// climbing from 230 to 360 words per minute, the longer sessions rated, higher when slower.
std::vector<SSessionRecord> MadeUpSessions(int days, int perDay, int texts) {
    std::mt19937 random(28);
    std::vector<SSessionRecord> sessions;
    std::vector<int32_t> place(static_cast<std::size_t>(texts), 0);
    const int64_t first = QDateTime::currentMSecsSinceEpoch() - days * DayMs;
    for (int day = 0; day < days; ++day) {
        const int count = std::uniform_int_distribution<int>(0, 2 * perDay)(random);
        for (int i = 0; i < count; ++i) {
            const int text = std::uniform_int_distribution<int>(0, texts - 1)(random);
            const double wpm =
                230.0 + 130.0 * day / days + std::normal_distribution<>(0, 20)(random);
            const int64_t ms = std::uniform_int_distribution<int64_t>(20'000, 1'500'000)(random);
            SSessionRecord session;
            session.StartedAt = first + day * DayMs + 19 * 3600 * 1000 - i * 3'600'000;
            session.Path = Texts[text % std::size(Texts)];
            if (text >= static_cast<int>(std::size(Texts)))
                session.Path += std::to_string(text);
            session.Fingerprint = "text" + std::to_string(text);
            session.TextLength = 2'000'000;
            session.Words = static_cast<int64_t>(wpm * static_cast<double>(ms) / 60000.0);
            session.Units = session.Words / 3;
            session.RunningMs = ms;
            session.StartOffset = place[static_cast<std::size_t>(text)];
            session.EndOffset = std::min<int32_t>(
                session.TextLength, session.StartOffset + static_cast<int32_t>(session.Words * 6));
            place[static_cast<std::size_t>(text)] = session.EndOffset % session.TextLength;
            session.GapMs = 60;
            session.ShowMs = 500;
            if (ms >= 300'000)
                session.Rating = std::clamp(static_cast<int>(6.5 - (wpm - 200) / 40), 1, 5);
            sessions.push_back(std::move(session));
        }
    }
    std::sort(sessions.begin(), sessions.end(),
              [](const auto& a, const auto& b) { return a.StartedAt < b.StartedAt; });
    return sessions;
}

bool Fill(const std::string& path, const std::vector<SSessionRecord>& sessions) {
    CReadingLog log(path);
    return log.Open() != CReadingLog::EOpen::Failed && log.Add(sessions);
}

void BM_SessionRecorded(benchmark::State& state) {
    QTemporaryDir folder;
    CReadingSettings settings;
    CFakeClock clock;
    CFakeWakeTimer wake;
    CReadingSession session(settings, clock, wake);
    std::string text;
    while (text.size() < (1u << 20))
        text += "A sentence of a few words, cut at its commas. ";
    settings.TextLength = static_cast<int32_t>(text.size());
    session.SetText(text.c_str());
    QObject context;
    CLogWriter writer(folder.filePath(QStringLiteral("log.sqlite")).toStdString(), context,
                      [](CReadingLog::EOpen, const QString&, const QString&) {});
    CSessionRecorder recorder(session, clock, writer, [] { return std::string("/texts/a.txt"); });
    writer.Flush();
    for (auto _ : state) {
        session.SetPlayState(CPlayer::Run);
        state.PauseTiming();
        for (int phase = 0; phase < 8; ++phase) {
            clock.Advance(2000);
            session.OnTimer();
        }
        state.ResumeTiming();
        session.SetPlayState(CPlayer::Pause);
    }
    writer.Flush();
}

void BM_LogWindowOpens(benchmark::State& state) {
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("log.sqlite")).toStdString();
    const std::vector<SSessionRecord> sessions = MadeUpSessions(400, 25, 40);
    if (!Fill(path, sessions)) {
        state.SkipWithError("the log could not be filled");
        return;
    }
    CFakeDialogs dialogs;
    for (auto _ : state) {
        CReadingLog log(path);
        log.OpenToRead();
        CReadingLogWindow window(log.Sessions(), dialogs);
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.grab());
    }
    state.counters["sessions"] = static_cast<double>(sessions.size());
}

BENCHMARK(BM_SessionRecorded)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogWindowOpens)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string_view(argv[1]) == "--fill-month") {
        const QCoreApplication core(argc, argv);
        if (Fill(argv[2], MadeUpSessions(30, 2, 5)))
            return 0;
        std::fprintf(stderr, "%s: cannot write the log\n", argv[2]);
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
