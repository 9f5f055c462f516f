// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/FlashView.h"

#include "display/ColorRef.h"
#include "display/FontMapping.h"
#include "display/TextDecoding.h"
#include "engine/ReadingSession.h"
#include "engine/Separators.h"
#include "panel/OptionsPanel.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "settings/ReadingSettings.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <string_view>

namespace {
QString NoTextPrompt() {
    return QCoreApplication::translate("CFlashView", "Please open a file you want to read...");
}

QString StoppedText() {
    return QCoreApplication::translate("CFlashView", "Stoped...");
}

QString PausedText() {
    return QCoreApplication::translate("CFlashView", "Paused...");
}

QString EndText() {
    return QCoreApplication::translate("CFlashView", "The End");
}

constexpr QPoint StatusOrigin{10, 10};
constexpr int PromptFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

} // namespace

CFlashView::CFlashView(CReadingSession& session, CServices& services, QWidget* parent)
    : QWidget(parent), Session(session), Settings(session.Settings()), Services(services),
      FullScreenMode(*this, services.DisplayModes) {
    // Every pixel is painted by paintEvent; nothing needs clearing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    RecreateFont();
    Session.SetDrawer(this);
    Session.AddListener(*this);
    connect(&FullScreenMode, &CFullScreenMode::LeaveRequested, this, [this] { FullScreen(0); });
}

CFlashView::~CFlashView() {
    Session.RemoveListener(*this);
    Session.SetDrawer(nullptr);
}

uint32_t CFlashView::PlayFlags() const {
    return Session.PlayFlags();
}

void CFlashView::SetPlayState(int state) {
    Session.SetPlayState(state);
}

void CFlashView::SetFlag(uint32_t bit, bool on) {
    Session.SetFlag(bit, on);
}

void CFlashView::SetText(const char* text) {
    RecreateFont();
    Session.SetText(text);
}

void CFlashView::RecreateFont() {
    Font = FontFromLogFont(Settings.Font);
}

void CFlashView::OnSettingsChanged(SettingsAspect aspect) {
    if (Touches(aspect, SettingsAspect::Font))
        RecreateFont();
    // A paused view shows its preview in the new look; a running one draws the next unit
    // in it, and the paint drops a unit drawn for other settings.
    if (Touches(aspect, SettingsAspect::Font) || Touches(aspect, SettingsAspect::Look) ||
        Touches(aspect, SettingsAspect::Cut))
        update();
}

QRect CFlashView::ShownUnitRect() const {
    return Renderer.Shown() ? Renderer.Shown()->Rect : QRect();
}

CUnitRenderer::Inputs CFlashView::CurrentInputs() const {
    return CUnitRenderer::MakeInputs(Settings, Font, size(), PlayFlags() & PanelShownBit,
                                     devicePixelRatioF());
}

QRect CFlashView::UnitRect(const QString& text) const {
    const CUnitRenderer::Inputs inputs = CurrentInputs();
    return CUnitRenderer::Centred(*CUnitRenderer::LayOut(text, inputs), inputs);
}

QRect CFlashView::DrawUnit(const char* text, bool erase) {
    if (!text)
        text = "";
    std::optional<CUnitRenderer::PreparedUnit> unit;
    if (!erase)
        unit = Renderer.Take(text, CurrentInputs());
    const QRect rect = unit ? unit->Rect : UnitRect(UnitDisplayText(text, Settings.Encoding));
    // An erase measures again; should Width, the font or the panel have changed since
    // the unit was drawn, the rectangle it was drawn in is cleared as well.
    const QRect dirty = rect | ShownUnitRect();
    Renderer.SetShown(std::move(unit));
    // Painting happens only inside paintEvent: have it done now, for this rectangle.
    repaint(dirty);
    return rect;
}

void CFlashView::ShowUnit(const char* unit) {
    DrawUnit(unit, false);
    emit UnitShown();
}

void CFlashView::EraseUnit() {
    // Only the shown unit is ever on the screen while a text runs, so clearing where it
    // was drawn is the whole erase; nothing needs measuring again.
    if (!Renderer.Shown())
        return;
    const QRect rect = ShownUnitRect();
    Renderer.SetShown(std::nullopt);
    repaint(rect);
}

