// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestSupport.h"

#include "platform/DisplayModes.h"

#include <QScreen>
#include <QTest>

namespace {

// The program as a native Wayland client, with the display modes the platform gives:
// a text opened, run, full screen entered and left, the window closed with the place
// kept in the text's companion file.
TEST(Wayland, OpenRunFullScreenAndClose_CoversTheScreenAndKeepsThePlace) {
    if (QGuiApplication::platformName() != QLatin1String("wayland"))
        GTEST_SKIP() << "not a Wayland client: " << qPrintable(QGuiApplication::platformName());
    FreshApp rig;
    const std::unique_ptr<IDisplayModes> modes = CreateDisplayModes();
    CServices services{rig.Fakes.Clock, rig.Fakes.Dialogs, *modes, rig.Fakes.ScreenSaver,
                       rig.Fakes.UrlOpener};
    rig.App = std::make_unique<CSkimmetApp>(services);
    rig.App->InitInstance(std::make_unique<CFakeLockKeys>());
    rig.Frame = rig.App->MainFrame();
    const QString text = rig.WriteText(QStringLiteral("story.txt"),
                                       "One sentence. Another one follows it, and a third.");
    rig.OpenFromMenu(text);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.Frame));
    rig.Frame->ExecuteCommand(CommandId::Run);
    rig.Advance(5);
    const int32_t place = rig.Offset();
    EXPECT_GT(place, 0);

    rig.Frame->ExecuteCommand(CommandId::FullScreen);
    CFlashView& view = rig.View();
    const QRect screen = view.screen()->geometry();
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.isFullScreen() && view.geometry() == screen; }))
        << "the view is at " << view.geometry().width() << "x" << view.geometry().height()
        << " on a screen of " << screen.width() << "x" << screen.height();
    EXPECT_EQ(modes->Modes().size(), 1u) << "the current mode only";
    rig.Frame->ExecuteCommand(CommandId::FullScreen);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.window() == rig.Frame; }));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(rig.Frame));

    rig.Frame->ExecuteCommand(CommandId::Pause);
    const int32_t paused = rig.Offset();
    rig.Frame->close();
    EXPECT_EQ(AppFixture::Stored(text + QStringLiteral(".skm"))[0], paused);
    EXPECT_TRUE(rig.Fakes.Dialogs.Messages.empty());
}

} // namespace
