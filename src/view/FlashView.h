#pragma once

#include "engine/PhaseTimer.h"
#include "engine/UnitCutter.h"
#include "panel/ViewControl.h"
#include "platform/WakeTimer.h"
#include "view/FullScreenMode.h"
#include "view/UnitLayout.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class COptionsPanel;
class CReadingSettings;
struct CServices;

// The window in which the text is flashed, one unit at a time, and the player that
// runs the reading: play state, phase timing and the cutting of units. The settings'
// position book is bound to the view's text start and cursor for the view's lifetime.
class CFlashView : public QWidget, public IViewControl {
    Q_OBJECT
public:
    enum : uint32_t {
        PanelShownBit = 0x01,
        FullScreenBit = 0x02,
        TextLoadedBit = 0x04,
        RunningBit = 0x08,
        StoppedBit = 0x10,
    };
    enum PlayState { Stop = 0, Run = 1, Pause = 2 };
    // What the play flags amount to, as the view paints it.
    enum class ReadingState { NoText, Stopped, Running, Paused };

    // The options panel covers this many pixels at the bottom of the view.
    static constexpr int PanelHeight = 120;
    // The paused view shows at most this many bytes of the text at the cursor.
    static constexpr int PreviewBytes = 63;

    CFlashView(CReadingSettings& settings, CServices& services, QWidget* parent = nullptr);
    ~CFlashView() override;

    uint32_t PlayFlags() const override { return Flags; }
    ReadingState State() const;
    // 0 stop, 1 run, anything else pause.
    void SetPlayState(int state);
    // Hands a new text (NUL-terminated, owned by the caller) to the view: stopped at its
    // start. The caller repaints. A null text leaves the view without a text.
    void SetText(const char* text);
    void RecreateFont() override;
    const QFont& DisplayFont() const { return Font; }
    // Draws text (a unit: NUL-terminated, read up to UnitBufferSize bytes) centred, or
    // erases its rectangle; returns the rectangle. The pixels change before this returns.
    QRect DrawUnit(const char* text, bool erase);
    // The centred rectangle a unit's text takes in the view at its current size.
    QRect UnitRect(const QString& text) const;
    // A unit of size `unit` centred in a view of size `client`, above the panel when
    // it is shown. Halves are rounded toward zero.
    static QRect CentredUnitRect(const QSize& client, const QSize& unit, bool panelShown);
    // Announces AboutToCutUnit, then cuts the unit at the cursor into unit (UnitBufferSize
    // bytes) and moves the cursor past it. Null at the end of the text: unit then holds
    // the rest and the cursor stays.
    const char* NextUnit(char* unit);
    // freq or durat changed: the running phase is re-timed at once.
    void TimingChanged() override;
    // The work due at a phase end: cuts and draws the next unit when the gap is over,
    // erases the unit when its show time is over. Does nothing when no phase has ended
    // or when no text is running. The view calls it itself at each phase end.
    void OnTimer();
    // Off: the view arms no timer of its own and its owner calls OnTimer (to compare
    // with the periodic polling of old).
    void SetSelfTimed(bool on);
    // 1 lifts the view out of its window to cover the screen in the display mode
    // DisplaySettingNum selects; any other value puts it back. The reading goes on.
    void FullScreen(int enter);
    // The options panel along the bottom of the view: page 0 shows or hides it, 1 shows
    // it at the reading options, 2 at the move position page. Made at its first showing.
    void ShowOptionsPanel(int page) override;
    void RepaintView() override { update(); }
    void FocusView() override { setFocus(Qt::OtherFocusReason); }
    // Null until the panel is first shown.
    COptionsPanel* OptionsPanel() const { return Panel; }
    // A wake is armed; only while a text runs.
    bool WakePending() const { return Wake.IsArmed(); }
    // When the armed wake comes: the end of the current phase.
    std::optional<CWakeTimer::TimePoint> NextWake() const {
        return Wake.IsArmed() ? std::optional(Wake.Deadline()) : std::nullopt;
    }
    // The unit on the screen, or an empty rectangle.
    QRect ShownUnitRect() const { return Shown ? Shown->Rect : QRect(); }
    const CPhaseTimer& PhaseTimer() const { return Timer; }

    const char* TextStart() const { return Start; }
    const char* Cursor() const { return CursorPos; }
    const char* UnitBuffer() const { return Unit.data(); }

signals:
    // After every change of PlayFlags.
    void PlayFlagsChanged(uint32_t flags);
    // At the end of a gap, before the next unit is cut: the cursor is where it starts.
    void AboutToCutUnit();
    // A unit has just been drawn: its pixels are on the screen.
    void UnitShown();

protected:
    void SetFlag(uint32_t bit, bool on);
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // What a unit's pixels depend on besides its text.
    struct RenderInputs {
        int BoxWidth;
        QFont Font;
        QSize ViewSize;
        bool PanelShown;
        uint32_t TexColor;
        uint32_t BkgColor;
        qreal PixelRatio;
        bool operator==(const RenderInputs&) const = default;
    };
    // A unit laid out, centred and rendered over the background: putting it on the
    // screen is a copy.
    struct PreparedUnit {
        QRect Rect;
        QImage Pixels;
        RenderInputs Inputs;
    };
    // The unit the next gap is expected to end with, prepared while the gap runs, and
    // the bytes it was prepared from.
    struct UnitAhead {
        std::string Bytes;
        PreparedUnit Unit;
    };

    bool IsReading() const { return State() == ReadingState::Running; }
    RenderInputs CurrentRenderInputs() const;
    std::unique_ptr<CUnitLayout> LayOut(const QString& text) const;
    QRect Centred(const CUnitLayout& layout) const;
    PreparedUnit Prepare(const QString& text) const;
    std::optional<PreparedUnit> TakeAhead(const char* text);
    void PrepareNextUnit();
    void PaintPreview(QPainter& painter) const;
    void EraseShownUnit();
    void PushDurations();
    void UpdateWake();
    void ShowNextUnit();
    void EndShowTime();
    void FinishReading();
    void StateChanged();
    void PlaceOptionsPanel();

    CReadingSettings& Settings;
    CServices& Services;
    const char* Start = nullptr;
    const char* CursorPos = nullptr;
    uint32_t Flags = StoppedBit;
    std::array<char, UnitBufferSize> Unit{};
    CPhaseTimer Timer;
    QFont Font;
    CWakeTimer Wake;
    bool SelfTimed = true;
    std::optional<PreparedUnit> Shown;
    std::optional<UnitAhead> Ahead;
    // Where the cursor stood when the last piece of the text was shown: when its show
    // time ends there, the reading is over.
    const char* LastPieceAt = nullptr;
    COptionsPanel* Panel = nullptr; // a child window
    // Last, so that it puts the display mode back before anything else goes.
    CFullScreenMode FullScreenMode;
};
