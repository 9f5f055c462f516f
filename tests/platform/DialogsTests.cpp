#include "support/gui/EventWait.h"

#include "platform/Dialogs.h"

#include <QMessageBox>
#include <QPushButton>

TEST(QtDialogs, Message_EachIcon_CaptionTextWhyAndOk) {
    for (const auto& [asked, shown] : {std::pair{MessageIcon::None, QMessageBox::NoIcon},
                                       {MessageIcon::Warning, QMessageBox::Warning},
                                       {MessageIcon::Error, QMessageBox::Critical},
                                       {MessageIcon::Question, QMessageBox::Question}}) {
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

TEST(QtDialogs, Confirm_TrueOnlyForYes) {
    for (const auto button : {QMessageBox::Yes, QMessageBox::No}) {
        AnswerNext<QMessageBox>([&](QMessageBox* box) { box->button(button)->click(); });
        EXPECT_EQ(CQtDialogs().Confirm(nullptr, "Are you sure?"), button == QMessageBox::Yes);
    }
}
