#include "MovePositionPageTestSupport.h"

#include <QToolButton>

#include <algorithm>
#include <string>
#include <vector>

namespace {
using Originator = CMovePositionPage::Originator;

std::string Filler(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes)
        text += "abcdefghij";
    text.resize(bytes);
    return text;
}

// --- position line -------------------------------------------------------------------

TEST(PositionLine, OffsetOfLength_PercentCutToHundredths) {
    const struct {
        int32_t Offset, Length;
        const char* Expected;
    } cases[] = {{0, 8, "pos = 0 (0.00% )"},      {1, 8, "pos = 1 (12.50% )"},
                 {1, 200, "pos = 1 (0.50% )"},    {1, 3, "pos = 1 (33.33% )"},
                 {29, 100, "pos = 29 (28.99% )"}, {1234, 10000, "pos = 1234 (12.33% )"},
                 {77, 77, "pos = 77 (100.00% )"}, {0, 0, "pos = 0 (0.00% )"}};
    for (const auto& c : cases)
        EXPECT_EQ(CMovePositionPage::PositionLine(c.Offset, c.Length),
                  QString::fromLatin1(c.Expected))
            << c.Offset << " of " << c.Length;
}

using MovePageTest = MovePageFixture;

TEST_F(MovePageTest, PositionLine_NoTextThenEmptyText_PercentSignThenZeroPercent) {
    EXPECT_EQ(Line(), QStringLiteral("%"));
    Load("");
    EXPECT_EQ(Line(), QStringLiteral("pos = 0 (0.00% )"));
    EXPECT_EQ(Slider().maximum(), 0);
}

TEST_F(MovePageTest, PositionLine_CursorOnTheTerminator_HundredPercentEmptyPreview) {
    Load(Filler(77));
    ASSERT_TRUE(Settings.Book.SetOffset(77)); // as a settings file can leave it
    Page->UpdateDisplay(Originator::None);
    EXPECT_EQ(Line(), QStringLiteral("pos = 77 (100.00% )"));
    EXPECT_EQ(Slider().value(), 77);
    EXPECT_TRUE(Preview().toPlainText().isEmpty());
}

// --- template --------------------------------------------------------------------------

TEST_F(MovePageTest, Template_EveryControlWithIdKindAndText) {
    EXPECT_NE(Control<QSlider>(*Page, SliderId), nullptr);
    auto* bookmarks = Control<QPushButton>(*Page, BookmarksButtonId);
    ASSERT_NE(bookmarks, nullptr);
    EXPECT_EQ(bookmarks->text(), QStringLiteral("Bookmarks..."));
    ASSERT_NE(Control<QLabel>(*Page, PositionLineId), nullptr);
    EXPECT_EQ(PositionLine().alignment(), Qt::AlignCenter);
    EXPECT_EQ(PositionLine().frameShadow(), QFrame::Sunken);
    ASSERT_NE(Control<QListWidget>(*Page, BookmarkListId), nullptr);
    EXPECT_FALSE(List().isSortingEnabled());
    for (const auto& [id, text] : {std::pair{int(BackId), "<"}, std::pair{int(ForwardId), ">"}}) {
        auto* button = Control<QPushButton>(*Page, id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->text(), QString::fromLatin1(text));
        EXPECT_TRUE(button->isFlat());
    }
    ASSERT_NE(Control<QPlainTextEdit>(*Page, PreviewId), nullptr);
    EXPECT_TRUE(Preview().isReadOnly());
    ASSERT_NE(Control<QLineEdit>(*Page, StepEditId), nullptr);
    EXPECT_TRUE(StepEdit().alignment() & Qt::AlignRight);
    EXPECT_NE(Control<QWidget>(*Page, StepSpinId), nullptr);
    const auto labels = Page->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(),
                            [](QLabel* l) { return l->text() == QStringLiteral("step:"); }));
}

