#include "about/AboutDialog.h"

#include "about/AppResources.h"
#include "about/LinkLabel.h"
#include "ui_AboutDialog.h"

namespace {
const QString HomePageAddress = QStringLiteral(SKIMMET_HOME_PAGE);
const QString MailLink = QStringLiteral("mailto:" SKIMMET_MAIL "?subject=Skimmet");
} // namespace

CAboutDialog::CAboutDialog(IUrlOpener& opener, QWidget* parent)
    : QDialog(parent), Form(std::make_unique<Ui::AboutDialog>()) {
    InitAppResources(); // the .ui refers to the icon in the resources
    Form->setupUi(this);
    // A caption without a system menu or close box; OK and Escape close the box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowIcon(AppIcon());
    // The .ui size follows the original arrangement; a larger font must not clip.
    ensurePolished();
    setFixedSize(size().expandedTo(sizeHint()));

    Form->HomePageLabel->SetUrlOpener(&opener);
    Form->HomePageLabel->SetTarget(HomePageAddress);
    Form->HomePageLabel->EnableTip(true);
    Form->HomePageLabel->SetTipText(QStringLiteral("Click here to visit my WWW home page"));

    Form->MailLabel->SetUrlOpener(&opener);
    Form->MailLabel->SetTarget(MailLink);
    Form->MailLabel->EnableTip(true);
    Form->MailLabel->SetTipText(QStringLiteral("Email me by your email client program"));

    Form->OkButton->setFocus();
}

CAboutDialog::~CAboutDialog() = default;
