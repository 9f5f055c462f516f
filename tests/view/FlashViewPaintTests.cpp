// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/ColorRef.h"
#include "support/gui/ViewFixture.h"
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
        Settings.BkgColor = RefFromColor(Bkg), Settings.TexColor = RefFromColor(Tex);
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
};

// Each text is a single unit, so that the end comes with its erase.
TEST_F(PaintTest, Unit_ShownThenErased_CentredInkInTextColourThenGoneThenTheEnd) {
    for (const auto& [panel, width] :
         {std::pair{false, 0}, {true, 0}, {false, 100}, {false, -50}, {false, INT32_MAX}}) {
        SCOPED_TRACE(std::to_string(panel) + " " + std::to_string(width));
        View->SetFlag(CFlashView::PanelShownBit, panel);
        Settings.Width = width;
        Load(width < 0 ? "Incomprehensibilities" : "Hello there.");
        View->SetPlayState(CFlashView::Run), Settle(), Advance(Settings.freq);
        const QRect rect = View->ShownUnitRect();
        EXPECT_EQ(rect.center().y(), (panel ? 240 : 300) - (rect.height() + 1) % 2);
        EXPECT_EQ(rect.left(), 400 - rect.width() / 2);
        EXPECT_TRUE(rect.contains(Ink()));
        EXPECT_FALSE(Ink(Tex).isEmpty());
        Advance(Settings.durat);
        EXPECT_FALSE(Ink().intersects(rect));
        EXPECT_EQ(Fakes.Dialogs.Messages.back().Text, "The End");
        EXPECT_EQ(Fakes.Dialogs.Messages.back().Icon, MessageIcon::None);
        Fakes.Dialogs.Messages.clear();
    }
}

TEST_F(PaintTest, NotRunning_StatusAtTheTopLeftAndWhenPausedA63BytePreviewOfWholeCharacters) {
    Settle();
    EXPECT_TRUE(Ink().contains(Ink(QColor(255, 0, 128)))); // the prompt for a text
    Load(Story);
    View->update(), Settle();
    EXPECT_GE(std::min(Ink().left(), Ink().top()), 10); // "Stoped..."
    EXPECT_LT(Ink().bottom(), 50);
    const std::string cut = std::string(62, 'a') + "\xC3\xA9 and more";
    const std::tuple<std::string, int32_t, QString> cases[] = {
        {Story, 0, QString::fromLatin1(Story.c_str(), 63)},
        {Story, static_cast<int32_t>(Story.size()) - 8, QStringLiteral("not one.")},
        {cut, 0, QString(62, QLatin1Char('a'))}};
    for (const auto& [text, position, expected] : cases) {
        SCOPED_TRACE(expected.toStdString());
        Load(text);
        ASSERT_TRUE(Settings.SetPosition(position));
        View->SetPlayState(CFlashView::Pause), Settle();
        QImage preview(View->size(), QImage::Format_RGB32);
        QPainter painter(&preview);
        painter.fillRect(preview.rect(), Bkg), painter.setPen(Tex);
        CUnitLayout(expected, View->DisplayFont(), Settings.Width)
            .Draw(painter, View->UnitRect(expected).topLeft());
        EXPECT_EQ(Pixels().convertToFormat(QImage::Format_RGB32).copy(0, 50, 800, 550),
                  preview.copy(0, 50, 800, 550));
    }
}
} // namespace
