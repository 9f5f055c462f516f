// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestSupport.h"

#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <csignal>
#include <functional>

namespace {

namespace Id = CommandId;
using Documents = AppFixture;
using Ints = std::vector<int>;

const QByteArray TextA = "Alpha text, first of two. It has several units; each is cut at "
                         "punctuation. Reading goes on, and on, until the end.";
const QByteArray TextB = "Beta text: shorter, but still a few units long.";

int CursorShape() {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : -1;
}

// Where the place goes when another text opens is checked with the ways out below.
TEST_F(Documents, SaveOpenAnotherAndBack_BookmarksAndSettingsGoThroughTheCompanion) {
    const QString a = WriteText("a.txt", TextA);
    OpenFromMenu(a);
    Frame->ExecuteCommand(Id::Run);
    Advance(8);
    Frame->ExecuteCommand(Id::AddBookmark);
    const int32_t marked = Bookmark();
    Settings().freq = 250;
    Frame->ExecuteCommand(Id::SaveFileSettings);
    EXPECT_EQ(Stored(a + ".skm"), (Ints{marked, 1, marked, 250}));
    OpenFromMenu(WriteText("b.txt", TextB));
    EXPECT_EQ(Settings().Book.BookmarksNum, 0);
    EXPECT_EQ(Settings().freq, 400u);
    OpenFromMenu(a);
    EXPECT_EQ(Bookmark(), marked);
    EXPECT_EQ(Settings().freq, 250u);
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

// The options panel reads the bookmarks whenever the flags change: those of the
// previous text are never read against the new one.
TEST_F(Documents, OpenAnother_WhileRunning_NoBookmarkSeenPastTheText) {
    OpenFromMenu(WriteText("a.txt", TextA));
    ASSERT_TRUE(Settings().SetPosition(TextB.size() + 10));
    Settings().AddBookmark();
    Frame->ExecuteCommand(Id::Run);
    struct CFollower final : IReadingListener {
        std::function<void()> Seen;
        void OnPlayFlagsChanged(uint32_t) override { Seen(); }
    } follower;
    std::vector<std::pair<int32_t, int32_t>> seen; // bookmark, text length
    follower.Seen = [&] {
        seen.emplace_back(Bookmark(), Settings().TextLength);
    };
    Session().AddListener(follower);
    OpenFromMenu(WriteText("b.txt", TextB));
    Session().RemoveListener(follower);
    ASSERT_FALSE(seen.empty());
    for (const auto& [bookmark, length] : seen)
        EXPECT_LE(bookmark, length);
    EXPECT_FALSE(Fakes.ScreenSaver.IsInhibited());
}

// A folder in the companion's place: refused whoever runs the test, root included.
TEST_F(Documents, OpenOrSaveFails_MessagesWithThePointerAndWhyTheReadingGoesOn) {
    const QString a = WriteText("a.txt", TextA);
    QDir().mkdir(a + ".skm");
    OpenFromMenu(a);
    ASSERT_TRUE(Settings().SetPosition(9));
    Settings().AddBookmark();
    Frame->ExecuteCommand(Id::Run);
    const auto before = Seen();
    Ints cursors; // not busy while a box waits for the reader
    Fakes.Dialogs.OnMessage = [&] {
        cursors.push_back(CursorShape());
    };
    OpenFromMenu(PathOf("gone.txt")); // removed after the dialog
    OpenFromMenu(WriteText("huge.txt", {}, CTextBuffer::SizeLimit));
    EXPECT_EQ(Seen(), before); // and no try to keep the shown text's settings
    Frame->ExecuteCommand(Id::SaveFileSettings);
    EXPECT_TRUE(View().PlayFlags() & CFlashView::RunningBit);
    Frame->close();
    EXPECT_FALSE(Frame->isVisible());
    OpenFromMenu(WriteText("b.txt", TextB));
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [b.txt]");
    EXPECT_EQ(cursors, Ints(5, Qt::ArrowCursor));
    const CShownMessage saving{"Error Saving File", MessageIcon::Warning, true};
    const CShownMessage tooLarge{"Size of a text buffer can not be more than 1 Gb",
                                 MessageIcon::Error};
    // Saving fails on command, at closing and when b is opened.
    const std::vector<CShownMessage> expected{
        {"Error Opening File", MessageIcon::Warning}, tooLarge, saving, saving, saving};
    EXPECT_EQ(Messages(), expected);
}

TEST_F(Documents, SaveAsDefault_SettingsOnly_NewTextsStartFromThem) {
    OpenFromMenu(WriteText("a.txt", TextA));
    ASSERT_TRUE(Settings().SetPosition(6));
    Settings().AddBookmark();
    Settings().freq = 321;
    Fakes.Dialogs.ConfirmAnswers.push_back(true);
    Frame->ExecuteCommand(Id::SaveAsDefault); // into a new config folder
    EXPECT_EQ(Stored(PathOf("config/skimmet/default.skm")), (Ints{-1, -1, -1, 321}));
    OpenFromMenu(WriteText("b.txt", TextB));
    EXPECT_EQ(Settings().freq, 321u);
    EXPECT_EQ(Settings().Book.BookmarksNum, 0);
}

TEST_F(Documents, SaveAsDefault_AnsweredNoOrFailing_SaysOnlyWhyItFailed) {
    WriteText("config", "a file where the config folder goes");
    Fakes.Dialogs.ConfirmAnswers.push_back(false);
    Frame->ExecuteCommand(Id::SaveAsDefault);
    Fakes.Dialogs.ConfirmAnswers.push_back(true);
    Frame->ExecuteCommand(Id::SaveAsDefault);
    const std::vector<CShownMessage> expected{{"Error Saving File", MessageIcon::Warning}};
    EXPECT_EQ(Messages(), expected);
}

// The reader's marks are the text's: loaded settings leave them, and the next save
// keeps them.
TEST_F(Documents, LoadSettings_TakesTheSettingsButNotThePlaceOrTheBookmarks) {
    const QString b = WriteText("b.txt", TextB);
    OpenFromMenu(b);
    ASSERT_TRUE(Settings().SetPosition(15));
    Settings().AddBookmark();
    Fakes.Dialogs.FileAnswers.push_back(
        WriteText("s.skm", "[MAIN]\nfreq=123\n[POSITION]\nCurPos=3\nBookmarksNum=0\n"));
    Frame->ExecuteCommand(Id::LoadSettings);
    EXPECT_EQ(Settings().freq, 123u);
    EXPECT_EQ(Offset(), 15);
    EXPECT_EQ(Settings().TextLength, TextB.size());
    Frame->close();
    EXPECT_EQ(Stored(b + ".skm"), (Ints{15, 1, 15, 123}));
}

// An empty file gives the defaults.
TEST_F(Documents, LoadSettings_UnreadableChangesNothingAndSaysWhy) {
    Settings().freq = 123;
    QDir().mkdir(PathOf("folder.skm"));
    Fakes.Dialogs.FileAnswers.push_back(PathOf("folder.skm"));
    Frame->ExecuteCommand(Id::LoadSettings);
    EXPECT_EQ(Settings().freq, 123u);
    Fakes.Dialogs.FileAnswers.push_back(WriteText("empty.skm", {}));
    Frame->ExecuteCommand(Id::LoadSettings);
    EXPECT_EQ(Settings().freq, 400u);
    const std::vector<CShownMessage> expected{{"Error Opening File", MessageIcon::Warning, true}};
    EXPECT_EQ(Messages(), expected);
}

// A text of 16 chunks, read on a clock that moves on 100 ms at each chunk: cancelled on
// its dialog, given up when the window closes at the fourth chunk, then read through;
// the text on the screen has its companion written before each read.
TEST_F(Documents, SlowRead_DialogFromHalfASecondCancelOrCloseKeepsThePreviousText) {
    const QString a = WriteText("a.txt", TextA);
    const QString big = WriteText("big.txt", {}, 16 * int64_t(CTextBuffer::ChunkSize));
    OpenFromMenu(a);
    const auto before = Seen();
    enum Then { Cancel, Close, Read } then = Cancel;
    Ints cursors, dialogs; // at each chunk
    QObject::connect(&Frame->Document(), &CTextDocument::ReadingProgress, [&] {
        cursors.push_back(CursorShape());
        Fakes.Clock.Advance(100);
        auto* dialog = Frame->findChild<QProgressDialog*>();
        dialogs.push_back(dialog && dialog->isVisible());
        if (dialog && then == Cancel)
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        if (then == Close && cursors.size() == 4)
            Frame->close();
    });
    for (const Then mode : {Cancel, Close, Read}) {
        SCOPED_TRACE(mode);
        then = mode, cursors.clear(), dialogs.clear();
        OpenFromMenu(big);
        EXPECT_EQ(cursors.size(), mode == Cancel ? 6u : mode == Close ? 4u : 16u);
        EXPECT_EQ(Seen() == before, mode != Read);
        EXPECT_TRUE(QFileInfo::exists(a + ".skm")) << "kept before the read";
        EXPECT_EQ(Frame->findChild<QProgressDialog*>(), nullptr);
    }
    EXPECT_EQ(std::count(dialogs.begin(), dialogs.end(), 1), 16 - 5); // from 500 ms on
    EXPECT_EQ(cursors.front(), Qt::WaitCursor);
    EXPECT_EQ(cursors.back(), Qt::BusyCursor);
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [big.txt]");
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

// Newest first, by name with the folder as tooltip; the Open dialog starts in the folder.
TEST_F(Documents, RecentTexts_NewestFirstAndChosenOneOpens) {
    OpenedMenu(0);
    auto* menu = Frame->findChild<QMenu*>("RecentTextsMenu");
    emit menu->aboutToShow();
    EXPECT_FALSE(menu->actions().front()->isEnabled()); // "No recent texts"
    OpenFromMenu(WriteText("a.txt", TextA));
    OpenFromMenu(WriteText("b&c.txt", TextB));
    EXPECT_EQ(Fakes.Dialogs.FileFolders, QStringList({"", Folder.path()}));
    emit menu->aboutToShow();
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), "b&&c.txt");
    EXPECT_EQ(items[1]->toolTip(), Folder.path());
    items[1]->trigger();
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [a.txt]");
}

// Dropped on the window, or named relative to the working folder as main starts the program.
TEST_F(Documents, DroppedOrStartFile_OpenedByItsFullPath) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(WriteText("dropped.txt", TextB))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame, &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [dropped.txt]");
    const QString saved = QDir::currentPath();
    QDir::setCurrent(Folder.path());
    App = std::make_unique<CSkimmetApp>(Fakes.Services);
    App->SetStartFile("dropped.txt");
    App->InitInstance(std::make_unique<CFakeLockKeys>());
    const CTextDocument& document = App->MainFrame()->Document();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !document.OpenPath().empty(); }, 5000));
    QDir::setCurrent(saved);
    EXPECT_EQ(QString::fromStdString(document.OpenPath()), PathOf("dropped.txt"));
    App = std::make_unique<CSkimmetApp>(Fakes.Services);
    App->SetStartFile(qPrintable(PathOf("missing.txt")));
    // A box of that open waits for the window on the screen, so that it is centred on it.
    Fakes.Dialogs.OnMessage = [&] {
        EXPECT_TRUE(App->MainFrame()->windowHandle()->isExposed());
    };
    App->InitInstance(std::make_unique<CFakeLockKeys>());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Fakes.Dialogs.Messages.empty(); }, 5000));
}

