// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/OptionsPanel.h"

#include "ui_OptionsPanel.h"

#include "display/ColorRef.h"
#include "display/FontMapping.h"
#include "engine/ReadingSession.h"
#include "panel/MovePositionPage.h"
#include "panel/PacingPage.h"
#include "panel/ReadingOptionsPage.h"
#include "panel/ViewControl.h"
#include "platform/Dialogs.h"
#include "platform/DisplayModes.h"
#include "platform/Services.h"
#include "settings/ReadingSettings.h"

#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStackedLayout>

#include <algorithm>
#include <cstdint>

COptionsPanel::COptionsPanel(CReadingSession& session, IViewControl& view, CServices& services,
                             QWidget* parentView)
    : QWidget(parentView), Session(session), Settings(session.Settings()), View(view),
      Services(services), ui(std::make_unique<Ui::OptionsPanel>()) {
    ui->setupUi(this);
    // The panel is drawn over the view's background.
    setAutoFillBackground(true);

    ui->TargetSelector->setCurrentIndex(0);
    ui->PageSelector->setCurrentIndex(0);
    FillDisplayModes();
    SelectDisplayMode();
    // A panel first shown in full-screen mode must not offer a mode switch either.
    SetDisplayModeListEnabled(!(Session.PlayFlags() & CPlayer::FullScreenBit));

    // Both pages fill the host's client area; only the selected one is visible.
    Pages = new QStackedLayout(ui->PageHost);
    Pages->setContentsMargins(0, 0, 0, 0);
    ReadingPg = new CReadingOptionsPage(Session, Services.Dialogs, ui->PageHost);
    Pages->addWidget(ReadingPg);
    FitPageHost();

    connect(ui->PageSelector, &QComboBox::currentIndexChanged, this,
            &COptionsPanel::ShowSelectedPage);
    connect(ui->DisplayModeList, &QComboBox::currentIndexChanged, this,
            &COptionsPanel::OnDisplayModeChosen);
    connect(ui->HideButton, &QPushButton::clicked, this, &COptionsPanel::OnHide);
    connect(ui->DefaultButton, &QPushButton::clicked, this, &COptionsPanel::OnDefault);
    connect(ui->BkgrButton, &QPushButton::clicked, this, &COptionsPanel::OnBackground);
    connect(ui->FontButton, &QPushButton::clicked, this, &COptionsPanel::OnFont);
    Session.AddListener(*this);
}

COptionsPanel::~COptionsPanel() {
    Session.RemoveListener(*this);
}

void COptionsPanel::FillDisplayModes() {
    // Unsorted: entry i is display mode number i, the number DisplaySettingNum holds.
    const QSignalBlocker blocker(ui->DisplayModeList);
    ui->DisplayModeList->clear();
    for (const DisplayMode& mode : Services.DisplayModes.Modes())
        ui->DisplayModeList->addItem(DisplayModeText(mode));
}

void COptionsPanel::SelectDisplayMode() {
    // A number beyond the list (from a settings file) selects nothing and stays as it is.
    const int index = Settings.DisplaySettingNum;
    const QSignalBlocker blocker(ui->DisplayModeList);
    ui->DisplayModeList->setCurrentIndex(index >= 0 && index < ui->DisplayModeList->count() ? index
                                                                                            : -1);
}

void COptionsPanel::SetDisplayModeListEnabled(bool on) {
    ui->DisplayModeList->setEnabled(on);
}

void COptionsPanel::Refresh() {
    SelectDisplayMode();
    ReadingPg->Refresh();
    if (MovePg)
        MovePg->Refresh(CMovePositionPage::Originator::None);
    if (PacingPg)
        PacingPg->Refresh();
}

void COptionsPanel::OnReadingStateChanged() {
    SelectDisplayMode();
}

void COptionsPanel::OnPlayFlagsChanged(uint32_t flags) {
    // A mode chosen in full-screen mode could only apply at the next entry.
    SetDisplayModeListEnabled(!(flags & CPlayer::FullScreenBit));
}

void COptionsPanel::OnSettingsChanged(SettingsAspect aspect) {
    if (Touches(aspect, SettingsAspect::Look))
        SelectDisplayMode();
}

void COptionsPanel::SelectPage(int page) {
    if (page == ReadingOptions || page == MovePosition || page == Pacing) {
        const QSignalBlocker blocker(ui->PageSelector);
        ui->PageSelector->setCurrentIndex(page - 1);
    }
    ShowSelectedPage();
}

void COptionsPanel::ShowSelectedPage() {
    if (ui->PageSelector->currentIndex() == 0) {
        Pages->setCurrentWidget(ReadingPg);
        return;
    }
    if (ui->PageSelector->currentIndex() == Pacing - 1) {
        if (!PacingPg) {
            PacingPg = new CPacingPage(Session, ui->PageHost);
            Pages->addWidget(PacingPg);
        }
        Pages->setCurrentWidget(PacingPg);
        return;
    }
    if (!MovePg) {
        MovePg = new CMovePositionPage(Session, ui->PageHost);
        Pages->addWidget(MovePg);
        FitPageHost();
    }
    Pages->setCurrentWidget(MovePg);
}

void COptionsPanel::FitPageHost() {
    // As wide as the template has it unless a page needs more, and the same for both
    // pages, so that the buttons stay where they are whichever page is shown.
    const int frame = 2 * ui->PageHost->frameWidth();
    int width = HostWidth;
    for (const QWidget* page : {static_cast<QWidget*>(ReadingPg), static_cast<QWidget*>(MovePg)}) {
        if (page)
            width = std::max(width, page->minimumSizeHint().width() + frame);
    }
    ui->PageHost->setFixedWidth(width);
}

void COptionsPanel::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape neither close the panel nor reach the view behind it (where
    // Escape would leave full-screen mode).
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void COptionsPanel::OnHide() {
    View.ShowOptionsPanel(CurrentPage);
    // So that Space toggles the panel again in full-screen mode.
    View.FocusView();
}

void COptionsPanel::OnDefault() {
    Settings.ResetSettingsOnly();
    // The view keeps its display font until it next re-creates it.
    Session.SettingsEdited(SettingsButFont);
}

void COptionsPanel::OnBackground() {
    const std::optional<QColor> color =
        Services.Dialogs.PickColor(this, ColorFromRef(Settings.BkgColor));
    if (!color || !color->isValid())
        return;
    Settings.BkgColor = RefFromColor(*color);
    Session.SettingsEdited(SettingsAspect::Look);
}

void COptionsPanel::OnFont() {
    // The stored description asks for a face, the font system picks what it has: the
    // dialog starts from what the reader sees, and OK on it changes nothing.
    const QFont shown = ShownFont(View.DisplayFont());
    const std::optional<QFont> font = Services.Dialogs.PickFont(this, shown);
    if (!font || SameShownFont(*font, shown))
        return;
    Settings.Font = LogFontFromFont(*font, Settings.Font);
    Session.SettingsEdited(SettingsAspect::Font);
}

void COptionsPanel::OnDisplayModeChosen(int index) {
    if (index < 0)
        return;
    Settings.DisplaySettingNum = index;
    Session.SettingsEdited(SettingsAspect::Look, this);
}
