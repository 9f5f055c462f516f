#include "about/LinkLabel.h"
#include "UrlRecorder.h"
#include "platform/UrlOpener.h"
#include "support/gui/FakeServices.h"

#include <QCursor>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <set>

namespace {
const QColor Normal(64, 8, 255);
const QColor Hovered(255, 0, 128);
const QColor VisitedGreen(8, 64, 32);

class CRefusingUrlOpener final : public IUrlOpener {
public:
    int Requests = 0;
    bool Open(const QString&) override {
        ++Requests;
        return false;
    }
};

std::set<QRgb> DrawnColors(QWidget& widget) {
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    std::set<QRgb> colors;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colors.insert(image.pixel(x, y) & 0xFFFFFF);
    return colors;
}

class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        Host.resize(240, 80);
        Label = new CLinkLabel(&Host);
        Label->setText(QStringLiteral("Home Page"));
        Label->move(40, 20);
        Label->adjustSize();
        Label->SetUrlOpener(&Opener);
        Label->SetTarget(QStringLiteral("https://example.org/page"));
        // A window shown under the cursor gives the widget there a synthetic enter:
        // park the cursor away from where the label will be.
        QCursor::setPos(Host.mapToGlobal(QPoint(2, 2)) + QPoint(400, 300));
        Host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Host));
    }

    // QTest moves the real cursor, and a move to where it already is sends nothing:
    // start each move from the opposite side so that it always crosses the edge.
    void Enter() {
        QTest::mouseMove(&Host, QPoint(2, 2));
        QTest::mouseMove(Label, Label->rect().center());
    }
    void Leave() {
        QTest::mouseMove(Label, Label->rect().center());
        QTest::mouseMove(&Host, QPoint(2, 2));
    }
    void Click() { QTest::mouseClick(Label, Qt::LeftButton); }

    // The text colour as set and as drawn: the underline is solid, so the exact
    // colour must appear, and neither of the other two link colours may.
    void ExpectColor(const QColor& expected) {
        EXPECT_EQ(Label->palette().color(Label->foregroundRole()), expected);
        const std::set<QRgb> drawn = DrawnColors(*Label);
        for (const QColor& color : {Normal, Hovered, VisitedGreen}) {
            const bool present = drawn.count(color.rgb() & 0xFFFFFF) != 0;
            EXPECT_EQ(present, color == expected) << color.name().toStdString();
        }
    }

    QWidget Host;
    CLinkLabel* Label = nullptr;
    CFakeUrlOpener Opener;
};
} // namespace

TEST_F(LinkLabelTest, HoverAndClick_NormalThenHoveredThenVisitedForGood) {
    ExpectColor(Normal);
    EXPECT_TRUE(Label->font().underline());
    EXPECT_EQ(Label->font().family(), Host.font().family());
    EXPECT_EQ(Label->font().pointSizeF(), Host.font().pointSizeF());
    EXPECT_EQ(Label->cursor().shape(), Qt::PointingHandCursor);

    Enter();
    ExpectColor(Hovered);
    Leave();
    ExpectColor(Normal);

    Enter();
    Click();
    ExpectColor(VisitedGreen);
    Leave();
    ExpectColor(VisitedGreen);
    Enter();
    ExpectColor(VisitedGreen);
}

TEST_F(LinkLabelTest, RefusedTarget_StillMarkedVisited) {
    CRefusingUrlOpener refusing;
    Label->SetUrlOpener(&refusing);
    EXPECT_FALSE(Label->OpenTarget(QStringLiteral("https://example.org/page")));
    Click();
    EXPECT_EQ(refusing.Requests, 2);
    ExpectColor(VisitedGreen);
}

TEST_F(LinkLabelTest, RightClickOrPressDraggedOff_OpensNothingStaysUnvisited) {
    QTest::mouseClick(Label, Qt::RightButton);
    QTest::mousePress(Label, Qt::LeftButton, {}, Label->rect().center());
    QTest::mouseRelease(Label, Qt::LeftButton, {}, QPoint(-5, -5));
    Leave();
    EXPECT_TRUE(Opener.Opened.empty());
    ExpectColor(Normal);
}

TEST_F(LinkLabelTest, SetTipText_OnlyOnceTipEnabled) {
    Label->SetTipText(QStringLiteral("too early"));
    EXPECT_TRUE(Label->toolTip().isEmpty());
    Label->EnableTip(true);
    Label->SetTipText(QStringLiteral("Click here"));
    EXPECT_EQ(Label->toolTip(), QStringLiteral("Click here"));
    Label->EnableTip(false);
    Label->SetTipText(QStringLiteral("ignored"));
    EXPECT_EQ(Label->toolTip(), QStringLiteral("Click here"));
}

TEST_F(LinkLabelTest, Click_WithDesktopOpener_ReachesSchemeHandler) {
    const QString targets[] = {QStringLiteral("https://example.org/page?a=1"),
                               QStringLiteral("mailto:someone@example.org?subject=Skimmet")};
    CDesktopUrlOpener desktop;
    Label->SetUrlOpener(&desktop);
    for (const QString& target : targets) {
        CUrlRecorder recorder({QStringLiteral("https"), QStringLiteral("mailto")});
        Label->SetTarget(target);
        Click();
        ASSERT_EQ(recorder.Urls.size(), 1u) << target.toStdString();
        EXPECT_EQ(recorder.Urls[0].toString(), target);
    }
}
