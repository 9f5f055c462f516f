// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReadingListener.h"
#include "log/SessionRecord.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class CLogWriter;
class CReadingSession;
class IClock;

// Follows the reading and hands each session to the log writer when it ends: from a Run
// to the next pause, stop, end of the text, new text or close. A session shorter than
// ShortestMs of running, or that showed no unit, is left out.
class CSessionRecorder final : private IReadingListener {
public:
    static constexpr int64_t ShortestMs = 10'000;
    using Recorded = std::function<void(const SSessionRecord&)>;

    // path gives the text's path when a session begins.
    CSessionRecorder(CReadingSession& session, const IClock& clock, CLogWriter& writer,
                     std::function<std::string()> path);
    ~CSessionRecorder() override;
    CSessionRecorder(const CSessionRecorder&) = delete;
    CSessionRecorder& operator=(const CSessionRecorder&) = delete;

    // Told of each session once it is handed to the writer.
    void SetOnRecorded(Recorded recorded) { OnRecorded = std::move(recorded); }

private:
    void OnReadingStateChanged() override;
    void OnPlaceMoved() override;
    void OnUnitShown() override;
    void OnReplayed() override;
    void Begin();
    void End();
    int32_t PlaceNow() const;
    const std::string& Fingerprint();

    CReadingSession& Session;
    const IClock& Clock;
    CLogWriter& Writer;
    std::function<std::string()> Path;
    Recorded OnRecorded;
    std::optional<SSessionRecord> Current;
    uint32_t StartMs = 0;
    // Where the reading has got to: past the unit shown last, or where a move put it.
    int32_t Reached = 0;
    // The place before the latest move, to tell a move back from one forward.
    int32_t LastPlace = 0;
    bool LastMoveBack = false;
    int64_t LastStartedAt = 0;
    // The fingerprint of the text held, hashed once a text.
    std::string TextHash;
    const char* HashedText = nullptr;
    int32_t HashedLength = -1;
};
