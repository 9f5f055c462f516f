#include "PanelTestSupport.h"

#include "panel/ColorSwatch.h"
#include "panel/ReadingOptionsPage.h"

#include <QImage>
#include <QPushButton>

#include <string>
#include <vector>

namespace {

enum : int {
    BetweenId = 1002,
    DurationId = 1003,
    MaxSimbId = 1021,
    MinSimbId = 1022,
    WidthId = 1010,
    StopSymbolsId = 1011,
    UnconditionalId = 1012,
    SwatchId = 1017,
    TextColorId = 1006,
    ShiftForwardId = 1036,
    ShiftBackId = 1038,
};

// The page as the panel hosts it, at the size of the page host's client area.
class ReadingPageFixture : public PanelViewFixture {
protected:
    void SetUp() override {
        PanelViewFixture::SetUp();
        Page = new CReadingOptionsPage(Settings, *View, Fakes.Dialogs, View.get());
        Page->setGeometry(2, ViewHeight - CFlashView::PanelHeight + 2, 381, 117);
        View->show();
    }

    QSpinBox& Spin(int id) { return *ControlIn<QSpinBox>(*Page, id); }
    QLineEdit& Edit(int id) { return *ControlIn<QLineEdit>(*Page, id); }
    QPushButton& Button(int id) { return *ControlIn<QPushButton>(*Page, id); }
    CColorSwatch& Swatch() { return *ControlIn<CColorSwatch>(*Page, SwatchId); }
    QString SpinText(int id) { return Spin(id).findChild<QLineEdit*>()->text(); }

    // Selects the whole edit and types over it; an empty text deletes it.
    void TypeOver(int id, const QString& text) {
        QSpinBox& spin = Spin(id);
        spin.setFocus();
        spin.selectAll();
        if (text.isEmpty())
            QTest::keyClick(&spin, Qt::Key_Backspace);
        else
            QTest::keyClicks(&spin, text);
    }

    std::string StopSymbols() const { return Settings.StopSimbols; }

