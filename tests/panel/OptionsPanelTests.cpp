// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/FontMapping.h"
#include "engine/ReadingSession.h"
#include "panel/MovePositionPage.h"
#include "panel/OptionsPanel.h"
#include "panel/PacingPage.h"
#include "panel/ReadingOptionsPage.h"
#include "settings/ReadingSettings.h"
#include "support/FakeWakeTimer.h"
#include "support/ReadingProbe.h"
#include "support/gui/ControlLookup.h"
#include "support/gui/FakeServices.h"
#include "support/gui/FakeViewControl.h"

#include <QTest>
#include <QtWidgets>
#include <gtest/gtest.h>

#include <optional>

namespace {
// The panel on a reading session of its own and a fake view.
struct OptionsPanelTest : ::testing::Test {
    OptionsPanelTest() { Session.AddListener(Probe); }
    ~OptionsPanelTest() override { Session.RemoveListener(Probe); }
    void TestBody() override {}
    // length: shorter than the text, as a text that ends inside its buffer.
    void Load(const std::string& text, int length = -1) {
        Text = text;
        Settings.TextLength = length < 0 ? static_cast<int32_t>(Text.size()) : length;
        Session.SetText(Text.c_str());
        Panel.Refresh();
    }
    int32_t Offset() const { return static_cast<int32_t>(Session.Cursor() - Session.TextStart()); }

