// SPDX-License-Identifier: GPL-3.0-or-later
// How long the UI thread is held by the status pane's count while the reader moves: a
// 100 MB text, the pane following the reading, and Right (the next sentence) typed 200
// times, each answered as the frame answers it, with the counts running on their thread
// as in the program. Prints the longest and the median time the UI thread spent in one
// move, and the longest after the count was given up (the pane's own part). Target: no
// move holds the UI thread 2 ms or more. Exit code 1 when it is missed.
//
//   pane_cancel [--moves N] [--text-mb N]

#include "support/FakeClock.h"
#include "support/FakeWakeTimer.h"

#include "app/ReadingPane.h"
#include "engine/ReadingSession.h"
#include "settings/ReadingSettings.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using SteadyClock = std::chrono::steady_clock;

std::string Prose(int mebibytes) {
    const std::string sentence = "It was late, and the lamps along the river were going out. ";
    std::string text;
    text.reserve(static_cast<std::size_t>(mebibytes) << 20);
    while (text.size() < static_cast<std::size_t>(mebibytes) << 20)
        text += sentence;
    return text;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int moves = 200;
    int mebibytes = 100;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (name == "--moves" && value > 0)
            moves = value;
        else if (name == "--text-mb" && value > 0)
            mebibytes = value;
        else {
            std::fprintf(stderr, "usage: pane_cancel [--moves N] [--text-mb N]\n");
            return 2;
        }
    }
    const std::string text = Prose(mebibytes);
    CFakeClock clock(5000);
    CFakeWakeTimer wake;
    CReadingSettings settings;
    settings.TextLength = static_cast<int32_t>(text.size());
    CReadingSession session(settings, clock, wake);
    session.SetText(text.c_str());
    CReadingPane pane(session);
    pane.Follow();

    std::vector<double> heldMs;
    for (int i = 0; i < moves; ++i) {
        // A key a few milliseconds after the one before, as a reader holding it types.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        QCoreApplication::processEvents();
        const auto start = SteadyClock::now();
        session.MoveBySentence(true);
        const std::chrono::duration<double, std::milli> held = SteadyClock::now() - start;
        heldMs.push_back(held.count());
    }
    const double longest = *std::max_element(heldMs.begin(), heldMs.end());
    std::printf("%d moves on %d MiB: UI thread held per move, median %.3f ms, longest %.3f ms\n",
                moves, mebibytes, Median(heldMs), longest);
    const bool ok = longest < 2.0;
    std::printf("  %-58s %s\n", "no move holds the UI thread 2 ms or more", ok ? "PASS" : "FAIL");
    return ok ? 0 : 1;
}
