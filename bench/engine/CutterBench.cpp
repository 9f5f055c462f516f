// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of cutting a whole text into units, beside memchr over the same bytes as
// the ceiling of any byte scan. Targets: 500 MB/s with the default settings, and
// 300 MiB/s cutting Russian and Japanese prose held as UTF-8 by characters.
// BM_CountTimeLeft100MB: the status pane's count of the units and words still to come
// over a 100 MB text, in the pane's steps. Targets: the whole count at least 300 MiB/s,
// and no step over 5 ms (worst_step_ms), the longest the count goes on once given up;
// the same paced, and in characters over English and Russian UTF-8 prose, as the
// program counts a UTF-8 text (BM_CountTimeLeft100MB/pacing/text). BM_PaceUnit: computing one
// unit's pacing (what it holds, what ended the unit before), under 1 µs.
#include "engine/Pacing.h"
#include "engine/UnitCounter.h"
#include "engine/UnitCutter.h"
#include "settings/ReadingSettings.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
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

// How a script writes prose: its letters, what follows a word, and its punctuation.
struct SScript {
    std::vector<std::string> Letters;
    std::string Space, Comma, FullStop, Question;
};

SScript Latin() {
    SScript script{{}, " ", ",", ".", "?"};
    for (char c = 'a'; c <= 'z'; ++c)
        script.Letters.emplace_back(1, c);
    return script;
}

// Cyrillic: two bytes a letter, punctuation and spaces as in Latin prose.
SScript Russian() {
    SScript script{{}, " ", ",", ".", "?"};
    for (const char* p = "абвгдежзийклмнопрстуфхцчшщъыьэюя"; *p; p += 2)
        script.Letters.emplace_back(p, 2);
    return script;
}

// Kana and kanji, three bytes each, and no spaces between words.
SScript Japanese() {
    SScript script{{}, "", "、", "。", "？"};
    for (const char* p = "あいうえおかきくけこさしすせそたちつてとなにのはひふへほまみむめもやゆよ"
                         "らりるれろわをん"
                         "日本人時間手目見言行来出気年事上中下大小前後";
         *p; p += 3)
        script.Letters.emplace_back(p, 3);
    return script;
}

