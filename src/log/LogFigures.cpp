// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/LogFigures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {

using Span = std::pair<int32_t, int32_t>;

// The length of the union of the spans.
int64_t Covered(std::vector<Span> spans) {
    std::sort(spans.begin(), spans.end());
    int64_t covered = 0;
    int32_t reached = 0;
    for (const auto& [from, to] : spans) {
        const int32_t start = std::max(from, reached);
        if (to > start)
            covered += to - start;
        reached = std::max(reached, to);
    }
    return covered;
}

struct SText {
    STextFigures Figures;
    std::vector<Span> Read;
    int32_t Length = 0;
};

} // namespace

std::vector<STextFigures> TextFigures(std::span<const SSessionRecord> sessions) {
    std::map<std::string, SText> texts;
    for (const SSessionRecord& session : sessions) {
        SText& text = texts[session.Fingerprint];
        STextFigures& figures = text.Figures;
        figures.Fingerprint = session.Fingerprint;
        figures.Path = session.Path;
        figures.RunningMs += session.RunningMs;
        figures.Words += session.Words;
        ++figures.Sessions;
        figures.LastRead = std::max(figures.LastRead, session.StartedAt + session.RunningMs);
        text.Length = std::max(text.Length, session.TextLength);
        text.Read.emplace_back(std::min(session.StartOffset, session.EndOffset),
                               std::max(session.StartOffset, session.EndOffset));
    }
    std::vector<STextFigures> rows;
    for (auto& [key, text] : texts) {
        STextFigures& figures = text.Figures;
        if (figures.RunningMs > 0)
            figures.WordsPerMinute = static_cast<double>(figures.Words) * 60000.0 /
                                     static_cast<double>(figures.RunningMs);
        if (text.Length > 0)
            figures.Share = std::min(1.0, static_cast<double>(Covered(text.Read)) / text.Length);
        rows.push_back(std::move(figures));
    }
    std::sort(rows.begin(), rows.end(),
              [](const STextFigures& a, const STextFigures& b) { return a.LastRead > b.LastRead; });
    return rows;
}

std::optional<int> BestRatedSpeed(std::span<const SSessionRecord> sessions) {
    // Per speed step: the sum of the ratings and their count.
    std::map<int, std::pair<int, int>> steps;
    for (const SSessionRecord& session : sessions) {
        if (!session.Rating)
            continue;
        const int step = static_cast<int>(std::lround(session.WordsPerMinute() / RatedSpeedStep)) *
                         RatedSpeedStep;
        steps[step].first += *session.Rating;
        ++steps[step].second;
    }
    std::optional<int> best;
    double bestMean = 0;
    for (const auto& [speed, ratings] : steps) {
        const double mean = static_cast<double>(ratings.first) / ratings.second;
        if (!best || mean >= bestMean) {
            best = speed;
            bestMean = mean;
        }
    }
    return best;
}
