// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace {

const QString Caption = QStringLiteral("Skimmet");

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// What a window manager's title bar puts beside the caption: the window's icon and the
// minimize, maximize and close buttons, each about two lines of the title's font wide.
constexpr int TitleBarSlots = 4;

// Qt sizes a box by its text and buttons; for a short text such as "The End" that leaves
// the title bar too little room, and some window managers then show no caption at all.
void FitCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid)
        return;
    const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
    const int width =
        metrics.horizontalAdvance(box.windowTitle()) + TitleBarSlots * 2 * metrics.height();
    // An empty row with a cell of that width in the text's column, which is the last:
    // the layout, and with it the box, is at least as wide. (An empty item that spans the
    // columns does not widen them.)
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                  grid->rowCount(), grid->columnCount() - 1);
}

} // namespace

void CQtDialogs::Message(QWidget* owner, const QString& text, MessageIcon icon,
                         const QString& informative) {
    QMessageBox box(BoxIcon(icon), Caption, text, QMessageBox::Ok, owner);
    box.setInformativeText(informative);
    FitCaption(box);
    box.exec();
}

bool CQtDialogs::Confirm(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Question, Caption, text, QMessageBox::Yes | QMessageBox::No,
                    owner);
    box.setDefaultButton(QMessageBox::Yes);
    FitCaption(box);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> CQtDialogs::OpenFile(QWidget* owner, const QString& title,
                                            const QStringList& filters,
                                            const QString& defaultSuffix, const QString& folder) {
    QFileDialog dialog(owner, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.first();
}

std::optional<QColor> CQtDialogs::PickColor(QWidget* owner, const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, owner);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<QFont> CQtDialogs::PickFont(QWidget* owner, const QFont& initial) {
    bool accepted = false;
    const QFont chosen = QFontDialog::getFont(&accepted, initial, owner);
    if (!accepted)
        return std::nullopt;
    return chosen;
}
