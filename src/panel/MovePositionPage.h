// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReadingListener.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

class QLineEdit;

class CReadingSession;
class CReadingSettings;

namespace Ui {
class MovePositionPage;
}

// The page of the options panel that shows where the reader is in the text and moves
// the position: slider, step buttons, bookmark and chapter lists, preview and position
// line. While a
// text is read it follows the place, shown or hidden.
class CMovePositionPage : public QWidget, private IReadingListener {
    Q_OBJECT
public:
    enum class Originator { None, Slider, BookmarkList };

    static constexpr int SliderPageStep = 64;
    static constexpr int StepMin = 1;
    static constexpr int StepMax = 65535;
    // How many characters at the cursor the preview shows, and a list entry of its
    // bookmark (bytes for a text in a single-byte code page).
    static constexpr int PreviewBytes = 1023;
    static constexpr int EntryBytes = 31;
    // The step edit's value is read from this many characters at its start.
    static constexpr int StepTextChars = 6;

    CMovePositionPage(CReadingSession& session, QWidget* parent);
    ~CMovePositionPage() override;

    // Brings step, enabling, bookmark list (only without an originator) and display in
    // line with the settings; the originator's own control keeps what the user did. A
    // Step outside the spin's range 1..65535 (0) comes back clamped into it.
    void Refresh(Originator originator);
    // Slider (unless it is the originator), preview and position line from the position.
    void UpdateDisplay(Originator originator);

    // 'pos = 29 (28.99% )': offset, then the percentage of textLength, cut (not rounded)
    // to two decimals. An empty text is at 0.00%.
    static QString PositionLine(int32_t offset, int32_t textLength);
    // The step edit's text as Step holds it: a decimal read from its first characters,
    // kept to 16 bits.
    static uint16_t StepFromText(const QString& text);
    // The list entry for the text at a bookmark (at most EntryBytes characters): cut at the
    // first line break after the first byte that is not one. Line breaks left at its start
    // show as their control pictures, since a list row is one line.
    static QString BookmarkEntry(std::string_view bytes, std::string_view encoding);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnReadingStateChanged() override { Refresh(Originator::None); }
    void OnPlaceMoved() override { UpdateDisplay(Originator::None); }
    void OnSettingsChanged(SettingsAspect aspect) override;
    // At the end of a gap, before the next unit is cut: the display for the place is
    // computed then and shown by OnUnitShown, once the unit's pixels are on the screen.
    void OnAboutToCutUnit() override;
    void OnUnitShown() override;
    static void FitStepEdit(QLineEdit& edit);
    // What the display part shows for one position.
    struct Display {
        int32_t Offset = 0;
        int32_t TextLength = 0;
        QString Line;
        QString Preview;
    };

    std::optional<Display> ComputeDisplay(std::optional<int32_t> place) const;
    void ShowDisplay(const Display& display, Originator originator);
    void SizePositionLine(int32_t textLength);
    // Each bookmark's list text and offset.
    std::vector<std::pair<QString, int32_t>> BookmarkEntries() const;
    void RebuildBookmarkList();
    // The text's chapters, indented by level; the list is hidden for a text without any.
    void RebuildChapterList();
    void JumpToChapter(int row);
    void SetSpinPosition(int position);
    void StepSpinBy(int delta);
    void StoreStep(const QString& text);
    void OnSliderMoved(int value);
    void JumpToBookmark(int row);
    void MoveByStep(int direction);

    CReadingSession& Session;
    CReadingSettings& Settings;
    std::unique_ptr<Ui::MovePositionPage> Form;
    bool PageEnabled = false;
    // Computed before a unit is cut, shown once its pixels are on the screen.
    std::optional<Display> Pending;
    QString ShownPreview;
    int32_t LineSizedFor = -1;
};