TEST_F(MovePageTest, Template_TabOrder_FollowsTheTemplate) {
    const std::vector<QWidget*> expected{&Slider(),  Control<QWidget>(*Page, BookmarksButtonId),
                                         &List(),    &Back(),
                                         &Forward(), &Preview(),
                                         &StepEdit()};
    EXPECT_EQ(FocusChain(&Slider(), expected.size(),
                         [this](QWidget* w) { return Page->isAncestorOf(w); }),
              expected);
}

TEST_F(MovePageTest, Template_AtHostSize_NoTextClipped) {
    View->show();
    Load(Filler(1'000'000)); // the widest position line: 'pos = 999999 (99.99% )'
    Slider().setValue(999'999);
    QCoreApplication::processEvents();
    ExpectNothingClipped(*Page);
}

// --- enabling ------------------------------------------------------------------------

TEST_F(MovePageTest, Enabling_NoTextThenText_DisabledThenEnabled) {
    EXPECT_FALSE(Page->isEnabled());
    QTest::keyClicks(&StepEdit(), QStringLiteral("9"));
    EXPECT_EQ(Settings.Book.Step, 1);

    Load(Filler(100));
    EXPECT_TRUE(Page->isEnabled());
    QTest::mouseClick(&Forward(), Qt::LeftButton);
    EXPECT_EQ(Offset(), 1);

    View->SetText(nullptr);
    Page->Refresh(Originator::None);
    EXPECT_FALSE(Page->isEnabled());
}

// --- slider ----------------------------------------------------------------------------

TEST_F(MovePageTest, Slider_Moved_SetsPositionAndDisplay) {
    Load("0123456789");
    Slider().setValue(4);
    EXPECT_EQ(Offset(), 4);
    EXPECT_EQ(Line(), QStringLiteral("pos = 4 (40.00% )"));
    EXPECT_EQ(Preview().toPlainText(), QStringLiteral("456789"));
}

TEST_F(MovePageTest, Slider_DraggedToTheRightEnd_PositionStaysAtLastReachedSliderAtEnd) {
    Load("0123456789");
    Slider().setSliderDown(true);
    for (int value = 7; value <= 10; ++value)
        Slider().setValue(value);
    Slider().setSliderDown(false);
    EXPECT_EQ(Offset(), 9);
    EXPECT_EQ(Slider().value(), 10);
    EXPECT_EQ(Line(), QStringLiteral("pos = 9 (90.00% )"));
}

TEST_F(MovePageTest, Slider_PageStepAndRange_FollowTheText) {
    Load(Filler(1000));
    EXPECT_EQ(Slider().maximum(), 1000);
    Slider().triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Offset(), 64);
}

// --- step buttons, step edit and spin --------------------------------------------------

TEST_F(MovePageTest, StepButton_Clicked_MovesByStepOrRefuses) {
    Load(Filler(100));
    const struct {
        int32_t Start;
        uint16_t Step;
        int Direction;
        int32_t Expected;
    } cases[] = {{5, 10, -1, 5},                                       // not clamped to 0
                 {20, 10, -1, 10},  {5, 10, +1, 15}, {90, 10, +1, 90}, // would reach the end
                 {89, 10, +1, 99},  {50, 0, +1, 50},                   // step 0 moves nothing
                 {10, 600, -1, 10},                                    // beyond the spin's range
                 {0, 99, +1, 99}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Start << " by " << c.Step * c.Direction);
        ASSERT_TRUE(Settings.SetPosition(c.Start));
        Settings.Book.Step = c.Step;
        QTest::mouseClick(c.Direction < 0 ? &Back() : &Forward(), Qt::LeftButton);
        EXPECT_EQ(Offset(), c.Expected);
        EXPECT_EQ(Line(), CMovePositionPage::PositionLine(c.Expected, 100));
        EXPECT_EQ(Slider().value(), c.Expected);
        EXPECT_EQ(Settings.Book.Step, c.Step); // the buttons leave the step edit alone
    }
}

