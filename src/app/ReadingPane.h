// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReadingEstimate.h"
#include "engine/ReadingListener.h"
#include "engine/UnitCounter.h"

#include <QLabel>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class CReadingSession;
class CReadingSettings;

// The status-bar pane that tells how far the reading is, how long the rest of the text
// takes and at what speed. Shown only while a text is loaded. The rest is counted on a
// thread of its own, from scratch whenever the place or the cutting settings change;
// each unit flashed is taken off the count on the spot.
class CReadingPane : public QLabel, private IReadingListener {
    Q_OBJECT
public:
    // A count that gets this far into the text shows a first estimate, scaled to the
    // whole rest, before it goes on to the exact figure.
    static constexpr std::size_t EstimateBytes = std::size_t{4} << 20;

    explicit CReadingPane(CReadingSession& session, QWidget* parent = nullptr);
    ~CReadingPane() override;

    // Brings the pane in line with the text, the place and the settings; counts again
    // only when what the count depends on has changed.
    void Follow();
    // Gives up the count and waits for it: the text it reads may go away now.
    void Cancel();

private:
    void OnReadingStateChanged() override;
    void OnPlaceMoved() override { Follow(); }
    void OnSettingsChanged(SettingsAspect aspect) override;
    void OnAboutToCutUnit() override;
    void OnUnitShown() override;
    // What a count is of.
    struct SOrigin {
        const char* Start = nullptr;
        int32_t Length = 0;
        const char* From = nullptr;
        CUnitCounter::SCutSettings Cut;
        bool operator==(const SOrigin&) const = default;
    };

    // A count and whether it has finished reading the text.
    struct SWorker {
        std::jthread Thread;
        std::shared_ptr<std::atomic<bool>> Done;
    };

    // Gives up the count without waiting for it: it stops within a step, on its own
    // thread, and its result is dropped. The counts given up earlier that have finished
    // are joined, which takes no time.
    void Retire();
    SOrigin Current() const;
    bool SameCount(const SOrigin& now) const;
    void Recount(const SOrigin& origin);
    void TakeCount(uint64_t generation, CUnitCounter::SCount count,
                   std::optional<CUnitCounter::SCount> chapter, bool about);
    // The start of the chapter after the one from is in; null at the last or without
    // chapters.
    const char* ChapterEnd(const char* from) const;
    // A unit's gap and show time: fixed, or the mean of the counted units' paced times.
    uint64_t UnitMs() const;
    void Show();

    CReadingSession& Session;
    CReadingSettings& Settings;
    // In the reader's language, looked up once: the pane is updated at every unit.
    const SEstimateWords EstimateWords;
    SOrigin Counted;
    // Where the counted reading has come to: Counted.From moved past the units flashed
    // since, which Taken holds (words as they count in the count from Counted.From).
    const char* Reached = nullptr;
    CUnitCounter::SCount Taken;
    // The last piece of the text is on the screen: nothing comes after it.
    bool LastPiece = false;
    const char* CutFrom = nullptr; // the cursor at the end of the last gap
    std::optional<CUnitCounter::SCount> Count;
    // The count up to the end of the chapter the count began in, which ends at Mark.
    std::optional<CUnitCounter::SCount> ChapterCount;
    const char* Mark = nullptr;
    bool About = false;
    // Tells a count's result from those of counts given up.
    uint64_t Generation = 0;
    SWorker Worker;
    std::vector<SWorker> Retiring;
};
