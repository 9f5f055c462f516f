// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/AboutDialog.h"

#include "about/LinkLabel.h"
#include "display/AppResources.h"
#include "ui_AboutDialog.h"

namespace {
const QString HomePageAddress = QStringLiteral(SKIMMET_HOME_PAGE);
const QString MailLink = QStringLiteral("mailto:" SKIMMET_MAIL "?subject=Skimmet");

// The box names the release by major and minor number, as CMake's project version has it.
QString VersionText() {
    return QCoreApplication::translate("CAboutDialog", "Skimmet Version %1")
        .arg(QString::fromLatin1(SKIMMET_VERSION).section(QLatin1Char('.'), 0, 1));
}
} // namespace

CAboutDialog::CAboutDialog(IUrlOpener& opener, QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::AboutDialog>()) {
    InitAppResources(); // the .ui refers to the icon in the resources
    Form->setupUi(this);
    Form->VersionLabel->setText(VersionText());
    // A caption without a system menu or close box; OK and Escape close the box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    // The .ui holds the box's designed size; a larger font must not clip, so the box
    // grows to what its contents ask for.
    ensurePolished();
    setFixedSize(size().expandedTo(sizeHint()));

    Form->HomePageLabel->SetUrlOpener(&opener);
    Form->HomePageLabel->SetTarget(HomePageAddress);
    Form->HomePageLabel->EnableTip(true);
    Form->HomePageLabel->SetTipText(tr("Click here to visit my WWW home page"));

    Form->MailLabel->SetUrlOpener(&opener);
    Form->MailLabel->SetTarget(MailLink);
    Form->MailLabel->EnableTip(true);
    Form->MailLabel->SetTipText(tr("Email me by your email client program"));

    Form->OkButton->setFocus();
}

CAboutDialog::~CAboutDialog() = default;