void DropText(QWidget* on, const QByteArray& text) {
    QMimeData data;
    data.setText(QString::fromUtf8(text));
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(on, &drop);
    QCoreApplication::processEvents();
}

// "Open as plain text" reads a page's markup as it is, and its companion file has it read
// so again whichever filter opens it; the same page opened otherwise is read as a page.
TEST_F(Documents, OpenAsPlainText_ReadsTheMarkupAndKeepsReadingItSo) {
    const QByteArray page = "<!DOCTYPE html><html><body><p>Hello</p></body></html>";
    const QString path = WriteText("page.html", page);
    Fakes.Dialogs.FilterAnswer = CTextDocument::PlainTextFilter;
    OpenFromMenu(path);
    EXPECT_EQ(Fakes.Dialogs.FileFilters.at(CTextDocument::PlainTextFilter).toStdString(),
              "Open as plain text (*)");
    EXPECT_EQ(Settings().TextLength, page.size());
    Fakes.Dialogs.FilterAnswer = 0;
    OpenFromMenu(WriteText("other.html", page));
    EXPECT_LT(Settings().TextLength, page.size());
    OpenFromMenu(path);
    EXPECT_EQ(Settings().TextLength, page.size());
}

// Pasted, it is read as "Clipboard" and listed so; given again (dropped) after another
// text, it goes on from its place; a clipboard of blanks says so.
TEST_F(Documents, Paste_ReadsTheClipboardAndGivenAgainGoesOnFromItsPlace) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(TextA));
    Frame->ExecuteCommand(Id::EditPaste);
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [Clipboard]");
    EXPECT_EQ(Settings().TextLength, TextA.size());
    Session().JumpTo(26);
    OpenFromMenu(WriteText("b.txt", TextB));
    DropText(Frame, TextA);
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [Clipboard]");
    EXPECT_EQ(Offset(), 26);
    OpenedMenu(0);
    auto* menu = Frame->findChild<QMenu*>("RecentTextsMenu");
    emit menu->aboutToShow();
    EXPECT_EQ(menu->actions().front()->text().toStdString(),
              "Clipboard: Alpha text, first of two. It has several…");
    QGuiApplication::clipboard()->setText(" \n\t");
    Frame->ExecuteCommand(Id::EditPaste);
    EXPECT_EQ(Messages(), (std::vector<CShownMessage>{
                              {"There is no text to read.", MessageIcon::Information, false}}));
}