void CFlashView::PrepareUnit(const char* unit) {
    Renderer.PrepareAhead(unit, CurrentInputs());
}

void CFlashView::ShowTheEnd() {
    Services.Dialogs.Message(this, EndText(), MessageIcon::None);
}

namespace {
// A colour between the background and the text's, share parts of a hundred the text's.
QColor Blend(uint32_t text, uint32_t background, int share) {
    const QColor a = ColorFromRef(text);
    const QColor b = ColorFromRef(background);
    const auto mix = [share](int x, int y) {
        return (x * share + y * (100 - share)) / 100;
    };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

// What separates two parts that meet at at: a line break when the blanks around at hold
// one, else a space when there are blanks, else nothing. from and to bound the search.
QString Between(const char* text, int32_t from, int32_t at, int32_t to) {
    int32_t start = at;
    while (start > from && IsBlank(text[start - 1]))
        --start;
    int32_t end = at;
    while (end < to && IsBlank(text[end]))
        ++end;
    if (start == end)
        return {};
    const std::string_view run(text + start, static_cast<std::size_t>(end - start));
    return run.find_first_of("\r\n") != std::string_view::npos ? QStringLiteral("\n")
                                                               : QStringLiteral(" ");
}

// The words of text that end by its length-th character; none when a word spans it.
QString WordsBefore(const QString& text, qsizetype length) {
    const qsizetype blank = text.lastIndexOf(QLatin1Char(' '), length);
    return blank <= 0 ? QString() : text.left(blank);
}

// The words of text that start at or after its from-th character.
QString WordsFrom(const QString& text, qsizetype from) {
    const qsizetype blank = text.indexOf(QLatin1Char(' '), from);
    return blank < 0 ? QString() : text.mid(blank + 1);
}

QTextLayout::FormatRange Range(int start, int length, const QColor& colour) {
    QTextLayout::FormatRange range;
    range.start = start;
    range.length = length;
    range.format.setForeground(colour);
    return range;
}
} // namespace

// Paused, the reader sees where they are: the sentence before dimmed, the unit flashed
// last (or, after a move, the one to come) on a band, and what follows.
void CFlashView::PaintPreview(QPainter& painter) const {
    const std::optional<SPauseContext> context = Session.PausedContext();
    if (!context)
        return;
    const CUnitRenderer::Inputs inputs = CurrentInputs();
    const char* text = Session.TextStart();
    const auto part = [&](int32_t from, int32_t to) {
        return UnitDisplayText(std::string_view(text + from, static_cast<std::size_t>(to - from)),
                               inputs.Encoding);
    };
    QString before = part(context->From, context->UnitFrom);
    const QString unit = part(context->UnitFrom, context->UnitTo);
    QString after = part(context->UnitTo, context->To);
    // The blanks and line breaks at a part's edges are not drawn: the parts keep the space
    // or the line break between them.
    const QString lead = Between(text, context->From, context->UnitFrom, context->UnitTo);
    if (!before.isEmpty() && !lead.isEmpty() && !before.endsWith(lead) && !unit.startsWith(lead))
        before += lead;
    const QString trail = Between(text, context->UnitFrom, context->UnitTo, context->To);
    if (!after.isEmpty() && !trail.isEmpty() && !unit.endsWith(trail) && !after.startsWith(trail))
        after.prepend(trail);
    // Centred below the status line and above the panel: the longer side loses half its
    // words until the whole fits.
    const int room = height() - (inputs.PanelShown ? CUnitRenderer::PanelHeight : 0) -
                     2 * (StatusOrigin.y() + QFontMetrics(Font).height());
    for (;;) {
        const std::unique_ptr<CUnitLayout> layout = LayOutContext(before, unit, after, inputs);
        if (layout->Size().height() <= room || (before.isEmpty() && after.isEmpty())) {
            layout->Draw(painter, CUnitRenderer::Centred(*layout, inputs).topLeft());
            return;
        }
        if (after.size() >= before.size())
            after = WordsBefore(after, after.size() / 2);
        else
            before = WordsFrom(before, before.size() / 2);
    }
}

std::unique_ptr<CUnitLayout> CFlashView::LayOutContext(const QString& before, const QString& unit,
                                                       const QString& after,
                                                       const CUnitRenderer::Inputs& inputs) const {
    QTextLayout::FormatRange band =
        Range(static_cast<int>(before.size()), static_cast<int>(unit.size()),
              ColorFromRef(Settings.TexColor));
    band.format.setBackground(Blend(Settings.TexColor, Settings.BkgColor, 22));
    const QList<QTextLayout::FormatRange> formats{
        Range(0, static_cast<int>(before.size()), Blend(Settings.TexColor, Settings.BkgColor, 45)),
        band,
        Range(static_cast<int>(before.size() + unit.size()), static_cast<int>(after.size()),
              ColorFromRef(Settings.TexColor)),
    };
    return std::make_unique<CUnitLayout>(before + unit + after, inputs.Font, inputs.BoxWidth,
                                         formats);
}

void CFlashView::paintEvent(QPaintEvent* event) {
    const QRect area = event->rect();
    const auto& shown = Renderer.Shown();
    // A unit rendered for other settings than the present ones goes, as any unit goes
    // when the view is painted; its place is painted over now or soon.
    if (shown && !(shown->From == CurrentInputs())) {
        if (!area.contains(shown->Rect))
            update(shown->Rect);
        Renderer.SetShown(std::nullopt);
    }
    QPainter painter(this);
    const CReadingSession::State state = Session.GetState();
    const bool unitCovers =
        state == CReadingSession::State::Running && shown && shown->Rect.contains(area);
    if (!unitCovers)
        painter.fillRect(area, ColorFromRef(Settings.BkgColor));
    painter.setFont(Font);
    painter.setPen(ColorFromRef(CReadingSettings::StatusColor));
    const QRect statusBox(StatusOrigin, QSize(std::max(width(), 1), std::max(height(), 1)));
    constexpr int statusFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    switch (state) {
    case CReadingSession::State::NoText:
        painter.drawText(rect(), PromptFlags, NoTextPrompt());
        break;
    case CReadingSession::State::Stopped:
        painter.drawText(statusBox, statusFlags, StoppedText());
        break;
    case CReadingSession::State::Paused:
        painter.drawText(statusBox, statusFlags, PausedText());
        PaintPreview(painter);
        break;
    case CReadingSession::State::Running:
        if (shown)
            painter.drawImage(shown->Rect.topLeft(), shown->Pixels);
        break;
    }
}

void CFlashView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The whole view is repainted at its new size; a unit on the screen is gone with it.
    Renderer.Forget();
    update();
    if (Panel && (PlayFlags() & PanelShownBit))
        PlaceOptionsPanel();
}

