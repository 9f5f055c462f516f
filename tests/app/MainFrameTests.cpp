// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestSupport.h"

#include "about/AboutDialog.h"
#include "display/AppResources.h"
#include "support/gui/EventWait.h"

#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

namespace {

namespace Id = CommandId;

// '-' greyed, 'e' enabled and unchecked, 'c' enabled and checked.
char Shown(const QAction* action) {
    return !action->isEnabled() ? '-' : action->isChecked() ? 'c' : 'e';
}

// What the reading commands show, and the screen saver's state.
struct CommandsShown {
    char Run = '-';
    char Pause = '-';
    char Stop = '-';
    char AddBookmark = '-';
    char SaveFileSettings = '-';
    char EditCopy = '-'; // nothing handles it
    int Inhibitions = 0;
    bool Held = false;
    bool operator==(const CommandsShown&) const = default;
};

void PrintTo(const CommandsShown& s, std::ostream* out) {
    *out << "Run " << s.Run << ", Pause " << s.Pause << ", Stop " << s.Stop << ", AddBookmark "
         << s.AddBookmark << ", SaveFileSettings " << s.SaveFileSettings << ", EditCopy "
         << s.EditCopy << ", inhibitions " << s.Inhibitions << (s.Held ? " held" : " free");
}

CommandsShown ShownBy(FreshApp& app) {
    const auto shown = [&app](int id) {
        return Shown(app.Frame->ActionFor(id));
    };
    const CFakeScreenSaver& saver = app.Fakes.ScreenSaver;
    return {shown(Id::Run),
            shown(Id::Pause),
            shown(Id::Stop),
            shown(Id::AddBookmark),
            shown(Id::SaveFileSettings),
            shown(Id::EditCopy),
            saver.Inhibitions,
            saver.Held};
}

struct CommandRow {
    const char* Name;
    bool Text;
    // A command, its action clicked (negative), 0: to the end.
    std::vector<int> Steps;
    CommandsShown Expected;
};

TEST(CommandStates, ReadingCommands_InEachReadingState_StatesAndOneInhibitionPerReading) {
    const CommandRow rows[] = {
        {"a greyed command does nothing", false, {Id::Run}, {}},
        {"stopped", true, {}, {'e', 'e', 'c', '-', 'e', '-', 0, false}},
        {"running", true, {Id::Run}, {'c', 'e', 'e', 'e', 'e', 'e', 1, true}},
        {"clicked again: still checked",
         true,
         {-Id::Run, -Id::Run},
         {'c', 'e', 'e', 'e', 'e', 'e', 1, true}},
        {"stop while stopped", true, {-Id::Stop}, {'e', 'e', 'c', '-', 'e', '-', 0, false}},
        {"pause without run", true, {Id::Pause}, {'e', 'c', 'e', '-', 'e', 'e', 0, false}},
        {"paused", true, {Id::Run, Id::Pause}, {'e', 'c', 'e', '-', 'e', 'e', 1, false}},
        {"run, pause, run",
         true,
         {Id::Run, Id::Pause, Id::Run},
         {'c', 'e', 'e', 'e', 'e', 'e', 2, true}},
        {"stopped after running",
         true,
         {Id::Run, Id::Stop},
         {'e', 'e', 'c', '-', 'e', '-', 1, false}},
        {"after Add Bookmark",
         true,
         {Id::Run, Id::AddBookmark},
         {'e', 'c', 'e', '-', 'e', 'e', 1, false}},
        {"at the end", true, {Id::Run, 0}, {'e', 'e', 'c', '-', 'e', '-', 1, false}},
    };
    for (const CommandRow& row : rows) {
        SCOPED_TRACE(row.Name);
        FreshApp app;
        if (row.Text)
            app.View().SetText("Every unit is cut at punctuation, a few words at a time.");
        for (const int id : row.Steps) {
            if (id < 0)
                app.Frame->ActionFor(-id)->trigger();
            else if (id > 0)
                app.Frame->ExecuteCommand(id);
            else
                app.Advance(1000);
        }
        EXPECT_EQ(ShownBy(app), row.Expected);
    }
}

// The panel's Hide button and Space in full-screen mode hide it through the view: the
// menu check follows.
TEST_F(AppFixture, PanelHiddenByTheView_MenuCheckFollows) {
    Frame->ExecuteCommand(Id::OptionsPanel);
    ASSERT_EQ(Shown(Frame->ActionFor(Id::OptionsPanel)), 'c');
    View().ShowOptionsPanel(0);
    EXPECT_EQ(Shown(Frame->ActionFor(Id::OptionsPanel)), 'e');
}

// A bar can be hidden without its command: the menu check follows it too.
TEST_F(AppFixture, BarsHiddenOrShownAnyWay_MenuCheckFollows) {
    const std::pair<int, QWidget*> bars[] = {{Id::ViewToolBar, Frame->ToolBar()},
                                             {Id::ViewStatusBar, Frame->statusBar()}};
    for (const auto& [id, bar] : bars) {
        SCOPED_TRACE(id);
        QAction* action = Frame->ActionFor(id);
        action->trigger();
        EXPECT_FALSE(bar->isVisible());
        EXPECT_EQ(Shown(action), 'e');
        action->trigger();
        EXPECT_TRUE(bar->isVisible());
        bar->hide();
        EXPECT_EQ(Shown(action), 'e');
    }
}

// The normal size is what leaving full screen or maximised comes back to: it fits any screen.
TEST_F(AppFixture, Start_NormalGeometryCentredAtThreeQuartersFocusOnTheViewAlsoWhenReactivated) {
    const QRect area = Frame->screen()->availableGeometry();
    EXPECT_EQ(Frame->normalGeometry().size(), area.size() * 3 / 4);
    EXPECT_EQ(Frame->normalGeometry().center(), area.center());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame));
    EXPECT_EQ(QApplication::focusWidget(), &View());
    View().clearFocus();
    QEvent deactivate(QEvent::WindowDeactivate);
    QEvent activate(QEvent::ActivationChange);
    QApplication::sendEvent(Frame, &deactivate);
    QApplication::sendEvent(Frame, &activate);
    EXPECT_EQ(QApplication::focusWidget(), &View());
}

