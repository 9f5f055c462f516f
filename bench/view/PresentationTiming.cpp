// SPDX-License-Identifier: GPL-3.0-or-later
// Presentation timing of the flash view with the real clock, on Qt's offscreen platform
// unless QT_QPA_PLATFORM names another (the report names the one it ran on):
// how late each unit's pixels come after the moment its gap ends, and what the player
// costs in CPU and wakeups while running and while stopped. The view is driven once by
// its own deadline wake and once, for comparison, by a periodic 1 ms timer, each twice
// and in alternating order. With --move-page on, the move position page is shown along the
// bottom and follows every unit; both runs each design without and with it and
// compares them. With --status-pane on, the status bar's reading pane follows the
// reading as well, counting the rest of the text on its thread; --text-mb makes the text
// that many MiB, so that the count runs while the first units are flashed. With --pacing
// on the units are paced by content (their gaps and show times vary around --gap and
// --show); both compares the lateness with and without. An unknown argument or a bad
// value is refused.
//
//   view_timing [--units N] [--gap MS] [--show MS] [--idle SECONDS] [--design deadline|poll]
//               [--move-page off|on|both] [--status-pane off|on|both] [--text-mb N]
//               [--pacing off|on|both]

#include "support/gui/FakeServices.h"

#include "app/ReadingPane.h"
#include "engine/ReadingSession.h"
#include "panel/MovePositionPage.h"
#include "platform/Clock.h"
#include "platform/QtWakeTimer.h"
#include "settings/ReadingSettings.h"
#include "view/FlashView.h"

#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QPaintEvent>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

namespace {
using SteadyClock = std::chrono::steady_clock;

struct Options {
    int Units = 300;
    uint32_t GapMs = 10;
    uint32_t ShowMs = 10;
    int IdleSeconds = 5;
    std::string Design; // empty: both
    std::string MovePage = "off";
    std::string StatusPane = "off";
    std::string Pacing = "off";
    int TextMb = 0; // 0: a text of some 200 KB
};

// The monotonic time, in nanoseconds, at which the 32-bit tick count (the monotonic
// clock in whole milliseconds, as CSteadyClock gives it) reached `tick` most recently.
int64_t TickStartNs(uint32_t tick, int64_t nowNs) {
    const int64_t nowMs = nowNs / 1'000'000;
    const auto behind = static_cast<int32_t>(static_cast<uint32_t>(nowMs) - tick);
    return (nowMs - behind) * 1'000'000;
}

int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               SteadyClock::now().time_since_epoch())
        .count();
}

// The view, watched: the end of each gap is taken from the phase timer when the gap
// starts (the erase, or the first paint after Run), and the unit's lateness when the
// unit has been drawn, after repaint has returned.
class CWatchedView : public CFlashView {
public:
    CWatchedView(CReadingSession& session, CServices& services, const IClock& clock)
        : CFlashView(session, services), Session(session), Clock(clock) {
        connect(this, &CFlashView::UnitShown, this, [this] { RecordUnitShown(); });
        Session.AddListener(GapWatch);
    }
    ~CWatchedView() override { Session.RemoveListener(GapWatch); }

    std::vector<double> LatenessMs;
    std::vector<double> NoticedMs;    // lateness when the end of the gap is noticed
    std::vector<double> PaintStartMs; // lateness when the unit's paintEvent begins

    // The move position page where the options panel hosts it, following the place.
    void ShowMovePage() {
        SetFlag(PanelShownBit, true);
        auto* host = new QFrame(this);
        host->setFrameShape(QFrame::Panel);
        host->setFrameShadow(QFrame::Sunken);
        host->setAutoFillBackground(true);
        host->setGeometry(205, height() - PanelHeight + 1, 385, PanelHeight - 2);
        auto* page = new CMovePositionPage(Session, host);
        page->setGeometry(host->contentsRect());
        host->show();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        const int64_t start = NowNs();
        CFlashView::paintEvent(event);
        if (Session.GetState() != CReadingSession::State::Running)
            return;
        if (!ShownUnitRect().isEmpty()) {
            if (GapEnd && PaintStartMs.size() == LatenessMs.size())
                PaintStartMs.push_back(static_cast<double>(start - TickStartNs(*GapEnd, start)) /
                                       1e6);
            return;
        }
        if (Session.PhaseTimer().Phase() == 0)
            GapEnd = Clock.NowMs() + Session.PhaseTimer().Remaining();
    }

private:
    // The end of a gap, as the reading notices it.
    struct CGapWatch final : ::IReadingListener {
        explicit CGapWatch(CWatchedView& view) : View(view) {}
        void OnAboutToCutUnit() override { View.RecordGapNoticed(); }
        CWatchedView& View;
    };

