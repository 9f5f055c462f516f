// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ReadingSession.h"

#include "engine/ReadingSpeed.h"
#include "engine/SentenceMoves.h"
#include "engine/Separators.h"
#include "engine/UnitCutter.h"
#include "engine/UnitDrawer.h"
#include "engine/UnitSteps.h"
#include "settings/ReadingSettings.h"
#include "settings/SettingsTable.h"

#include <algorithm>
#include <array>
#include <string_view>

CReadingSession::CReadingSession(CReadingSettings& settings, const IClock& clock, IWakeTimer& wake)
    : ReadingSettings(settings), Player(settings, clock, wake, *this) {}

CReadingSession::~CReadingSession() = default;

void CReadingSession::AddListener(IReadingListener& listener) {
    Listeners.push_back(&listener);
}

void CReadingSession::RemoveListener(const IReadingListener& listener) {
    std::erase(Listeners, &listener);
}

// A listener may add or remove listeners while it is told (the panel is made when it is
// first shown): each call goes to those listening when the news came.
template <typename Call> void CReadingSession::Tell(Call call, const IReadingListener* origin) {
    const std::vector<IReadingListener*> listeners = Listeners;
    for (IReadingListener* listener : listeners) {
        const bool stillListening =
            std::find(Listeners.begin(), Listeners.end(), listener) != Listeners.end();
        if (listener != origin && stillListening)
            call(*listener);
    }
}

CReadingSession::State CReadingSession::GetState() const {
    const uint32_t flags = PlayFlags();
    if (!(flags & CPlayer::TextLoadedBit))
        return State::NoText;
    if (flags & CPlayer::RunningBit)
        return State::Running;
    if (flags & CPlayer::StoppedBit)
        return State::Stopped;
    return State::Paused;
}

std::optional<int32_t> CReadingSession::Place() const {
    const char* start = Player.TextStart();
    const char* place = Player.PlaceToKeep();
    if (!start || !place)
        return std::nullopt;
    return static_cast<int32_t>(place - start);
}

void CReadingSession::SetPlayState(int state) {
    Player.SetPlayState(state);
}

void CReadingSession::SetText(const char* text) {
    Player.SetText(text);
}

bool CReadingSession::MoveTo(int32_t offset, bool restartGap, const IReadingListener* origin) {
    if (!ReadingSettings.SetPosition(offset))
        return false;
    Moved(restartGap, origin);
    return true;
}

void CReadingSession::Moved(bool restartGap, const IReadingListener* origin) {
    if (restartGap)
        Player.PositionMoved();
    else if (IsReading())
        Player.RestartPace();
    else if (Drawer)
        Drawer->RepaintForState();
    Tell([](IReadingListener& listener) { listener.OnPlaceMoved(); }, origin);
}

bool CReadingSession::JumpTo(int32_t offset) {
    return MoveTo(offset, true, nullptr);
}

bool CReadingSession::FollowTo(int32_t offset, const IReadingListener* origin) {
    return MoveTo(offset, false, origin);
}

bool CReadingSession::StepBy(int32_t delta, const IReadingListener* origin) {
    // The book refuses a step past either end, and steps over a character's inner bytes.
    if (!ReadingSettings.MoveBy(delta))
        return false;
    Moved(false, origin);
    return true;
}

std::string_view CReadingSession::Text() const {
    return {TextStart(), static_cast<std::size_t>(ReadingSettings.TextLength)};
}

