#include "support/gui/ViewFixture.h"

#include "display/ColorRef.h"
#include "view/UnitLayout.h"

#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QVBoxLayout>

namespace {
const QColor Bkg(0x10, 0x20, 0x30);
const QColor Tex(255, 255, 0);
const QColor StatusColour(255, 0, 128);
const std::string Story = "It was late, and the house was quiet. Nobody moved at all, not one.";

class PaintTest : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        Settings.BkgColor = RefFromColor(Bkg);
        Settings.TexColor = RefFromColor(Tex);
        View->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(View.get()));
    }
    // The pixels as the window system has them: a change without a repaint goes unseen.
    QImage Pixels() const {
        return View->screen()
            ->grabWindow(View->winId())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // Bounding box of what differs from the background (below `top`).
    QRect Ink(int top = 0) const {
        const QImage image = Pixels();
        QRect box;
        for (int y = top; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) != Bkg)
                    box |= QRect(x, y, 1, 1);
        return box;
    }
    bool Has(const QColor& colour, const QRect& area) const {
        const QImage image = Pixels();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (image.rect().contains(x, y) && image.pixelColor(x, y) == colour)
                    return true;
        return false;
    }
    void ShowFirstUnit(const std::string& text) {
        Load(text);
        View->SetPlayState(CFlashView::Run);
        Settle();
        Advance(Settings.freq);
    }
    // The paused view below its status line, as it must be when the preview is `text`.
    QImage Preview(const QString& text) const {
        QImage image(View->size(), QImage::Format_RGB32);
        image.fill(Bkg);
        QPainter painter(&image);
        painter.setPen(Tex);
        CUnitLayout(text, View->DisplayFont(), Settings.Width)
            .Draw(painter, View->UnitRect(text).topLeft());
        return image.copy(0, 50, 800, 550);
    }
};

TEST(CentredUnitRectTest, IntegerHalvesAboveThePanel) {
    EXPECT_EQ(CFlashView::CentredUnitRect({801, 600}, {301, 40}, false), QRect(250, 280, 301, 40));
    EXPECT_EQ(CFlashView::CentredUnitRect({801, 600}, {301, 40}, true), QRect(250, 220, 301, 40));
    EXPECT_EQ(CFlashView::CentredUnitRect({200, 100}, {50, 30}, true), QRect(75, -25, 50, 30));
}

TEST_F(PaintTest, Unit_ShownThenErased_InkInItsCentredRectInTextColourThenGone) {
    for (const bool panel : {false, true}) {
        SCOPED_TRACE(panel);
        View->SetFlag(CFlashView::PanelShownBit, panel);
        ShowFirstUnit(Story);
        const QRect rect = View->ShownUnitRect();
        EXPECT_EQ(rect.center().y(), (panel ? 240 : 300) - (rect.height() + 1) % 2);
        EXPECT_TRUE(rect.contains(Ink()));
        EXPECT_TRUE(Has(Tex, rect));
        Advance(Settings.durat);
        EXPECT_TRUE(Ink().isEmpty());
        View->SetPlayState(CFlashView::Stop);
    }
}

TEST_F(PaintTest, Unit_WidthNarrowedWhileShown_EraseClearsWhatWasDrawn) {
    Settings.Width = 600;
    ShowFirstUnit("The clock on the wall struck twelve and then it struck again, ");
    Settings.Width = 60;
    Advance(Settings.durat);
    EXPECT_TRUE(Ink().isEmpty());
}

TEST_F(PaintTest, Unit_WidthsGoodAndBad_WrappedOrWidenedButCentredAndInside) {
    for (const int32_t width : {100, 0, -50, INT32_MIN, INT32_MAX}) {
        SCOPED_TRACE(width);
        Settings.Width = width;
        ShowFirstUnit("Incomprehensibilities everywhere around us, all of them.");
        for (int i = 0; i < 2 && View->ShownUnitRect().isEmpty(); ++i)
            Advance(Settings.durat); // the last round left the reading in the show time
        const QRect rect = View->ShownUnitRect();
        ASSERT_FALSE(rect.isEmpty());
        EXPECT_EQ(rect.left(), 400 - rect.width() / 2);
        EXPECT_TRUE(rect.contains(Ink()));
        View->SetPlayState(CFlashView::Stop);
    }
}

