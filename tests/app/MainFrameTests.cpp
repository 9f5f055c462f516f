#include "AppTestSupport.h"

#include "support/gui/EventWait.h"

#include "about/AboutDialog.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include <optional>
#include <string>
#include <vector>

namespace {

namespace Id = CommandId;

TEST_F(AppFixture, Focus_WindowActivatedFrameFocusedOrReactivated_GoesToTheView) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame));
    EXPECT_EQ(QApplication::focusWidget(), &View());

    View().clearFocus();
    ASSERT_EQ(QApplication::focusWidget(), nullptr);
    Frame->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), &View());

    View().clearFocus();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(Frame, &deactivate);
    QEvent activate(QEvent::ActivationChange);
    QApplication::sendEvent(Frame, &activate);
    EXPECT_EQ(QApplication::focusWidget(), &View());
}

TEST(ScreenSaver, CommandsOnALoadedText_OneInhibitionPerReading) {
    const struct {
        const char* Name;
        std::vector<int> Commands; // as AppFixture::Play takes them
        int Inhibitions;
        bool HeldAfterwards;
    } cases[] = {{"RunRunRun", {Id::Run, Id::Run, Id::Run}, 1, true},
                 {"RunPause", {Id::Run, Id::Pause}, 1, false},
                 {"RunToTheEnd", {Id::Run, 0}, 1, false},
                 {"RunPauseRun", {Id::Run, Id::Pause, Id::Run}, 2, true},
                 {"RunAddBookmark", {Id::Run, Id::AddBookmark}, 1, false},
                 {"PauseStopWithoutRun", {Id::Pause, Id::Stop}, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Fresh<AppFixture> app;
        app.LoadText();
        app.Play(c.Commands);
        EXPECT_EQ(app.Fakes.ScreenSaver.Inhibitions, c.Inhibitions);
        EXPECT_EQ(app.Fakes.ScreenSaver.IsInhibited(), c.HeldAfterwards);
    }
}

// A frame of its own, without the application that handles About and Exit.
TEST(MainFrame, WithoutApplication_AboutAndExitGreyedAndDestroyedWhileRunningReleasesSaver) {
    CFakeServices fakes;
    const std::string text = "Some words to read.";
    {
        CMainFrame frame(fakes.Services, nullptr, std::make_unique<CFakeLockKeys>());
        EXPECT_FALSE(frame.ActionFor(Id::AppAbout)->isEnabled());
        EXPECT_FALSE(frame.ActionFor(Id::AppExit)->isEnabled());
        EXPECT_TRUE(frame.ActionFor(Id::HomePage)->isEnabled());
        frame.View().SetText(text.c_str());
        frame.ExecuteCommand(Id::Run);
        ASSERT_TRUE(fakes.ScreenSaver.IsInhibited());
    }
    EXPECT_FALSE(fakes.ScreenSaver.IsInhibited());
    EXPECT_EQ(fakes.ScreenSaver.Releases, 1);
}

TEST_F(AppFixture, HelpAndExitCommands_HomePageOpenedAboutBoxModalThenWindowClosed) {
    Frame->ExecuteCommand(Id::HomePage);
    EXPECT_EQ(Fakes.UrlOpener.Opened, std::vector<QString>{QStringLiteral(SKIMMET_HOME_PAGE)});

    QString shown;
    AnswerNext<CAboutDialog>([&](CAboutDialog* box) {
        shown = box->windowTitle();
        box->close();
    });
    Frame->ExecuteCommand(Id::AppAbout);
    EXPECT_FALSE(shown.isNull());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    Frame->ExecuteCommand(Id::AppExit);
    EXPECT_FALSE(Frame->isVisible());
}

// Each key known on, known off or unknown in turn, so that every indicator shows every
// state and none follows another key's.
TEST_F(AppFixture, LockIndicators_LockKeyPressed_EachShowsItsKeyState) {
    const std::optional<bool> states[] = {true, false, std::nullopt};
    const char* names[] = {"CAP", "NUM", "SCRL"};
    const Qt::Key presses[] = {Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock};
    for (int shift = 0; shift < 3; ++shift) {
        for (int key = 0; key < 3; ++key)
            Keys->States[key] = states[(key + shift) % 3];

        QTest::keyClick(&View(), presses[shift]);

        for (int key = 0; key < 3; ++key) {
            SCOPED_TRACE(std::string(names[key]) + " shift " + std::to_string(shift));
            const std::optional<bool> state = states[(key + shift) % 3];
            const auto* label =
                Frame->statusBar()->findChild<QLabel*>(QStringLiteral("Indicator") + names[key]);
            ASSERT_NE(label, nullptr);
            // An unknown state shows the name, greyed.
            EXPECT_EQ(label->text(),
                      state.value_or(true) ? QString::fromLatin1(names[key]) : QString());
            EXPECT_EQ(label->isEnabled(), state.has_value());
            EXPECT_TRUE(label->isVisible());
        }
    }
}

TEST(LockKeys, PlatformWithoutX11_EveryKeyUnknown) {
    ASSERT_NE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    const std::unique_ptr<ILockKeys> keys = CreateLockKeys();
    for (const LockKey key : {LockKey::Caps, LockKey::Num, LockKey::Scroll})
        EXPECT_FALSE(keys->IsOn(key).has_value());
}

} // namespace
