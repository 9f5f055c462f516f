// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/SessionRecorder.h"

#include "engine/ReadingSession.h"
#include "engine/UnitCounter.h"
#include "log/Fingerprint.h"
#include "log/LogWriter.h"
#include "platform/Clock.h"
#include "settings/ReadingSettings.h"

#include <QDateTime>

#include <algorithm>

CSessionRecorder::CSessionRecorder(CReadingSession& session, const IClock& clock,
                                   CLogWriter& writer, std::function<std::string()> path)
    : Session(session), Clock(clock), Writer(writer), Path(std::move(path)) {
    Session.AddListener(*this);
}

CSessionRecorder::~CSessionRecorder() {
    Session.RemoveListener(*this);
}

int32_t CSessionRecorder::PlaceNow() const {
    return Session.Place().value_or(0);
}

const std::string& CSessionRecorder::Fingerprint() {
    const int32_t length = Session.Settings().TextLength;
    if (HashedText != Session.TextStart() || HashedLength != length) {
        TextHash = TextFingerprint({Session.TextStart(), static_cast<std::size_t>(length)});
        HashedText = Session.TextStart();
        HashedLength = length;
    }
    return TextHash;
}

void CSessionRecorder::OnReadingStateChanged() {
    const bool running = Session.GetState() == CReadingSession::State::Running;
    if (running && !Current)
        Begin();
    else if (!running && Current)
        End();
}

void CSessionRecorder::Begin() {
    const CReadingSettings& settings = Session.Settings();
    SSessionRecord record;
    // The key of a session: two never share a millisecond.
    record.StartedAt = std::max<int64_t>(QDateTime::currentMSecsSinceEpoch(), LastStartedAt + 1);
    LastStartedAt = record.StartedAt;
    record.Path = Path();
    record.Fingerprint = Fingerprint();
    record.TextLength = settings.TextLength;
    record.StartOffset = PlaceNow();
    record.GapMs = static_cast<int32_t>(settings.freq);
    record.ShowMs = static_cast<int32_t>(settings.durat);
    record.Paced = settings.Pacing.On != 0;
    Current = std::move(record);
    StartMs = Clock.NowMs();
    Reached = Current->StartOffset;
    LastPlace = Reached;
    LastMoveBack = false;
}

void CSessionRecorder::End() {
    SSessionRecord record = std::move(*Current);
    Current.reset();
    record.EndOffset = Reached;
    record.RunningMs = static_cast<uint32_t>(Clock.NowMs() - StartMs);
    if (record.RunningMs < ShortestMs || record.Units == 0)
        return;
    Writer.Record(record);
    if (OnRecorded)
        OnRecorded(record);
}

void CSessionRecorder::OnPlaceMoved() {
    if (!Current)
        return;
    const int32_t place = PlaceNow();
    LastMoveBack = place < LastPlace;
    if (LastMoveBack)
        ++Current->StepsBack;
    Reached = place;
    LastPlace = place;
}

void CSessionRecorder::OnReplayed() {
    if (!Current)
        return;
    // A replay's own move back is the replay, not a step back.
    if (LastMoveBack && Current->StepsBack > 0)
        --Current->StepsBack;
    LastMoveBack = false;
    ++Current->Replays;
}

void CSessionRecorder::OnUnitShown() {
    if (!Current)
        return;
    ++Current->Units;
    Current->Words += CUnitCounter::WordStarts(Session.UnitBuffer());
    const int32_t cursor = static_cast<int32_t>(Session.Cursor() - Session.TextStart());
    LastPlace = PlaceNow();
    // The text's last piece is shown with the cursor left at its start.
    Reached = cursor == LastPlace ? Session.Settings().TextLength : cursor;
    LastMoveBack = false;
}
