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
// The box shown away from the cursor: a link shown under it would start hovered.
class AboutBox : public testing::Test {
protected:
    void SetUp() override {
        QCursor::setPos(QGuiApplication::primaryScreen()->geometry().bottomRight());
        Dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Dialog));
    }
    QColor LinkColour(const CLinkLabel* link) const {
        return link->palette().color(link->foregroundRole());
    }
    CFakeUrlOpener Opener;
    CAboutDialog Dialog{Opener};
};

TEST_F(AboutBox, Link_HoveredThenClicked_ChangesColourToHoverThenVisited) {
    for (CLinkLabel* link : Dialog.findChildren<CLinkLabel*>()) {
        SCOPED_TRACE(link->text().toStdString());
        EXPECT_EQ(LinkColour(link), QColor(64, 8, 255));
        QTest::mouseMove(link, link->rect().center());
        EXPECT_EQ(LinkColour(link), QColor(255, 0, 128));
        QTest::mouseClick(link, Qt::LeftButton);
        QTest::mouseMove(&Dialog, QPoint(1, 1));
        EXPECT_EQ(LinkColour(link), QColor(8, 64, 32));
    }
}

// A right click opens nothing: only the left clicks count.
TEST_F(AboutBox, Links_LeftNotRightClicked_OpenTheHomePageAndAMailToTheAuthor) {
    for (CLinkLabel* link : Dialog.findChildren<CLinkLabel*>()) {
        QTest::mouseClick(link, Qt::RightButton);
        QTest::mouseClick(link, Qt::LeftButton);
    }
    const QString mail = QStringLiteral("mailto:" SKIMMET_MAIL "?subject=Skimmet");
    EXPECT_EQ(Opener.Opened, (std::vector<QString>{SKIMMET_HOME_PAGE, mail}));
}

// Fonts differ from desktop to desktop: even in a large one, every text must fit its
// control and every control the box.
class AboutBoxFont : public testing::Test {
protected:
    void SetUp() override {
        QFont font = Original;
        font.setPointSizeF(16);
        QApplication::setFont(font);
    }
    void TearDown() override { QApplication::setFont(Original); }
    const QFont Original = QApplication::font();
};

TEST_F(AboutBoxFont, LargeFont_NothingClipped) {
    CFakeUrlOpener opener;
    CAboutDialog dialog(opener);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    for (const QWidget* child : dialog.findChildren<QWidget*>()) {
        SCOPED_TRACE(child->objectName().toStdString());
        EXPECT_TRUE(dialog.rect().contains(child->geometry()));
        EXPECT_EQ(child->size().expandedTo(child->sizeHint()), child->size());
    }
}
} // namespace