// Running, the unit on the screen; paused, the sentence around the place.
TEST_F(Documents, Copy_TheUnitShownOrPausedTheSentenceAroundIt) {
    OpenFromMenu(WriteText("a.txt", TextA));
    Frame->ExecuteCommand(Id::Run);
    Advance(4);
    Frame->ExecuteCommand(Id::EditCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "first of two.");
    Frame->ExecuteCommand(Id::Pause);
    Frame->ExecuteCommand(Id::EditCopy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "Alpha text, first of two.");
}

// SIGTERM while another text is being read: the read is given up, the text on the
// screen has its place in its companion file, and the program ends at once.
TEST_F(Documents, TerminationDuringARead_KeepsThePlaceAndEnds) {
    const QString a = WriteText("a.txt", TextA);
    OpenFromMenu(a);
    Session().JumpTo(26);
    const QString big = WriteText("big.txt", {}, 16 * int64_t(CTextBuffer::ChunkSize));
    const CTerminationSignals termination([this] { App->EndSession(); });
    int chunks = 0;
    QObject::connect(&Frame->Document(), &CTextDocument::ReadingProgress, [&] {
        if (++chunks == 2)
            std::raise(SIGTERM);
    });
    const QObject scope;
    QTimer::singleShot(0, &scope, [&] { OpenFromMenu(big); });
    QTimer::singleShot(5000, &scope, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0) << "not ended within 5 s";
    EXPECT_LT(chunks, 16);
    EXPECT_EQ(Stored(a + ".skm")[0], 26);
}