    void RecordGapNoticed() {
        const int64_t now = NowNs();
        if (GapEnd && NoticedMs.size() == LatenessMs.size())
            NoticedMs.push_back(static_cast<double>(now - TickStartNs(*GapEnd, now)) / 1e6);
    }

    void RecordUnitShown() {
        const int64_t now = NowNs();
        if (GapEnd)
            LatenessMs.push_back(static_cast<double>(now - TickStartNs(*GapEnd, now)) / 1e6);
        GapEnd.reset();
    }

    CReadingSession& Session;
    const IClock& Clock;
    std::optional<uint32_t> GapEnd;
    CGapWatch GapWatch{*this};
};

struct Usage {
    double CpuSeconds;
    long Wakeups; // voluntary context switches: each sleep the process wakes from
    int64_t WallNs;
};

Usage Now() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return t.tv_sec + t.tv_usec / 1e6;
    };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_nvcsw, NowNs()};
}

struct Rates {
    double CpuPerSecond;
    double WakeupsPerSecond;
};

Rates Between(const Usage& from, const Usage& to) {
    const double wall = static_cast<double>(to.WallNs - from.WallNs) / 1e9;
    return {(to.CpuSeconds - from.CpuSeconds) / wall,
            static_cast<double>(to.Wakeups - from.Wakeups) / wall};
}

struct Result {
    std::string Design;
    std::vector<double> Lateness;
    std::vector<double> Noticed;
    std::vector<double> PaintStart;
    Rates Running;
    Rates Stopped;
};

double Mean(const std::vector<double>& values) {
    return values.empty() ? 0
                          : std::accumulate(values.begin(), values.end(), 0.0) /
                                static_cast<double>(values.size());
}