    CReadingOptionsPage* Page = nullptr; // owned by the view
};

using ReadingPageTest = ReadingPageFixture;

// --- template ----------------------------------------------------------------------

TEST_F(ReadingPageTest, Template_EveryControlWithIdKindAndText) {
    for (const int id : {BetweenId, DurationId, MaxSimbId, MinSimbId, WidthId})
        EXPECT_NE(ControlIn<QSpinBox>(*Page, id), nullptr) << id;
    for (const auto& [id, text] : {std::pair{int(ShiftBackId), "<"},
                                   {int(ShiftForwardId), ">"},
                                   {int(TextColorId), "Text color"}}) {
        auto* button = ControlIn<QPushButton>(*Page, id);
        ASSERT_NE(button, nullptr) << id;
        EXPECT_EQ(button->text(), QString::fromLatin1(text));
        EXPECT_TRUE(button->isFlat());
    }
    ASSERT_NE(ControlIn<QLineEdit>(*Page, StopSymbolsId), nullptr);
    ASSERT_NE(ControlIn<QLineEdit>(*Page, UnconditionalId), nullptr);
    EXPECT_TRUE(Edit(UnconditionalId).isReadOnly());
    EXPECT_FALSE(Edit(StopSymbolsId).isReadOnly());
    EXPECT_NE(ControlIn<CColorSwatch>(*Page, SwatchId), nullptr);
    QStringList labels;
    for (QLabel* label : Page->findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"Between:", "Duration:", "MAX simb", "min simb",
                             "Text width:", "Stop-simbols:", "Unconditional stop-simbols:"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
}

TEST_F(ReadingPageTest, Template_TabOrder_FollowsTheTemplate) {
    const std::vector<QWidget*> expected{
        &Spin(BetweenId),        &Spin(DurationId),    &Spin(MaxSimbId),     &Spin(MinSimbId),
        &Spin(WidthId),          &Edit(StopSymbolsId), &Button(ShiftBackId), &Edit(UnconditionalId),
        &Button(ShiftForwardId), &Button(TextColorId)};
    // A spin box's own line edit follows it in the chain.
    const auto chain = FocusChain(expected.front(), expected.size(), [this](QWidget* w) {
        return Page->isAncestorOf(w) && !qobject_cast<QSpinBox*>(w->parentWidget());
    });
    EXPECT_EQ(chain, expected);
}

TEST_F(ReadingPageTest, Template_AtHostSize_NothingClipped) {
    QCoreApplication::processEvents();
    ExpectNothingClipped(*Page);
}

// --- initial state -----------------------------------------------------------------

TEST_F(ReadingPageTest, DefaultsThenChangedElsewhere_ShownInEveryControlAtRefresh) {
    EXPECT_EQ(SpinText(BetweenId), QStringLiteral("400"));
    EXPECT_EQ(SpinText(DurationId), QStringLiteral("700"));
    EXPECT_EQ(SpinText(MaxSimbId), QStringLiteral("32"));
    EXPECT_EQ(SpinText(MinSimbId), QStringLiteral("12"));
    EXPECT_EQ(SpinText(WidthId), QStringLiteral("600"));
    EXPECT_EQ(Edit(StopSymbolsId).text(), QStringLiteral(",;.:?!\\n\\r"));
    EXPECT_EQ(Edit(UnconditionalId).text(), QStringLiteral(".:?!\\n\\r"));
    EXPECT_EQ(Swatch().Color(), 0x00FFFFFFu);

    Settings.freq = 123;
    Settings.MinText = 7;
    Settings.TexColor = 0x00336699;
    Settings.UcOffset = 3;
    Page->Refresh();
    EXPECT_EQ(SpinText(BetweenId), QStringLiteral("123"));
    EXPECT_EQ(SpinText(MinSimbId), QStringLiteral("7"));
    EXPECT_EQ(Swatch().Color(), 0x00336699u);
    EXPECT_EQ(Edit(UnconditionalId).text(), QStringLiteral(":?!\\n\\r"));
}

TEST_F(ReadingPageTest, Refresh_ValuesBeyondTheRanges_GoToTheNearestBoundAndAreStored) {
    Settings.Width = 5000;
    Settings.MaxText = -3;
    Settings.MinText = 70000;
    Settings.freq = 0;
    Settings.durat = 0xFFFFFFFFu;
    Page->Refresh();
    EXPECT_EQ(Settings.Width, 3000);
    EXPECT_EQ(SpinText(WidthId), QStringLiteral("3000"));
    EXPECT_EQ(Settings.MaxText, 1);
    EXPECT_EQ(Settings.MinText, 999);
    EXPECT_EQ(Settings.freq, 1u);
    EXPECT_EQ(Settings.durat, 30000u);
    EXPECT_EQ(SpinText(DurationId), QStringLiteral("30000"));
}

// --- numeric edits -----------------------------------------------------------------

TEST_F(ReadingPageTest, NumericEdit_Typed_StoredAndShown) {
    const auto field = [this](int id) -> int64_t {
        return id == BetweenId    ? int64_t{Settings.freq}
               : id == DurationId ? int64_t{Settings.durat}
               : id == MaxSimbId  ? int64_t{Settings.MaxText}
               : id == MinSimbId  ? int64_t{Settings.MinText}
                                  : int64_t{Settings.Width};
    };
    const struct {
        int Id;
        const char* Typed; // over the whole edit; empty deletes it
        int64_t Stored;
        const char* Shown;
    } cases[] = {{BetweenId, "250", 250, "250"},   {BetweenId, "", 1, "1"},
                 {BetweenId, "40000", 1, "1"},     {BetweenId, "0", 1, "1"},
                 {BetweenId, "12ab3", 123, "123"}, {DurationId, "30000", 30000, "30000"},
                 {DurationId, "30001", 1, "1"},    {DurationId, "", 1, "1"},
                 {MaxSimbId, "0", 1, "1"},         {MaxSimbId, "1234", 123, "123"},
                 {MaxSimbId, "999", 999, "999"},   {MinSimbId, "5678", 567, "567"},
                 {MinSimbId, "", 1, "1"},          {WidthId, "3000", 3000, "3000"},
                 {WidthId, "3001", 1, "1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Id << " typed '" << c.Typed << "'");
        TypeOver(c.Id, QString::fromLatin1(c.Typed));
        EXPECT_EQ(field(c.Id), c.Stored);
        EXPECT_EQ(SpinText(c.Id), QString::fromLatin1(c.Shown));
    }
}

TEST_F(ReadingPageTest, NumericEdit_PartlyTyped_TakesEffectAtEachKey) {
    TypeOver(MaxSimbId, QStringLiteral("4"));
    EXPECT_EQ(Settings.MaxText, 4);
    QTest::keyClicks(&Spin(MaxSimbId), QStringLiteral("5"));
    EXPECT_EQ(Settings.MaxText, 45);
}

TEST_F(ReadingPageTest, NumericEdit_PastedBeyondAnyInteger_BecomesOne) {
    QLineEdit& edit = *Spin(WidthId).findChild<QLineEdit*>();
    edit.selectAll();
    edit.insert(QStringLiteral("99999999999"));
    EXPECT_EQ(Settings.Width, 1);
    EXPECT_EQ(SpinText(WidthId), QStringLiteral("1"));
}

TEST_F(ReadingPageTest, NumericEdit_ArrowKeys_StepWithinTheRange) {
    QTest::keyClick(&Spin(WidthId), Qt::Key_Up);
    EXPECT_EQ(Settings.Width, 601);
    TypeOver(WidthId, QStringLiteral("3000"));
    QTest::keyClick(&Spin(WidthId), Qt::Key_Up);
    EXPECT_EQ(Settings.Width, 3000);
    TypeOver(MinSimbId, QStringLiteral("1"));
    QTest::keyClick(&Spin(MinSimbId), Qt::Key_Down);
    EXPECT_EQ(Settings.MinText, 1);
    EXPECT_EQ(SpinText(MinSimbId), QStringLiteral("1"));
}

TEST_F(ReadingPageTest, NumericEdit_TimingEdits_ActOnTheRunningPhase) {
    Load("one two three four five six seven eight nine ten");
    View->SetPlayState(CFlashView::Run);
    Fakes.Clock.Advance(100);
    // 400 ms gap, 100 ms into it: "4000" leaves 3900 ms at once.
    Spin(BetweenId).setFocus();
    Spin(BetweenId).findChild<QLineEdit*>()->end(false);
    QTest::keyClick(&Spin(BetweenId), Qt::Key_0);
    EXPECT_EQ(Settings.freq, 4000u);
    EXPECT_EQ(View->PhaseTimer().Remaining(), 3900u);
}

// --- stop symbols and split --------------------------------------------------------

TEST_F(ReadingPageTest, StopSymbols_Typed_ChangeAtOnceUnconditionalRewrittenFromTheSplit) {
    QLineEdit& edit = Edit(StopSymbolsId);
    edit.setFocus();
    edit.home(false);
    QTest::keyClicks(&edit, QStringLiteral("-"));
    EXPECT_EQ(StopSymbols(), "-,;.:?!\n\r");
    EXPECT_EQ(Settings.UcOffset, 2);
    EXPECT_EQ(Edit(UnconditionalId).text(), QStringLiteral(";.:?!\\n\\r"));
}

TEST_F(ReadingPageTest, StopSymbols_TypedEscape_BecomesTheControlCharacter) {
    QLineEdit& edit = Edit(StopSymbolsId);
    edit.setFocus();
    edit.selectAll();
    QTest::keyClicks(&edit, QStringLiteral(".,\\t"));
    EXPECT_EQ(StopSymbols(), ".,\t");
    EXPECT_EQ(Edit(UnconditionalId).text(), QStringLiteral("\\t"));
}

TEST_F(ReadingPageTest, StopSymbols_SplitBack_DefaultsThreeTimes_MovesTwoThenStops) {
    const std::vector<QString> shown{QStringLiteral(";.:?!\\n\\r"), QStringLiteral(",;.:?!\\n\\r"),
                                     QStringLiteral(",;.:?!\\n\\r")};
    for (const QString& expected : shown) {
        QTest::mouseClick(&Button(ShiftBackId), Qt::LeftButton);
        EXPECT_EQ(Edit(UnconditionalId).text(), expected);
    }
    EXPECT_EQ(Settings.UcOffset, 0);
    EXPECT_EQ(StopSymbols(), ",;.:?!\n\r");
}

TEST_F(ReadingPageTest, StopSymbols_SplitForward_ToTheEnd_EmptiesUnconditionalThenRefused) {
    for (int i = 0; i < 6; ++i)
        QTest::mouseClick(&Button(ShiftForwardId), Qt::LeftButton);
    EXPECT_EQ(Settings.UcOffset, 8);
    EXPECT_EQ(Edit(UnconditionalId).text(), QString());
    QTest::mouseClick(&Button(ShiftForwardId), Qt::LeftButton);
    EXPECT_EQ(Settings.UcOffset, 8);
    EXPECT_EQ(StopSymbols(), ",;.:?!\n\r");
}

TEST_F(ReadingPageTest, StopSymbols_Refresh_TextFormLongerThanTheEdit_CutToDecodedFirst62) {
    std::memset(Settings.StopSimbols, 0, sizeof Settings.StopSimbols);
    std::memset(Settings.StopSimbols, '\n', 40); // text form: 80 characters
    Settings.UcOffset = 0;
    Page->Refresh();
    EXPECT_EQ(StopSymbols(), std::string(31, '\n'));
    EXPECT_EQ(Edit(StopSymbolsId).text().size(), 64);
}

TEST_F(ReadingPageTest, StopSymbols_Refresh_BackslashNDecodedOtherBytesWrittenBackUnchanged) {
    std::strcpy(Settings.StopSimbols, ".a\\nb");
    Page->Refresh();
    EXPECT_EQ(StopSymbols(), ".a\nb");

    const std::string symbols = ",\xA7.\xE2\x80\x94;\xC3"; // stray byte, em dash, cut-off
    std::memset(Settings.StopSimbols, 0, sizeof Settings.StopSimbols);
    std::memcpy(Settings.StopSimbols, symbols.data(), symbols.size());
    Page->Refresh();
    EXPECT_EQ(StopSymbols(), symbols);
    EXPECT_TRUE(Edit(StopSymbolsId).text().contains(QChar(0x2014)));
}

TEST(EditTextBytes, RoundTrip_WithinTheLimitAndWholeCharacters) {
    const struct {
        std::string Bytes;
        std::size_t Limit;
        std::string Back;
    } cases[] = {
        {",;.:", 62, ",;.:"},
        {"\xC2\xAB\xE2\x80\x94\xF0\x9F\x98\x80", 62, "\xC2\xAB\xE2\x80\x94\xF0\x9F\x98\x80"},
        {"\x80\xFF\xC3", 62, "\x80\xFF\xC3"}, // stray bytes
        {"\xC0\xAF", 62, "\xC0\xAF"},         // overlong
        {"ab\xE2\x80\x94", 4, "ab"},          // cut before a character
        {"abcdef", 4, "abcd"}};
    for (const auto& c : cases) {
        const QString text = CReadingOptionsPage::EditTextFromBytes(c.Bytes);
        EXPECT_EQ(CReadingOptionsPage::BytesFromEditText(text, c.Limit), c.Back) << c.Bytes;
    }
}

// --- text colour -------------------------------------------------------------------

TEST_F(ReadingPageTest, TextColor_CancelChangesNothing_OkStoresRedInTheLowByteAndShowsIt) {
    Settings.TexColor = 0x00102030;
    Page->Refresh();
    QTest::mouseClick(&Button(TextColorId), Qt::LeftButton);
    EXPECT_EQ(Settings.TexColor, 0x00102030u);
    EXPECT_EQ(Swatch().Color(), 0x00102030u);

    Fakes.Dialogs.ColorAnswers.push_back(QColor(0x12, 0x34, 0x56));
    QTest::mouseClick(&Button(TextColorId), Qt::LeftButton);
    EXPECT_EQ(Settings.TexColor, 0x00563412u);
    EXPECT_EQ(Swatch().Color(), 0x00563412u);
    EXPECT_EQ(Swatch().grab().toImage().pixelColor(5, 5), QColor(0x12, 0x34, 0x56));
}

TEST(ColorSwatch, Constructed_White_PaintsItsWholeRect) {
    CColorSwatch swatch;
    swatch.resize(40, 14);
    EXPECT_EQ(swatch.Color(), 0x00FFFFFFu);
    swatch.SetColor(0x000000FF);
    const QImage image = swatch.grab().toImage();
    for (const QPoint p : {QPoint(0, 0), QPoint(39, 13), QPoint(20, 7)})
        EXPECT_EQ(image.pixelColor(p), QColor(255, 0, 0));
}

} // namespace
