// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/ColorRef.h"
#include "support/gui/ViewFixture.h"
#include "text/TextEncoding.h"
#include "view/UnitLayout.h"

#include <QPainter>
#include <QScreen>
#include <optional>

namespace {
const QColor Bkg(0x10, 0x20, 0x30), Tex(255, 255, 0);
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
    // As the window system has them: a change without a repaint goes unseen.
    QImage Pixels() const { return View->screen()->grabWindow(View->winId()).toImage(); }
    // Bounding box of what differs from the background, or of one colour only.
    QRect Ink(std::optional<QColor> only = {}) const {
        const QImage image = Pixels();
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const QColor c = image.pixelColor(x, y); c != Bkg && c == only.value_or(c))
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    // Loads text and runs to its first unit.
    QRect ShowFirstUnit(const std::string& text) {
        Load(text);
        View->SetPlayState(CFlashView::Run);
        Settle();
        Advance(Settings.freq);
        return View->ShownUnitRect();
    }
};

TEST_F(PaintTest, Unit_Shown_CentredInkInTheTextColour) {
    const struct {
        const char* Name;
        bool Panel;
        int32_t Width;
        int CentreY;
    } rows[] = {{"no panel", false, 0, 300},
                {"panel shown", true, 0, 240},
                {"negative width", false, -50, 300},
                {"widest", false, INT32_MAX, 300}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        View->SetFlag(CFlashView::PanelShownBit, row.Panel);
        Settings.Width = row.Width;
        const QRect rect = ShowFirstUnit(row.Width < 0 ? "Incomprehensibilities" : "Hello there.");
        EXPECT_NEAR(rect.center().y(), row.CentreY, 1);
        EXPECT_NEAR(rect.center().x(), 400, 1);
        EXPECT_TRUE(rect.contains(Ink()));
        EXPECT_FALSE(Ink(Tex).isEmpty());
        Advance(Settings.durat); // to the end, so that the next row starts afresh
    }
}

// The text is a single unit, so that the end comes with its erase.
TEST_F(PaintTest, Unit_Erased_InkGoneAndTheEndSaid) {
    const QRect rect = ShowFirstUnit("Hello there.");
    Advance(Settings.durat);
    EXPECT_FALSE(Ink().intersects(rect));
    ASSERT_FALSE(Fakes.Dialogs.Messages.empty());
    EXPECT_EQ(Fakes.Dialogs.Messages.back().Text, "The End");
    EXPECT_EQ(Fakes.Dialogs.Messages.back().Icon, MessageIcon::None);
}

// The unit on the screen takes the place Qt lays the whole text out in: a character
// dropped or read in another encoding would change it.
TEST_F(PaintTest, CodePageUnit_DrawnWithEveryCharacter) {
    const QString shown = QStringLiteral("Это текст.");
    Settings.Encoding = "windows-1251";
    const QRect rect = ShowFirstUnit(*TextEncoding::FromUtf8("Это текст.", "windows-1251"));
    EXPECT_EQ(rect, View->UnitRect(shown));
    EXPECT_NE(rect, View->UnitRect(shown.chopped(1)));
}

TEST_F(PaintTest, NoText_PromptInTheStatusColour) {
    Settle();
    EXPECT_FALSE(Ink(QColor(255, 0, 128)).isEmpty());
}

TEST_F(PaintTest, Stopped_StatusAtTheTopLeft) {
    Load(Story);
    View->update();
    Settle();
    const QRect status = Ink(); // "Stoped..."
    EXPECT_GE(status.left(), 10);
    EXPECT_GE(status.top(), 10);
    EXPECT_LT(status.bottom(), 50);
}

// Paused after a move into the second sentence: the first is dimmed, the unit to come
// sits on a band, and the text after it is in the text's colour.
TEST_F(PaintTest, Paused_TheSentenceBeforeDimmedTheUnitOnABandAndWhatFollows) {
    Load(Story);
    ASSERT_TRUE(Settings.SetPosition(38));
    View->SetPlayState(CFlashView::Pause);
    Settle();
    const QColor dimmed((255 * 45 + 0x10 * 55) / 100, (255 * 45 + 0x20 * 55) / 100,
                        (0 * 45 + 0x30 * 55) / 100);
    const QColor band((255 * 22 + 0x10 * 78) / 100, (255 * 22 + 0x20 * 78) / 100,
                      (0 * 22 + 0x30 * 78) / 100);
    EXPECT_FALSE(Ink(dimmed).isEmpty());
    EXPECT_FALSE(Ink(band).isEmpty());
    EXPECT_FALSE(Ink(Tex).isEmpty());
}
} // namespace