    std::string Text;
    CFakeServices Fakes;
    CFakeWakeTimer Wake;
    CReadingSettings Settings;
    CReadingSession Session{Settings, Fakes.Clock, Wake};
    CReadingProbe Probe;
    CFakeViewControl View;
    COptionsPanel Panel{Session, View, Fakes.Services, nullptr};
};

enum : int { BetweenId = 1002, DurationId = 1003, MaxId = 1021, MinId = 1022, WidthId = 1010 };
enum : int { StopsId = 1011, UncondId = 1012, TextColorId = 1006, ForwardId = 1036, BackId = 1038 };
enum : int { ModesId = 1008, HideId = 1013, DefaultId = 1014, BkgrId = 1012, FontId = 1005 };
enum : int { SliderId = 1039, ListId = 1040, StepBackId = 1006, StepForwardId = 1007 };
enum : int { StepEditId = 1042, PositionId = 1041, PreviewId = 1002 };

using R = CReadingSettings;
template <auto Member> std::string Of(const R& s) {
    if constexpr (requires { std::to_string(s.*Member); })
        return std::to_string(s.*Member);
    else if constexpr (requires { std::string(s.*Member); })
        return s.*Member;
    else
        return (s.*Member).lfFaceName;
}

// Keys as a user types them: two spaces press a button (its dialog answers, then is
// cancelled), a digit picks the display mode it starts.
struct EditRow {
    const char* Name;
    bool OnPanel; // else on the reading options page
    int Id;
    QString Input;
    std::string (*Field)(const R&);
    std::string Expected;
    std::optional<SettingsAspect> Told;
};

TEST(OptionsPanel, EveryControl_EditsItsSettingAndTellsTheSession) {
    const EditRow rows[] = {
        {"between", false, BetweenId, "250", Of<&R::freq>, "250", SettingsAspect::Timing},
        {"duration", false, DurationId, "30000", Of<&R::durat>, "30000", SettingsAspect::Timing},
        {"max three digits", false, MaxId, "1234", Of<&R::MaxText>, "123", SettingsAspect::Cut},
        {"min zero is one", false, MinId, "0", Of<&R::MinText>, "1", SettingsAspect::Cut},
        {"width", false, WidthId, "3000", Of<&R::Width>, "3000", SettingsAspect::Look},
        {"stops cut at 62 bytes", false, StopsId, QString(70, 'x'), Of<&R::StopSimbols>,
         std::string(62, 'x'), SettingsAspect::Cut},
        {"stops never end in half a character", false, StopsId, QString(61, 'x') + "é",
         Of<&R::StopSimbols>, std::string(61, 'x'), SettingsAspect::Cut},
        {"split back", false, BackId, "  ", Of<&R::UcOffset>, "0", SettingsAspect::Cut},
        {"split forward", false, ForwardId, "  ", Of<&R::UcOffset>, "4", SettingsAspect::Cut},
        {"text colour", false, TextColorId, "  ", Of<&R::TexColor>, std::to_string(0x00563412),
         SettingsAspect::Look},
        {"background", true, BkgrId, "  ", Of<&R::BkgColor>, std::to_string(0x00563412),
         SettingsAspect::Look},
        {"font", true, FontId, "  ", Of<&R::Font>, "DejaVu Serif", SettingsAspect::Font},
        {"display mode", true, ModesId, "8", Of<&R::DisplaySettingNum>, "1", std::nullopt},
    };
    for (const EditRow& row : rows) {
        SCOPED_TRACE(row.Name);
        OptionsPanelTest rig;
        rig.Fakes.Dialogs.ColorAnswers = {QColor(0x123456u), std::nullopt};
        rig.Fakes.Dialogs.FontAnswers = {QFont(QStringLiteral("DejaVu Serif")), std::nullopt};
        QWidget& form = row.OnPanel ? static_cast<QWidget&>(rig.Panel) : *rig.Panel.ReadingPage();
        QWidget* const control = ControlById<QWidget>(form, row.Id);
        QTest::sendKeyEvent(QTest::Click, control, Qt::Key_A, QString(), Qt::ControlModifier);
        // Typed over all of it, one key each, non-ASCII too.
        for (const QChar ch : row.Input) {
            const Qt::Key key = ch == ' ' ? Qt::Key_Space : Qt::Key_unknown;
            QTest::sendKeyEvent(QTest::Click, control, key, QString(ch), {});
        }
        EXPECT_EQ(row.Field(rig.Settings), row.Expected);
        if (row.Told) {
            EXPECT_TRUE(rig.Probe.Told(*row.Told));
        }
    }
}

TEST(OptionsPanel, FontDialog_OpensAtTheFaceShown) {
    OptionsPanelTest rig;
    rig.View.Font = FontFromLogFont(rig.Settings.Font);
    rig.Fakes.Dialogs.FontOkUnchanged = true;
    QTest::keyClick(ControlById<QWidget>(rig.Panel, FontId), Qt::Key_Space);
    EXPECT_EQ(rig.Fakes.Dialogs.FontAsked.family(), QFontInfo(rig.View.Font).family());
    EXPECT_EQ(rig.Fakes.Dialogs.FontAsked.italic(), QFontInfo(rig.View.Font).italic());
}

TEST(OptionsPanel, FontDialog_OkUnchanged_KeepsTheSettingsAndTellsNothing) {
    OptionsPanelTest rig;
    rig.View.Font = FontFromLogFont(rig.Settings.Font);
    const LogFont before = rig.Settings.Font;
    rig.Fakes.Dialogs.FontOkUnchanged = true;
    QTest::keyClick(ControlById<QWidget>(rig.Panel, FontId), Qt::Key_Space);
    EXPECT_EQ(std::memcmp(&before, &rig.Settings.Font, sizeof before), 0);
    EXPECT_FALSE(rig.Probe.Told(SettingsAspect::Font));
}

TEST(OptionsPanel, StopSymbols_OfACodePageText_TakenInItAndRefusedWhereItHasNoSuchCharacter) {
    OptionsPanelTest rig;
    rig.Settings.Encoding = "windows-1251";
    auto* edit = ControlById<QLineEdit>(*rig.Panel.ReadingPage(), StopsId);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_A, QString(), Qt::ControlModifier);
    // 語 is not in windows-1251.
    for (const QString& typed : {QStringLiteral("ж"), QStringLiteral("語")})
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, typed, {});
    EXPECT_STREQ(rig.Settings.StopSimbols, "\xE6");
    EXPECT_EQ(edit->text(), QStringLiteral("ж"));
}

TEST_F(OptionsPanelTest, Refresh_ValuesBeyondTheControls_BroughtIntoTheirRanges) {
    Load("one two three four five six");
    Settings.Width = 5000;
    Settings.MaxText = -3;
    Settings.durat = 0xFFFFFFFFu;
    Panel.Refresh();
    EXPECT_EQ(Settings.Width, 3000);
    EXPECT_EQ(Settings.MaxText, 1);
    EXPECT_EQ(Settings.durat, 30000u);
}