// Where each signal leaves the place is checked with the ways out below.
TEST(Sessions, HangupInFullScreen_PutsTheDisplayModeBackAndReleasesTheScreenSaver) {
    FreshApp app;
    app.OpenFromMenu(app.WriteText("b.txt", TextB));
    app.Frame->ExecuteCommand(Id::Run);
    app.Frame->ExecuteCommand(Id::FullScreen);
    RaiseAndRun(app, SIGHUP);
    EXPECT_FALSE(app.Frame->isVisible());
    app.App.reset();
    EXPECT_EQ(app.Fakes.DisplayModes.Restores, 1);
    EXPECT_FALSE(app.Fakes.ScreenSaver.IsInhibited());
    EXPECT_TRUE(app.Fakes.Dialogs.Messages.empty());
}

// A text opened at the place its companion file keeps, then left at once, keeps that
// place whichever way the program or the text is left.
struct WayOutRow {
    const char* Name;
    std::function<void(FreshApp&)> Leave;
};

TEST(WaysOut, OpenedAtAStoredPlace_LeftAtOnce_KeepsThePlace) {
    const WayOutRow rows[] = {
        {"window close",
         [](FreshApp& app) {
             app.Frame->close();
         }},
        {"File > Exit",
         [](FreshApp& app) {
             app.Frame->ExecuteCommand(Id::AppExit);
         }},
        {"another text opened",
         [](FreshApp& app) {
             app.OpenFromMenu(app.WriteText("b.txt", TextB));
         }},
        {"read again in an encoding, then closed",
         [](FreshApp& app) {
             app.Frame->ExecuteCommand(Id::EncodingFirst);
             app.Frame->close();
         }},
        {"terminate",
         [](FreshApp& app) {
             RaiseAndRun(app, SIGTERM);
         }},
        {"hangup",
         [](FreshApp& app) {
             RaiseAndRun(app, SIGHUP);
         }},
        {"interrupt",
         [](FreshApp& app) {
             RaiseAndRun(app, SIGINT);
         }},
    };
    constexpr int Stored = 26;
    for (const WayOutRow& row : rows) {
        SCOPED_TRACE(row.Name);
        FreshApp app;
        const QString a = app.WriteText("a.txt", TextA);
        app.WriteText("a.txt.skm", "[POSITION]\nCurPos=26\n");
        app.OpenFromMenu(a);
        ASSERT_EQ(app.Offset(), Stored);
        row.Leave(app);
        EXPECT_EQ(AppFixture::Stored(a + ".skm")[0], Stored);
    }
}