std::optional<SPauseContext> CReadingSession::PausedContext() const {
    if (GetState() != State::Paused)
        return std::nullopt;
    const char* start = TextStart();
    const char* cursor = Cursor();
    const char* shown = Player.LastShownStart();
    const char* unitFrom = shown ? shown : cursor;
    const char* unitTo = cursor;
    if (!shown) {
        std::array<char, UnitBufferSize> unit{};
        const char* next = CutUnit(cursor, unit.data(), ReadingSettings);
        unitTo = next ? next : start + ReadingSettings.TextLength;
    }
    return PauseContext::Around(Text(), static_cast<int32_t>(unitFrom - start),
                                static_cast<int32_t>(unitTo - start), ReadingSettings);
}

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::string_view CReadingSession::ShownText() const {
    if (const std::optional<SPauseContext> context = PausedContext()) {
        const CSentenceMoves sentences(Text(), ReadingSettings);
        // Back from the next sentence's start is the start of the one the unit is in.
        const int32_t end = sentences.Forward(context->UnitFrom);
        const int32_t start = sentences.Back(end);
        return Trimmed(Text().substr(start, end - start));
    }
    if (GetState() != State::Running)
        return {};
    return Trimmed(UnitBuffer());
}

void CReadingSession::SetContents(TableOfContents contents) {
    Chapters = std::move(contents);
}

std::optional<std::size_t> CReadingSession::ChapterAt(int32_t offset) const {
    const auto after =
        std::upper_bound(Chapters.begin(), Chapters.end(), offset,
                         [](int32_t at, const SChapter& chapter) { return at < chapter.Offset; });
    if (after == Chapters.begin())
        return std::nullopt;
    return static_cast<std::size_t>(after - Chapters.begin() - 1);
}

void CReadingSession::MoveByChapter(bool forward) {
    const std::optional<int32_t> from = Place();
    if (!from || Chapters.empty())
        return;
    const std::optional<std::size_t> at = ChapterAt(*from);
    if (forward) {
        const std::size_t next = at ? *at + 1 : 0;
        if (next < Chapters.size())
            JumpTo(Chapters[next].Offset);
        return;
    }
    if (!at)
        return;
    // Chapters that begin at one place (a part and its first chapter) count as one.
    std::size_t back = *at;
    while (back > 0 && Chapters[back - 1].Offset == Chapters[back].Offset)
        --back;
    if (Chapters[back].Offset < *from || back == 0) {
        JumpTo(Chapters[back].Offset);
        return;
    }
    JumpTo(Chapters[*ChapterAt(Chapters[back].Offset - 1)].Offset);
}

void CReadingSession::MoveBySentence(bool forward) {
    const std::optional<int32_t> from = Place();
    if (!from)
        return;
    const CSentenceMoves sentences(Text(), ReadingSettings);
    // The text's end is no place to read from: Forward in the last sentence stays.
    JumpTo(forward ? sentences.Forward(*from) : sentences.Back(*from));
}

void CReadingSession::MoveByParagraph(bool forward) {
    const std::optional<int32_t> from = Place();
    if (!from)
        return;
    const CSentenceMoves paragraphs(Text(), ReadingSettings, CSentenceMoves::EScope::Paragraph);
    JumpTo(forward ? paragraphs.Forward(*from) : paragraphs.Back(*from));
}

void CReadingSession::StepUnit(bool forward) {
    const std::optional<int32_t> from = Place();
    if (!from)
        return;
    JumpTo(forward ? UnitSteps::Forward(Text(), *from, ReadingSettings)
                   : UnitSteps::Back(Text(), *from, ReadingSettings));
}

void CReadingSession::Replay() {
    const std::optional<int32_t> from = Place();
    if (!from)
        return;
    const CSentenceMoves sentences(Text(), ReadingSettings);
    JumpTo(sentences.Back(*from));
    if (!IsReading())
        SetPlayState(CPlayer::Run);
    Player.Replay();
    Tell([](IReadingListener& listener) { listener.OnReplayed(); });
}

