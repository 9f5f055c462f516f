// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/FlashView.h"

#include "display/ColorRef.h"
#include "display/FontMapping.h"
#include "display/TextDecoding.h"
#include "engine/ReadingSession.h"
#include "panel/OptionsPanel.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "settings/ReadingSettings.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>
#include <string_view>

namespace {
const QString NoTextPrompt = QStringLiteral("Please open a file you want to read...");
const QString StoppedText = QStringLiteral("Stoped...");
const QString PausedText = QStringLiteral("Paused...");
const QString EndText = QStringLiteral("The End");

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
    Services.Dialogs.Message(this, EndText, MessageIcon::None);
}

void CFlashView::PaintPreview(QPainter& painter) const {
    int32_t offset = 0;
    const char* at = Settings.GetPosition(offset);
    if (!at)
        return;
    // Up to PreviewBytes characters: at most four bytes each.
    const int nul = FindNul(at, PreviewBytes * 4);
    const auto length = static_cast<std::size_t>(nul >= 0 ? nul : PreviewBytes * 4);
    const std::string_view preview =
        LeadingCharacters({at, length}, PreviewBytes, Settings.CharacterMode);
    const CUnitRenderer::Inputs inputs = CurrentInputs();
    const auto layout = CUnitRenderer::LayOut(UnitDisplayText(preview, inputs.Encoding), inputs);
    painter.setPen(ColorFromRef(Settings.TexColor));
    layout->Draw(painter, CUnitRenderer::Centred(*layout, inputs).topLeft());
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
        painter.drawText(rect(), PromptFlags, NoTextPrompt);
        break;
    case CReadingSession::State::Stopped:
        painter.drawText(statusBox, statusFlags, StoppedText);
        break;
    case CReadingSession::State::Paused:
        painter.drawText(statusBox, statusFlags, PausedText);
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