TEST_F(MovePageTest, StepEdit_Typed_StoresLowSixteenBitsWithoutRangeCheck) {
    Load(Filler(100));
    const std::pair<const char*, uint16_t> cases[] = {{"600", 600},
                                                      {"0", 0},
                                                      {"70000", 4464},
                                                      {"1234567", 57920}, // first six digits only
                                                      {"1x2", 12}};       // digits only
    for (const auto& [typed, step] : cases) {
        StepEdit().selectAll();
        QTest::keyClicks(&StepEdit(), QString::fromLatin1(typed));
        EXPECT_EQ(Settings.Book.Step, step) << typed;
    }
}

TEST(StepFromText, SignsBlanksAndGarbage_ReadAsLeadingDecimal) {
    EXPECT_EQ(CMovePositionPage::StepFromText(QStringLiteral("  42")), 42);
    EXPECT_EQ(CMovePositionPage::StepFromText(QStringLiteral("-1")), 65535);
    EXPECT_EQ(CMovePositionPage::StepFromText(QStringLiteral("+7abc")), 7);
    EXPECT_EQ(CMovePositionPage::StepFromText(QStringLiteral("abc")), 0);
    EXPECT_EQ(CMovePositionPage::StepFromText(QString()), 0);
}

TEST_F(MovePageTest, Refresh_StepFromFile_SpinKeepsItWithinItsRange) {
    Load(Filler(100));
    const std::pair<uint16_t, uint16_t> cases[] = {{37, 37}, {0, 1}, {600, 512}, {40000, 512}};
    for (const auto& [stored, kept] : cases) {
        Settings.Book.Step = stored;
        Page->Refresh(Originator::None);
        EXPECT_EQ(Settings.Book.Step, kept) << stored;
        EXPECT_EQ(StepEdit().text(), QString::number(kept)) << stored;
    }
}

TEST_F(MovePageTest, StepSpin_ArrowsAndKeys_StayWithinOneTo512) {
    Load(Filler(100));
    auto arrows = Control<QWidget>(*Page, StepSpinId)->findChildren<QToolButton*>();
    ASSERT_EQ(arrows.size(), 2);
    QToolButton* up = arrows[0]->arrowType() == Qt::UpArrow ? arrows[0] : arrows[1];
    QToolButton* down = up == arrows[0] ? arrows[1] : arrows[0];

    QTest::mouseClick(down, Qt::LeftButton); // at 1 already
    EXPECT_EQ(Settings.Book.Step, 1);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(Settings.Book.Step, 2);
    EXPECT_EQ(StepEdit().text(), QStringLiteral("2"));

    StepEdit().selectAll();
    QTest::keyClicks(&StepEdit(), QStringLiteral("600"));
    QTest::keyClick(&StepEdit(), Qt::Key_Up); // from the top of the range
    EXPECT_EQ(Settings.Book.Step, 512);
    QTest::keyClick(&StepEdit(), Qt::Key_Down);
    EXPECT_EQ(Settings.Book.Step, 511);
}

// --- bookmark list ---------------------------------------------------------------------

const QString LF(QChar(0x240A));
const QString CR(QChar(0x240D));

TEST(BookmarkEntry, Bytes_CutAtFirstLineBreakAfterText) {
    const std::pair<std::string, QString> cases[] = {
        {"First line\r\nSecond", QStringLiteral("First line")},
        {"\nLeading\nnext", LF + QStringLiteral("Leading")},
        {"\r\n\r\n", CR + LF + CR + LF}, // only breaks: kept whole
        {std::string(40, 'x'), QString(31, QLatin1Char('x'))},
        // the 31st byte opens a two-byte character: no broken half shown
        {std::string(30, 'a') + "\xC3\xA9", QString(30, QLatin1Char('a'))},
        {"", QString()}};
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(CMovePositionPage::BookmarkEntry(bytes), expected) << bytes;
}

