// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the largest text: how long reading it into memory takes beside `cat` reading
// the same file, how much memory it takes, and how fast a text that is too large is
// refused.
//
//   documents_open [--runs N] [--folder DIR] [--skimmet PATH]
//   documents_open --output [--runs N] [--folder DIR] [--skimmet PATH]
//
// Makes two sparse files in DIR (default $TMPDIR or /tmp; they take no disk space):
// one of 1,073,741,823 bytes, the largest accepted, and one of 1,073,741,824 bytes.
// Every figure is the median of N runs (default 5) with the page cache warm, each in
// a process of its own:
//   load      CTextBuffer::Load + LoadSettingsForText, the work of File > Open
//   units     `skimmet --units FILE`, the whole program run (the listing of a file of
//             zeros ends at its first byte, so this is start-up, load and exit)
//   cat       `cat FILE > /dev/null`
//   dd 4M     `dd bs=4M`: the file read through a small buffer
//   dd 1G     `dd bs=1G count=1`: a private copy of the file in memory, for reference,
//             run after all the others
// Targets: load / dd at most 0.7 (the sparse file's `cat` moves no bytes into memory, so
// `dd` with its 1 GiB buffer is the fair reference); peak memory (ru_maxrss) of load and units at
// most the file size + 64 MiB; the too-large file refused in under 50 ms (in process and as a whole
// `skimmet --units` run). Exit code 1 when a target is missed.
//
// With --output, writing a text out and converting one, each beside its anchor in the
// same runs (wall time and CPU, medians of N):
//   a 1 GiB English prose text in UTF-8: `skimmet --text` and `skimmet --units` against
//   `cat`; targets 2 x and 4 x `cat`'s time;
//   the same prose, 100 MB in UTF-16 with its mark: the load (converted as File > Open
//   does) against `iconv -f UTF-16 -t UTF-8`, CPU and peak memory; targets 1.5 x
//   iconv's CPU, peak at most the file plus its text in UTF-8 plus 16 MiB.

#include "settings/ReadingSettings.h"
#include "settings/TextBuffer.h"
#include "settings/TextSettings.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int64_t Largest = CTextBuffer::SizeLimit - 1;
constexpr int64_t TooLarge = CTextBuffer::SizeLimit;
constexpr double MaxRatio = 0.7;
constexpr long MemorySlackKiB = 64 * 1024;
constexpr double MaxRefusalMs = 50.0;
constexpr double MaxPdfCpuRatio = 1.2;

struct Options {
    int Runs = 5;
    std::string Folder;
    std::string Pdf;
    bool Output = false;
    std::string Skimmet = SKIMMET_EXECUTABLE;
};

// One finished process: its wall time and peak resident memory.
struct Run {
    double Ms = 0;
    double CpuMs = 0;
    long MaxRssKiB = 0;
    int Status = 0;
};

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

Run Wait(pid_t pid, Clock::time_point start) {
    Run run;
    rusage usage{};
    if (::wait4(pid, &run.Status, 0, &usage) != pid) {
        std::perror("wait4");
        std::exit(2);
    }
    run.Ms = MsSince(start);
    const auto ms = [](const timeval& time) {
        return time.tv_sec * 1000.0 + time.tv_usec / 1000.0;
    };
    run.CpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    run.MaxRssKiB = usage.ru_maxrss;
    return run;
}

// Runs argv with its output thrown away.
Run Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) {
        std::fprintf(stderr, "cannot start %s: %s\n", argv[0], std::strerror(failed));
        std::exit(2);
    }
    return Wait(pid, start);
}

