#include "ViewTestSupport.h"

#include "view/ColorRef.h"
#include "view/UnitLayout.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include <climits>

namespace {
constexpr uint32_t Background = 0x00302010; // red 0x10, green 0x20, blue 0x30
constexpr uint32_t TextColour = 0x0000FFFF; // yellow
const QColor StatusColour(255, 0, 128);

// What the view shows right now: its pixels as the window system has them, not a
// fresh rendering, so that a change made without a repaint would go unnoticed.
QImage ScreenPixels(QWidget& widget) {
    return widget.screen()
        ->grabWindow(widget.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Bounding box of the pixels that differ from the background; empty when none do.
QRect InkBox(const QImage& image, const QColor& background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The part of the view below the status line at (10, 10).
QImage BelowStatus(const QImage& pixels) {
    return pixels.copy(QRect(0, 10 + 2 * FontPixels, pixels.width(), pixels.height()) &
                       pixels.rect());
}

bool HasPixelOf(const QImage& image, const QColor& colour, const QRect& area) {
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

class PaintTest : public FlashViewFixture {
protected:
    void SetUp() override {
        FlashViewFixture::SetUp();
        Settings.BkgColor = Background;
        Settings.TexColor = TextColour;
        View->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(View.get()));
    }

    // Lets the repaint that a state change asks for happen.
    static void Settle() { QCoreApplication::processEvents(); }

    // The rectangle a unit needs, measured here independently of the view.
    QSize Measured(const QString& text) const {
        QFont font("DejaVu Sans");
        font.setPixelSize(FontPixels);
        return QFontMetrics(font)
            .boundingRect(QRect(0, 0, Settings.Width, 100000),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text)
            .size();
    }

    // Runs the story to its first unit, which is drawn by the handler that ends the gap.
    void ShowFirstUnit(const std::string& text) {
        Load(text);
        View->SetPlayState(CFlashView::Run);
        Settle();
        Advance(Settings.freq);
    }

    // The paused view's pixels below its status line as they must be when the preview is
    // exactly text: the text laid out and drawn on its own, centred like a unit.
    QImage ExpectedPreview(const QString& text) const {
        QImage image(View->size(), QImage::Format_RGB32);
        image.fill(Bkg);
        QPainter painter(&image);
        painter.setPen(Tex);
        const CUnitLayout layout(text, View->DisplayFont(), Settings.Width);
        layout.Draw(painter, View->UnitRect(text).topLeft());
        painter.end();
        return BelowStatus(image);
    }

    const QColor Bkg = ColorFromRef(Background);
    const QColor Tex = ColorFromRef(TextColour);
};

TEST(ColorRefTest, RedInTheLowByte_BothWays) {
    EXPECT_EQ(ColorFromRef(0), QColor(0, 0, 0));
    EXPECT_EQ(ColorFromRef(0x008000FF), QColor(255, 0, 128));
    EXPECT_EQ(ColorFromRef(0x00302010), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(ColorFromRef(0xFF302010), QColor(0x10, 0x20, 0x30)); // top byte unused
    EXPECT_EQ(RefFromColor(QColor(0x10, 0x20, 0x30)), 0x00302010u);
    EXPECT_EQ(RefFromColor(QColor(255, 0, 128)), 0x008000FFu);
}

TEST(CentredUnitRectTest, IntegerHalvesAboveThePanel) {
    struct Case {
        QSize Client, Unit;
        bool Panel;
        QRect Expected;
    };
    const Case cases[] = {
        {{801, 600}, {301, 40}, false, {250, 280, 301, 40}},
        {{801, 600}, {301, 40}, true, {250, 220, 301, 40}},
        {{800, 599}, {300, 41}, false, {250, 279, 300, 41}},
        {{200, 100}, {500, 30}, false, {-150, 35, 500, 30}}, // wider than the view
        {{200, 100}, {50, 30}, true, {75, -25, 50, 30}},     // -20 / 2 - 15
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFlashView::CentredUnitRect(c.Client, c.Unit, c.Panel), c.Expected)
            << c.Client.width() << 'x' << c.Client.height() << " panel " << c.Panel;
}

TEST_F(PaintTest, Unit_Drawn_InkLiesInItsCentredRectangleInTheTextColour) {
    ShowFirstUnit("It was late, and the house was quiet. Nobody moved.");
    const QRect rect = View->ShownUnitRect();
    const QSize size = Measured("It was ");
    EXPECT_EQ(rect,
              QRect(400 - size.width() / 2, 300 - size.height() / 2, size.width(), size.height()));

    const QImage pixels = ScreenPixels(*View);
    const QRect ink = InkBox(pixels, Bkg);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(rect.contains(ink)) << "ink outside the unit's rectangle";
    EXPECT_TRUE(HasPixelOf(pixels, Tex, rect));
}

TEST_F(PaintTest, Unit_PanelShown_CentredInTheAreaAboveThePanel) {
    View->SetFlag(CFlashView::PanelShownBit, true);
    ShowFirstUnit("It was late, and the house was quiet. Nobody moved.");
    const QRect rect = View->ShownUnitRect();
    EXPECT_EQ(rect.top(), (600 - 120) / 2 - Measured("It was ").height() / 2);
    const QRect ink = InkBox(ScreenPixels(*View), Bkg);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(rect.contains(ink));
    EXPECT_LT(ink.bottom(), 600 - 120);
}

TEST_F(PaintTest, Unit_Erased_TheBackgroundIsBack) {
    ShowFirstUnit("It was late, and the house was quiet. Nobody moved.");
    ASSERT_FALSE(InkBox(ScreenPixels(*View), Bkg).isEmpty());
    Advance(Settings.durat);
    EXPECT_TRUE(InkBox(ScreenPixels(*View), Bkg).isEmpty());
}

TEST_F(PaintTest, Unit_WidthChangedWhileShown_EraseStillClearsWhatWasDrawn) {
    Settings.Width = 600;
    ShowFirstUnit("The clock on the wall struck twelve and then it struck again, ");
    Settings.Width = 60; // the erase measures a narrower, taller rectangle
    Advance(Settings.durat);
    EXPECT_TRUE(InkBox(ScreenPixels(*View), Bkg).isEmpty());
}

TEST_F(PaintTest, Unit_LongerThanWidth_WrappedIntoLeftAlignedLines) {
    Settings.Width = 100;
    ShowFirstUnit("The clock on the wall struck twelve and then again, ");
    const QRect rect = View->ShownUnitRect();
    EXPECT_LE(rect.width(), 100);
    EXPECT_GE(rect.height(), 3 * QFontMetrics(View->DisplayFont()).lineSpacing());
    const QImage pixels = ScreenPixels(*View);
    EXPECT_TRUE(rect.contains(InkBox(pixels, Bkg)));
    // Every line starts at the rectangle's left edge: ink near it in each line band.
    const int lineHeight = QFontMetrics(View->DisplayFont()).lineSpacing();
    for (int top = rect.top(); top + lineHeight <= rect.bottom(); top += lineHeight) {
        const QRect band(rect.left(), top, 4, lineHeight);
        EXPECT_FALSE(InkBox(pixels.copy(band), Bkg).isEmpty()) << "line at " << top;
    }
}

TEST_F(PaintTest, Unit_WordWiderThanWidth_WidensTheRectangleInsteadOfBreaking) {
    Settings.Width = 40;
    Settings.MaxText = 60;
    ShowFirstUnit("Incomprehensibilities everywhere around us, all of them. And more.");
    const QRect rect = View->ShownUnitRect();
    const QSize word = Measured("Incomprehensibilities");
    EXPECT_GE(rect.width(), word.width());
    EXPECT_GT(rect.width(), 40);
    EXPECT_TRUE(rect.contains(InkBox(ScreenPixels(*View), Bkg)));
}

TEST_F(PaintTest, Unit_WidthFromABadSettingsFile_StillDrawnCentred) {
    for (const int32_t width : {0, -50, INT32_MIN, INT32_MAX}) {
        Settings.Width = width;
        ShowFirstUnit("It was late, and the house was quiet. Nobody moved.");
        // The last round left the reading in the show time: a blank one, then a gap.
        for (int i = 0; i < 2 && !UnitOnScreen(); ++i)
            Advance(Settings.durat);
        const QRect rect = View->ShownUnitRect();
        ASSERT_FALSE(rect.isEmpty()) << width;
        EXPECT_EQ(rect.left(), 400 - rect.width() / 2) << width;
        EXPECT_TRUE(rect.contains(InkBox(ScreenPixels(*View), Bkg))) << width;
        View->SetPlayState(CFlashView::Stop);
    }
}

TEST_F(PaintTest, Unit_ResizeWhileShown_WholeViewRepaintedWithoutTheUnit) {
    ShowFirstUnit("It was late, and the house was quiet. Nobody moved.");
    View->resize(700, 500);
    Settle();
    EXPECT_TRUE(View->ShownUnitRect().isEmpty());
    EXPECT_TRUE(InkBox(ScreenPixels(*View), Bkg).isEmpty());
}

// The next unit is prepared while its gap runs; whatever changes before the gap ends
// must still show in that unit.
TEST_F(PaintTest, GapEdits_CutSettingsChanged_UnitCutWithTheNewSettings) {
    Load("It was late, and the house was quiet. Nobody moved.");
    View->SetPlayState(CFlashView::Run);
    Settings.MinText = 1; // "It was late" is long enough now to end at its comma
    Advance(Settings.freq);
    EXPECT_EQ(Shown.back(), "It was late,");
    EXPECT_EQ(View->ShownUnitRect(), View->UnitRect("It was late,"));
}

TEST_F(PaintTest, GapEdits_PositionMoved_UnitFromTheNewPosition) {
    Load("It was late, and the house was quiet. Nobody moved.");
    View->SetPlayState(CFlashView::Run);
    ASSERT_TRUE(Settings.SetPosition(17)); // "the house was quiet."
    Advance(Settings.freq);
    EXPECT_EQ(Shown.back(), "the house was quiet.");
    EXPECT_EQ(View->ShownUnitRect(), View->UnitRect("the house was quiet."));
}

TEST_F(PaintTest, GapEdits_WidthAndColourChanged_UnitDrawnWithTheNewOnes) {
    Load("It was late, and the house was quiet. Nobody moved.");
    View->SetPlayState(CFlashView::Run);
    Settle();
    Settings.Width = 30;
    Settings.TexColor = 0x00FF00FF; // magenta
    Advance(Settings.freq);
    const QRect rect = View->ShownUnitRect();
    EXPECT_EQ(rect, View->UnitRect("It was "));
    EXPECT_GT(rect.height(), 2 * FontPixels); // one word a line
    const QImage pixels = ScreenPixels(*View);
    EXPECT_TRUE(HasPixelOf(pixels, QColor(255, 0, 255), rect));
    EXPECT_FALSE(HasPixelOf(pixels, Tex, rect));
}

TEST_F(PaintTest, ShownUnit_ColourChangedThenRepainted_UnitClearedAsByAnyPaint) {
    ShowFirstUnit("It was late, and the house was quiet. Nobody moved.");
    Settings.TexColor = 0x00FF00FF;
    View->update();
    Settle();
    EXPECT_TRUE(View->ShownUnitRect().isEmpty());
    EXPECT_TRUE(InkBox(ScreenPixels(*View), Bkg).isEmpty());
}

TEST_F(PaintTest, Status_NoText_PromptWrappedFromTheTopLeftInStatusColour) {
    View->resize(200, 400);
    Settle();
    const QImage pixels = ScreenPixels(*View);
    const QRect ink = InkBox(pixels, Bkg);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.left(), 5);
    EXPECT_LT(ink.top(), 10);
    EXPECT_GT(ink.height(), 2 * FontPixels); // wrapped onto several lines
    EXPECT_TRUE(HasPixelOf(pixels, StatusColour, ink));
}

TEST_F(PaintTest, Status_StoppedAndPaused_OneLineAtTenTenInStatusColour) {
    Load("It was late, and the house was quiet. Nobody moved.");
    View->update(); // as the opening of a text does
    Settle();
    QImage pixels = ScreenPixels(*View);
    QRect ink = InkBox(pixels, Bkg);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 10);
    EXPECT_GE(ink.top(), 10);
    EXPECT_LT(ink.bottom(), 10 + 2 * FontPixels);
    EXPECT_TRUE(HasPixelOf(pixels, StatusColour, ink));

    View->SetPlayState(CFlashView::Run);
    View->SetPlayState(CFlashView::Pause);
    Settle();
    pixels = ScreenPixels(*View);
    const QRect status(0, 0, 800, 10 + 2 * FontPixels);
    EXPECT_TRUE(HasPixelOf(pixels, StatusColour, status));
    EXPECT_FALSE(HasPixelOf(pixels, Tex, status));
}

TEST_F(PaintTest, Paused_Preview_At63BytesFromTheCursorInTheTextColour) {
    Load("It was late, and the house was quiet. Nobody moved at all, not one of them.");
    View->SetPlayState(CFlashView::Pause);
    Settle();
    const QImage pixels = ScreenPixels(*View);
    const QString expected = QString::fromLatin1(Text.c_str(), 63);
    EXPECT_EQ(BelowStatus(pixels), ExpectedPreview(expected));
    EXPECT_TRUE(HasPixelOf(pixels, Tex, View->UnitRect(expected)));
    EXPECT_FALSE(HasPixelOf(pixels, StatusColour, View->UnitRect(expected)));
}

TEST_F(PaintTest, Paused_NearTheEnd_PreviewOnlyTheBytesThatRemain) {
    Load("It was late, and the house was quiet. Nobody moved at all.");
    ASSERT_TRUE(Settings.SetPosition(static_cast<int32_t>(Text.size()) - 8));
    View->SetPlayState(CFlashView::Pause);
    Settle();
    const QString expected = QString::fromLatin1(Text.c_str() + Text.size() - 8);
    EXPECT_EQ(BelowStatus(ScreenPixels(*View)), ExpectedPreview(expected));
}

TEST_F(PaintTest, Paused_PreviewCutInsideACharacter_BrokenHalfNotShown) {
    // 62 ASCII bytes, then a two-byte character that the 63-byte preview cuts in half.
    std::string text;
    while (text.size() < 62)
        text += "abcde ";
    text.resize(62);
    text += "\xC3\xA9 and more text after it";
    Load(text);
    View->SetPlayState(CFlashView::Pause);
    Settle();
    EXPECT_EQ(BelowStatus(ScreenPixels(*View)),
              ExpectedPreview(QString::fromLatin1(text.c_str(), 62)));
}

TEST_F(PaintTest, Unit_InvalidUtf8_DrawnWithoutHarm) {
    ShowFirstUnit("Bad \xFF\xFE bytes \x80 here, and more of them after that. Fine.");
    EXPECT_FALSE(View->ShownUnitRect().isEmpty());
    EXPECT_FALSE(InkBox(ScreenPixels(*View), Bkg).isEmpty());
}

TEST_F(PaintTest, Click_GivesTheViewTheFocus) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    auto* view = new CFlashView(Settings, Fakes.Services, &window);
    layout->addWidget(edit);
    layout->addWidget(view);
    window.resize(400, 300);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(view->hasFocus());
}
} // namespace
