// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"
#include "support/gui/EventWait.h"

#include <QApplication>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>

// The end box has no icon, an error the critical one; both leave the title bar room for
// the caption beside an icon and three buttons.
TEST(QtDialogs, Message_EndOrError_CaptionTextWhyIconAndOk) {
    for (const auto& [asked, icon] : {std::pair{MessageIcon::None, QMessageBox::NoIcon},
                                      {MessageIcon::Error, QMessageBox::Critical}}) {
        QString seen;
        AnswerNext<QMessageBox>([&, shown = icon](QMessageBox* box) {
            seen = box->windowTitle() + '|' + box->text() + '|' + box->informativeText();
            EXPECT_EQ(box->icon(), shown);
            const QFontMetrics title(QApplication::font("QMdiSubWindowTitleBar"));
            EXPECT_GE(box->width(), title.horizontalAdvance("Skimmet") + 4 * title.height());
            box->button(QMessageBox::Ok)->click();
        });
        CQtDialogs().Message(nullptr, "Error Saving File", asked, "disk full");
        EXPECT_EQ(seen.toStdString(), "Skimmet|Error Saving File|disk full");
    }
}

// Every column of the detail view shows its heading whole, the name with room for a long
// one.
TEST(QtDialogs, OpenFile_OpensWithEveryColumnShown) {
    bool asked = false;
    AnswerNext<QFileDialog>([&](QFileDialog* dialog) {
        asked = true;
        const auto* details = dialog->findChild<QTreeView*>();
        ASSERT_NE(details, nullptr);
        const QHeaderView* header = details->header();
        for (int column = 0; column < header->count(); ++column) {
            SCOPED_TRACE(column);
            EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column));
        }
        const int name = QFontMetrics(details->font()).averageCharWidth() * 40;
        EXPECT_GE(header->sectionSize(0), name);
        dialog->reject();
    });
    const auto chosen =
        CQtDialogs().OpenFile(nullptr, "Open", {"Texts (*.txt)"}, "txt", QDir::tempPath());
    EXPECT_TRUE(asked);
    EXPECT_FALSE(chosen.has_value());
}