// What File > Open does with the text, in a child process so that its peak memory is
// its own. Exit status 0 when the text was loaded.
Run LoadInChild(const std::string& path) {
    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::perror("fork");
        std::exit(2);
    }
    if (pid == 0) {
        TextLoadError error = TextLoadError::None;
        const std::optional<CTextBuffer> text = CTextBuffer::Load(path, error);
        if (!text)
            ::_exit(1);
        const char* textStart = text->Data();
        const char* cursor = textStart;
        CReadingSettings settings;
        settings.BindText(&textStart, &cursor);
        LoadSettingsForText(settings, path, text->Size());
        ::_exit(settings.TextLength == text->Size() ? 0 : 1);
    }
    return Wait(pid, start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Series {
    std::vector<double> Ms;
    std::vector<double> CpuMs;
    long MaxRssKiB = 0;
    bool AllOk = true;

    void Add(const Run& run, bool expectSuccess = true) {
        Ms.push_back(run.Ms);
        CpuMs.push_back(run.CpuMs);
        MaxRssKiB = std::max(MaxRssKiB, run.MaxRssKiB);
        const bool success = WIFEXITED(run.Status) && WEXITSTATUS(run.Status) == 0;
        AllOk = AllOk && success == expectSuccess;
    }
    double MedianMs() const { return Median(Ms); }
    double MedianCpuMs() const { return Median(CpuMs); }
};

bool MakeSparse(const std::string& path, int64_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool sized = ::ftruncate(fd, size) == 0;
    ::close(fd);
    return sized;
}

bool Check(const char* what, bool ok) {
    std::printf("  %-58s %s\n", what, ok ? "PASS" : "FAIL");
    return ok;
}

Options Parse(int argc, char** argv) {
    Options options;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp)
        options.Folder = tmp;
    else
        options.Folder = "/tmp";
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        if (name == "--output") {
            options.Output = true;
            --i;
            continue;
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "%s needs a value\n", name.c_str());
            std::exit(2);
        }
        if (name == "--runs")
            options.Runs = std::max(1, std::atoi(argv[i + 1]));
        else if (name == "--folder")
            options.Folder = argv[i + 1];
        else if (name == "--skimmet")
            options.Skimmet = argv[i + 1];
        else if (name == "--pdf")
            options.Pdf = argv[i + 1];
        else {
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
            std::exit(2);
        }
    }
    return options;
}

int ReadPdf(const Options& options) {
    Spawn({"pdftotext", options.Pdf, "/dev/null"});
    Spawn({options.Skimmet, "--text", options.Pdf});
    Series pdftotext, skimmet;
    for (int i = 0; i < options.Runs; ++i) {
        pdftotext.Add(Spawn({"pdftotext", options.Pdf, "/dev/null"}));
        skimmet.Add(Spawn({options.Skimmet, "--text", options.Pdf}));
    }
    const double ratio = skimmet.MedianCpuMs() / pdftotext.MedianCpuMs();
    std::printf("PDF: %s; %d runs, medians\n", options.Pdf.c_str(), options.Runs);
    std::printf("  %-22s %9.1f ms CPU  peak %8ld KiB\n", "pdftotext FILE", pdftotext.MedianCpuMs(),
                pdftotext.MaxRssKiB);
    std::printf("  %-22s %9.1f ms CPU  peak %8ld KiB  (%.2f x pdftotext)\n", "skimmet --text FILE",
                skimmet.MedianCpuMs(), skimmet.MaxRssKiB, ratio);
    bool ok = true;
    ok &= Check("both read the PDF in every run", pdftotext.AllOk && skimmet.AllOk);
    ok &= Check("skimmet --text at most 1.2 x pdftotext's CPU", ratio <= MaxPdfCpuRatio);
    return ok ? 0 : 1;
}

