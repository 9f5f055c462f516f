// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One reading session, from a Run to the pause, stop, end or close that ended it.
struct SSessionRecord {
    // Milliseconds since the Unix epoch when the session began: with the fingerprint,
    // the session's key.
    int64_t StartedAt = 0;
    std::string Path;
    // TextFingerprint of the text read: the same text keeps it wherever its file moves.
    std::string Fingerprint;
    int32_t TextLength = 0;
    int32_t StartOffset = 0;
    int32_t EndOffset = 0;
    int64_t Units = 0;
    int64_t Words = 0;
    // Time spent running, the gaps and the pacing's longer pauses included.
    int64_t RunningMs = 0;
    // The base speed: the gap before each unit and its show time, and whether pacing by
    // content stretched them.
    int32_t GapMs = 0;
    int32_t ShowMs = 0;
    bool Paced = false;
    int32_t Replays = 0;
    int32_t StepsBack = 0;
    // 1 to 5, how well the reader says they followed; none when not asked or not told.
    std::optional<int> Rating;

    // Words over the time spent running; 0 for no time.
    double WordsPerMinute() const {
        return RunningMs > 0 ? static_cast<double>(Words) * 60000.0 / static_cast<double>(RunningMs)
                             : 0.0;
    }
};
