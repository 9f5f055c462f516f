#include "support/gui/FakeServices.h"

#include "about/AboutDialog.h"
#include "about/LinkLabel.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QWidget* ControlById(QDialog& dialog, int id) {
    for (QWidget* child : dialog.findChildren<QWidget*>())
        if (child->property("controlId").toInt() == id)
            return child;
    return nullptr;
}

QColor TextColor(QWidget* link) {
    return link->palette().color(link->foregroundRole());
}

// A link shown under the cursor would start hovered.
void ShowAwayFromTheCursor(QDialog& dialog) {
    QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
}

TEST(AboutBox, LinksHoveredThenClicked_VersionTipsShownAddressesOpenedAndMarkedVisited) {
    CFakeUrlOpener opener;
    CAboutDialog dialog(opener);
    EXPECT_EQ(dialog.findChild<QLabel*>("VersionLabel")->text().toStdString(),
              "Skimmet Version 1.1");
    EXPECT_EQ(ControlById(dialog, 1038)->toolTip().toStdString(),
              "Click here to visit my WWW home page");
    EXPECT_EQ(ControlById(dialog, 1039)->toolTip().toStdString(),
              "Email me by your email client program");
    ShowAwayFromTheCursor(dialog);
    for (const int id : {1038, 1039}) {
        QWidget* link = ControlById(dialog, id);
        EXPECT_EQ(TextColor(link), QColor(64, 8, 255));
        EXPECT_TRUE(link->font().underline());
        QTest::mouseMove(link, link->rect().center());
        EXPECT_EQ(TextColor(link), QColor(255, 0, 128));
        QTest::mouseClick(link, Qt::RightButton); // opens nothing
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseMove(&dialog, QPoint(1, 1));
        EXPECT_EQ(TextColor(link), QColor(8, 64, 32));
    }
    EXPECT_EQ(opener.Opened,
              (std::vector<QString>{QStringLiteral(SKIMMET_HOME_PAGE),
                                    QStringLiteral("mailto:" SKIMMET_MAIL "?subject=Skimmet")}));
}

// Fonts differ from desktop to desktop: whatever the font, every text must fit its
// control and every control the box.
TEST(AboutBox, AnyFontSize_NothingClipped) {
    const QFont original = QApplication::font();
    for (const qreal points : {7.0, 10.0, 16.0}) {
        QFont font = original;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        CFakeUrlOpener opener;
        CAboutDialog dialog(opener);
        ShowAwayFromTheCursor(dialog);
        for (QWidget* child : dialog.findChildren<QWidget*>()) {
            SCOPED_TRACE(child->objectName().toStdString() + " at " + std::to_string(points));
            EXPECT_TRUE(dialog.rect().contains(child->geometry()));
            EXPECT_GE(child->width(), child->sizeHint().width());
            EXPECT_GE(child->height(), child->sizeHint().height());
        }
    }
    QApplication::setFont(original);
}

} // namespace
