// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestSupport.h"

#include <QLabel>
#include <QProcess>
#include <QStatusBar>
#include <QTest>

namespace {

// Keys typed as a reader types them: through the X server to the window the window
// manager has focused.
bool Type(const char* key) {
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), key}) == 0;
}

QString PaneText(const QMainWindow& frame) {
    for (const QLabel* label : frame.statusBar()->findChildren<QLabel*>()) {
        if (label->text().contains(QStringLiteral(" left")))
            return label->text();
    }
    return {};
}

TEST_F(AppFixture, RealKeys_SpaceRightUp_RunMoveOneSentenceFasterAndThePaneFollows) {
    OpenFromMenu(WriteText(QStringLiteral("story.txt"), "One. Two three four five six. Seven."));
    Frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame, 10000));
    const auto until = [](auto done) {
        return QTest::qWaitFor(done, 10000);
    };
    ASSERT_TRUE(Type("space"));
    EXPECT_TRUE(until([this] { return View().PlayFlags() & CFlashView::RunningBit; }));
    ASSERT_TRUE(Type("Right"));
    EXPECT_TRUE(until([this] { return Offset() == 5; }));
    ASSERT_TRUE(Type("Up"));
    EXPECT_TRUE(until([this] { return Settings().freq == 364; }));
    EXPECT_TRUE(View().PlayFlags() & CFlashView::RunningBit);
    // 5 of 36 bytes read; two units of 364 + 136 ms and six words to come.
    const QString expected = QStringLiteral("13% \u00b7 1 s left \u00b7 360 wpm");
    EXPECT_TRUE(until([&] { return PaneText(*Frame) == expected; }))
        << PaneText(*Frame).toStdString();
}

} // namespace
