#include "about/AboutDialog.h"
#include "UrlRecorder.h"
#include "about/LinkLabel.h"
#include "platform/UrlOpener.h"
#include "support/gui/FakeServices.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QVariant>
#include <gtest/gtest.h>

#include <map>

namespace {
const QString HomePage = QStringLiteral(SKIMMET_HOME_PAGE);
const QColor Normal(64, 8, 255);
const QColor VisitedGreen(8, 64, 32);

QWidget* ControlById(QDialog& dialog, int id) {
    for (QWidget* child : dialog.findChildren<QWidget*>())
        if (child->property("controlId").toInt() == id)
            return child;
    return nullptr;
}

CLinkLabel* LinkById(QDialog& dialog, int id) {
    return qobject_cast<CLinkLabel*>(ControlById(dialog, id));
}

class AboutDialogTest : public ::testing::Test {
protected:
    void Show(QDialog& dialog) {
        // Away from the box: a link shown under the cursor would start hovered.
        QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    }

    CFakeUrlOpener Opener;
};
} // namespace

TEST_F(AboutDialogTest, Controls_CarryTheirIdsTextsTipsVersionAndIcon) {
    CAboutDialog dialog(Opener);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Skimmet"));
    EXPECT_FALSE(dialog.windowIcon().isNull());

    std::map<int, QString> texts;
    bool versionFound = false;
    bool iconFound = false;
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        const QVariant id = child->property("controlId");
        if (auto* label = qobject_cast<QLabel*>(child)) {
            if (id.isValid())
                texts[id.toInt()] = label->text();
            iconFound = iconFound || !label->pixmap().isNull();
            if (label->text() == QStringLiteral("Skimmet Version 1.1")) {
                versionFound = true;
                // Shown as it is: no rich text, no mnemonic.
                EXPECT_EQ(label->textFormat(), Qt::PlainText);
            }
        } else if (auto* button = qobject_cast<QPushButton*>(child); button && id.isValid()) {
            texts[id.toInt()] = button->text();
        }
    }
    const std::map<int, QString> expected{{1, QStringLiteral("OK")},
                                          {1038, QStringLiteral("Home Page")},
                                          {1039, QStringLiteral("Email Me")}};
    EXPECT_EQ(texts, expected);
    EXPECT_TRUE(versionFound);
    EXPECT_TRUE(iconFound) << "the icon did not load from the resources";

    auto* ok = qobject_cast<QPushButton*>(ControlById(dialog, 1));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    ASSERT_NE(LinkById(dialog, 1038), nullptr);
    ASSERT_NE(LinkById(dialog, 1039), nullptr);
    EXPECT_EQ(LinkById(dialog, 1038)->toolTip(),
              QStringLiteral("Click here to visit my WWW home page"));
    EXPECT_EQ(LinkById(dialog, 1039)->toolTip(),
              QStringLiteral("Email me by your email client program"));
}

TEST_F(AboutDialogTest, ClickingLinks_WithDesktopOpener_ReachesSchemeHandlers) {
    CDesktopUrlOpener desktop;
    CAboutDialog dialog(desktop);
    Show(dialog);
    CUrlRecorder recorder({QUrl(HomePage).scheme(), QStringLiteral("mailto")});
    QTest::mouseClick(LinkById(dialog, 1038), Qt::LeftButton);
    QTest::mouseClick(LinkById(dialog, 1039), Qt::LeftButton);
    ASSERT_EQ(recorder.Urls.size(), 2u);
    EXPECT_EQ(recorder.Urls[0], QUrl(HomePage));
    EXPECT_EQ(recorder.Urls[1].scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(recorder.Urls[1].path(), QStringLiteral(SKIMMET_MAIL));
    EXPECT_EQ(recorder.Urls[1].query(), QStringLiteral("subject=Skimmet"));
}

TEST_F(AboutDialogTest, NewBox_StartsUnvisited) {
    {
        CAboutDialog first(Opener);
        Show(first);
        for (const int id : {1038, 1039}) {
            CLinkLabel* link = LinkById(first, id);
            QTest::mouseClick(link, Qt::LeftButton);
            EXPECT_EQ(link->palette().color(link->foregroundRole()), VisitedGreen);
        }
    }
    CAboutDialog second(Opener);
    Show(second);
    for (const int id : {1038, 1039})
        EXPECT_EQ(LinkById(second, id)->palette().color(LinkById(second, id)->foregroundRole()),
                  Normal);
}

TEST_F(AboutDialogTest, OkAndEscape_CloseTheBox) {
    struct Case {
        const char* Name;
        void (*Close)(CAboutDialog&);
        int Result;
    };
    const Case cases[] = {
        {"OK", [](CAboutDialog& d) { QTest::mouseClick(ControlById(d, 1), Qt::LeftButton); },
         QDialog::Accepted},
        {"Enter", [](CAboutDialog& d) { QTest::keyClick(&d, Qt::Key_Return); }, QDialog::Accepted},
        {"Escape", [](CAboutDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); }, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        CAboutDialog dialog(Opener);
        Show(dialog);
        dialog.setResult(-1);
        c.Close(dialog);
        EXPECT_FALSE(dialog.isVisible()) << c.Name;
        EXPECT_EQ(dialog.result(), c.Result) << c.Name;
    }
}

// Fonts differ from desktop to desktop: whatever the font, every text must fit its
// control and every control the box, in the arrangement of the original.
TEST_F(AboutDialogTest, Layout_NothingClippedAndArranged) {
    struct FontRestorer {
        const QFont Original = QApplication::font();
        ~FontRestorer() { QApplication::setFont(Original); }
    } restorer;
    for (const qreal points : {7.0, 10.0, 16.0}) {
        QFont font = restorer.Original;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        CAboutDialog dialog(Opener);
        Show(dialog);
        const QRect box = dialog.rect();
        EXPECT_GE(box.width(), 353);
        EXPECT_GE(box.height(), 216);
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            const std::string name = child->objectName().toStdString();
            const QRect area = child->geometry();
            EXPECT_TRUE(box.contains(area)) << name << " at " << points;
            EXPECT_GE(area.width(), child->sizeHint().width()) << name << " at " << points;
            EXPECT_GE(area.height(), child->sizeHint().height()) << name << " at " << points;
        }
        const QRect version =
            dialog.findChild<QWidget*>(QStringLiteral("VersionLabel"))->geometry();
        const QRect ok = ControlById(dialog, 1)->geometry();
        const QRect home = ControlById(dialog, 1038)->geometry();
        const QRect mail = ControlById(dialog, 1039)->geometry();
        EXPECT_GT(ok.left(), version.right());
        EXPECT_GT(home.top(), ok.bottom());
        EXPECT_GT(mail.top(), home.bottom());
        EXPECT_EQ(mail.left(), home.left());
    }
}
