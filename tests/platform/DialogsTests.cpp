#include "platform/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {

// Answers the next modal dialog of type T as soon as the event loop shows it.
template <typename T> void AnswerNext(std::function<void(T*)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            AnswerNext<T>(answer); // not up yet
            return;
        }
        answer(dialog);
    });
}

TEST(QtDialogs, Message_EachIcon_ShownCaptionedSkimmetWithOk) {
    const std::pair<MessageIcon, QMessageBox::Icon> icons[] = {
        {MessageIcon::None, QMessageBox::NoIcon},
        {MessageIcon::Warning, QMessageBox::Warning},
        {MessageIcon::Error, QMessageBox::Critical},
        {MessageIcon::Question, QMessageBox::Question}};
    for (const auto& [asked, shown] : icons) {
        SCOPED_TRACE(static_cast<int>(asked));
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        AnswerNext<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });

        CQtDialogs().Message(nullptr, QStringLiteral("File not found"), asked);

        EXPECT_EQ(title.toStdString(), "Skimmet");
        EXPECT_EQ(text.toStdString(), "File not found");
        EXPECT_EQ(icon, shown);
        EXPECT_EQ(buttons, QMessageBox::Ok);
    }
}

TEST(QtDialogs, Confirm_Answer_TrueOnlyForYes) {
    struct Case {
        const char* Name;
        std::function<void(QMessageBox*)> Answer;
        bool Expected;
    };
    const Case cases[] = {
        {"Yes", [](QMessageBox* box) { box->button(QMessageBox::Yes)->click(); }, true},
        {"No", [](QMessageBox* box) { box->button(QMessageBox::No)->click(); }, false},
        {"Escape", [](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        AnswerNext<QMessageBox>([&](QMessageBox* box) {
            icon = box->icon();
            c.Answer(box);
        });

        EXPECT_EQ(CQtDialogs().Confirm(nullptr, QStringLiteral("Are you sure?")), c.Expected);
        EXPECT_EQ(icon, QMessageBox::Question);
    }
}

TEST(QtDialogs, OpenFile_Accepted_ReturnsThePathWithTheFirstFilterSelected) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("book.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    QString title;
    QString filter;
    QString suffix;
    AnswerNext<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        filter = dialog->selectedNameFilter();
        suffix = dialog->defaultSuffix();
        dialog->setDirectory(folder.path());
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog's own accept is protected
    });

    const std::optional<QString> chosen = CQtDialogs().OpenFile(
        nullptr, QStringLiteral("Open"),
        {QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")},
        QStringLiteral("txt"));

    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QDir(*chosen).canonicalPath().toStdString(),
              QDir(path).canonicalPath().toStdString());
    EXPECT_EQ(title.toStdString(), "Open");
    EXPECT_EQ(filter.toStdString(), "Text files (*.txt)");
    EXPECT_EQ(suffix.toStdString(), "txt");
}

TEST(QtDialogs, PickColor_AcceptedOrCancelled_ChosenColourOrNothing) {
    AnswerNext<QColorDialog>([](QColorDialog* dialog) {
        dialog->setCurrentColor(QColor(255, 0, 128));
        dialog->accept();
    });
    EXPECT_EQ(CQtDialogs().PickColor(nullptr, Qt::black), QColor(255, 0, 128));

    AnswerNext<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(CQtDialogs().PickColor(nullptr, Qt::black).has_value());
}

TEST(QtDialogs, OpenFileAndPickFont_Cancelled_ReturnNothing) {
    AnswerNext<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(CQtDialogs().OpenFile(nullptr, QStringLiteral("Open"), {}, {}).has_value());

    AnswerNext<QFontDialog>([](QFontDialog* dialog) { dialog->reject(); });
    EXPECT_FALSE(CQtDialogs().PickFont(nullptr, QFont()).has_value());
}

} // namespace
