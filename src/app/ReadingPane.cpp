// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ReadingPane.h"

#include "engine/ReadingEstimate.h"
#include "engine/ReadingSession.h"
#include "settings/ReadingSettings.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <algorithm>

namespace {
// Bytes counted between two looks at the stop request: well under a millisecond.
constexpr std::size_t StepBytes = std::size_t{256} << 10;

CUnitCounter::SCount Scaled(const CUnitCounter::SCount& count, double factor) {
    const auto scaled = [factor](int64_t n) {
        return static_cast<int64_t>(static_cast<double>(n) * factor);
    };
    return {scaled(count.Units), scaled(count.Words), scaled(count.GapPermille),
            scaled(count.ShowPermille), scaled(count.PacedUnits)};
}

std::string Phrase(const char* english) {
    return QCoreApplication::translate("CReadingPane", english).toStdString();
}

// The estimate's words in the reader's language.
SEstimateWords Words() {
    SEstimateWords words;
    words.Chapter = Phrase(QT_TRANSLATE_NOOP("CReadingPane", "Ch %1/%2"));
    words.Seconds = Phrase(QT_TRANSLATE_NOOP("CReadingPane", "%1 s"));
    words.Minutes = Phrase(QT_TRANSLATE_NOOP("CReadingPane", "%1 min"));
    words.Hours = Phrase(QT_TRANSLATE_NOOP("CReadingPane", "%1 h %2 min"));
    words.LeftInChapter = Phrase(QT_TRANSLATE_NOOP("CReadingPane", "%1 left in chapter"));
    words.Left = Phrase(QT_TRANSLATE_NOOP("CReadingPane", "%1 left"));
    words.About = Phrase(QT_TRANSLATE_NOOP("CReadingPane", "about %1"));
    words.Wpm = Phrase(QT_TRANSLATE_NOOP("CReadingPane", "%1 wpm"));
    return words;
}
} // namespace

CReadingPane::CReadingPane(CReadingSession& session, QWidget* parent)
    : QLabel(parent), Session(session), Settings(session.Settings()), EstimateWords(Words()) {
    setObjectName(QStringLiteral("ReadingPane"));
    setVisible(false);
    Session.AddListener(*this);
}

CReadingPane::~CReadingPane() {
    Session.RemoveListener(*this);
    Cancel();
}

void CReadingPane::OnReadingStateChanged() {
    // After the last piece the reading starts over: what is left is counted again.
    if (LastPiece)
        Counted = {};
    Follow();
}

void CReadingPane::OnSettingsChanged(SettingsAspect aspect) {
    // The font and the look change nothing that is counted.
    const SettingsAspect counted = SettingsAspect::Timing | SettingsAspect::Cut;
    if (aspect == SettingsAspect::All || Touches(aspect, counted))
        Follow();
}

void CReadingPane::OnAboutToCutUnit() {
    CutFrom = Session.Cursor();
}

CReadingPane::SOrigin CReadingPane::Current() const {
    return {Session.TextStart(), Settings.TextLength, Session.Cursor(),
            CUnitCounter::SCutSettings::Of(Settings)};
}

bool CReadingPane::SameCount(const SOrigin& now) const {
    return now.Start == Counted.Start && now.Length == Counted.Length && now.Cut == Counted.Cut &&
           now.From == Reached;
}

void CReadingPane::Follow() {
    const SOrigin now = Current();
    if (!now.Start || !now.From || !Session.HasText()) {
        Cancel();
        Counted = {};
        setVisible(false);
        clear();
        return;
    }
    if (!SameCount(now))
        Recount(now);
    Show();
}

void CReadingPane::Retire() {
    ++Generation;
    if (Worker.Thread.joinable()) {
        Worker.Thread.request_stop();
        Retiring.push_back(std::move(Worker));
        Worker = {};
    }
    std::erase_if(Retiring, [](SWorker& worker) {
        if (!worker.Done->load(std::memory_order_acquire))
            return false;
        worker.Thread.join();
        return true;
    });
}

void CReadingPane::Cancel() {
    Retire();
    for (SWorker& worker : Retiring) {
        worker.Thread.request_stop();
        worker.Thread.join();
    }
    Retiring.clear();
}

