#include "AppTestSupport.h"

#include "about/AboutDialog.h"

#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>
#include <vector>

namespace {

namespace Id = CommandId;

TEST_F(AppFixture, Start_MainWindow_MaximizedTitledWithViewBetweenTheBars) {
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet"));
    EXPECT_TRUE(Frame->isVisible());
    EXPECT_TRUE(Frame->windowState() & Qt::WindowMaximized);
    EXPECT_FALSE(Frame->windowIcon().isNull());
    EXPECT_EQ(Frame->centralWidget(), &View());
    EXPECT_EQ(View().PlayFlags(), CFlashView::StoppedBit);

    ASSERT_TRUE(QTest::qWaitForWindowExposed(Frame));
    const QRect view = View().geometry();
    EXPECT_LE(Frame->ToolBar()->geometry().bottom(), view.top());
    EXPECT_LE(view.bottom(), Frame->statusBar()->geometry().top());
    EXPECT_GE(view.height(), 1);
}

TEST_F(AppFixture, Focus_WindowActivated_GoesToTheView) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame));
    EXPECT_EQ(QApplication::focusWidget(), &View());
}

TEST_F(AppFixture, Focus_FrameGivenTheFocus_PassesItToTheView) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame));
    View().clearFocus();
    ASSERT_EQ(QApplication::focusWidget(), nullptr);

    Frame->setFocus();

    EXPECT_EQ(QApplication::focusWidget(), &View());
}

TEST_F(AppFixture, Focus_ReactivatedWithNothingFocused_GoesToTheView) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame));
    View().clearFocus();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(Frame, &deactivate);

    QEvent activate(QEvent::ActivationChange);
    QApplication::sendEvent(Frame, &activate);

    EXPECT_EQ(QApplication::focusWidget(), &View());
}

struct SaverCase {
    const char* Name;
    std::vector<int> Commands; // 0: the text runs to its end
    int Inhibitions;
    bool HeldAfterwards;
};

class ScreenSaver : public AppFixture, public ::testing::WithParamInterface<SaverCase> {};

TEST_P(ScreenSaver, Commands_OnALoadedText_OneInhibitionPerReading) {
    LoadText();
    for (const int id : GetParam().Commands) {
        if (id == 0)
            ReadToTheEnd();
        else
            Frame->ExecuteCommand(id);
    }
    EXPECT_EQ(Fakes.ScreenSaver.Inhibitions, GetParam().Inhibitions);
    EXPECT_EQ(Fakes.ScreenSaver.IsInhibited(), GetParam().HeldAfterwards);
}

INSTANTIATE_TEST_SUITE_P(
    Readings, ScreenSaver,
    ::testing::Values(SaverCase{"Run", {Id::Run}, 1, true},
                      SaverCase{"RunRunRun", {Id::Run, Id::Run, Id::Run}, 1, true},
                      SaverCase{"RunPause", {Id::Run, Id::Pause}, 1, false},
                      SaverCase{"RunStop", {Id::Run, Id::Stop}, 1, false},
                      SaverCase{"RunToTheEnd", {Id::Run, 0}, 1, false},
                      SaverCase{"RunPauseRun", {Id::Run, Id::Pause, Id::Run}, 2, true},
                      SaverCase{"RunAddBookmark", {Id::Run, Id::AddBookmark}, 1, false},
                      SaverCase{"PauseStopWithoutRun", {Id::Pause, Id::Stop}, 0, false},
                      SaverCase{"RunToTheEndThenRun", {Id::Run, 0, Id::Run}, 2, true}),
    [](const ::testing::TestParamInfo<SaverCase>& info) { return info.param.Name; });

TEST_F(AppFixture, ScreenSaver_TextStoppedByTheViewItself_Released) {
    LoadText();
    Frame->ExecuteCommand(Id::Run);

    View().SetPlayState(CFlashView::Stop);

    EXPECT_FALSE(Fakes.ScreenSaver.IsInhibited());
}

TEST(MainFrame, ScreenSaver_FrameDestroyedWhileRunning_Released) {
    CFakeServices fakes;
    const std::string text = "Some words to read.";
    {
        CMainFrame frame(fakes.Services, nullptr, std::make_unique<CFakeLockKeys>());
        frame.View().SetText(text.c_str());
        frame.ExecuteCommand(Id::Run);
        ASSERT_TRUE(fakes.ScreenSaver.IsInhibited());
    }
    EXPECT_FALSE(fakes.ScreenSaver.IsInhibited());
    EXPECT_EQ(fakes.ScreenSaver.Releases, 1);
}