// Prose-like bytes: words of 1 to 12 letters (short ones more often), commas, full
// stops, question marks, CR LF line breaks about every 70 bytes, and now and then a
// stretch of a few hundred words without any punctuation or line break.
std::vector<char> MakeProse(const SScript& script, std::size_t textSize = TextSize) {
    static constexpr std::array<int, 16> WordLengths = {1, 2, 2, 3, 3, 3, 4,  4,
                                                        4, 5, 5, 6, 7, 8, 10, 12};
    CXorShift random;
    std::vector<char> text;
    text.reserve(textSize + 64);
    const auto add = [&text](const std::string& s) {
        text.insert(text.end(), s.begin(), s.end());
    };
    const auto letters = static_cast<uint32_t>(script.Letters.size());
    std::size_t lineStart = 0;
    int plainWords = 0;
    while (text.size() < textSize) {
        const int length = WordLengths[random.Below(WordLengths.size())];
        for (int i = 0; i < length; ++i)
            add(script.Letters[random.Below(letters)]);
        if (plainWords > 0) {
            --plainWords;
            add(script.Space);
            continue;
        }
        const uint32_t roll = random.Below(1000);
        if (roll < 100)
            add(script.Comma);
        else if (roll < 170)
            add(script.FullStop);
        else if (roll < 180)
            add(script.Question);
        else if (roll < 182)
            plainWords = 200 + static_cast<int>(random.Below(300));
        if (text.size() - lineStart > 70) {
            add("\r\n");
            lineStart = text.size();
        } else {
            add(script.Space);
        }
    }
    // Cut back to a whole character, so that the text ends as a loaded one would.
    text.resize(textSize);
    while ((static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
        text.pop_back();
    if (static_cast<unsigned char>(text.back()) >= 0xC0)
        text.pop_back();
    text.push_back('\0');
    return text;
}

const std::vector<char>& Prose() {
    static const std::vector<char> text = MakeProse(Latin());
    return text;
}

const std::vector<char>& RussianProse() {
    static const std::vector<char> text = MakeProse(Russian());
    return text;
}

const std::vector<char>& JapaneseProse() {
    static const std::vector<char> text = MakeProse(Japanese());
    return text;
}

using FCut = const char* (*)(const char*, char*, const CReadingSettings&);

struct SCutCase {
    const std::vector<char>* Text = nullptr;
    int32_t MaxText = 32;
    FCut Cut = &CutUnit;
    bool CharacterMode = false;
    const char* Stops = nullptr; // the defaults
};

void CutWholeText(benchmark::State& state, const SCutCase& c) {
    const std::vector<char>& text = c.Text ? *c.Text : Prose();
    const auto size = static_cast<int64_t>(text.size() - 1);
    CReadingSettings settings;
    settings.MaxText = c.MaxText;
    settings.CharacterMode = c.CharacterMode;
    if (c.Stops) {
        std::memset(settings.StopSimbols, 0, sizeof settings.StopSimbols);
        std::strcpy(settings.StopSimbols, c.Stops);
    }
    std::array<char, UnitBufferSize> unit{};
    int64_t units = 0;
    for (auto _ : state) {
        const char* cursor = text.data();
        while (const char* next = c.Cut(cursor, unit.data(), settings)) {
            cursor = next;
            ++units;
        }
        benchmark::DoNotOptimize(unit.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size);
    state.counters["bytes_per_unit"] = static_cast<double>(size) *
                                       static_cast<double>(state.iterations()) /
                                       static_cast<double>(units);
}

void BM_CutDefaults(benchmark::State& state) {
    CutWholeText(state, {});
}

void BM_CutMaxText999(benchmark::State& state) {
    CutWholeText(state, {.MaxText = 999});
}

// The plain byte loops, for comparison.
void BM_CutBytewiseDefaults(benchmark::State& state) {
    CutWholeText(state, {.Cut = &CutUnitBytewise});
}

// UTF-8 prose cut as bytes (as a text not known to be UTF-8 is) and as characters.
void BM_CutRussianBytes(benchmark::State& state) {
    CutWholeText(state, {.Text = &RussianProse()});
}

void BM_CutRussianCharacters(benchmark::State& state) {
    CutWholeText(state, {.Text = &RussianProse(), .CharacterMode = true});
}

// The character loops alone, to see what the blocks gain.
void BM_CutRussianCharacterLoops(benchmark::State& state) {
    CutWholeText(state, {.Text = &RussianProse(), .Cut = &CutUnitBytewise, .CharacterMode = true});
}

void BM_CutJapaneseBytes(benchmark::State& state) {
    CutWholeText(state, {.Text = &JapaneseProse()});
}

void BM_CutJapaneseCharacters(benchmark::State& state) {
    CutWholeText(state, {.Text = &JapaneseProse(), .CharacterMode = true});
}

// With the Japanese comma and full stop among the stop symbols, as a reader of
// Japanese would set them.
void BM_CutJapaneseCharactersKuten(benchmark::State& state) {
    CutWholeText(state,
                 {.Text = &JapaneseProse(), .CharacterMode = true, .Stops = ",;.:?!\n\r、。？"});
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

// Arguments: pacing off or on; the text: 0 English in bytes, 1 English and 2 Russian in
// characters, as the program counts a UTF-8 text.
void BM_CountTimeLeft100MB(benchmark::State& state) {
    static const std::vector<char> english = MakeProse(Latin(), std::size_t{100} << 20);
    static const std::vector<char> russian = MakeProse(Russian(), std::size_t{100} << 20);
    const std::vector<char>& text = state.range(1) == 2 ? russian : english;
    constexpr std::size_t StepBytes = std::size_t{256} << 10; // as the pane steps
    CReadingSettings settings;
    settings.Pacing.On = static_cast<int32_t>(state.range(0));
    settings.CharacterMode = state.range(1) != 0;
    const CUnitCounter::SCutSettings cut = CUnitCounter::SCutSettings::Of(settings);
    double worstMs = 0;
    int64_t units = 0;
    for (auto _ : state) {
        CUnitCounter counter(text.data(), cut);
        bool done = false;
        while (!done) {
            const auto start = std::chrono::steady_clock::now();
            done = counter.Step(StepBytes);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            worstMs = std::max(worstMs, took.count());
        }
        units = counter.Count().Units;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size() - 1));
    state.counters["worst_step_ms"] = worstMs;
    state.counters["units"] = static_cast<double>(units);
}

// Every unit of a prose text paced in turn, the end of each found as the player finds it.
void BM_PaceUnit(benchmark::State& state) {
    static const std::vector<char> text = MakeProse(Latin(), std::size_t{1} << 20);
    CReadingSettings settings;
    settings.Pacing.On = 1;
    std::vector<std::pair<std::string, Pacing::End>> units;
    std::array<char, UnitBufferSize> unit{};
    Pacing::End before = Pacing::End::None;
    for (const char* at = text.data(); at && units.size() < 10000;) {
        const char* next = CutUnit(at, unit.data(), settings);
        units.emplace_back(unit.data(), before);
        before = next ? EndOfUnit(at, next, settings) : before;
        at = next;
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& [bytes, end] = units[i];
        benchmark::DoNotOptimize(Pacing::PaceOf(bytes, end, static_cast<int>(i % 8), settings));
        i = i + 1 == units.size() ? 0 : i + 1;
    }
}

} // namespace

// Each figure is the median of a few runs, so that one noisy run moves nothing.
constexpr int Repetitions = 5;

BENCHMARK(BM_CutDefaults)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CutMaxText999)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CutBytewiseDefaults)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CutRussianBytes)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CutRussianCharacters)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CutRussianCharacterLoops)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CutJapaneseBytes)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CutJapaneseCharacters)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CutJapaneseCharactersKuten)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);
BENCHMARK(BM_CountTimeLeft100MB)
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(Repetitions);
BENCHMARK(BM_PaceUnit)->Unit(benchmark::kNanosecond)->Repetitions(Repetitions);
BENCHMARK(BM_Memchr)->Unit(benchmark::kMillisecond)->Repetitions(Repetitions);

