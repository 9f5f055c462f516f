// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestSupport.h"
#include "support/gui/ControlLookup.h"

#include "app/ReadingPane.h"
#include "panel/MovePositionPage.h"
#include "panel/OptionsPanel.h"

#include <QLabel>
#include <QListWidget>
#include <QSlider>
#include <QTest>

namespace {
constexpr int SliderId = 1039;
constexpr int PositionId = 1041;

struct ReadingPaneTest : AppFixture {
    void SetUp() override {
        AppFixture::SetUp();
        OpenFromMenu(WriteText(QStringLiteral("story.txt"), Story));
        Frame->ExecuteCommand(CommandId::MovePosition);
    }
    QString PaneText() const { return Frame->findChild<CReadingPane*>()->text(); }
    // The pane's leading percentage, "42%".
    std::string PanePercent() const { return PaneText().section('%', 0, 0).toStdString(); }
    // The move position page's whole percentage, "42" of "pos = 9 (42.85% )".
    std::string PagePercent() const {
        const QString line = ControlById<QLabel>(Page(), PositionId)->text();
        return line.section(QLatin1Char('('), 1).section(QLatin1Char('.'), 0, 0).toStdString();
    }
    CMovePositionPage& Page() const { return *Frame->View().OptionsPanel()->MovePage(); }

    static constexpr const char* Story = "It was late, and the house was quiet. Nobody moved. "
                                         "The clock on the wall struck twelve.";
};

TEST_F(ReadingPaneTest, WhileRunning_ThePercentIsThePagesAtEveryUnit) {
    Frame->ExecuteCommand(CommandId::Run);
    for (int phase = 0; phase < 7; ++phase) {
        SCOPED_TRACE(phase);
        Advance(1);
        EXPECT_EQ(PanePercent(), PagePercent());
    }
}

TEST_F(ReadingPaneTest, SliderHeld_ThePaneFollowsItsValue) {
    auto* slider = ControlById<QSlider>(Page(), SliderId);
    slider->setSliderDown(true);
    slider->setValue(44);
    EXPECT_EQ(PanePercent(), PagePercent());
    EXPECT_EQ(PanePercent(), "50");
}

TEST_F(ReadingPaneTest, AfterTheEnd_CountsTheWholeTextAgain) {
    Frame->ExecuteCommand(CommandId::Run);
    Advance(40);
    ASSERT_FALSE(View().PlayFlags() & CFlashView::RunningBit);
    const auto countedAgain = [this] {
        return !PaneText().contains(QStringLiteral(" 0 s left"));
    };
    EXPECT_TRUE(QTest::qWaitFor(countedAgain, 5000)) << PaneText().toStdString();
    EXPECT_TRUE(PaneText().startsWith(QStringLiteral("0%")));
}
// Run > Pace by content: the time left is the paced units' (their --schedule sums to
// 10.9 s, against 6.6 s unpaced).
TEST_F(ReadingPaneTest, PaceByContent_TheTimeLeftIsThePacedUnits) {
    const auto says = [this](const char* left) {
        return QTest::qWaitFor([&] { return PaneText().contains(QLatin1String(left)); }, 5000);
    };
    EXPECT_TRUE(says(" 7 s left")) << PaneText().toStdString();
    Frame->ExecuteCommand(CommandId::PaceByContent);
    EXPECT_TRUE(says(" 11 s left")) << PaneText().toStdString();
}

// A text with chapters: the pane names the chapter and its time left, Page Down moves to
// the next chapter and the chapter list of the move position page moves back.
TEST_F(ReadingPaneTest, Chapters_PaneNamesTheChapterAndPageDownAndTheListMove) {
    OpenFromMenu(WriteText(QStringLiteral("chapters.txt"),
                           "Chapter 1\n\nOne two three four.\n\nChapter 2\n\nFive six."));
    const auto says = [this](const char* text) {
        return QTest::qWaitFor([&] { return PaneText().startsWith(QString::fromUtf8(text)); },
                               5000);
    };
    EXPECT_TRUE(says("Ch 1/2 \xC2\xB7 0% \xC2\xB7 ")) << PaneText().toStdString();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return PaneText().contains(QLatin1String("left in chapter")); }, 5000))
        << PaneText().toStdString();
    Frame->ExecuteCommand(CommandId::ChapterForward);
    EXPECT_EQ(Frame->Session().Place(), 32);
    EXPECT_TRUE(says("Ch 2/2 \xC2\xB7 61% \xC2\xB7 2 s left in chapter \xC2\xB7 2 s"))
        << PaneText().toStdString();
    auto* list = Page().findChild<QListWidget*>(QStringLiteral("ChapterList"));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 2);
    list->itemClicked(list->item(0));
    EXPECT_EQ(Frame->Session().Place(), 0);
}
} // namespace
