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
#include <vector>

namespace {

namespace Id = CommandId;
using Documents = AppFixture;
using Ints = std::vector<int>;

const QByteArray TextA = "Alpha text, first of two. It has several units; each is cut at "
                         "punctuation. Reading goes on, and on, until the end.";
const QByteArray TextB = "Beta text: shorter, but still a few units long.";
const QString SavingFailed = QStringLiteral("Error Saving File");

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
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [b.txt]");
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

TEST_F(Documents, OpenFails_MessageWithThePointerPreviousTextAsItWasNoCompanionWritten) {
    OpenFromMenu(WriteText("shown.txt", TextA));
    ASSERT_TRUE(Settings().SetPosition(9));
    Settings().AddBookmark();
    const auto before = Seen();
    Ints cursors; // not busy while a box waits for the reader
    Fakes.Dialogs.OnMessage = [&] {
        cursors.push_back(CursorShape());
    };
    OpenFromMenu(PathOf("gone.txt")); // removed after the dialog
    OpenFromMenu(WriteText("huge.txt", {}, CTextBuffer::SizeLimit));
    EXPECT_EQ(cursors, (Ints{Qt::ArrowCursor, Qt::ArrowCursor}));
    ASSERT_EQ(MessageTexts(),
              (std::vector<QString>{"Error Opening File",
                                    "Size of a text buffer can not be more than 1 Gb"}));
    EXPECT_EQ(Fakes.Dialogs.Messages[0].Icon, MessageIcon::Warning);
    EXPECT_EQ(Fakes.Dialogs.Messages[1].Icon, MessageIcon::Error);
    EXPECT_EQ(Seen(), before);
    EXPECT_FALSE(QFileInfo::exists(PathOf("shown.txt.skm")));
}

// A folder in the companion's place: refused whoever runs the test, root included.
TEST_F(Documents, CompanionUnwritable_SaveCloseOpenAnother_ErrorSavingFileWithWhyAndAllGoesOn) {
    const QString a = WriteText("a.txt", TextA);
    QDir().mkdir(a + ".skm");
    OpenFromMenu(a);
    Frame->ExecuteCommand(Id::Run);
    Frame->ExecuteCommand(Id::SaveFileSettings);
    ASSERT_EQ(Fakes.Dialogs.Messages.size(), 1u);
    EXPECT_FALSE(Fakes.Dialogs.Messages[0].Informative.isEmpty());
    EXPECT_EQ(Fakes.Dialogs.Messages[0].Icon, MessageIcon::Warning);
    EXPECT_TRUE(View().PlayFlags() & CFlashView::RunningBit);
    Frame->close();
    EXPECT_FALSE(Frame->isVisible());
    OpenFromMenu(WriteText("b.txt", TextB));
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [b.txt]");
    EXPECT_EQ(MessageTexts(), std::vector<QString>(3, SavingFailed));
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
    Settings().AddBookmark();
    Settings().durat = 999;
    Fakes.Dialogs.FileAnswers.push_back(
        WriteText("fast.skm",
                  "[MAIN]\nfreq=123\nMaxText=40\n[POSITION]\nStep=5\nCurPos=3\nBookmarksNum=1\n"));
    Frame->ExecuteCommand(Id::LoadSettings);
    const CReadingSettings& s = Settings();
    // durat is missing from the file: the default, not the earlier value.
    EXPECT_EQ((Ints{int(s.freq), s.MaxText, int(s.durat), s.Book.Step, s.Book.BookmarksNum,
                    Offset(), s.TextLength}),
              (Ints{123, 40, 700, 5, 0, 15, int(TextB.size())}));
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
    QDir(PathOf("config")).removeRecursively();
    WriteText("config", "a file where the config folder goes");
    Frame->ExecuteCommand(Id::SaveAsDefault); // No: nothing tried, nothing shown
    Fakes.Dialogs.ConfirmAnswers.push_back(true);
    Frame->ExecuteCommand(Id::SaveAsDefault);
    EXPECT_EQ(MessageTexts(), std::vector<QString>{SavingFailed});
}

// A text of 16 chunks, read on a clock that moves on at each chunk: cancelled at the
// second chunk with a dialog, given up when the window closes at the fourth, then read.
TEST_F(Documents, SlowRead_DialogFromHalfASecondCancelOrCloseKeepsThePreviousText) {
    const QString a = WriteText("a.txt", TextA);
    const QString big = WriteText("big.txt", {}, 16 * int64_t(CTextBuffer::ChunkSize));
    OpenFromMenu(a);
    const auto before = Seen();
    enum Then { Cancel, Close, Nothing } then = Cancel;
    int withDialog = 0;
    Ints cursors;
    QObject::connect(&Frame->Document(), &CTextDocument::ReadingProgress, [&] {
        cursors.push_back(CursorShape());
        Fakes.Clock.Advance(100);
        if (then == Close && cursors.size() == 4)
            Frame->close();
        auto* dialog = Frame->findChild<QProgressDialog*>();
        if (dialog && dialog->isVisible() && ++withDialog == 2 && then == Cancel)
            QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
    });
    for (const auto mode : {Cancel, Close}) {
        SCOPED_TRACE(mode);
        then = mode;
        cursors.clear();
        OpenFromMenu(big);
        EXPECT_LT(cursors.size(), 16u);
        EXPECT_EQ(Seen(), before);
        EXPECT_EQ(QFileInfo::exists(a + ".skm"), then == Close);
    }
    then = Nothing;
    withDialog = 0;
    cursors.clear();
    OpenFromMenu(big);
    EXPECT_EQ(withDialog, 16 - 5); // shown after the fifth chunk (500 ms)
    EXPECT_EQ(cursors.front(), Qt::WaitCursor);
    EXPECT_EQ(cursors.back(), Qt::BusyCursor);
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [big.txt]");
    EXPECT_EQ(Frame->findChild<QProgressDialog*>(), nullptr);
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

TEST_F(Documents, Drop_OneLocalFile_Opened) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(WriteText("dropped.txt", TextB))});
    // A drop goes to the window that took the drag when it entered.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame, &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [dropped.txt]");
}

// The program as main starts it with a file named on the command line.
TEST_F(Documents, StartFile_RelativeName_OpenedWithItsCompanionBesideIt) {
    WriteText("start.txt", TextA);
    const QString saved = QDir::currentPath();
    QDir::setCurrent(Folder.path());
    App = std::make_unique<CSkimmetApp>(Fakes.Services);
    App->SetStartFile("start.txt");
    App->InitInstance(std::make_unique<CFakeLockKeys>());
    Frame = App->MainFrame();
    QDir::setCurrent(saved);
    EXPECT_EQ(Frame->windowTitle(), "Skimmet: [start.txt]");
    EXPECT_EQ(Frame->Document().OpenPath(), PathOf("start.txt")); // where its companion goes
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

} // namespace