TEST_F(OptionsPanelTest, Refresh_ModeBeyondTheList_KeptAndNothingSelected) {
    Settings.DisplaySettingNum = 3;
    Panel.Refresh();
    EXPECT_EQ(Settings.DisplaySettingNum, 3);
    EXPECT_EQ(ControlById<QComboBox>(Panel, ModesId)->currentIndex(), -1);
}

TEST_F(OptionsPanelTest, Refresh_StopSymbolsNotUtf8_KeptByteForByte) {
    // A stray byte, an em dash and a character cut off at the end.
    const std::string stops = ",\xA7.\xE2\x80\x94;\xC3";
    std::strcpy(Settings.StopSimbols, stops.c_str());
    Panel.Refresh();
    EXPECT_EQ(std::string(Settings.StopSimbols), stops);
    const QString shown = ControlById<QLineEdit>(*Panel.ReadingPage(), UncondId)->text();
    EXPECT_EQ(shown, QString(".—;") + QChar(0xDCC3));
}

TEST_F(OptionsPanelTest, Default_KeepsThePlaceTheBookmarksAndTheFont) {
    Load("one two three four five six");
    Settings.SetPosition(8);
    Settings.AddBookmark();
    Settings.DisplaySettingNum = 1;
    Panel.SelectPage(COptionsPanel::MovePosition);
    ControlById<QPushButton>(Panel, DefaultId)->click();
    EXPECT_EQ(ControlById<QComboBox>(Panel, ModesId)->currentIndex(), 0);
    EXPECT_EQ(ControlById<QListWidget>(*Panel.MovePage(), ListId)->count(), 1);
    EXPECT_EQ(Settings.Book.BookmarksNum, 1);
    EXPECT_EQ(Offset(), 8);
    EXPECT_FALSE(Probe.Told(SettingsAspect::Font));
}

TEST_F(OptionsPanelTest, ReturnEnterAndEscape_TakenByThePanelBeforeTheView) {
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(key);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        qApp->sendEvent(Panel.ReadingPage(), &press);
        EXPECT_TRUE(press.isAccepted());
    }
}

TEST_F(OptionsPanelTest, Hide_AsksTheViewToHideThePanelAndTakeTheFocus) {
    ControlById<QPushButton>(Panel, HideId)->click();
    EXPECT_EQ(View.PanelRequest, 0);
    EXPECT_EQ(View.Focusings, 1);
}

// The pacing page edits its settings and tells the session; an edit from elsewhere (the
// Run menu's check item) shows on it.
TEST_F(OptionsPanelTest, PacingPage_EditsThePacingAndFollowsOtherEdits) {
    Panel.SelectPage(COptionsPanel::Pacing);
    ASSERT_NE(Panel.PacingPage(), nullptr);
    auto* gap = Panel.PacingPage()->findChild<QSpinBox*>(QStringLiteral("PaceClauseGap"));
    gap->setValue(180);
    EXPECT_EQ(Settings.Pacing.ClauseGap, 180);
    EXPECT_TRUE(Probe.Told(SettingsAspect::Timing));
    Settings.Pacing.On = 1;
    Session.SettingsEdited(SettingsAspect::Timing);
    EXPECT_TRUE(
        Panel.PacingPage()->findChild<QCheckBox*>(QStringLiteral("PaceByContent"))->isChecked());
}

// Read in several units, each a few words.
const std::string Story = "It was late, and the house was quiet. Nobody moved.\r\n"
                          "The clock on the wall struck twelve.";

struct MovePageTest : OptionsPanelTest {
    MovePageTest() { Panel.SelectPage(COptionsPanel::MovePosition); }
    template <typename T> T& Ctl(int id) { return *ControlById<T>(*Panel.MovePage(), id); }
    QString Line() { return Ctl<QLabel>(PositionId).text(); }
    void Cycle() {
        Fakes.Clock.Advance(Settings.freq);
        Wake.Fire();
        Fakes.Clock.Advance(Settings.durat);
        Wake.Fire();
    }
};

TEST_F(MovePageTest, EmptyText_AtZeroPercent) {
    Load("");
    EXPECT_EQ(Line(), "pos = 0 (0.00% )");
}

TEST_F(MovePageTest, Slider_MovesThePlaceAndTellsTheOthers) {
    Load(std::string(100, 'a'));
    Ctl<QSlider>(SliderId).setValue(29);
    EXPECT_EQ(Offset(), 29);
    EXPECT_EQ(Line(), "pos = 29 (28.99% )"); // cut, not rounded
    EXPECT_EQ(Probe.PlaceMoves, 1);
}