TEST(MainFrame, Routing_WithoutApplication_AboutAndExitGreyed) {
    CFakeServices fakes;
    CMainFrame frame(fakes.Services, nullptr, std::make_unique<CFakeLockKeys>());

    EXPECT_FALSE(frame.ActionFor(Id::AppAbout)->isEnabled());
    EXPECT_FALSE(frame.ActionFor(Id::AppExit)->isEnabled());
    EXPECT_TRUE(frame.ActionFor(Id::HomePage)->isEnabled());
}

TEST_F(AppFixture, HomePage_Command_OpensTheHomePageAddress) {
    Frame->ExecuteCommand(Id::HomePage);

    ASSERT_EQ(Fakes.UrlOpener.Opened.size(), 1u);
    EXPECT_EQ(Fakes.UrlOpener.Opened[0], QStringLiteral(SKIMMET_HOME_PAGE));
}

TEST_F(AppFixture, About_Command_ShowsTheAboutBoxModally) {
    QString shown;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (qobject_cast<CAboutDialog*>(box))
            shown = box->windowTitle();
        if (box)
            box->close();
    });

    Frame->ExecuteCommand(Id::AppAbout);

    EXPECT_FALSE(shown.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AppFixture, Exit_Command_ClosesTheMainWindow) {
    Frame->ExecuteCommand(Id::AppExit);

    EXPECT_FALSE(Frame->isVisible());
}

struct IndicatorCase {
    const char* Name;
    std::optional<bool> State;
    bool ShowsName;
    bool Enabled;
};

class LockIndicators : public AppFixture, public ::testing::WithParamInterface<IndicatorCase> {};

TEST_P(LockIndicators, LockKeyPressed_EveryIndicator_ShowsTheKeyState) {
    const IndicatorCase& c = GetParam();
    Keys->States = {c.State, c.State, c.State};

    QTest::keyClick(&View(), Qt::Key_CapsLock);

    for (const char* name : {"CAP", "NUM", "SCRL"}) {
        const auto* label =
            Frame->statusBar()->findChild<QLabel*>(QStringLiteral("Indicator") + name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->text(), c.ShowsName ? QString::fromLatin1(name) : QString()) << name;
        EXPECT_EQ(label->isEnabled(), c.Enabled) << name;
        EXPECT_TRUE(label->isVisible()) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(States, LockIndicators,
                         ::testing::Values(IndicatorCase{"On", true, true, true},
                                           IndicatorCase{"Off", false, false, true},
                                           IndicatorCase{"Unknown", std::nullopt, true, false}),
                         [](const ::testing::TestParamInfo<IndicatorCase>& info) {
                             return info.param.Name;
                         });

TEST_F(AppFixture, LockIndicators_EachKey_ItsOwnState) {
    Keys->States = {true, false, std::nullopt};

    QTest::keyClick(&View(), Qt::Key_NumLock);

    const auto text = [this](const char* name) {
        return Frame->statusBar()->findChild<QLabel*>(QStringLiteral("Indicator") + name)->text();
    };
    EXPECT_EQ(text("CAP"), QStringLiteral("CAP"));
    EXPECT_EQ(text("NUM"), QString());
    EXPECT_EQ(text("SCRL"), QStringLiteral("SCRL"));
}

TEST(LockKeys, PlatformWithoutX11_EveryKeyUnknown) {
    ASSERT_NE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    const std::unique_ptr<ILockKeys> keys = CreateLockKeys();
    for (const LockKey key : {LockKey::Caps, LockKey::Num, LockKey::Scroll})
        EXPECT_FALSE(keys->IsOn(key).has_value());
}

TEST_F(AppFixture, StatusBar_Panes_MessageThenCapNumScrl) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Frame));
    std::vector<QString> panes;
    for (const QLabel* label :
         Frame->statusBar()->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly))
        panes.push_back(label->objectName());
    const std::vector<QString> expected{
        QStringLiteral("MessagePane"), QStringLiteral("IndicatorCAP"),
        QStringLiteral("IndicatorNUM"), QStringLiteral("IndicatorSCRL")};
    EXPECT_EQ(panes, expected);
    // The message pane stretches; the indicators sit at the right end in this order.
    int right = 0;
    for (const QString& name : expected) {
        const QWidget* pane = Frame->statusBar()->findChild<QLabel*>(name);
        EXPECT_GT(pane->geometry().left(), right - 1) << name.toStdString();
        right = pane->geometry().right();
    }
}

} // namespace
