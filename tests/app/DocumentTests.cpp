#include "AppTestSupport.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <algorithm>

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

TEST_F(Documents, SaveOpenAnotherAndBack_PositionBookmarksAndSettingsGoThroughTheCompanion) {
    const QString a = WriteText("a.txt", TextA), b = WriteText("b.txt", TextB);
    OpenFromMenu(a);
    Frame->ExecuteCommand(Id::Run);
    Advance(8);
    Frame->ExecuteCommand(Id::AddBookmark);
    const int32_t marked = Bookmark();
    ASSERT_GT(marked, TextB.size());
    Settings().freq = 250;
    Frame->ExecuteCommand(Id::SaveFileSettings); // the bookmark is where the reading was
    EXPECT_EQ(Stored(a + ".skm"), (Ints{marked, 1, marked, 250}));
    ASSERT_TRUE(Settings().SetPosition(marked + 7));
    Frame->ExecuteCommand(Id::Run);
    Ints seen; // what the options panel reads whenever the flags change
    const QObject follower;
    QObject::connect(&View(), &CFlashView::PlayFlagsChanged, &follower, [&] {
        seen.insert(seen.end(), {Bookmark(), Settings().TextLength});
    });
    OpenFromMenu(b);
    ASSERT_FALSE(seen.empty());
    EXPECT_LE(*std::max_element(seen.begin(), seen.end()), TextB.size()); // nothing past it
    EXPECT_FALSE(Fakes.ScreenSaver.IsInhibited());
    EXPECT_EQ(Stored(a + ".skm"), (Ints{marked + 7, 1, marked, 250}));
    EXPECT_EQ(
        (Ints{Offset(), Settings().Book.BookmarksNum, int(Settings().freq), Settings().TextLength}),
        (Ints{0, 0, 400, int(TextB.size())}));
    OpenFromMenu(a);
    EXPECT_EQ((Ints{Offset(), Settings().Book.BookmarksNum, Bookmark(), int(Settings().freq)}),
              (Ints{marked + 7, 1, marked, 250}));
    OpenFromMenu(a); // the same text again keeps its position
    EXPECT_EQ(Offset(), marked + 7);
    Frame->close();
    EXPECT_EQ(Stored(a + ".skm"), (Ints{0, 1, marked, 250}));
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
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
    const auto& shown = Fakes.Dialogs.Messages;
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].Text, "Error Opening File");
    EXPECT_EQ(shown[0].Icon, MessageIcon::Warning);
    EXPECT_EQ(shown[1].Text, "Size of a text buffer can not be more than 1 Gb");
    EXPECT_EQ(shown[1].Icon, MessageIcon::Error);
    for (size_t i = 2; i < shown.size(); ++i) { // saving: on command, closing and opening b
        EXPECT_EQ(shown[i].Text, "Error Saving File");
        EXPECT_FALSE(shown[i].Informative.isEmpty());
        EXPECT_EQ(shown[i].Icon, MessageIcon::Warning);
    }
}

TEST_F(Documents, SaveAsDefaultThenLoadSettings_DefaultsForNewTextsChosenFileForThisOne) {
    OpenFromMenu(WriteText("a.txt", TextA));
    ASSERT_TRUE(Settings().SetPosition(6));
    Settings().AddBookmark();
    Settings().freq = 321;
    Fakes.Dialogs.ConfirmAnswers.push_back(true);
    Frame->ExecuteCommand(Id::SaveAsDefault); // settings only, into a new config folder
    EXPECT_EQ(Stored(PathOf("config/skimmet/default.skm")), (Ints{-1, -1, -1, 321}));
    OpenFromMenu(WriteText("b.txt", TextB));
    EXPECT_EQ((Ints{int(Settings().freq), Settings().Book.BookmarksNum, Offset()}),
              (Ints{321, 0, 0}));
    ASSERT_TRUE(Settings().SetPosition(15));
    Fakes.Dialogs.FileAnswers.push_back(
        WriteText("s.skm", "[MAIN]\nfreq=123\n[POSITION]\nCurPos=3"));
    Frame->ExecuteCommand(Id::LoadSettings); // its settings, not its position
    EXPECT_EQ((Ints{int(Settings().freq), Offset(), Settings().TextLength}),
              (Ints{123, 15, int(TextB.size())}));
    QDir(PathOf("config")).removeRecursively();
    WriteText("config", "a file where the config folder goes");
    Frame->ExecuteCommand(Id::SaveAsDefault); // No: nothing tried, nothing shown
    Fakes.Dialogs.ConfirmAnswers.push_back(true);
    Frame->ExecuteCommand(Id::SaveAsDefault);
    ASSERT_EQ(Fakes.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Fakes.Dialogs.Messages[0].Text, "Error Saving File");
}

// A text of 16 chunks, read on a clock that moves on 100 ms at each chunk: cancelled on
// its dialog, given up when the window closes at the fourth chunk, then read through.
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
        then = mode;
        cursors.clear();
        dialogs.clear();
        OpenFromMenu(big);
        EXPECT_EQ(cursors.size(), mode == Cancel ? 6u : mode == Close ? 4u : 16u);
        EXPECT_EQ(Seen() == before, mode != Read);
        EXPECT_EQ(QFileInfo::exists(a + ".skm"), mode != Cancel);
        EXPECT_EQ(Frame->findChild<QProgressDialog*>(), nullptr);
    }
    EXPECT_EQ(std::count(dialogs.begin(), dialogs.end(), 1), 16 - 5); // from 500 ms on
    EXPECT_EQ(cursors.front(), Qt::WaitCursor);
    EXPECT_EQ(cursors.back(), Qt::BusyCursor);
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [big.txt]");
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

// A file dropped on the window, or named relative to the working folder on the command
// line as main starts the program.
TEST_F(Documents, DroppedOrStartFile_OpenedByItsFullPath) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(WriteText("dropped.txt", TextB))});
    // A drop goes to the window that took the drag when it entered.
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
    QDir::setCurrent(saved);
    EXPECT_EQ(QString::fromStdString(App->MainFrame()->Document().OpenPath()),
              PathOf("dropped.txt"));
}

} // namespace
