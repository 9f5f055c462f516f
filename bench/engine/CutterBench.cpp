// Throughput of cutting a whole text into units, beside memchr over the same bytes as
// the ceiling of any byte scan. Target: 500 MB/s with the default settings.
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::size_t TextSize = std::size_t{64} << 20;

// Deterministic pseudo-random numbers, so every run cuts the same text.
class CXorShift {
public:
    uint32_t Next() {
        State ^= State << 13;
        State ^= State >> 7;
        State ^= State << 17;
        return static_cast<uint32_t>(State >> 32);
    }
    uint32_t Below(uint32_t n) { return Next() % n; }

private:
    uint64_t State = 0x9E3779B97F4A7C15ull;
};

// Prose-like bytes: words of 1 to 12 letters (short ones more often), commas, full
// stops, question marks, CR LF line breaks about every 70 bytes, and now and then a
// stretch of a few hundred words without any punctuation or line break.
std::vector<char> MakeProse() {
    static constexpr std::array<int, 16> WordLengths = {1, 2, 2, 3, 3, 3, 4,  4,
                                                        4, 5, 5, 6, 7, 8, 10, 12};
    CXorShift random;
    std::vector<char> text;
    text.reserve(TextSize + 64);
    std::size_t lineStart = 0;
    int plainWords = 0;
    while (text.size() < TextSize) {
        const int length = WordLengths[random.Below(WordLengths.size())];
        for (int i = 0; i < length; ++i)
            text.push_back(static_cast<char>('a' + random.Below(26)));
        if (plainWords > 0) {
            --plainWords;
            text.push_back(' ');
            continue;
        }
        const uint32_t roll = random.Below(1000);
        if (roll < 100)
            text.push_back(',');
        else if (roll < 170)
            text.push_back('.');
        else if (roll < 180)
            text.push_back('?');
        else if (roll < 182)
            plainWords = 200 + static_cast<int>(random.Below(300));
        if (text.size() - lineStart > 70) {
            text.push_back('\r');
            text.push_back('\n');
            lineStart = text.size();
        } else {
            text.push_back(' ');
        }
    }
    text.resize(TextSize);
    text.push_back('\0');
    return text;
}

const std::vector<char>& Prose() {
    static const std::vector<char> text = MakeProse();
    return text;
}

using FCut = const char* (*)(const char*, char*, const CReadingSettings&);

void CutWholeText(benchmark::State& state, int32_t maxText, FCut cut = &CutUnit) {
    const std::vector<char>& text = Prose();
    CReadingSettings settings;
    settings.MaxText = maxText;
    std::array<char, UnitBufferSize> unit{};
    int64_t units = 0;
    for (auto _ : state) {
        const char* cursor = text.data();
        while (const char* next = cut(cursor, unit.data(), settings)) {
            cursor = next;
            ++units;
        }
        benchmark::DoNotOptimize(unit.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(TextSize));
    state.counters["bytes_per_unit"] = static_cast<double>(TextSize) *
                                       static_cast<double>(state.iterations()) /
                                       static_cast<double>(units);
}

void BM_CutDefaults(benchmark::State& state) {
    CutWholeText(state, 32);
}

void BM_CutMaxText999(benchmark::State& state) {
    CutWholeText(state, 999);
}

// The plain byte loops, for comparison.
void BM_CutBytewiseDefaults(benchmark::State& state) {
    CutWholeText(state, 32, &CutUnitBytewise);
}

void BM_Memchr(benchmark::State& state) {
    const std::vector<char>& text = Prose();
    for (auto _ : state) {
        const void* nul = std::memchr(text.data(), '\0', text.size());
        benchmark::DoNotOptimize(nul);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(TextSize));
}

} // namespace

// Each figure is the median of a few runs, so that one noisy run moves nothing.
constexpr int Repetitions = 5;

BENCHMARK(BM_CutDefaults)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CutMaxText999)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CutBytewiseDefaults)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_Memchr)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);

namespace {
// Keeps the medians of the two cuts of the default settings, to print how much the
// fast path gains over the byte loops in this very run: figures from different runs
// on a shared machine are not comparable.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "median")
                continue;
            const auto rate = run.counters.find("bytes_per_second");
            if (rate == run.counters.end())
                continue;
            const std::string name = run.run_name.function_name;
            if (name == "BM_CutDefaults")
                Fast = rate->second;
            else if (name == "BM_CutBytewiseDefaults")
                Bytewise = rate->second;
        }
    }

    void PrintRatio() const {
        if (Fast <= 0 || Bytewise <= 0)
            return;
        constexpr double MiB = 1024.0 * 1024.0;
        std::printf("fast path / byte loops (median, defaults): %.0f MiB/s / %.0f MiB/s = %.2f\n",
                    Fast / MiB, Bytewise / MiB, Fast / Bytewise);
    }

private:
    double Fast = 0;
    double Bytewise = 0;
};
} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio();
    benchmark::Shutdown();
    return 0;
}