TEST_F(MovePageTest, BookmarkList_Rebuilt_OneEntryPerBookmarkWithOffsetAsData) {
    Load("First line\r\nSecond line\n\nThird");
    // 5000 and -3: a text shortened since; 30: the end of the text, nothing to show.
    for (const int32_t offset : {0, 12, 23, 5000, -3, 30, 25})
        AddBookmarkAt(offset);
    Page->Refresh(Originator::None);

    const std::vector<std::pair<QString, int>> expected{
        {QStringLiteral("First line"), 0},
        {QStringLiteral("Second line"), 12},
        {LF + LF + QStringLiteral("Third"), 23},
        {QStringLiteral("5000 (outside the text)"), 5000},
        {QStringLiteral("-3 (outside the text)"), -3},
        {QString(), 30},
        {QStringLiteral("Third"), 25}};
    ASSERT_EQ(List().count(), static_cast<int>(expected.size()));
    for (int i = 0; i < List().count(); ++i) {
        EXPECT_EQ(List().item(i)->text(), expected[i].first) << i;
        EXPECT_EQ(List().item(i)->data(Qt::UserRole).toInt(), expected[i].second) << i;
    }

    // A bookmark added later shows at the next refresh.
    ASSERT_TRUE(Settings.SetPosition(20));
    Settings.AddBookmark();
    Page->Refresh(Originator::None);
    ASSERT_EQ(List().count(), 8);
    EXPECT_EQ(List().item(7)->data(Qt::UserRole).toInt(), 20);
}

TEST_F(MovePageTest, BookmarkList_EntrySelected_JumpsAndKeepsSelection) {
    Load(Filler(200));
    AddBookmarkAt(40);
    AddBookmarkAt(120);
    Page->Refresh(Originator::None);
    QListWidgetItem* second = List().item(1);

    List().setCurrentRow(1);
    EXPECT_EQ(Offset(), 120);
    EXPECT_EQ(Line(), QStringLiteral("pos = 120 (60.00% )"));
    EXPECT_EQ(Slider().value(), 120);
    EXPECT_EQ(List().item(1), second); // not rebuilt
    EXPECT_TRUE(second->isSelected());

    // Read on, then a click on the same entry goes back to it.
    ASSERT_TRUE(Settings.SetPosition(150));
    const QRect rect = List().visualItemRect(second);
    QTest::mouseClick(List().viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(Offset(), 120);
}

TEST_F(MovePageTest, BookmarkList_OutsideEntrySelected_PositionUnchangedDisplayShown) {
    Load(Filler(100));
    AddBookmarkAt(5000);
    AddBookmarkAt(10);
    Page->Refresh(Originator::None);
    ASSERT_TRUE(Settings.SetPosition(33));
    List().setCurrentRow(0);
    EXPECT_EQ(Offset(), 33);
    EXPECT_EQ(Line(), QStringLiteral("pos = 33 (33.00% )"));
    List().setCurrentRow(1);
    EXPECT_EQ(Offset(), 10);
}

// --- preview -------------------------------------------------------------------------

TEST_F(MovePageTest, Preview_LongText_AtMost1023BytesFromTheCursorNoBrokenHalf) {
    Load(Filler(3000));
    ASSERT_TRUE(Settings.SetPosition(7));
    Page->UpdateDisplay(Originator::None);
    EXPECT_EQ(Preview().toPlainText(), QString::fromStdString(Text.substr(7, 1023)));

    Load(std::string(1022, 'a') + "\xC3\xA9" + "tail"); // a character cut by the limit
    Page->UpdateDisplay(Originator::None);
    EXPECT_EQ(Preview().toPlainText(), QString(1022, QLatin1Char('a')));
}

TEST_F(MovePageTest, Preview_NearTheEnd_StopsAtTheTerminatorLineBreaksShown) {
    Load("one\r\ntwo\rthree");
    ASSERT_TRUE(Settings.SetPosition(1));
    Page->UpdateDisplay(Originator::None);
    EXPECT_EQ(Preview().toPlainText(), QStringLiteral("ne\ntwo\nthree"));
}

TEST_F(MovePageTest, Preview_TextLengthShorterThanBuffer_NeverReadsPastTheText) {
    // A buffer whose stated length ends before its NUL: the page keeps to the length.
    Text = "0123456789";
    Settings.TextLength = 4;
    View->SetText(Text.c_str());
    Page->Refresh(Originator::None);
    EXPECT_EQ(Preview().toPlainText(), QStringLiteral("0123"));
}
} // namespace