TEST_F(Documents, SecondWindowOnOneText_SaysSoOnceReadOnlyAndWritesNothingTillReopened) {
    const QString b = WriteText("b.txt", TextB);
    OpenFromMenu(b);
    const auto open = [this](const QString& path) {
        auto frame = std::make_unique<CMainFrame>(Fakes.Services);
        frame->Document().OpenLocal(QFile::encodeName(path).toStdString());
        return frame;
    };
    QDir().mkdir(PathOf("sub"));
    const auto reader = open(PathOf("sub/../b.txt"));
    const std::vector<CShownMessage> said{
        {"This text is open in another Skimmet window.", MessageIcon::Information, true}};
    EXPECT_EQ(Messages(), said);
    EXPECT_TRUE(reader->windowTitle().endsWith("[b.txt] (read-only)"));
    EXPECT_FALSE(reader->StateOf(Id::SaveFileSettings).Enabled);
    reader->Settings().AddBookmark();
    reader->close();
    EXPECT_EQ(QFileInfo(b + ".skm").size(), 0);
    Frame->close();
    EXPECT_EQ(Stored(b + ".skm")[1], 0);
    EXPECT_TRUE(open(b)->StateOf(Id::SaveFileSettings).Enabled);
    EXPECT_EQ(Messages(), said); // once
}

} // namespace

namespace {
// A book is read into text, and its companion keeps the place in that text; a broken
// book says why and leaves the text on the screen.
TEST_F(Documents, Book_ReopenedAtItsPlaceWithItsBookmarkAndABrokenOneSaysWhy) {
    const QString book = WriteText("novel.html", "<html><head><title>T</title></head><body>"
                                                 "<p>One two three.</p><p>Four five six.</p>"
                                                 "<p>Seven eight nine.</p></body></html>");
    OpenFromMenu(book);
    Settings().SetPosition(15);
    Settings().AddBookmark();
    OpenFromMenu(WriteText("broken.fb2", "<?xml version=\"1.0\"?><FictionBook><body><p>cut"));
    // A book cut off after its first entry: no zip directory to open.
    OpenFromMenu(WriteText("cut.epub", QByteArray("PK\x03\x04") + "mimetypeapplication/epub+zip"));
    const CShownMessage broken{"Error Opening File", MessageIcon::Warning, true};
    EXPECT_EQ(Messages(), (std::vector<CShownMessage>{broken, broken}));
    EXPECT_FALSE(QFileInfo::exists(PathOf("cut.epub.skm")));
    OpenFromMenu(WriteText("other.txt", "Other text."));
    OpenFromMenu(book);
    EXPECT_EQ(Offset(), 15);
    EXPECT_EQ(Bookmark(), 15);
    EXPECT_TRUE(QFileInfo::exists(book + ".skm"));
}
} // namespace