namespace {
// Keeps the medians of the runs, to print in this very run how much the fast path
// gains over the byte loops and what counting characters costs beside counting
// bytes: figures from different runs on a shared machine are not comparable.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "median")
                continue;
            if (const auto rate = run.counters.find("bytes_per_second"); rate != run.counters.end())
                Rates[run.run_name.function_name] = rate->second;
        }
    }

    void PrintRatios() const {
        Print("fast path / byte loops (defaults)", "BM_CutDefaults", "BM_CutBytewiseDefaults");
        Print("Russian, characters / bytes", "BM_CutRussianCharacters", "BM_CutRussianBytes");
        Print("Russian, characters: blocks / character loops", "BM_CutRussianCharacters",
              "BM_CutRussianCharacterLoops");
        Print("Japanese, characters / bytes", "BM_CutJapaneseCharacters", "BM_CutJapaneseBytes");
        Print("Japanese, characters with 、。 / bytes", "BM_CutJapaneseCharactersKuten",
              "BM_CutJapaneseBytes");
    }

private:
    void Print(const char* what, const std::string& first, const std::string& second) const {
        const auto a = Rates.find(first);
        const auto b = Rates.find(second);
        if (a == Rates.end() || b == Rates.end() || b->second <= 0)
            return;
        constexpr double MiB = 1024.0 * 1024.0;
        std::printf("%s (median): %.0f MiB/s / %.0f MiB/s = %.2f\n", what, a->second / MiB,
                    b->second / MiB, a->second / b->second);
    }

    std::map<std::string, double> Rates;
};
} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
