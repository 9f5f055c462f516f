// SPDX-License-Identifier: GPL-3.0-or-later
// How long Skimmet takes from exec to its window on the screen, beside a minimal Qt 6
// window started the same way in the same run, and how long `skimmet --version` takes.
//
//   xvfb-run -a start_time [--runs N] [--skimmet PATH] [--text FILE]
//
// Needs an X server without a window manager (xvfb-run starts one), since the time ends
// when the server maps the program's first top-level window. The two programs take
// turns, N runs each (default 10), each with a fresh HOME so that no recent text or
// settings file is read. Prints min / median / max in ms. Targets: Skimmet's median at
// most 1.3 times the minimal window's, `skimmet --version` under 40 ms. Exit code 1 when
// a target is missed.

#include <X11/Xlib.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr double MaxWindowRatio = 1.3;
constexpr double MaxVersionMs = 40.0;
constexpr double MapTimeoutS = 20.0;

struct Options {
    int Runs = 10;
    std::string Skimmet = SKIMMET_EXECUTABLE;
    std::string Minimal = MINIMAL_WINDOW;
    std::string Text = SKIMMET_SAMPLE;
};

struct Figures {
    std::vector<double> Ms;
    void Add(double ms) { Ms.push_back(ms); }
    double Median() const {
        std::vector<double> sorted = Ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
    }
    void Print(const char* name) const {
        const auto [low, high] = std::minmax_element(Ms.begin(), Ms.end());
        std::printf("  %-28s %7.1f / %7.1f / %7.1f ms\n", name, *low, Median(), *high);
    }
};

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

pid_t Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnv) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> environment(extraEnv);
    const auto overridden = [&](const char* variable) {
        return std::ranges::any_of(extraEnv, [&](const std::string& extra) {
            return std::strncmp(variable, extra.c_str(), extra.find('=') + 1) == 0;
        });
    };
    for (char** variable = environ; *variable; ++variable)
        if (!overridden(*variable))
            environment.emplace_back(*variable);
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for the first top-level window mapped after the spawn; -1 on a timeout.
double WaitForMap(Display* display, Clock::time_point start) {
    const int fd = ConnectionNumber(display);
    while (MsSince(start) < MapTimeoutS * 1000) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect)
                return MsSince(start);
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval wait{0, 100000};
        select(fd + 1, &readable, nullptr, nullptr, &wait);
    }
    return -1;
}

void Stop(pid_t pid) {
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
}

// One start to the mapped window, in a fresh HOME; -1 when it never came.
double TimeWindow(Display* display, const std::vector<std::string>& arguments) {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("start_time." + std::to_string(getpid()));
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    XSync(display, True);
    const Clock::time_point start = Clock::now();
    const pid_t pid = Spawn(
        arguments, {"HOME=" + home.string(), "XDG_CONFIG_HOME=" + (home / ".config").string()});
    if (pid < 0)
        return -1;
    const double ms = WaitForMap(display, start);
    Stop(pid);
    std::filesystem::remove_all(home);
    return ms;
}

double TimeVersion(const std::string& skimmet) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = Spawn({skimmet, "--version"}, {"HOME=/nonexistent"});
    int status = 0;
    waitpid(pid, &status, 0);
    return MsSince(start);
}

bool Parse(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--runs")
            options.Runs = std::max(1, std::atoi(argv[i + 1]));
        else if (name == "--skimmet")
            options.Skimmet = argv[i + 1];
        else if (name == "--text")
            options.Text = argv[i + 1];
        else
            return false;
    }
    return argc % 2 == 1;
}

bool Check(const char* what, bool met) {
    std::printf("  %-44s %s\n", what, met ? "met" : "MISSED");
    return met;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: start_time [--runs N] [--skimmet PATH] [--text FILE]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "start_time: no X server (run it under xvfb-run -a)\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    const std::vector<std::string> minimal{options.Minimal, "-platform", "xcb"};
    const std::vector<std::string> skimmet{options.Skimmet, "-platform", "xcb", options.Text};
    Figures minimalWindow;
    Figures skimmetWindow;
    Figures version;
    // One of each first, not counted: the page cache warms for both alike.
    TimeWindow(display, minimal);
    TimeWindow(display, skimmet);
    for (int run = 0; run < options.Runs; ++run) {
        minimalWindow.Add(TimeWindow(display, minimal));
        skimmetWindow.Add(TimeWindow(display, skimmet));
        version.Add(TimeVersion(options.Skimmet));
    }
    XCloseDisplay(display);
    std::printf("Start to a mapped window, %d runs each: min / median / max\n", options.Runs);
    minimalWindow.Print("minimal Qt 6 window");
    skimmetWindow.Print("skimmet with a text");
    version.Print("skimmet --version");
    const double ratio = skimmetWindow.Median() / minimalWindow.Median();
    std::printf("  skimmet / minimal window: %.2f x\n", ratio);
    bool ok = Check("skimmet's window at most 1.3 x the minimal one", ratio <= MaxWindowRatio);
    ok &= Check("skimmet --version under 40 ms", version.Median() < MaxVersionMs);
    const bool mapped = std::ranges::none_of(skimmetWindow.Ms, [](double ms) { return ms < 0; }) &&
                        std::ranges::none_of(minimalWindow.Ms, [](double ms) { return ms < 0; });
    ok &= Check("every window mapped", mapped);
    return ok ? 0 : 1;
}
