// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/Player.h"
#include "engine/ReadingListener.h"
#include "engine/UnitDrawer.h"
#include "panel/ViewControl.h"
#include "view/FullScreenMode.h"
#include "view/UnitRenderer.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdint>

class COptionsPanel;
class CReadingSession;
class CReadingSettings;
struct CServices;

// The window in which the text is flashed, one unit at a time. It draws what the
// reading session asks for and follows its settings; it owns and places the options
// panel and takes the full-screen keys.
class CFlashView : public QWidget,
                   public IViewControl,
                   private IUnitDrawer,
                   private IReadingListener {
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

    static constexpr int PanelHeight = CUnitRenderer::PanelHeight;
    // The paused view shows at most this many characters of the text at the cursor.

    CFlashView(CReadingSession& session, CServices& services, QWidget* parent = nullptr);
    ~CFlashView() override;

    uint32_t PlayFlags() const;
    // 0 stop, 1 run, anything else pause.
    void SetPlayState(int state);
    // Hands a new text (NUL-terminated, owned by the caller) to the reading: stopped at
    // its start, in a font made anew. The caller repaints. Null: no text.
    void SetText(const char* text);
    void RecreateFont();
    const QFont& DisplayFont() const override { return Font; }
    // Draws text (a unit: NUL-terminated, read up to UnitBufferSize bytes) centred, or
    // erases its rectangle; returns the rectangle. The pixels change before this returns.
    QRect DrawUnit(const char* text, bool erase);
    // The centred rectangle a unit's text takes in the view at its current size.
    QRect UnitRect(const QString& text) const;
    // 1 lifts the view out of its window to cover the screen in the display mode
    // DisplaySettingNum selects; any other value puts it back. The reading goes on.
    void FullScreen(int enter);
    // The options panel along the bottom of the view: page 0 shows or hides it, 1 shows
    // it at the reading options, 2 at the move position page. Made at its first showing.
    void ShowOptionsPanel(int page) override;
    // Null until the panel is first shown.
    COptionsPanel* OptionsPanel() const { return Panel; }
    void FocusView() override { setFocus(Qt::OtherFocusReason); }
    // The unit on the screen, or an empty rectangle.
    QRect ShownUnitRect() const;

signals:
    // A unit has just been drawn: its pixels are on the screen.
    void UnitShown();

protected:
    // A bit that is not the play state's, as the panel's tests set it.
    void SetFlag(uint32_t bit, bool on);
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The session's requests; final, so that no subclass takes them over by a name.
    void ShowUnit(const char* unit) final;
    void EraseUnit() final;
    void PrepareUnit(const char* unit) final;
    void ForgetUnits() final { Renderer.Forget(); }
    void RepaintForState() final { update(); }
    void ShowTheEnd() final;
    void OnSettingsChanged(SettingsAspect aspect) final;

    CUnitRenderer::Inputs CurrentInputs() const;
    void PaintPreview(QPainter& painter) const;
    std::unique_ptr<CUnitLayout> LayOutContext(const QString& before, const QString& unit,
                                               const QString& after,
                                               const CUnitRenderer::Inputs& inputs) const;
    void PlaceOptionsPanel();

    CReadingSession& Session;
    CReadingSettings& Settings;
    CServices& Services;
    QFont Font;
    CUnitRenderer Renderer;
    COptionsPanel* Panel = nullptr; // a child window
    // Last, so that it puts the display mode back before anything else goes.
    CFullScreenMode FullScreenMode;
};
