#include "MovePositionPageTestSupport.h"

#include <string>
#include <vector>

namespace {
using Originator = CMovePositionPage::Originator;

// Cut with the default settings into "It was ", "late, and ", "the house was quiet.", ...
const std::string Story = "It was late, and the house was quiet. Nobody moved.\r\n"
                          "The clock on the wall struck twelve.";

class MovePageFollowTest : public MovePageFixture {
protected:
    void SetUp() override {
        MovePageFixture::SetUp();
        Load(Story);
        QObject::connect(View.get(), &CFlashView::AboutToCutUnit, [this] {
            CutAt.push_back(View->Cursor() - Text.c_str());
            LineAtCut.push_back(Line());
            SliderAtCut.push_back(Slider().value());
        });
        QObject::connect(View.get(), &CFlashView::UnitShown,
                         [this] { LineWhenShown.push_back(Line()); });
    }

    // One gap and one show time with the default timing.
    void OneUnit() {
        Advance(Settings.freq);
        Advance(Settings.durat);
    }

    void Advance(uint32_t ms) {
        Fakes.Clock.Advance(ms);
        View->OnTimer();
    }

    QString LineFor(std::ptrdiff_t offset) const {
        return CMovePositionPage::PositionLine(static_cast<int32_t>(offset),
                                               static_cast<int32_t>(Text.size()));
    }

    std::vector<std::ptrdiff_t> CutAt;
    std::vector<QString> LineAtCut;
    std::vector<int> SliderAtCut;
    std::vector<QString> LineWhenShown;
};

TEST_F(MovePageFollowTest, Running_EachUnit_DisplayShowsWhereTheUnitStartsOnceDrawn) {
    View->SetPlayState(CFlashView::Run);
    for (int i = 0; i < 4; ++i) {
        OneUnit();
        ASSERT_EQ(CutAt.size(), static_cast<std::size_t>(i + 1));
        const auto offset = CutAt.back();
        EXPECT_EQ(Line(), LineFor(offset)) << i;
        EXPECT_EQ(Slider().value(), offset) << i;
        QString expected = QString::fromStdString(Text.substr(static_cast<std::size_t>(offset)));
        expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(Preview().toPlainText(), expected) << i;
    }
    EXPECT_EQ(CutAt, (std::vector<std::ptrdiff_t>{0, 7, 17, 37}));
    // At the second cut the controls still showed the first unit's position: the page
    // changes them only once the unit is on the screen.
    EXPECT_EQ(LineAtCut[1], LineFor(0));
    EXPECT_EQ(SliderAtCut[1], 0);
}

TEST_F(MovePageFollowTest, Running_PageHidden_StillFollows) {
    Page->hide();
    View->SetPlayState(CFlashView::Run);
    OneUnit();
    OneUnit();
    EXPECT_EQ(Line(), LineFor(7));
    EXPECT_EQ(Slider().value(), 7);
}

TEST_F(MovePageFollowTest, Running_ManyUnits_BookmarkListKeptWithItsSelection) {
    AddBookmarkAt(17);
    AddBookmarkAt(37);
    Page->Refresh(Originator::None);
    List().setCurrentRow(1);
    QListWidgetItem* const selected = List().item(1);
    View->SetPlayState(CFlashView::Run);
    for (int i = 0; i < 3; ++i)
        OneUnit();
    ASSERT_EQ(List().count(), 2);
    EXPECT_EQ(List().item(1), selected);
    EXPECT_TRUE(selected->isSelected());
}

TEST_F(MovePageFollowTest, Running_SliderMovedMidReading_ReadingGoesOnFromThere) {
    View->SetPlayState(CFlashView::Run);
    OneUnit();
    Slider().setValue(53); // "The clock ..."
    Advance(Settings.freq);
    EXPECT_EQ(CutAt.back(), 53);
    EXPECT_EQ(Line(), LineFor(53));
}

TEST_F(MovePageFollowTest, Running_SliderHeldByTheUser_StaysWhereTheUserHasIt) {
    View->SetPlayState(CFlashView::Run);
    Slider().setSliderDown(true);
    Slider().setValue(40);
    OneUnit();
    EXPECT_EQ(Slider().value(), 40);
    EXPECT_EQ(Line(), LineFor(40));
    Slider().setSliderDown(false);
    OneUnit();
    EXPECT_EQ(Slider().value(), CutAt.back());
}

TEST_F(MovePageFollowTest, Stopped_NoUnitsCut_DisplayUnchanged) {
    ASSERT_TRUE(Settings.SetPosition(17));
    Page->UpdateDisplay(Originator::None);
    Advance(5000);
    EXPECT_TRUE(CutAt.empty());
    EXPECT_EQ(Line(), LineFor(17));
}
} // namespace
