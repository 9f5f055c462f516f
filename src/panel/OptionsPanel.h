// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/ReadingListener.h"

#include <QWidget>

#include <memory>

class CMovePositionPage;
class CPacingPage;
class CReadingOptionsPage;
class CReadingSession;
class CReadingSettings;
class IViewControl;
class QStackedLayout;
struct CServices;

namespace Ui {
class OptionsPanel;
}

// The panel along the bottom of the view: target and page selectors, the list of
// full-screen display modes, the page host with the reading options page, the move
// position page or the pacing page, and the Hide, Default, Bkgr and Font buttons. Every control
// edits the settings in place and tells the reading session. The view owns the panel, shows, hides
// and places it.
class COptionsPanel : public QWidget, private IReadingListener {
    Q_OBJECT
public:
    // Pages as ShowOptionsPanel and SelectPage number them; 0 keeps the selection.
    enum Page { CurrentPage = 0, ReadingOptions = 1, MovePosition = 2, Pacing = 3 };

    COptionsPanel(CReadingSession& session, IViewControl& view, CServices& services,
                  QWidget* parentView);
    ~COptionsPanel() override;

    CReadingOptionsPage* ReadingPage() const { return ReadingPg; }
    // Null until "Move" is first selected.
    CMovePositionPage* MovePage() const { return MovePg; }
    // Null until "Pacing" is first selected.
    CPacingPage* PacingPage() const { return PacingPg; }

    // The display-mode list is off while the view is full screen.
    void SetDisplayModeListEnabled(bool on);
    // Brings the panel and both pages in line with the settings and the play state. The
    // view calls it whenever it shows the panel; the session's news call it after that.
    void Refresh();
    // 1 reading options, 2 move position, 3 pacing, 0 the page already selected; then
    // shows it.
    void SelectPage(int page);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnReadingStateChanged() override;
    void OnPlayFlagsChanged(uint32_t flags) override;
    void OnSettingsChanged(SettingsAspect aspect) override;
    void FillDisplayModes();
    void SelectDisplayMode();
    void ShowSelectedPage();
    void FitPageHost();
    void OnHide();
    void OnDefault();
    void OnBackground();
    void OnFont();
    void OnDisplayModeChosen(int index);

    // The page host's width in the template: 255 dialog units.
    static constexpr int HostWidth = 383;

    CReadingSession& Session;
    CReadingSettings& Settings;
    IViewControl& View;
    CServices& Services;
    std::unique_ptr<Ui::OptionsPanel> ui;
    QStackedLayout* Pages = nullptr;
    CReadingOptionsPage* ReadingPg = nullptr;
    CMovePositionPage* MovePg = nullptr;
    CPacingPage* PacingPg = nullptr;
};