namespace {

// "Slow down between sentences first": slower lengthens the gaps after sentences and
// paragraphs, up to twice their defaults, before it lengthens anything else; faster
// takes back such lengthening first. True when the gaps took the step.
bool StepSentenceGaps(CReadingSettings::SPacing& pacing, uint32_t (*step)(uint32_t)) {
    if (pacing.On == 0 || pacing.SentencesFirst == 0)
        return false;
    const auto& sentence = SettingsTable::PaceSentenceGap;
    const auto& paragraph = SettingsTable::PaceParagraphGap;
    const bool slower = step == ReadingSpeed::Slower;
    const bool room =
        slower ? pacing.SentenceGap < 2 * sentence.Default : pacing.SentenceGap > sentence.Default;
    if (!room)
        return false;
    const auto stepped = [step](int32_t percent, const SettingsTable::SIntSetting& setting) {
        const int32_t next = static_cast<int32_t>(step(static_cast<uint32_t>(percent)));
        return std::clamp(next, setting.Default, std::min(2 * setting.Default, setting.High));
    };
    pacing.SentenceGap = stepped(pacing.SentenceGap, sentence);
    pacing.ParagraphGap = stepped(pacing.ParagraphGap, paragraph);
    return true;
}

} // namespace

void CReadingSession::ChangeSpeed(uint32_t (*step)(uint32_t)) {
    if (!StepSentenceGaps(ReadingSettings.Pacing, step)) {
        ReadingSettings.freq = step(ReadingSettings.freq);
        ReadingSettings.durat = step(ReadingSettings.durat);
    }
    SettingsEdited(SettingsAspect::Timing);
}

void CReadingSession::AddBookmark() {
    if (!HasText())
        return;
    ReadingSettings.AddBookmark();
    SettingsEdited(SettingsAspect::Bookmarks);
    SetPlayState(CPlayer::Pause);
}

void CReadingSession::SettingsEdited(SettingsAspect aspect, const IReadingListener* origin) {
    if (Touches(aspect, SettingsAspect::Timing))
        Player.TimingChanged();
    Tell([aspect](IReadingListener& listener) { listener.OnSettingsChanged(aspect); }, origin);
}

void CReadingSession::KeepPlace() {
    if (!HasText())
        return;
    const std::optional<int32_t> place = Place();
    SetPlayState(CPlayer::Stop);
    if (place)
        ReadingSettings.SetPosition(*place);
}

void CReadingSession::ShowUnit(const char* unit) {
    if (Drawer)
        Drawer->ShowUnit(unit);
}

void CReadingSession::EraseUnit() {
    if (Drawer)
        Drawer->EraseUnit();
    if (EndsChapter())
        SetPlayState(CPlayer::Pause);
}

bool CReadingSession::EndsChapter() const {
    if (!ReadingSettings.PauseAtChapterEnd || !IsReading())
        return false;
    const char* shown = Player.LastShownStart();
    if (!shown)
        return false;
    // Units belong to the chapter their first letter is in.
    const auto visible = [this](const char* at) {
        while (IsBlank(*at))
            ++at;
        return static_cast<int32_t>(at - TextStart());
    };
    const std::optional<std::size_t> chapter = ChapterAt(visible(shown));
    const std::size_t next = chapter ? *chapter + 1 : 0;
    return next < Chapters.size() && Chapters[next].Offset <= visible(Cursor());
}

void CReadingSession::PrepareUnit(const char* unit) {
    if (Drawer)
        Drawer->PrepareUnit(unit);
}

void CReadingSession::ForgetUnits() {
    if (Drawer)
        Drawer->ForgetUnits();
}

void CReadingSession::RepaintForState() {
    if (Drawer)
        Drawer->RepaintForState();
}

void CReadingSession::OnFlagsChanged(uint32_t flags) {
    Tell([flags](IReadingListener& listener) { listener.OnPlayFlagsChanged(flags); });
}

void CReadingSession::OnPlayStateChanged() {
    Tell([](IReadingListener& listener) { listener.OnReadingStateChanged(); });
}

void CReadingSession::OnAboutToCutUnit() {
    Tell([](IReadingListener& listener) { listener.OnAboutToCutUnit(); });
}

void CReadingSession::OnUnitShown() {
    Tell([](IReadingListener& listener) { listener.OnUnitShown(); });
}

void CReadingSession::ShowTheEnd() {
    if (Drawer)
        Drawer->ShowTheEnd();
}
