#include "PanelTestSupport.h"

namespace {
enum : int { SliderId = 1039, LineId = 1041, ListId = 1040, BackId = 1006, ForwardId = 1007 };
enum : int { PreviewId = 1002, StepEditId = 1042 };

struct MovePageTest : PanelFixture {
    void SetUp() override {
        PanelFixture::SetUp();
        Panel->SelectPage(COptionsPanel::MovePosition);
        Page = Panel->MovePage();
    }
    QSlider& Slider() { return Ctl<QSlider>(Page, SliderId); }
    QListWidget& List() { return Ctl<QListWidget>(Page, ListId); }
    QString Line() { return Ctl<QLabel>(Page, LineId).text(); }
    QString Preview() { return Ctl<QPlainTextEdit>(Page, PreviewId).toPlainText(); }
    void Bookmark(int32_t at) { Settings.Book.Bookmarks[Settings.Book.BookmarksNum++] = at; }
    CMovePositionPage* Page = nullptr;
};

TEST_F(MovePageTest, SliderStepButtonsAndStepEdit_MoveWhereExpected) {
    EXPECT_FALSE(Page->isEnabled()); // no text yet
    Load("");
    EXPECT_EQ(Line(), QStringLiteral("pos = 0 (0.00% )"));
    Load(std::string(100, 'a'));
    Slider().setValue(29);
    EXPECT_EQ(Line(), QStringLiteral("pos = 29 (28.99% )")); // cut, not rounded
    Slider().triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Offset(), 29 + 64);
    // start, step, direction, where it lands: never clamped, refused when beyond the text
    const int cases[][4] = {
        {5, 10, -1, 5}, {20, 10, -1, 10}, {90, 10, 1, 90}, {89, 10, 1, 99}, {10, 600, -1, 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << " by " << c[1] * c[2]);
        Settings.SetPosition(c[0]);
        Settings.Book.Step = static_cast<uint16_t>(c[1]);
        Ctl<QPushButton>(Page, c[2] < 0 ? BackId : ForwardId).click();
        EXPECT_EQ(std::pair(Offset(), Slider().value()), std::pair(c[3], c[3]));
    }
    for (const auto& [typed, step] : {std::pair("70000", 4464), {"1234567", 57920}, {"0", 0}}) {
        Ctl<QLineEdit>(Page, StepEditId).selectAll(); // kept to 16 bits, six digits at most
        QTest::keyClicks(&Ctl<QLineEdit>(Page, StepEditId), QString::fromLatin1(typed));
        EXPECT_EQ(Settings.Book.Step, step) << typed;
    }
    Settings.Book.Step = 600; // from a settings file: the spin holds it within its range
    Panel->Refresh();
    EXPECT_EQ(Settings.Book.Step, 512);
}

TEST_F(MovePageTest, BookmarksAndPreview_CutAtALineBreakOrTheTextChosenEntryJumps) {
    for (const int32_t at : {0, 13, 5000})
        Bookmark(at);
    Load("\nFirst line\r\nSecond line");
    EXPECT_EQ(List().item(0)->text(), QChar(0x240A) + QStringLiteral("First line"));
    EXPECT_EQ(List().item(1)->text(), QStringLiteral("Second line"));
    EXPECT_EQ(List().item(2)->text(), QStringLiteral("5000 (outside the text)"));
    List().setCurrentRow(1);
    Settings.SetPosition(3); // read on: a click on the same entry goes back to it
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {},
                      List().visualItemRect(List().item(1)).center());
    EXPECT_EQ(Offset(), 13);
    Load(std::string(1022, 'a') + "\xC3\xA9" + "tail"); // the preview: 1023 bytes, no half
    EXPECT_EQ(Preview(), QString(1022, 'a'));
    EXPECT_EQ(List().item(0)->text(), QString(31, 'a')); // an entry: 31 bytes at most
    Load("one\r\ntwo\rthree");
    EXPECT_EQ(Preview(), QStringLiteral("one\ntwo\nthree"));
    Load("0123456789", 4);
    EXPECT_EQ(Preview(), QStringLiteral("0123"));
}

TEST_F(MovePageTest, Reading_DisplayFollowsOnceTheUnitIsShownSliderHeldStays) {
    Bookmark(50);
    Load(std::string(100, 'a'));
    List().setCurrentRow(0);
    const auto cycle = [this](int32_t cutAt) {
        Settings.SetPosition(cutAt);
        Panel->OnAboutToCutUnit();
        Settings.MoveBy(5); // the unit is cut, the cursor moves past it
        EXPECT_EQ(Line(), CMovePositionPage::PositionLine(cutAt - 10, 100)); // not yet
        Panel->OnUnitShown();
        EXPECT_EQ(Line(), CMovePositionPage::PositionLine(cutAt, 100));
    };
    cycle(60);
    Page->hide(); // hidden, it still follows
    cycle(70);
    EXPECT_EQ(Slider().value(), 70);
    EXPECT_TRUE(List().item(0)->isSelected()); // the list is left as it is
    Slider().setSliderDown(true);
    cycle(80);
    EXPECT_EQ(Slider().value(), 70);
}
} // namespace
