// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <QTreeView>

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

// Room for the detail view's four columns with a name of about 40 characters, within
// most of the screen.
constexpr int OpenDialogColumns = 110;
constexpr int OpenDialogLines = 30;

// Qt's own file dialog opens at its minimum, where the names and the dates are cut: open
// it in the detail view, at a size where every column shows.
void FitColumns(QFileDialog& dialog, const QWidget* owner) {
    dialog.setViewMode(QFileDialog::Detail);
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QFontMetrics metrics(dialog.font());
    QSize wanted(metrics.averageCharWidth() * OpenDialogColumns,
                 metrics.lineSpacing() * OpenDialogLines);
    if (screen)
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dialog.resize(wanted.expandedTo(dialog.minimumSizeHint()));
    auto* details = dialog.findChild<QTreeView*>();
    if (!details)
        return;
    // The size, kind and date as wide as they need, the name what they leave.
    QHeaderView* header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
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

namespace {
std::optional<QString> ChooseFile(QWidget* owner, const QString& title, const QStringList& filters,
                                  const QString& defaultSuffix, const QString& start, bool save,
                                  int* filterChosen) {
    QFileDialog dialog(owner, title, start);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (!filters.isEmpty())
        dialog.selectNameFilter(filters.first());
    dialog.setDefaultSuffix(defaultSuffix);
    FitColumns(dialog, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    if (filterChosen)
        *filterChosen = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
    return chosen.first();
}
} // namespace

std::optional<QString> CQtDialogs::OpenFile(QWidget* owner, const QString& title,
                                            const QStringList& filters,
                                            const QString& defaultSuffix, const QString& folder,
                                            int* filterChosen) {
    return ChooseFile(owner, title, filters, defaultSuffix, folder, false, filterChosen);
}

std::optional<QString> CQtDialogs::SaveFile(QWidget* owner, const QString& title,
                                            const QStringList& filters,
                                            const QString& defaultSuffix, const QString& name) {
    return ChooseFile(owner, title, filters, defaultSuffix, name, true, nullptr);
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