TEST(MainFrame, WithoutApplicationOrX11_AboutExitGreyedLocksUnknownDestroyedReleasesSaver) {
    CFakeServices fakes;
    {
        CMainFrame frame(fakes.Services); // the platform's lock keys, on no X server
        EXPECT_FALSE(frame.ActionFor(Id::AppAbout)->isEnabled());
        EXPECT_FALSE(frame.ActionFor(Id::AppExit)->isEnabled());
        for (const char* name : {"CAP", "NUM", "SCRL"})
            EXPECT_FALSE(frame.findChild<QLabel*>(QString("Indicator") + name)->isEnabled());
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
    AnswerNext<CAboutDialog>([&](CAboutDialog* box) {
        shown = true;
        box->close();
    });
    Frame->ExecuteCommand(Id::AppAbout);
    EXPECT_TRUE(shown);
    Frame->ExecuteCommand(Id::AppExit);
    EXPECT_FALSE(Frame->isVisible());
}

// Each key known on, known off or unknown in turn, so that every indicator shows every
// state and none follows another key's. Unknown: the name, greyed; off: no text.
TEST_F(AppFixture, LockIndicators_LockKeyPressed_EachShowsItsKeyState) {
    const std::optional<bool> states[] = {true, false, std::nullopt};
    const Qt::Key presses[] = {Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock};
    const char* const names[] = {"CAP", "NUM", "SCRL"};
    for (int shift = 0; shift < 3; ++shift) {
        for (int key = 0; key < 3; ++key)
            Keys->States[key] = states[(key + shift) % 3];
        QTest::keyClick(&View(), presses[shift]);
        for (int key = 0; key < 3; ++key) {
            SCOPED_TRACE(testing::Message() << names[key] << " after press " << shift);
            const std::optional<bool> state = states[(key + shift) % 3];
            const QString name = QString::fromLatin1(names[key]);
            const auto* label = Frame->statusBar()->findChild<QLabel*>("Indicator" + name);
            EXPECT_EQ(label->isEnabled(), state.has_value());
            EXPECT_EQ(label->text().toStdString(), state == false ? "" : names[key]);
        }
    }
}

} // namespace

namespace {
// The desktop's own keys and menu conventions: every top-level menu has its mnemonic,
// "Recent texts" sits above Exit, the play state and the encodings are one-of-many
// choices, and a text waiting stopped says how to begin.
TEST_F(AppFixture, Menus_MnemonicsRecentAboveExitRadioGroupsAndTheStartHint) {
    const QList<QAction*> menus = Frame->menuBar()->actions();
    for (const QAction* menu : menus)
        EXPECT_TRUE(menu->text().contains(QLatin1Char('&'))) << menu->text().toStdString();
    const QList<QAction*> file = OpenedMenu(0)->actions();
    ASSERT_GE(file.size(), 3);
    EXPECT_EQ(file.back(), Frame->ActionFor(Id::AppExit));
    EXPECT_EQ(file[file.size() - 3]->text().toStdString(), "Recent texts");
    for (const int id : {Id::Run, Id::Pause, Id::Stop, Id::EncodingAuto, Id::EncodingFirst}) {
        const QActionGroup* group = Frame->ActionFor(id)->actionGroup();
        ASSERT_NE(group, nullptr) << id;
        EXPECT_TRUE(group->isExclusive()) << id;
    }
    const auto* message = Frame->findChild<QLabel*>(QStringLiteral("MessagePane"));
    EXPECT_EQ(message->text().toStdString(), "Ready");
    OpenFromMenu(WriteText(QStringLiteral("t.txt"), "Some words to read."));
    EXPECT_EQ(message->text().toStdString(), "Press Space to read, F11 for full screen");
    Frame->ExecuteCommand(Id::Run);
    EXPECT_EQ(message->text().toStdString(), "Ready");
}
} // namespace

namespace {
// Pixels drawn fully opaque: an image that failed to load or render has none.
int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    }
    return count;
}

// Every toolbar image and the window's icon are drawn at the size the screen's scale
// asks for (1x, 1.5x, 2x of a 24 px toolbar) from a scalable drawing, not from bitmaps
// of fixed sizes.
TEST_F(AppFixture, Icons_RenderedAtEachScaleFromScalableDrawings) {
    std::vector<std::pair<QString, QIcon>> icons{{"window", AppIcon()}};
    for (QAction* action : Frame->ToolBar()->actions()) {
        if (!action->isSeparator())
            icons.emplace_back(action->text(), action->icon());
    }
    for (const auto& [name, icon] : icons) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_TRUE(icon.availableSizes().isEmpty()) << "bitmaps of fixed sizes";
        for (const qreal scale : {1.0, 1.5, 2.0}) {
            const QImage image = icon.pixmap(QSize(24, 24), scale).toImage();
            const int side = qRound(24 * scale);
            EXPECT_EQ(image.size(), QSize(side, side)) << "at " << scale;
            EXPECT_GT(OpaquePixels(image), side) << "at " << scale;
        }
    }
}
} // namespace