double Max(const std::vector<double>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index =
        static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

std::string LongText(int mebibytes) {
    static const char* const sentences[] = {
        "The quick brown fox jumps over the lazy dog. ",
        "Nobody moved, and the house was quiet; the clock struck twelve. ",
        "She read the letter twice before she put it away. ",
        "It was late, and the lamps along the river were going out one by one. ",
    };
    std::string text;
    for (int i = 0; i < 2000 || text.size() < (std::size_t{1} << 20) * mebibytes; ++i)
        text += sentences[i % 4];
    return text;
}

Result Measure(const std::string& design, bool periodic, const Options& options,
               const std::string& text, bool movePage, bool statusPane, bool paced) {
    CSteadyClock clock;
    CFakeServices fakes;
    CServices services{clock, fakes.Dialogs, fakes.DisplayModes, fakes.ScreenSaver,
                       fakes.UrlOpener};
    CReadingSettings settings;
    std::strcpy(settings.Font.lfFaceName, "DejaVu Sans");
    settings.freq = options.GapMs;
    settings.durat = options.ShowMs;
    settings.Pacing.On = paced ? 1 : 0;
    settings.TextLength = static_cast<int32_t>(text.size());

    CWakeTimer wake(clock);
    CReadingSession session(settings, clock, wake);
    CWatchedView view(session, services, clock);
    view.resize(800, 600);
    view.show();
    view.SetText(text.c_str());
    if (movePage)
        view.ShowMovePage();
    std::optional<CReadingPane> pane;
    if (statusPane) {
        pane.emplace(session);
        pane->setGeometry(0, 0, 400, 24);
        pane->Follow();
    }
    session.SetSelfTimed(!periodic);
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, &view, [&session] { session.OnTimer(); });
    if (periodic)
        poll.start(1); // a polling window timer: from creation to the end, running or not
    QCoreApplication::processEvents();

    QEventLoop loop;
    QObject::connect(&view, &CFlashView::UnitShown, &loop, [&] {
        if (static_cast<int>(view.LatenessMs.size()) >= options.Units)
            loop.quit();
    });
    const Usage runFrom = Now();
    view.SetPlayState(CFlashView::Run);
    loop.exec();
    const Usage runTo = Now();

    view.SetPlayState(CFlashView::Stop);
    QCoreApplication::processEvents();
    const Usage idleFrom = Now();
    QTimer::singleShot(options.IdleSeconds * 1000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    const Usage idleTo = Now();

    Result result{design,
                  view.LatenessMs,
                  view.NoticedMs,
                  view.PaintStartMs,
                  Between(runFrom, runTo),
                  Between(idleFrom, idleTo)};
    // The one wake that ends the idle period is the measurement's, not the view's.
    result.Stopped.WakeupsPerSecond =
        std::max(0.0, result.Stopped.WakeupsPerSecond - 1.0 / options.IdleSeconds);
    return result;
}

void Print(const std::vector<Result>& results, const Options& options) {
    std::printf("\n%d units, gap %u ms, show %u ms; idle %d s; real clock, %s platform\n\n",
                options.Units, options.GapMs, options.ShowMs, options.IdleSeconds,
                qPrintable(QGuiApplication::platformName()));
    std::printf("%-19s %29s   %19s   %19s\n", "", "unit on screen, ms late", "CPU s per s",
                "wakeups per s");
    std::printf("%-19s %6s %6s %6s %7s   %9s %9s   %9s %9s\n", "design", "mean", "p50", "p99",
                "max", "running", "stopped", "running", "stopped");
    for (const Result& r : results)
        std::printf("%-19s %6.3f %6.3f %6.3f %7.3f   %9.5f %9.5f   %9.1f %9.1f\n", r.Design.c_str(),
                    Mean(r.Lateness), Percentile(r.Lateness, 0.5), Percentile(r.Lateness, 0.99),
                    Max(r.Lateness), r.Running.CpuPerSecond, r.Stopped.CpuPerSecond,
                    r.Running.WakeupsPerSecond, r.Stopped.WakeupsPerSecond);
    const auto row = [](const std::string& design, const std::vector<double>& values) {
        std::printf("%-19s %6.3f %6.3f %6.3f %7.3f\n", design.c_str(), Mean(values),
                    Percentile(values, 0.5), Percentile(values, 0.99), Max(values));
    };
    std::printf("\n%-19s %29s\n", "", "end of gap noticed, ms late");
    for (const Result& r : results)
        row(r.Design, r.Noticed);
    std::printf("\n%-19s %29s\n", "", "unit's paint begins, ms late");
    for (const Result& r : results)
        row(r.Design, r.PaintStart);
}

// From the end of the gap being noticed to the unit on the screen, unit by unit: the
// work the view does for the unit, without the wake's own jitter.
std::vector<double> OnsetWork(const Result& r) {
    std::vector<double> work;
    for (std::size_t i = 0; i < std::min(r.Lateness.size(), r.Noticed.size()); ++i)
        work.push_back(r.Lateness[i] - r.Noticed[i]);
    return work;
}

struct Job {
    std::string Design;
    bool Periodic;
    bool MovePage;
    bool StatusPane;
    bool Paced;
};

// Each job with the move page (or the status pane, or pacing) against the same job
// without it.
void PrintCost(const char* what, bool Job::*part, const std::vector<Job>& jobs,
               const std::vector<Result>& results) {
    std::printf("\n%s on minus off, ms:  p99 lateness  p99 gap end to unit\n", what);
    for (std::size_t i = 0; i < jobs.size(); ++i)
        for (std::size_t j = 0; j < jobs.size(); ++j) {
            Job twin = jobs[i];
            twin.*part = true;
            if (jobs[i].*part || !(jobs[j].*part) || jobs[j].Periodic != twin.Periodic ||
                jobs[j].MovePage != twin.MovePage || jobs[j].StatusPane != twin.StatusPane ||
                jobs[j].Paced != twin.Paced)
                continue;
            std::printf(
                "%-33s %+13.3f %+20.3f\n", jobs[j].Design.c_str(),
                Percentile(results[j].Lateness, 0.99) - Percentile(results[i].Lateness, 0.99),
                Percentile(OnsetWork(results[j]), 0.99) - Percentile(OnsetWork(results[i]), 0.99));
        }
}

void PrintOnsetWork(const std::vector<Result>& results) {
    std::printf("\n%-19s %29s\n", "", "gap end noticed to unit, ms");
    for (const Result& r : results) {
        const std::vector<double> work = OnsetWork(r);
        std::printf("%-19s %6.3f %6.3f %6.3f %7.3f\n", r.Design.c_str(), Mean(work),
                    Percentile(work, 0.5), Percentile(work, 0.99), Max(work));
    }
}

const char* const UsageText =
    "usage: view_timing [--units N] [--gap MS] [--show MS] [--idle SECONDS]\n"
    "                   [--design deadline|poll] [--move-page off|on|both]\n"
    "                   [--status-pane off|on|both] [--text-mb N] [--pacing off|on|both]\n";

// Null, with the reason on stderr, for an argument it does not know or a bad value.
std::optional<Options> Parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        if (i + 1 >= argc) {
            std::fprintf(stderr, "%s needs a value\n%s", name.c_str(), UsageText);
            return std::nullopt;
        }
        const std::string value = argv[i + 1];
        const long number = std::strtol(value.c_str(), nullptr, 10);
        const bool positive = number > 0 && std::to_string(number) == value;
        if (name == "--design" && (value == "deadline" || value == "poll"))
            options.Design = value;
        else if (name == "--move-page" && (value == "off" || value == "on" || value == "both"))
            options.MovePage = value;
        else if (name == "--status-pane" && (value == "off" || value == "on" || value == "both"))
            options.StatusPane = value;
        else if (name == "--pacing" && (value == "off" || value == "on" || value == "both"))
            options.Pacing = value;
        else if (name == "--text-mb" && positive)
            options.TextMb = static_cast<int>(number);
        else if (name == "--units" && positive)
            options.Units = static_cast<int>(number);
        else if (name == "--gap" && positive)
            options.GapMs = static_cast<uint32_t>(number);
        else if (name == "--show" && positive)
            options.ShowMs = static_cast<uint32_t>(number);
        else if (name == "--idle" && positive)
            options.IdleSeconds = static_cast<int>(number);
        else {
            std::fprintf(stderr, "unknown argument or bad value: %s %s\n%s", name.c_str(),
                         value.c_str(), UsageText);
            return std::nullopt;
        }
    }
    return options;
}

