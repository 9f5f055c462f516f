#include "view/FlashView.h"

#include "panel/OptionsPanel.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "settings/ReadingSettings.h"
#include "view/ColorRef.h"
#include "view/FontMapping.h"
#include "view/TextDecoding.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string_view>

namespace {
const QString NoTextPrompt = QStringLiteral("Please open a file you want to read...");
const QString StoppedText = QStringLiteral("Stoped...");
const QString PausedText = QStringLiteral("Paused...");
const QString EndText = QStringLiteral("The End");

constexpr QPoint StatusOrigin{10, 10};
constexpr int PromptFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
// Width of the measuring box, whatever Width a settings file brings.
int BoxWidth(int32_t width) {
    constexpr int MaxBoxWidth = 1 << 16;
    return std::clamp(width, 0, MaxBoxWidth);
}

// A unit's bytes as they are drawn: line breaks of any convention break the line, a
// tab is a space, and line breaks at the end (a stop symbol kept in the unit) add no
// empty line that would push the unit off centre.
QString UnitDisplayText(std::string_view bytes) {
    QString text = DecodeCutText(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

QString UnitDisplayText(const char* text) {
    return text ? UnitDisplayText(std::string_view(text, strnlen(text, UnitBufferSize)))
                : QString();
}
} // namespace

CFlashView::CFlashView(CReadingSettings& settings, CServices& services, QWidget* parent)
    : QWidget(parent), Settings(settings), Services(services), Timer(services.Clock),
      FullScreenMode(*this, services.DisplayModes) {
    // Every pixel is painted by paintEvent; nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    Settings.BindText(&Start, &CursorPos);
    RecreateFont();
    connect(&Wake, &CWakeTimer::Fired, this, &CFlashView::OnTimer);
    connect(&FullScreenMode, &CFullScreenMode::LeaveRequested, this, [this] { FullScreen(0); });
}

// The settings record may be gone already (its owner can destroy it before its child
// windows), so the destructor leaves it alone.
CFlashView::~CFlashView() = default;

CFlashView::ReadingState CFlashView::State() const {
    if (!(Flags & TextLoadedBit))
        return ReadingState::NoText;
    if (Flags & RunningBit)
        return ReadingState::Running;
    if (Flags & StoppedBit)
        return ReadingState::Stopped;
    return ReadingState::Paused;
}

void CFlashView::SetPlayState(int state) {
    switch (state) {
    case Run:
        Flags = (Flags | RunningBit) & ~StoppedBit;
        // The phase index survives: a reading left in the show time resumes there.
        Timer.Reset(2);
        PushDurations();
        break;
    case Stop:
        Flags &= ~RunningBit;
        CursorPos = Start;
        Flags |= StoppedBit;
        break;
    default:
        Flags &= ~(RunningBit | StoppedBit);
        break;
    }
    StateChanged();
    if (IsReading() && Timer.Phase() == 0)
        PrepareNextUnit();
    update();
    if (Panel)
        Panel->Refresh();
    emit PlayFlagsChanged(Flags);
}

void CFlashView::SetText(const char* text) {
    Start = text;
    CursorPos = text;
    Flags = (Flags & ~RunningBit) | StoppedBit;
    if (text)
        Flags |= TextLoadedBit;
    else
        Flags &= ~TextLoadedBit;
    StateChanged();
    RecreateFont();
    if (Panel)
        Panel->Refresh();
    emit PlayFlagsChanged(Flags);
}

void CFlashView::StateChanged() {
    // Whatever was on the screen goes with the repaint that a state change brings.
    Shown.reset();
    Ahead.reset();
    LastPieceAt = nullptr;
    UpdateWake();
}

void CFlashView::SetFlag(uint32_t bit, bool on) {
    const uint32_t flags = on ? Flags | bit : Flags & ~bit;
    if (flags == Flags)
        return;
    Flags = flags;
    emit PlayFlagsChanged(Flags);
}

void CFlashView::RecreateFont() {
    Font = FontFromLogFont(Settings.Font);
}

CFlashView::RenderInputs CFlashView::CurrentRenderInputs() const {
    return {BoxWidth(Settings.Width),
            Font,
            size(),
            (Flags & PanelShownBit) != 0,
            Settings.TexColor,
            Settings.BkgColor,
            devicePixelRatioF()};
}

std::unique_ptr<CUnitLayout> CFlashView::LayOut(const QString& text) const {
    return std::make_unique<CUnitLayout>(text, Font, BoxWidth(Settings.Width));
}

QRect CFlashView::Centred(const CUnitLayout& layout) const {
    return CentredUnitRect(size(), layout.Size(), Flags & PanelShownBit);
}

CFlashView::PreparedUnit CFlashView::Prepare(const QString& text) const {
    PreparedUnit unit{{}, {}, CurrentRenderInputs()};
    // Laid out once: the same layout measures the unit and draws it.
    const CUnitLayout layout(text, Font, unit.Inputs.BoxWidth);
    unit.Rect = Centred(layout);
    if (unit.Rect.isEmpty())
        return unit;
    const qreal ratio = unit.Inputs.PixelRatio;
    unit.Pixels = QImage(unit.Rect.size() * ratio, QImage::Format_RGB32);
    unit.Pixels.setDevicePixelRatio(ratio);
    unit.Pixels.fill(ColorFromRef(unit.Inputs.BkgColor));
    QPainter painter(&unit.Pixels);
    painter.setPen(ColorFromRef(unit.Inputs.TexColor));
    layout.Draw(painter, QPoint(0, 0));
    return unit;
}

void CFlashView::PrepareNextUnit() {
    // The cut is only a forecast here: the unit is still cut at the end of the gap, as
    // always, and this preparation is used only if that cut gives the same bytes and
    // nothing the pixels depend on has changed meanwhile.
    Ahead.reset();
    if (!IsReading() || !CursorPos)
        return;
    std::array<char, UnitBufferSize> bytes{};
    if (!CutUnit(CursorPos, bytes.data(), Settings) && !HasVisibleText(bytes.data()))
        return;
    Ahead = UnitAhead{bytes.data(), Prepare(UnitDisplayText(bytes.data()))};
}

std::optional<CFlashView::PreparedUnit> CFlashView::TakeAhead(const char* text) {
    std::optional<UnitAhead> ahead = std::move(Ahead);
    Ahead.reset();
    if (!ahead || ahead->Bytes != std::string_view(text, strnlen(text, UnitBufferSize)) ||
        !(ahead->Unit.Inputs == CurrentRenderInputs()))
        return std::nullopt;
    return std::move(ahead->Unit);
}

QRect CFlashView::UnitRect(const QString& text) const {
    return Centred(*LayOut(text));
}

QRect CFlashView::CentredUnitRect(const QSize& client, const QSize& unit, bool panelShown) {
    const int usableHeight = client.height() - (panelShown ? PanelHeight : 0);
    const int x = client.width() / 2 - unit.width() / 2;
    const int y = usableHeight / 2 - unit.height() / 2;
    return QRect(x, y, unit.width(), unit.height());
}

QRect CFlashView::DrawUnit(const char* text, bool erase) {
    if (!text)
        text = "";
    std::optional<PreparedUnit> unit;
    QRect rect;
    if (erase) {
        rect = Centred(*LayOut(UnitDisplayText(text)));
    } else {
        unit = TakeAhead(text);
        if (!unit)
            unit = Prepare(UnitDisplayText(text));
        rect = unit->Rect;
    }
    // An erase measures again; should Width, the font or the panel have changed since
    // the unit was drawn, the rectangle it was drawn in is cleared as well.
    QRect dirty = rect;
    if (Shown)
        dirty |= Shown->Rect;
    Shown = std::move(unit);
    // Painting happens only inside paintEvent: have it done now, for this rectangle.
    repaint(dirty);
    return rect;
}

void CFlashView::EraseShownUnit() {
    // Only the shown unit is ever on the screen while a text runs, so clearing where it
    // was drawn is the whole erase; nothing needs measuring again.
    if (!Shown)
        return;
    const QRect rect = Shown->Rect;
    Shown.reset();
    repaint(rect);
}

void CFlashView::PaintPreview(QPainter& painter) const {
    int32_t offset = 0;
    const char* at = Settings.GetPosition(offset);
    if (!at)
        return;
    const int nul = FindNul(at, PreviewBytes);
    const auto length = static_cast<std::size_t>(nul >= 0 ? nul : PreviewBytes);
    const auto layout = LayOut(UnitDisplayText(std::string_view(at, length)));
    painter.setPen(ColorFromRef(Settings.TexColor));
    layout->Draw(painter, Centred(*layout).topLeft());
}

void CFlashView::paintEvent(QPaintEvent* event) {
    const QRect area = event->rect();
    // A unit rendered for other settings than the present ones goes, as any unit goes
    // when the view is painted; its place is painted over now or soon.
    if (Shown && !(Shown->Inputs == CurrentRenderInputs())) {
        if (!area.contains(Shown->Rect))
            update(Shown->Rect);
        Shown.reset();
    }
    QPainter painter(this);
    const bool unitCovers = IsReading() && Shown && Shown->Rect.contains(area);
    if (!unitCovers)
        painter.fillRect(area, ColorFromRef(Settings.BkgColor));
    painter.setFont(Font);
    painter.setPen(ColorFromRef(CReadingSettings::StatusColor));
    const QRect statusBox(StatusOrigin, QSize(std::max(width(), 1), std::max(height(), 1)));
    constexpr int statusFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    switch (State()) {
    case ReadingState::NoText:
        painter.drawText(rect(), PromptFlags, NoTextPrompt);
        break;
    case ReadingState::Stopped:
        painter.drawText(statusBox, statusFlags, StoppedText);
        break;
    case ReadingState::Paused:
        painter.drawText(statusBox, statusFlags, PausedText);
        PaintPreview(painter);
        break;
    case ReadingState::Running:
        if (Shown)
            painter.drawImage(Shown->Rect.topLeft(), Shown->Pixels);
        break;
    }
}

void CFlashView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The whole view is repainted at its new size; a unit on the screen is gone with it.
    Shown.reset();
    Ahead.reset();
    update();
    if (Panel && (Flags & PanelShownBit))
        PlaceOptionsPanel();
}

void CFlashView::ShowOptionsPanel(int page) {
    update();
    if ((Flags & PanelShownBit) && page == 0) {
        if (Panel)
            Panel->hide();
        SetFlag(PanelShownBit, false);
        return;
    }
    if (!Panel)
        Panel = new COptionsPanel(Settings, *this, Services, this);
    PlaceOptionsPanel();
    Panel->show();
    Panel->Refresh();
    SetFlag(PanelShownBit, true);
    if (page != 0)
        Panel->SelectPage(page);
}

// Along the bottom, from x 1 (not 0) to the full client width.
void CFlashView::PlaceOptionsPanel() {
    Panel->setGeometry(1, height() - PanelHeight, width(), PanelHeight);
}

void CFlashView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

void CFlashView::FullScreen(int enter) {
    const bool isFullScreen = Flags & FullScreenBit;
    if (enter == 1) {
        if (isFullScreen)
            return;
        FullScreenMode.Enter(Settings.DisplaySettingNum);
        SetFlag(FullScreenBit, true);
        // A mode chosen now could only apply at the next entry.
        if (Panel)
            Panel->SetDisplayModeListEnabled(false);
        return;
    }
    if (!isFullScreen)
        return;
    FullScreenMode.Leave();
    if (Panel && (Flags & PanelShownBit)) {
        PlaceOptionsPanel();
        Panel->show();
    }
    SetFlag(FullScreenBit, false);
    if (Panel)
        Panel->SetDisplayModeListEnabled(true);
}

void CFlashView::keyPressEvent(QKeyEvent* event) {
    // The view's own keys only matter where there is no menu: in full-screen mode.
    if (!(Flags & FullScreenBit)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Escape:
        FullScreen(0);
        break;
    case Qt::Key_Space:
        ShowOptionsPanel(0);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CFlashView::closeEvent(QCloseEvent* event) {
    // Only the covering view is a window that can be asked to close (Alt+F4): closing it
    // means going back to the main window, never losing the view.
    if (Flags & FullScreenBit) {
        FullScreen(0);
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

const char* CFlashView::NextUnit(char* unit) {
    if (Panel)
        Panel->OnAboutToCutUnit();
    emit AboutToCutUnit();
    if (!CursorPos) {
        unit[0] = '\0';
        return nullptr;
    }
    const char* next = CutUnit(CursorPos, unit, Settings);
    if (next)
        CursorPos = next;
    return next;
}

void CFlashView::PushDurations() {
    Timer.SetDuration(0, Settings.freq);
    Timer.SetDuration(1, Settings.durat);
}

void CFlashView::TimingChanged() {
    UpdateWake();
}

void CFlashView::SetSelfTimed(bool on) {
    SelfTimed = on;
    UpdateWake();
}

void CFlashView::UpdateWake() {
    if (!SelfTimed || !IsReading()) {
        Wake.Cancel();
        return;
    }
    PushDurations();
    // The tick count is the monotonic clock in whole milliseconds, so the phase ends as
    // that clock enters the millisecond `remaining` ahead of the current one. Sleeping
    // to that edge, rather than for whole milliseconds from now, keeps every wake just
    // after the edge instead of drifting up to a millisecond late. The clock is read
    // before Remaining so that a millisecond passing in between makes the wake early
    // (it is armed again) rather than late.
    using namespace std::chrono;
    const auto now = floor<milliseconds>(steady_clock::now().time_since_epoch());
    const auto remaining = milliseconds(Timer.Remaining());
    Wake.ArmAt(steady_clock::time_point(now + remaining));
}

void CFlashView::OnTimer() {
    if (!IsReading())
        return;
    // Pushed before every poll so that edits apply to the running phase.
    PushDurations();
    switch (Timer.Tick()) {
    case 0:
        ShowNextUnit();
        break;
    case 1:
        EndShowTime();
        break;
    default:
        break;
    }
    UpdateWake();
}

void CFlashView::ShowNextUnit() {
    if (!NextUnit(Unit.data())) {
        // The rest of the text is in the unit buffer: flashed as the last unit when
        // there is anything to see in it, otherwise the reading is over now.
        if (!HasVisibleText(Unit.data())) {
            FinishReading();
            return;
        }
        LastPieceAt = CursorPos;
    }
    DrawUnit(Unit.data(), false);
    if (Panel)
        Panel->OnUnitShown();
    emit UnitShown();
}

void CFlashView::EndShowTime() {
    EraseShownUnit();
    // The position may have been moved while the last piece was shown: then the
    // reading goes on from there.
    const bool lastPieceDone = LastPieceAt && LastPieceAt == CursorPos;
    LastPieceAt = nullptr;
    if (lastPieceDone) {
        FinishReading();
        return;
    }
    // The gap has begun: its end has only to put the prepared unit on the screen.
    PrepareNextUnit();
}

void CFlashView::FinishReading() {
    // Stopped before the box opens, so that nothing flashes behind it.
    SetPlayState(Stop);
    Services.Dialogs.Message(this, EndText, MessageIcon::None);
}