// The step is the field's 16 bits: a long step is kept through a refresh, and none is 0.
TEST_F(MovePageTest, StoredStep_KeptThroughARefreshWithinItsField) {
    const struct {
        uint16_t Stored;
        uint16_t Kept;
    } rows[] = {{2000, 2000}, {65535, 65535}, {0, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Stored);
        Settings.Book.Step = row.Stored;
        Load(std::string(100, 'a'));
        Panel.MovePage()->Refresh(CMovePositionPage::Originator::None);
        EXPECT_EQ(Settings.Book.Step, row.Kept);
    }
}

TEST_F(MovePageTest, StepEdit_DigitsOnlySixAtMostKeptTo16Bits) {
    Load(std::string(100, 'a'));
    const std::pair<const char*, int> typedSteps[] = {
        {"7a0000", 4464}, {"1234567", 57920}, {"10", 10}};
    for (const auto& [typed, step] : typedSteps) {
        SCOPED_TRACE(typed);
        Ctl<QLineEdit>(StepEditId).selectAll();
        QTest::keyClicks(&Ctl<QLineEdit>(StepEditId), QString::fromLatin1(typed));
        EXPECT_EQ(Settings.Book.Step, step);
    }
}

TEST_F(MovePageTest, StepButtons_MoveByTheStepAndTheSliderFollows) {
    Load(std::string(100, 'a'));
    Ctl<QSlider>(SliderId).setValue(29);
    Settings.Book.Step = 10;
    for (const int id : {StepBackId, StepBackId, StepForwardId})
        Ctl<QPushButton>(id).click();
    EXPECT_EQ(Offset(), 19);
    EXPECT_EQ(Ctl<QSlider>(SliderId).value(), 19);
}

TEST_F(MovePageTest, BookmarkEntries_ShowTheTextAtEachAndMarkOnesOutside) {
    for (const int32_t at : {0, 13, 5000})
        Settings.Book.Bookmarks[Settings.Book.BookmarksNum++] = at;
    Load("\nFirst line\r\nSecond line\rthird", 26);
    QListWidget& list = Ctl<QListWidget>(ListId);
    EXPECT_EQ(list.item(0)->text(), QChar(0x240A) + QString("First line"));
    EXPECT_EQ(list.item(1)->text(), "Second line");
    EXPECT_EQ(list.item(2)->text(), "5000 (outside the text)");
}

TEST_F(MovePageTest, Preview_EndsWhereTheTextEnds) {
    Load("\nFirst line\r\nSecond line\rthird", 26);
    EXPECT_EQ(Ctl<QPlainTextEdit>(PreviewId).toPlainText(), "\nFirst line\nSecond line\nt");
}

TEST_F(MovePageTest, ClickOnTheChosenEntry_GoesBackToItsBookmark) {
    Settings.Book.Bookmarks[Settings.Book.BookmarksNum++] = 13;
    Load("\nFirst line\r\nSecond line\rthird");
    QListWidget& list = Ctl<QListWidget>(ListId);
    list.setCurrentRow(0);
    Session.FollowTo(3);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualItemRect(list.item(0)).center());
    EXPECT_EQ(Offset(), 13);
}

TEST_F(MovePageTest, SliderHeld_StaysUnderTheMouseWhileTheReadingGoesOn) {
    Load(Story);
    Ctl<QSlider>(SliderId).setSliderDown(true);
    Session.SetPlayState(CPlayer::Run);
    Cycle();
    EXPECT_EQ(Ctl<QSlider>(SliderId).value(), 0);
}

TEST_F(MovePageTest, SpeedChange_KeepsTheChosenBookmark) {
    Settings.Book.Bookmarks[Settings.Book.BookmarksNum++] = 13;
    Load("\nFirst line\r\nSecond line\rthird");
    QListWidget& list = Ctl<QListWidget>(ListId);
    list.setCurrentRow(0);
    Session.ChangeSpeed([](uint32_t ms) { return ms / 2; });
    Session.SetPlayState(CPlayer::Pause);
    EXPECT_TRUE(list.item(0)->isSelected());
}
} // namespace
