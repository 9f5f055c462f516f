#include "PanelTestSupport.h"

namespace {
enum : int { SliderId = 1039, ListId = 1040, BackId = 1006, ForwardId = 1007, StepEditId = 1042 };

struct MovePageTest : PanelFixture {
    MovePageTest() { Panel.SelectPage(COptionsPanel::MovePosition); }
    template <typename T> T& Ctl(int id) { return *ControlById<T>(*Panel.MovePage(), id); }
    QString Line() { return Ctl<QLabel>(1041).text(); } // the position line
};

TEST_F(MovePageTest, Position_SliderStepEditAndStepButtonsMoveTheCursor) {
    EXPECT_FALSE(Panel.MovePage()->isEnabled()); // no text yet
    Load("");
    EXPECT_EQ(Line(), "pos = 0 (0.00% )");
    Settings.Book.Step = 600; // from a settings file: the spin holds it within its range
    Load(std::string(100, 'a'));
    Ctl<QSlider>(SliderId).setValue(29);
    EXPECT_EQ(std::tuple(Settings.Book.Step, Offset(), Line()),
              std::tuple(512, 29, "pos = 29 (28.99% )")); // cut, not rounded
    for (const auto& [typed, step] : {std::pair("7a0000", 4464), {"1234567", 57920}, {"10", 10}}) {
        Ctl<QLineEdit>(StepEditId).selectAll(); // digits only, six at most, kept to 16 bits
        QTest::keyClicks(&Ctl<QLineEdit>(StepEditId), QString::fromLatin1(typed));
        EXPECT_EQ(Settings.Book.Step, step) << typed;
    }
    for (const int id : {BackId, BackId, ForwardId})
        Ctl<QPushButton>(id).click();
    EXPECT_EQ(std::pair(Offset(), Ctl<QSlider>(SliderId).value()), std::pair(19, 19));
}

TEST_F(MovePageTest, Display_EntriesPreviewAndTheChosenEntryThenFollowsTheUnitsShown) {
    for (const int32_t at : {0, 13, 5000})
        Settings.Book.Bookmarks[Settings.Book.BookmarksNum++] = at;
    Load("\nFirst line\r\nSecond line\rthird", 26); // the text ends within its buffer
    QListWidget& list = Ctl<QListWidget>(ListId);
    EXPECT_EQ(list.item(0)->text() + '|' + list.item(1)->text() + '|' + list.item(2)->text(),
              QChar(0x240A) + QString("First line|Second line|5000 (outside the text)"));
    EXPECT_EQ(Ctl<QPlainTextEdit>(1002).toPlainText(), "\nFirst line\nSecond line\nt"); // preview
    list.setCurrentRow(1);
    Settings.SetPosition(3); // read on: a click on the same entry goes back to it
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(1)).center());
    EXPECT_EQ(Offset(), 13);
    const auto cycle = [this](int32_t cutAt) {
        Settings.SetPosition(cutAt);
        Panel.OnAboutToCutUnit();
        Settings.MoveBy(1); // the unit is cut, the cursor moves past it
        EXPECT_EQ(Line(), CMovePositionPage::PositionLine(cutAt - 2, 26)); // not yet
        Panel.OnUnitShown();
        EXPECT_EQ(Line(), CMovePositionPage::PositionLine(cutAt, 26));
    };
    cycle(15);
    Panel.MovePage()->hide(); // hidden, it still follows
    cycle(17);
    Ctl<QSlider>(SliderId).setSliderDown(true); // held, it stays
    cycle(19);
    EXPECT_EQ(std::pair(Ctl<QSlider>(SliderId).value(), list.item(1)->isSelected()),
              std::pair(17, true)); // the list is left as it is
}
} // namespace
