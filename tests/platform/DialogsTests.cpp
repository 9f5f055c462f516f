// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Dialogs.h"
#include "support/gui/EventWait.h"

#include <QMessageBox>
#include <QPushButton>

// The end box has no icon, an error the critical one.
TEST(QtDialogs, Message_EndOrError_CaptionTextWhyIconAndOk) {
    for (const auto& [asked, shown] : {std::pair{MessageIcon::None, QMessageBox::NoIcon},
                                       {MessageIcon::Error, QMessageBox::Critical}}) {
        QString seen;
        AnswerNext<QMessageBox>([&, shown](QMessageBox* box) {
            seen = box->windowTitle() + '|' + box->text() + '|' + box->informativeText();
            EXPECT_EQ(box->icon(), shown);
            box->button(QMessageBox::Ok)->click();
        });
        CQtDialogs().Message(nullptr, "Error Saving File", asked, "disk full");
        EXPECT_EQ(seen.toStdString(), "Skimmet|Error Saving File|disk full");
    }
}