void CFlashView::ShowOptionsPanel(int page) {
    update();
    if ((PlayFlags() & PanelShownBit) && page == 0) {
        if (Panel)
            Panel->hide();
        Session.SetFlag(PanelShownBit, false);
        return;
    }
    if (!Panel)
        Panel = new COptionsPanel(Session, *this, Services, this);
    PlaceOptionsPanel();
    Panel->show();
    Session.SetFlag(PanelShownBit, true);
    if (page != 0)
        Panel->SelectPage(page);
    Panel->Refresh();
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
    const bool isFullScreen = PlayFlags() & FullScreenBit;
    if (enter == 1) {
        if (isFullScreen)
            return;
        FullScreenMode.Enter(Settings.DisplaySettingNum);
        Session.SetFlag(FullScreenBit, true);
        return;
    }
    if (!isFullScreen)
        return;
    FullScreenMode.Leave();
    if (Panel && (PlayFlags() & PanelShownBit)) {
        PlaceOptionsPanel();
        Panel->show();
    }
    Session.SetFlag(FullScreenBit, false);
}

void CFlashView::keyPressEvent(QKeyEvent* event) {
    // The view's own keys only matter where there is no menu: in full-screen mode.
    if (!(PlayFlags() & FullScreenBit)) {
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
    if (PlayFlags() & FullScreenBit) {
        FullScreen(0);
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}
