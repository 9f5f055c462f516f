#include "support/gui/EventWait.h"

#include "platform/Dialogs.h"

#include <QMessageBox>
#include <QPushButton>

TEST(QtDialogs, Message_EachIcon_CaptionTextWhyAndOk) {
    const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {
        {MessageIcon::None, QMessageBox::NoIcon},
        {MessageIcon::Warning, QMessageBox::Warning},
        {MessageIcon::Error, QMessageBox::Critical},
        {MessageIcon::Question, QMessageBox::Question}};
    for (const auto& [asked, shown] : icons) {
        SCOPED_TRACE(static_cast<int>(asked));
        QString seen;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        AnswerNext<QMessageBox>([&](QMessageBox* box) {
            seen = box->windowTitle() + '|' + box->text() + '|' + box->informativeText();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        CQtDialogs().Message(nullptr, QStringLiteral("Error Saving File"), asked,
                             QStringLiteral("disk full"));
        EXPECT_EQ(seen.toStdString(), "Skimmet|Error Saving File|disk full");
        EXPECT_EQ(icon, shown);
    }
}

TEST(QtDialogs, Confirm_TrueOnlyForYes) {
    for (const auto button : {QMessageBox::Yes, QMessageBox::No}) {
        AnswerNext<QMessageBox>([&](QMessageBox* box) { box->button(button)->click(); });
        EXPECT_EQ(CQtDialogs().Confirm(nullptr, QStringLiteral("Are you sure?")),
                  button == QMessageBox::Yes);
    }
}
