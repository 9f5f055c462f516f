// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Player.h"
#include "panel/ViewControl.h"
#include "view/FullScreenMode.h"
#include "view/UnitRenderer.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

class COptionsPanel;
class CReadingSettings;
class CWakeTimer;
class IWakeTimer;
struct CServices;

// The window in which the text is flashed, one unit at a time. It owns the player that
// runs the reading and draws what the player asks for; it owns and places the options
// panel and takes the full-screen keys.
class CFlashView : public QWidget, public IViewControl, private IPlayerDrawer {
    Q_OBJECT
public:
    enum : uint32_t {
        PanelShownBit = CPlayer::PanelShownBit,
        FullScreenBit = CPlayer::FullScreenBit,
        TextLoadedBit = CPlayer::TextLoadedBit,
        RunningBit = CPlayer::RunningBit,
        StoppedBit = CPlayer::StoppedBit,
    };
    enum PlayState { Stop = CPlayer::Stop, Run = CPlayer::Run, Pause = CPlayer::Pause };
    // What the play flags amount to, as the view paints it.
    enum class ReadingState { NoText, Stopped, Running, Paused };

    static constexpr int PanelHeight = CUnitRenderer::PanelHeight;
    // The paused view shows at most this many bytes of the text at the cursor.
    static constexpr int PreviewBytes = 63; // characters of the paused preview

    // Without a wake timer the view makes its own, on the event loop.
    CFlashView(CReadingSettings& settings, CServices& services, QWidget* parent = nullptr,
               IWakeTimer* wake = nullptr);
    ~CFlashView() override;

    uint32_t PlayFlags() const override { return Player.PlayFlags(); }
    ReadingState State() const;
    // 0 stop, 1 run, anything else pause.
    void SetPlayState(int state) { Player.SetPlayState(state); }
    // Hands a new text (NUL-terminated, owned by the caller) to the view: stopped at its
    // start. The caller repaints. A null text leaves the view without a text.
    void SetText(const char* text);
    void RecreateFont() override;
    const QFont& DisplayFont() const override { return Font; }
    // Draws text (a unit: NUL-terminated, read up to UnitBufferSize bytes) centred, or
    // erases its rectangle; returns the rectangle. The pixels change before this returns.
    QRect DrawUnit(const char* text, bool erase);
    // The centred rectangle a unit's text takes in the view at its current size.
    QRect UnitRect(const QString& text) const;
    static QRect CentredUnitRect(const QSize& client, const QSize& unit, bool panelShown) {
        return CUnitRenderer::CentredUnitRect(client, unit, panelShown);
    }
    const char* NextUnit(char* unit) { return Player.NextUnit(unit); }
    void TimingChanged() override {
        Player.TimingChanged();
        emit SettingsEdited();
    }
    // The cursor was put elsewhere: a running reading goes on from there after a gap.
    void PositionMoved() { Player.PositionMoved(); }
    void OnTimer() { Player.OnTimer(); }
    // Off: the view arms no wake of its own and its owner calls OnTimer (to compare
    // with the periodic polling of old).
    void SetSelfTimed(bool on) { Player.SetSelfTimed(on); }
    // 1 lifts the view out of its window to cover the screen in the display mode
    // DisplaySettingNum selects; any other value puts it back. The reading goes on.
    void FullScreen(int enter);
    // The options panel along the bottom of the view: page 0 shows or hides it, 1 shows
    // it at the reading options, 2 at the move position page. Made at its first showing.
    void ShowOptionsPanel(int page) override;
    // Null until the panel is first shown.
    COptionsPanel* OptionsPanel() const { return Panel; }
    void RepaintView() override {
        update();
        emit SettingsEdited();
    }
    void FocusView() override { setFocus(Qt::OtherFocusReason); }
    // A wake is armed; only while a text runs.
    bool WakePending() const;
    // The clock's millisecond the armed wake comes at: the end of the current phase.
    std::optional<uint32_t> NextWake() const;
    // The unit on the screen, or an empty rectangle.
    QRect ShownUnitRect() const;
    const CPhaseTimer& PhaseTimer() const { return Player.PhaseTimer(); }

    const char* TextStart() const { return Player.TextStart(); }
    const char* Cursor() const { return Player.Cursor(); }
    const char* PlaceToKeep() const { return Player.PlaceToKeep(); }
    const char* UnitBuffer() const { return Player.UnitBuffer(); }

signals:
    // After every change of PlayFlags.
    void PlayFlagsChanged(uint32_t flags);
    // At the end of a gap, before the next unit is cut: the cursor is where it starts.
    void AboutToCutUnit();
    // A unit has just been drawn: its pixels are on the screen.
    void UnitShown();
    // The settings may have changed: the panel or a command told the view (new times,
    // font, colours, sizes, a refresh after an edit).
    void SettingsEdited();

protected:
    // A bit that is not the play state's, as the panel's tests set it.
    void SetFlag(uint32_t bit, bool on) { Player.SetFlag(bit, on); }
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The player's requests; final, so that no subclass takes them over by a name.
    void ShowUnit(const char* unit) final { DrawUnit(unit, false); }
    void EraseUnit() final;
    void PrepareUnit(const char* unit) final;
    void ForgetUnits() final { Renderer.Forget(); }
    void RepaintForState() final { update(); }
    void OnFlagsChanged(uint32_t flags) final { emit PlayFlagsChanged(flags); }
    void OnPlayStateChanged() final;
    void OnAboutToCutUnit() final;
    void OnUnitShown() final;
    void ShowTheEnd() final;

    bool IsReading() const { return State() == ReadingState::Running; }
    CUnitRenderer::Inputs CurrentInputs() const;
    void PaintPreview(QPainter& painter) const;
    void PlaceOptionsPanel();

    CReadingSettings& Settings;
    CServices& Services;
    QFont Font;
    CUnitRenderer Renderer;
    std::unique_ptr<CWakeTimer> OwnWake;
    IWakeTimer& Wake;
    CPlayer Player;
    COptionsPanel* Panel = nullptr; // a child window
    // Last, so that it puts the display mode back before anything else goes.
    CFullScreenMode FullScreenMode;
};
