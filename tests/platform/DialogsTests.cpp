// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"
#include "support/gui/EventWait.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

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
