// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "log/SessionRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What the reading log says of one text over all its sessions.
struct STextFigures {
    std::string Fingerprint;
    // The path it was read under last.
    std::string Path;
    int64_t RunningMs = 0;
    int64_t Words = 0;
    // The share of the text that some session went over, 0 to 1; none when no session
    // knew the text's length.
    std::optional<double> Share;
    // Words over the time spent running: the gaps, the pacing's pauses and the replays
    // slow it down as they slowed the reader.
    double WordsPerMinute = 0;
    int Sessions = 0;
    // When the last session ended, milliseconds since the Unix epoch.
    int64_t LastRead = 0;
};

// One row a text, the text read last first. sessions: in the order they began.
std::vector<STextFigures> TextFigures(std::span<const SSessionRecord> sessions);

// The reader's own speed: the words per minute, in steps of RatedSpeedStep, whose rated
// sessions have the best mean rating, the faster speed on a tie; none without ratings.
inline constexpr int RatedSpeedStep = 25;
std::optional<int> BestRatedSpeed(std::span<const SSessionRecord> sessions);
