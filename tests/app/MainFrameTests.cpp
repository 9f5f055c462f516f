#include "AppTestSupport.h"

#include "support/gui/EventWait.h"

#include "about/AboutDialog.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>

#include <string>

namespace {

namespace Id = CommandId;

TEST_F(AppFixture, Focus_WindowActivatedOrReactivated_GoesToTheView) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame));
    EXPECT_EQ(QApplication::focusWidget(), &View());
    View().clearFocus();
    QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::ActivationChange);
    QApplication::sendEvent(Frame, &deactivate);
    QApplication::sendEvent(Frame, &activate);
    EXPECT_EQ(QApplication::focusWidget(), &View());
}

TEST(MainFrame, WithoutApplication_AboutAndExitGreyedAndDestroyedWhileRunningReleasesSaver) {
    CFakeServices fakes;
    {
        CMainFrame frame(fakes.Services, nullptr, std::make_unique<CFakeLockKeys>());
        EXPECT_FALSE(frame.ActionFor(Id::AppAbout)->isEnabled());
        EXPECT_FALSE(frame.ActionFor(Id::AppExit)->isEnabled());
        frame.View().SetText("Some words to read.");
        frame.ExecuteCommand(Id::Run);
        ASSERT_TRUE(fakes.ScreenSaver.IsInhibited());
    }
    EXPECT_FALSE(fakes.ScreenSaver.IsInhibited());
}

TEST_F(AppFixture, HelpAndExitCommands_HomePageOpenedAboutBoxShownThenWindowClosed) {
    Frame->ExecuteCommand(Id::HomePage);
    EXPECT_EQ(Fakes.UrlOpener.Opened, std::vector<QString>{QStringLiteral(SKIMMET_HOME_PAGE)});
    bool shown = false;
    AnswerNext<CAboutDialog>([&](CAboutDialog* box) { shown = true, box->close(); });
    Frame->ExecuteCommand(Id::AppAbout);
    EXPECT_TRUE(shown);
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
            // Unknown: the name, greyed; off: no text.
            EXPECT_EQ(label->text(), state.value_or(true) ? names[key] : "");
            EXPECT_EQ(label->isEnabled(), state.has_value());
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