TEST_F(PaintTest, Unit_ResizedOrColourChangedWhileShown_ClearedAsByAnyPaint) {
    ShowFirstUnit(Story);
    View->resize(700, 500);
    Settle();
    EXPECT_TRUE(View->ShownUnitRect().isEmpty());
    EXPECT_TRUE(Ink().isEmpty());
    Cycle(1);
    Settings.TexColor = 0x00FF00FF;
    View->update();
    Settle();
    EXPECT_TRUE(Ink().isEmpty());
}

// The next unit is prepared while its gap runs; what changes before the gap ends shows.
TEST_F(PaintTest, GapEdits_CutPositionWidthColour_UnitDrawnWithTheNewOnes) {
    Load(Story);
    View->SetPlayState(CFlashView::Run);
    Settle();
    ASSERT_TRUE(Settings.SetPosition(17)); // "the house was quiet."
    Settings.Width = 30;
    Settings.TexColor = 0x00FF00FF;
    Advance(Settings.freq);
    EXPECT_EQ(Shown.back(), "the house was quiet.");
    EXPECT_EQ(View->ShownUnitRect(), View->UnitRect("the house was quiet."));
    EXPECT_TRUE(Has(QColor(255, 0, 255), View->ShownUnitRect()));
    EXPECT_FALSE(Has(Tex, View->ShownUnitRect()));
}

TEST_F(PaintTest, Status_NoTextStoppedPaused_PromptsInStatusColourAtTheTopLeft) {
    View->resize(200, 400);
    Settle();
    QRect ink = Ink();
    EXPECT_LT(ink.left(), 5);
    EXPECT_GT(ink.height(), 2 * FontPixels); // the prompt wraps
    EXPECT_TRUE(Has(StatusColour, ink));
    View->resize(800, 600);
    Load(Story);
    View->update();
    Settle();
    ink = Ink();
    EXPECT_GE(std::min(ink.left(), ink.top()), 10);
    EXPECT_LT(ink.bottom(), 50);
    EXPECT_TRUE(Has(StatusColour, ink));
}

TEST_F(PaintTest, Paused_Preview_63BytesOrTheRestWithoutABrokenCharacter) {
    std::string cut(62, 'a');
    cut += "\xC3\xA9 and more";
    const struct {
        std::string Text;
        int32_t Position;
        QString Expected;
    } cases[] = {
        {Story, 0, QString::fromLatin1(Story.c_str(), 63)},
        {Story, static_cast<int32_t>(Story.size()) - 8, QString::fromLatin1("not one.")},
        {cut, 0, QString(62, QLatin1Char('a'))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Expected.toStdString());
        Load(c.Text);
        ASSERT_TRUE(Settings.SetPosition(c.Position));
        View->SetPlayState(CFlashView::Pause);
        Settle();
        EXPECT_EQ(Pixels().copy(0, 50, 800, 550), Preview(c.Expected));
        EXPECT_TRUE(Has(StatusColour, QRect(0, 0, 800, 50)));
    }
}

TEST_F(PaintTest, Unit_InvalidUtf8_DrawnWithoutHarm) {
    ShowFirstUnit("Bad \xFF\xFE bytes \x80 here, and more of them after that. Fine.");
    EXPECT_FALSE(Ink().isEmpty());
}

TEST_F(PaintTest, Reading_ToTheEnd_SignalsEachCutAndUnitAndTheEndBoxOnce) {
    QSignalSpy cuts(View.get(), &CFlashView::AboutToCutUnit);
    ShowFirstUnit("Hello there.");
    Advance(Settings.durat);
    EXPECT_EQ(cuts.size(), 1);
    EXPECT_EQ(Shown.size(), 1u);
    ASSERT_EQ(Fakes.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Fakes.Dialogs.Messages[0].Text, "The End");
    EXPECT_EQ(Fakes.Dialogs.Messages[0].Icon, MessageIcon::None);
    EXPECT_FALSE(View->WakePending());
}

TEST_F(PaintTest, Click_GivesTheViewTheFocus) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    auto* view = new CFlashView(Settings, Fakes.Services, &window);
    layout->addWidget(edit);
    layout->addWidget(view);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(view->hasFocus());
}
} // namespace