void CReadingPane::Recount(const SOrigin& origin) {
    // A move of the place must not wait on the count it makes stale; another text must,
    // as the one counted goes away once it has been told.
    if (origin.Start == Counted.Start && origin.Length == Counted.Length)
        Retire();
    else
        Cancel();
    Counted = origin;
    Reached = origin.From;
    Taken = {};
    LastPiece = false;
    Count.reset();
    ChapterCount.reset();
    Mark = ChapterEnd(origin.From);
    About = false;
    const uint64_t generation = Generation;
    const auto rest = static_cast<double>(
        std::max<int64_t>(0, Settings.TextLength - (origin.From - origin.Start)));
    auto done = std::make_shared<std::atomic<bool>>(false);
    Worker.Done = done;
    Worker.Thread =
        std::jthread([this, origin, generation, rest, done, mark = Mark](std::stop_token stop) {
            // Whichever way the count ends, its thread may then be joined at once.
            const struct SDone {
                std::atomic<bool>& Flag;
                ~SDone() { Flag.store(true, std::memory_order_release); }
            } markDone{*done};
            const auto post = [this, generation](CUnitCounter::SCount count,
                                                 std::optional<CUnitCounter::SCount> chapter,
                                                 bool about) {
                QMetaObject::invokeMethod(
                    this,
                    [this, generation, count, chapter, about] {
                        TakeCount(generation, count, chapter, about);
                    },
                    Qt::QueuedConnection);
            };
            CUnitCounter counter(origin.From, origin.Cut);
            counter.SetMark(mark);
            bool estimated = false;
            while (!counter.Step(StepBytes)) {
                if (stop.stop_requested())
                    return;
                if (!estimated && counter.BytesDone() >= EstimateBytes) {
                    estimated = true;
                    post(Scaled(counter.Count(), rest / static_cast<double>(counter.BytesDone())),
                         counter.AtMark(), true);
                }
            }
            post(counter.Count(), counter.AtMark(), false);
        });
}

const char* CReadingPane::ChapterEnd(const char* from) const {
    const TableOfContents& chapters = Session.Contents();
    const char* start = Session.TextStart();
    if (!from || !start)
        return nullptr;
    const auto offset = static_cast<int32_t>(from - start);
    const auto next =
        std::upper_bound(chapters.begin(), chapters.end(), offset,
                         [](int32_t at, const SChapter& chapter) { return at < chapter.Offset; });
    return next == chapters.end() ? nullptr : start + next->Offset;
}

void CReadingPane::TakeCount(uint64_t generation, CUnitCounter::SCount count,
                             std::optional<CUnitCounter::SCount> chapter, bool about) {
    if (generation != Generation)
        return;
    Count = count;
    ChapterCount = chapter;
    About = about;
    Show();
}

void CReadingPane::OnUnitShown() {
    const SOrigin now = Current();
    // Only a unit cut where the counted reading stands, with the counted settings, is
    // the next one of the count.
    if (!now.Start || now.Start != Counted.Start || now.Length != Counted.Length ||
        now.Cut != Counted.Cut || CutFrom != Reached || LastPiece) {
        Follow();
        return;
    }
    if (now.From == CutFrom) {
        // The cursor stays on the last piece of the text.
        LastPiece = true;
    } else {
        --Taken.Units;
        // The count's words are the text's own: those of the bytes the unit came from.
        Taken.Words -= CUnitCounter::WordStarts(CutFrom, now.From) -
                       (CutFrom != Counted.From && CUnitCounter::ContinuesWord(CutFrom));
        Reached = now.From;
        // Into the next chapter: its time is counted afresh.
        if (Mark && Reached >= Mark) {
            Recount(now);
            Show();
            return;
        }
    }
    Show();
}

uint64_t CReadingPane::UnitMs() const {
    const uint64_t fixed = uint64_t{Settings.freq} + Settings.durat;
    if (!Settings.Pacing.On || !Count || Count->PacedUnits <= 0)
        return fixed;
    // Paced, a unit takes the paced units' mean times: the shortest show time aside, that
    // sums to their paced times.
    const auto units = static_cast<double>(Count->PacedUnits);
    const double gap = static_cast<double>(Settings.freq) * static_cast<double>(Count->GapPermille);
    const double show =
        static_cast<double>(Settings.durat) * static_cast<double>(Count->ShowPermille);
    return static_cast<uint64_t>((gap + show) / 1000.0 / units + 0.5);
}

void CReadingPane::Show() {
    CReadingEstimate estimate;
    // The place the move position page shows too: while running, the unit on the screen.
    estimate.Offset = Session.Place().value_or(0);
    estimate.TextLength = Settings.TextLength;
    estimate.UnitMs = UnitMs();
    estimate.About = About;
    if (LastPiece) {
        estimate.Left = CUnitCounter::SCount{};
    } else if (Count) {
        // The count from the place reached begins its first word even inside a word.
        estimate.Left = CUnitCounter::SCount{
            Count->Units + Taken.Units,
            Count->Words + Taken.Words +
                (Reached != Counted.From && CUnitCounter::ContinuesWord(Reached))};
    }
    if (const std::optional<std::size_t> chapter = Session.ChapterAt(estimate.Offset))
        estimate.Chapter = std::pair(*chapter + 1, Session.Contents().size());
    // In the last chapter, the rest of the text is the rest of the chapter.
    if (estimate.Chapter && !Mark)
        estimate.ChapterLeft = estimate.Left;
    else if (estimate.Chapter && ChapterCount && !LastPiece)
        estimate.ChapterLeft = CUnitCounter::SCount{ChapterCount->Units + Taken.Units,
                                                    ChapterCount->Words + Taken.Words};
    setText(QString::fromStdString(estimate.Text(EstimateWords)));
    setVisible(true);
}
