// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/gui/FakeServices.h"

#include "about/AboutDialog.h"
#include "about/LinkLabel.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Fonts differ from desktop to desktop: whatever the font, every text must fit its control
// and every control the box.
TEST(AboutBox, AnyFontSize_NothingClippedBuildsVersionAndLinksHoverOpenAndMarkVisited) {
    const QFont original = QApplication::font();
    for (const qreal points : {7.0, 16.0}) {
        QFont font = original;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        CFakeUrlOpener opener;
        CAboutDialog dialog(opener);
        QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
        dialog.show(); // away from the cursor: a link shown under it would start hovered
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        for (const QWidget* child : dialog.findChildren<QWidget*>()) {
            SCOPED_TRACE(child->objectName().toStdString() + " at " + std::to_string(points));
            EXPECT_TRUE(dialog.rect().contains(child->geometry()));
            EXPECT_EQ(child->size().expandedTo(child->sizeHint()), child->size());
        }
        EXPECT_EQ(dialog.findChild<QLabel*>("VersionLabel")->text(),
                  "Skimmet Version " + QString(SKIMMET_VERSION).section('.', 0, 1)); // the build's
        for (CLinkLabel* link : dialog.findChildren<CLinkLabel*>()) {
            const QPalette::ColorRole role = link->foregroundRole();
            EXPECT_FALSE(link->toolTip().isEmpty());
            EXPECT_TRUE(link->font().underline());
            EXPECT_EQ(link->palette().color(role), QColor(64, 8, 255));
            QTest::mouseMove(link, link->rect().center());
            EXPECT_EQ(link->palette().color(role), QColor(255, 0, 128));
            QTest::mouseClick(link, Qt::RightButton); // opens nothing
            QTest::mouseClick(link, Qt::LeftButton);
            QTest::mouseMove(&dialog, QPoint(1, 1));
            EXPECT_EQ(link->palette().color(role), QColor(8, 64, 32));
        }
        const QString mail = QStringLiteral("mailto:" SKIMMET_MAIL "?subject=Skimmet");
        EXPECT_EQ(opener.Opened, (std::vector<QString>{SKIMMET_HOME_PAGE, mail}));
    }
    QApplication::setFont(original);
}

} // namespace