// Two runs of the same job as one result: the samples together, the rates averaged.
Result Merge(Result a, const Result& b) {
    a.Lateness.insert(a.Lateness.end(), b.Lateness.begin(), b.Lateness.end());
    a.Noticed.insert(a.Noticed.end(), b.Noticed.begin(), b.Noticed.end());
    a.PaintStart.insert(a.PaintStart.end(), b.PaintStart.begin(), b.PaintStart.end());
    const auto average = [](Rates& x, const Rates& y) {
        x.CpuPerSecond = (x.CpuPerSecond + y.CpuPerSecond) / 2;
        x.WakeupsPerSecond = (x.WakeupsPerSecond + y.WakeupsPerSecond) / 2;
    };
    average(a.Running, b.Running);
    average(a.Stopped, b.Stopped);
    return a;
}

// The running CPU of the deadline design against the poll's, for each pair that ran.
void PrintRatios(const std::vector<Job>& jobs, const std::vector<Result>& results) {
    for (std::size_t i = 0; i < jobs.size(); ++i)
        for (std::size_t j = 0; j < jobs.size(); ++j)
            if (!jobs[i].Periodic && jobs[j].Periodic && jobs[i].MovePage == jobs[j].MovePage &&
                jobs[i].StatusPane == jobs[j].StatusPane && jobs[i].Paced == jobs[j].Paced &&
                results[j].Running.CpuPerSecond > 0)
                std::printf("\nrunning CPU, deadline / 1 ms poll (%s): %.2f\n",
                            jobs[i].Design.c_str(),
                            results[i].Running.CpuPerSecond / results[j].Running.CpuPerSecond);
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::optional<Options> parsed = Parse(argc, argv);
    if (!parsed)
        return 2;
    const Options& options = *parsed;
    const std::string text = LongText(options.TextMb);
    const auto variants = [](const std::string& choice) {
        return choice == "both" ? std::vector{false, true} : std::vector{choice == "on"};
    };
    std::vector<Job> jobs;
    for (const bool periodic : {false, true}) {
        if (options.Design == (periodic ? "deadline" : "poll"))
            continue;
        for (const bool page : variants(options.MovePage))
            for (const bool pane : variants(options.StatusPane))
                for (const bool paced : variants(options.Pacing)) {
                    std::string name = periodic ? "1 ms poll" : "deadline wake";
                    if (page || pane || paced)
                        name = (periodic ? "poll" : "deadline") + std::string(page ? "+page" : "") +
                               (pane ? "+pane" : "") + (paced ? "+paced" : "");
                    jobs.push_back({name, periodic, page, pane, paced});
                }
    }
    // Every job runs twice, the second time in the reverse order, so that neither design
    // always goes first and a drift of the machine weighs on both alike.
    const auto measure = [&](const Job& job) {
        return Measure(job.Design, job.Periodic, options, text, job.MovePage, job.StatusPane,
                       job.Paced);
    };
    std::vector<Result> first;
    for (const Job& job : jobs)
        first.push_back(measure(job));
    std::vector<Result> results(jobs.size());
    for (std::size_t k = jobs.size(); k-- > 0;)
        results[k] = Merge(first[k], measure(jobs[k]));
    Print(results, options);
    PrintRatios(jobs, results);
    if (options.MovePage == "both" || options.StatusPane == "both")
        PrintOnsetWork(results);
    if (options.MovePage == "both")
        PrintCost("move page", &Job::MovePage, jobs, results);
    if (options.StatusPane == "both")
        PrintCost("status pane", &Job::StatusPane, jobs, results);
    if (options.Pacing == "both")
        PrintCost("pacing", &Job::Paced, jobs, results);
    return 0;
}