// English prose of about size bytes in UTF-8, written to path in encoding (with its
// byte-order mark for UTF-16) a paragraph at a time; the UTF-8 size, or 0 on failure.
int64_t WriteProse(const std::string& path, int64_t size, bool utf16) {
    static const std::string paragraph =
        "It was the best of times, it was the worst of times, it was the age of wisdom, it "
        "was the age of foolishness; it was the epoch of belief, it was the epoch of "
        "incredulity. There were a king with a large jaw and a queen with a plain face, on "
        "the throne of England! \"Did you hear it?\" asked the clerk, and nobody answered.\n\n";
    std::string block;
    while (block.size() < (std::size_t{1} << 20))
        block += paragraph;
    std::string wide;
    if (utf16) {
        wide = "\xFF\xFE";
        for (const char c : block) {
            wide += c;
            wide += '\0';
        }
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    int64_t written = 0;
    bool ok = true;
    for (bool first = true; written < size && ok; first = false) {
        const std::string_view bytes =
            utf16 ? std::string_view(wide).substr(first ? 0 : 2) : std::string_view(block);
        ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        written += static_cast<int64_t>(block.size());
    }
    ok = std::fclose(file) == 0 && ok;
    return ok ? written : 0;
}

void PrintRow(const char* name, const Series& series, const Series& anchor,
              const char* anchorName) {
    std::printf("  %-30s %8.1f ms  %8.1f ms CPU  peak %8ld KiB  (%.2f x %s, CPU %.2f x)\n", name,
                series.MedianMs(), series.MedianCpuMs(), series.MaxRssKiB,
                series.MedianMs() / anchor.MedianMs(), anchorName,
                series.MedianCpuMs() / anchor.MedianCpuMs());
}

int WriteAndConvert(const Options& options) {
    const std::string prose = options.Folder + "/skimmet-bench-prose.txt";
    const std::string wide = options.Folder + "/skimmet-bench-prose-utf16.txt";
    const int64_t proseBytes = WriteProse(prose, Largest - (int64_t{4} << 20), false);
    const int64_t wideText = WriteProse(wide, 50'000'000, true);
    if (proseBytes == 0 || wideText == 0) {
        std::fprintf(stderr, "cannot write the texts in %s\n", options.Folder.c_str());
        return 2;
    }
    ::setenv("XDG_CONFIG_HOME", options.Folder.c_str(), 1);
    const std::vector<std::string> iconv{"iconv", "-f", "UTF-16", "-t", "UTF-8", wide};
    // Warm the page cache and the libraries.
    Spawn({"cat", prose});
    Spawn({options.Skimmet, "--text", prose});
    Spawn(iconv);
    LoadInChild(wide);
    Series cat, text, units, iconvRuns, load, wideText2;
    for (int i = 0; i < options.Runs; ++i) {
        cat.Add(Spawn({"cat", prose}));
        text.Add(Spawn({options.Skimmet, "--text", prose}));
        units.Add(Spawn({options.Skimmet, "--units", prose}));
        iconvRuns.Add(Spawn(iconv));
        load.Add(LoadInChild(wide));
        wideText2.Add(Spawn({options.Skimmet, "--text", wide}));
    }
    ::unlink(prose.c_str());
    ::unlink(wide.c_str());

    const int64_t wideFile = 2 + 2 * wideText;
    std::printf("Prose: %lld bytes in UTF-8; %d runs, page cache warm, medians\n",
                static_cast<long long>(proseBytes), options.Runs);
    PrintRow("cat FILE", cat, cat, "cat");
    PrintRow("skimmet --text FILE", text, cat, "cat");
    PrintRow("skimmet --units FILE", units, cat, "cat");
    std::printf("Prose: %lld bytes in UTF-16 (%lld in UTF-8)\n", static_cast<long long>(wideFile),
                static_cast<long long>(wideText));
    PrintRow("iconv -f UTF-16 -t UTF-8", iconvRuns, iconvRuns, "iconv");
    PrintRow("load (File > Open)", load, iconvRuns, "iconv");
    PrintRow("skimmet --text FILE", wideText2, iconvRuns, "iconv");

    const long peakLimitKiB = static_cast<long>((wideFile + wideText) / 1024) + 16 * 1024;
    bool ok = true;
    ok &= Check("every run succeeded", cat.AllOk && text.AllOk && units.AllOk && iconvRuns.AllOk &&
                                           load.AllOk && wideText2.AllOk);
    ok &= Check("skimmet --text at most 2 x cat", text.MedianMs() <= 2 * cat.MedianMs());
    ok &= Check("skimmet --units at most 4 x cat", units.MedianMs() <= 4 * cat.MedianMs());
    ok &= Check("UTF-16 load at most 1.5 x iconv's CPU",
                load.MedianCpuMs() <= 1.5 * iconvRuns.MedianCpuMs());
    ok &= Check("UTF-16 load peak at most file + text + 16 MiB", load.MaxRssKiB <= peakLimitKiB);
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const Options options = Parse(argc, argv);
    if (!options.Pdf.empty())
        return ReadPdf(options);
    if (options.Output)
        return WriteAndConvert(options);
    const std::string largest = options.Folder + "/skimmet-bench-largest.txt";
    const std::string tooLarge = options.Folder + "/skimmet-bench-too-large.txt";
    if (!MakeSparse(largest, Largest) || !MakeSparse(tooLarge, TooLarge)) {
        std::fprintf(stderr, "cannot make the sparse files in %s\n", options.Folder.c_str());
        return 2;
    }
    // A defaults file of the user's must not take part.
    ::setenv("XDG_CONFIG_HOME", options.Folder.c_str(), 1);

    // Warm the page cache, and the program's libraries.
    Spawn({"cat", largest});
    LoadInChild(largest);
    Spawn({options.Skimmet, "--units", largest});

    // The loads first, beside the anchors that hold no large buffer: a gigabyte that
    // `dd bs=1G` has just touched and let go is slow to come back on some machines, and
    // would weigh on the load after it.
    Series cat, load, units, dd4M, dd, refusedUnits;
    for (int i = 0; i < options.Runs; ++i) {
        cat.Add(Spawn({"cat", largest}));
        load.Add(LoadInChild(largest));
        units.Add(Spawn({options.Skimmet, "--units", largest}));
        dd4M.Add(Spawn({"dd", "if=" + largest, "of=/dev/null", "bs=4M", "status=none"}));
        refusedUnits.Add(Spawn({options.Skimmet, "--units", tooLarge}), false);
    }
    for (int i = 0; i < options.Runs; ++i)
        dd.Add(Spawn({"dd", "if=" + largest, "of=/dev/null", "bs=1G", "count=1", "status=none"}));
    std::vector<double> refusedMs;
    bool refusedInProcess = true;
    for (int i = 0; i < 20; ++i) {
        TextLoadError error = TextLoadError::None;
        const Clock::time_point start = Clock::now();
        const bool loaded = CTextBuffer::Load(tooLarge, error).has_value();
        refusedMs.push_back(MsSince(start));
        refusedInProcess = refusedInProcess && !loaded && error == TextLoadError::TooLarge;
    }
    ::unlink(largest.c_str());
    ::unlink(tooLarge.c_str());

    const long sizeKiB = static_cast<long>(Largest / 1024);
    const double ratio = load.MedianMs() / dd.MedianMs();
    std::printf("Largest text: %lld bytes; %d runs, page cache warm, medians\n",
                static_cast<long long>(Largest), options.Runs);
    std::printf("  %-22s %9.1f ms  peak %8ld KiB\n", "cat FILE", cat.MedianMs(), cat.MaxRssKiB);
    std::printf("  %-22s %9.1f ms  peak %8ld KiB  (%.2f x cat, %.2f x dd bs=4M, %.2f x dd bs=1G)\n",
                "load (File > Open)", load.MedianMs(), load.MaxRssKiB,
                load.MedianMs() / cat.MedianMs(), load.MedianMs() / dd4M.MedianMs(), ratio);
    std::printf("  %-22s %9.1f ms  peak %8ld KiB  (%.2f x cat)\n", "skimmet --units FILE",
                units.MedianMs(), units.MaxRssKiB, units.MedianMs() / cat.MedianMs());
    std::printf("  %-22s %9.1f ms  peak %8ld KiB  (%.2f x cat)\n", "dd bs=4M", dd4M.MedianMs(),
                dd4M.MaxRssKiB, dd4M.MedianMs() / cat.MedianMs());
    std::printf("  %-22s %9.1f ms  peak %8ld KiB  (%.2f x cat)\n", "dd bs=1G (reference)",
                dd.MedianMs(), dd.MaxRssKiB, dd.MedianMs() / cat.MedianMs());
    std::printf("Too large: %lld bytes\n", static_cast<long long>(TooLarge));
    std::printf("  %-22s %9.3f ms (slowest of 20)\n", "refused in process",
                *std::max_element(refusedMs.begin(), refusedMs.end()));
    std::printf("  %-22s %9.1f ms (median)\n", "skimmet --units FILE", refusedUnits.MedianMs());

    bool ok = true;
    ok &= Check("largest text loaded in every run", load.AllOk && units.AllOk);
    ok &= Check("load at most 0.7 x dd bs=1G", ratio <= MaxRatio);
    ok &=
        Check("load peak memory at most size + 64 MiB", load.MaxRssKiB <= sizeKiB + MemorySlackKiB);
    ok &= Check("skimmet --units peak memory at most size + 64 MiB",
                units.MaxRssKiB <= sizeKiB + MemorySlackKiB);
    ok &= Check("too-large text refused in process in under 50 ms",
                refusedInProcess &&
                    *std::max_element(refusedMs.begin(), refusedMs.end()) < MaxRefusalMs);
    ok &= Check("too-large text refused by skimmet --units in under 50 ms",
                refusedUnits.AllOk && refusedUnits.MedianMs() < MaxRefusalMs);
    return ok ? 0 : 1;
}
