#include "DocumentTestSupport.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

#include <vector>

namespace {

namespace Id = CommandId;

const QByteArray TextA = "Alpha text, first of two. It has several units; each is cut at "
                         "punctuation. Reading goes on, and on, until the end.";
const QByteArray TextB = "Beta text: shorter, but still a few units long.";
const QString OpeningFailed = QStringLiteral("Error Opening File");
const QString SavingFailed = QStringLiteral("Error Saving File");
const QString TooLarge = QStringLiteral("Size of a text buffer can not be more than 1 Gb");
const uint32_t Stopped = CFlashView::TextLoadedBit | CFlashView::StoppedBit;

using Documents = DocumentFixture;

TEST_F(Documents, OpenAnotherAndBack_PositionBookmarksAndSettingsGoThroughTheCompanion) {
    const QString a = WriteText(QStringLiteral("a.txt"), TextA);
    const QString b = WriteText(QStringLiteral("b.txt"), TextB);
    OpenFromMenu(a);
    Frame->ExecuteCommand(Id::Run);
    Advance(6);
    Frame->ExecuteCommand(Id::AddBookmark);
    const int32_t marked = Bookmark(0);
    ASSERT_GT(marked, 0);
    ASSERT_TRUE(Frame->Settings().SetPosition(marked + 7));
    Frame->Settings().freq = 250;
    Frame->ExecuteCommand(Id::Run);
    OpenFromMenu(b);
    EXPECT_FALSE(Fakes.ScreenSaver.IsInhibited());
    EXPECT_EQ(Companion(a), (std::vector<int>{marked + 7, 1, marked, 250}));
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [b.txt]"));
    EXPECT_EQ(QByteArray(View().TextStart()), TextB);
    EXPECT_EQ((std::vector<int>{Offset(), Frame->Settings().Book.BookmarksNum,
                                int(Frame->Settings().freq), Frame->Settings().TextLength}),
              (std::vector<int>{0, 0, 400, int(TextB.size())}));
    OpenFromMenu(a);
    EXPECT_TRUE(QFileInfo::exists(b + QStringLiteral(".skm")));
    EXPECT_EQ((std::vector<int>{Offset(), Frame->Settings().Book.BookmarksNum, Bookmark(0),
                                int(Frame->Settings().freq)}),
              (std::vector<int>{marked + 7, 1, marked, 250}));
    EXPECT_EQ(View().PlayFlags(), Stopped);
    OpenFromMenu(a); // the same text again keeps its position
    EXPECT_EQ(Offset(), marked + 7);
    Frame->close();
    EXPECT_FALSE(Frame->isVisible());
    EXPECT_EQ(Companion(a), (std::vector<int>{0, 1, marked, 250}));
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

TEST_F(Documents, OpenShorterOrEmpty_NoFollowerSeesABookmarkPastTheTextAndEmptyEndsAtOnce) {
    OpenFromMenu(WriteText(QStringLiteral("a.txt"), TextA));
    ASSERT_TRUE(Frame->Settings().SetPosition(TextA.size() - 2));
    Frame->Settings().AddBookmark();
    std::vector<int32_t> seen; // as the options panel reads them on every change of the flags
    QObject::connect(&View(), &CFlashView::PlayFlagsChanged, [&] {
        seen.push_back(Bookmark(0));
        seen.push_back(Frame->Settings().TextLength);
    });
    OpenFromMenu(WriteText(QStringLiteral("b.txt"), TextB));
    ASSERT_FALSE(seen.empty());
    for (const int32_t value : seen)
        EXPECT_LE(value, TextB.size());
    OpenFromMenu(WriteText(QStringLiteral("empty.txt"), {}));
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [empty.txt]"));
    ASSERT_NE(View().TextStart(), nullptr);
    EXPECT_EQ(Frame->Settings().TextLength + Frame->Document().Text().Size(), 0);
    Frame->ExecuteCommand(Id::Run);
    ReadToTheEnd();
    EXPECT_EQ(View().PlayFlags(), Stopped);
}

TEST(UnopenableFiles, Open_RefusedBeforeReadingWithThePointer_PreviousTextAsItWas) {
    const struct {
        const char* Name;
        QString (*Make)(DocumentFixture&);
        QString Message;
        MessageIcon Icon;
    } cases[] = {
        {"Folder", [](DocumentFixture& f) { return QDir().mkdir(f.PathOf("d")), f.PathOf("d"); },
         OpeningFailed, MessageIcon::Warning},
        {"RemovedAfterTheDialog", [](DocumentFixture& f) { return f.PathOf("gone.txt"); },
         OpeningFailed, MessageIcon::Warning},
        // A pipe would block a plain open until a writer came.
        {"Fifo",
         [](DocumentFixture& f) {
             return ::mkfifo(qPrintable(f.PathOf("p")), 0600), f.PathOf("p");
         },
         OpeningFailed, MessageIcon::Warning},
        {"OneGigabyte",
         [](DocumentFixture& f) { return f.WriteSparse("huge.txt", CTextBuffer::SizeLimit); },
         TooLarge, MessageIcon::Error}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Fresh<DocumentFixture> f;
        f.OpenFromMenu(f.WriteText(QStringLiteral("shown.txt"), TextA));
        ASSERT_TRUE(f.Frame->Settings().SetPosition(9));
        f.Frame->Settings().AddBookmark();
        const auto before = f.Seen();
        const QString path = c.Make(f);
        bool read = false;
        QObject::connect(&f.Frame->Document(), &CTextDocument::ReadingProgress,
                         [&] { read = true; });
        int cursor = -2; // the message comes with the pointer, not busy
        f.Fakes.Dialogs.OnMessage = [&] {
            const QCursor* shape = QGuiApplication::overrideCursor();
            cursor = shape ? shape->shape() : -1;
        };
        f.OpenFromMenu(path);
        EXPECT_EQ(cursor, Qt::ArrowCursor);
        ASSERT_EQ(f.Fakes.Dialogs.Messages.size(), 1u);
        EXPECT_EQ(f.Fakes.Dialogs.Messages[0].Text, c.Message);
        EXPECT_EQ(f.Fakes.Dialogs.Messages[0].Icon, c.Icon);
        EXPECT_FALSE(read);
        EXPECT_EQ(f.Seen(), before);
        EXPECT_FALSE(QFileInfo::exists(f.PathOf(QStringLiteral("shown.txt.skm"))));
        EXPECT_FALSE(QFileInfo(path + QStringLiteral(".skm")).isFile());
    }
}

// A folder in the companion's place, or a name one longer than the file system allows once
// ".skm" is added: refused whoever runs the test, root included.
TEST(UnwritableCompanions, SaveCloseOrOpenAnother_ErrorSavingFileWithWhyAndReadingGoesOn) {
    for (const bool folder : {true, false}) {
        for (const bool openAnother : {false, true}) {
            SCOPED_TRACE(std::to_string(folder) + (openAnother ? " open another" : " save"));
            Fresh<DocumentFixture> f;
            const QString path =
                f.WriteText(folder ? QStringLiteral("a.txt") : QString(252, 'n'), TextA);
            if (folder)
                QDir().mkdir(path + QStringLiteral(".skm"));
            f.OpenFromMenu(path);
            ASSERT_TRUE(f.Fakes.Dialogs.Messages.empty());
            f.Frame->ExecuteCommand(Id::Run);
            if (openAnother) {
                f.OpenFromMenu(f.WriteText(QStringLiteral("b.txt"), TextB));
                EXPECT_EQ(f.MessageTexts(), std::vector<QString>{SavingFailed});
                EXPECT_EQ(f.Frame->windowTitle(), QStringLiteral("Skimmet: [b.txt]"));
                continue;
            }
            f.Frame->ExecuteCommand(Id::SaveFileSettings);
            ASSERT_EQ(f.Fakes.Dialogs.Messages.size(), 1u);
            EXPECT_EQ(f.Fakes.Dialogs.Messages[0].Text, SavingFailed);
            EXPECT_FALSE(f.Fakes.Dialogs.Messages[0].Informative.isEmpty());
            EXPECT_EQ(f.Fakes.Dialogs.Messages[0].Icon, MessageIcon::Warning);
            EXPECT_TRUE(f.View().PlayFlags() & CFlashView::RunningBit);
            f.Frame->close();
            EXPECT_EQ(f.MessageTexts(), (std::vector<QString>{SavingFailed, SavingFailed}));
            EXPECT_FALSE(f.Frame->isVisible());
        }
    }
}

TEST_F(Documents, SaveOfThisFile_WritesTheFullCompanion) {
    const QString a = WriteText(QStringLiteral("a.txt"), TextA);
    OpenFromMenu(a);
    ASSERT_TRUE(Frame->Settings().SetPosition(4));
    Frame->Settings().AddBookmark();
    Frame->ExecuteCommand(Id::SaveFileSettings);
    EXPECT_EQ(Companion(a), (std::vector<int>{4, 1, 4, 400}));
    EXPECT_EQ(ReadProfile(a + ".skm").GetString("MAIN", "StopSimbols", "", 100), ",;.:?!\\n\\r");
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

TEST_F(Documents, LoadSettings_ChosenFile_SettingsFromItBookmarksGonePositionKept) {
    OpenFromMenu(WriteText(QStringLiteral("a.txt"), TextA));
    ASSERT_TRUE(Frame->Settings().SetPosition(15));
    Frame->Settings().AddBookmark();
    Frame->Settings().durat = 999;
    Fakes.Dialogs.FileAnswers.push_back(
        WriteText("fast.skm",
                  "[MAIN]\nfreq=123\nMaxText=40\n[POSITION]\nStep=5\nCurPos=3\nBookmarksNum=1\n"));
    Frame->ExecuteCommand(Id::LoadSettings);
    EXPECT_EQ(Fakes.Dialogs.LastFileTitle, QStringLiteral("Open settings..."));
    EXPECT_EQ(Fakes.Dialogs.LastFileFilters.join('|'),
              QStringLiteral("Skimmet settings (*.SKM)|INI-Files (*.ini)|All Files (*)"));
    EXPECT_EQ(Fakes.Dialogs.LastDefaultSuffix, QStringLiteral("skm"));
    const CReadingSettings& s = Frame->Settings();
    // durat is missing from the file: the default, not the earlier value.
    EXPECT_EQ((std::vector<int>{int(s.freq), s.MaxText, int(s.durat), s.Book.Step,
                                s.Book.BookmarksNum, Offset(), s.TextLength}),
              (std::vector<int>{123, 40, 700, 5, 0, 15, int(TextA.size())}));
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

TEST_F(Documents, SaveAsDefault_Yes_SettingsOnlyIntoANewConfigFolderUsedForNewTexts) {
    OpenFromMenu(WriteText(QStringLiteral("a.txt"), TextA));
    ASSERT_TRUE(Frame->Settings().SetPosition(6));
    Frame->Settings().AddBookmark();
    Frame->Settings().freq = 321;
    Fakes.Dialogs.ConfirmAnswers.push_back(true);
    Frame->ExecuteCommand(Id::SaveAsDefault);
    EXPECT_EQ(Fakes.Dialogs.Confirmations, std::vector<QString>{QStringLiteral("Are you sure?")});
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
    const CProfileFile defaults = ReadProfile(DefaultsFile());
    EXPECT_EQ(defaults.GetInt("MAIN", "freq", -1), 321);
    EXPECT_EQ(defaults.GetInt("POSITION", "Step", -1), 1);
    EXPECT_EQ(defaults.GetInt("POSITION", "CurPos", -1) +
                  defaults.GetInt("POSITION", "BookmarksNum", -1),
              -2);
    OpenFromMenu(WriteText(QStringLiteral("b.txt"), TextB));
    EXPECT_EQ(Frame->Settings().freq, 321u);
    EXPECT_EQ(Frame->Settings().Book.BookmarksNum + Offset(), 0);
    // A file where the config folder goes.
    QDir(ConfigHome()).removeRecursively();
    QDir().mkpath(ConfigHome());
    WriteText(QStringLiteral("config/skimmet"), "not a folder");
    Fakes.Dialogs.ConfirmAnswers.push_back(true);
    Frame->ExecuteCommand(Id::SaveAsDefault);
    EXPECT_EQ(MessageTexts(), std::vector<QString>{SavingFailed});
}

// A text of 16 chunks, read on a clock that moves on at each chunk; the test may click
// Cancel or close the window at a chunk.
TEST(ReadingProgress, SlowReadCancelledOrWindowClosed_DialogFromHalfASecondPreviousTextKept) {
    enum class Then { Nothing, Cancel, Close };
    for (const Then then : {Then::Nothing, Then::Cancel, Then::Close}) {
        SCOPED_TRACE(int(then));
        Fresh<DocumentFixture> f;
        const QString a = f.WriteText(QStringLiteral("a.txt"), TextA);
        f.OpenFromMenu(a);
        const auto before = f.Seen();
        const QString big =
            f.WriteSparse(QStringLiteral("big.txt"), 16 * int64_t(CTextBuffer::ChunkSize));
        int chunks = 0, withDialog = 0;
        std::vector<int> cursors;
        QObject::connect(&f.Frame->Document(), &CTextDocument::ReadingProgress, [&] {
            ++chunks;
            const QCursor* cursor = QGuiApplication::overrideCursor();
            cursors.push_back(cursor ? cursor->shape() : -1);
            f.Fakes.Clock.Advance(100);
            if (then == Then::Close && chunks == 4)
                f.Frame->close();
            QProgressDialog* dialog = f.Frame->findChild<QProgressDialog*>();
            if (dialog && dialog->isVisible() && ++withDialog == 2 && then == Then::Cancel)
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
        f.OpenFromMenu(big);
        EXPECT_EQ(f.Frame->findChild<QProgressDialog*>(), nullptr);
        EXPECT_TRUE(f.Fakes.Dialogs.Messages.empty());
        if (then == Then::Nothing) {
            EXPECT_EQ(withDialog, 16 - 5); // shown after the fifth chunk (500 ms)
            EXPECT_EQ(cursors.front(), Qt::WaitCursor);
            EXPECT_EQ(cursors.back(), Qt::BusyCursor);
            EXPECT_EQ(f.Frame->windowTitle(), QStringLiteral("Skimmet: [big.txt]"));
            continue;
        }
        EXPECT_LT(chunks, 16);
        EXPECT_EQ(f.Seen(), before);
        EXPECT_EQ(QFileInfo::exists(a + ".skm"), then == Then::Close);
    }
}

TEST_F(Documents, Drop_OneLocalFile_Opened) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(WriteText(QStringLiteral("dropped.txt"), TextB))});
    // A drop goes to the window that took the drag when it entered.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame, &drop);
    QCoreApplication::processEvents();
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [dropped.txt]"));
}

// The program as main starts it with a file on the command line.
TEST_F(Documents, StartFile_RelativeOrMissing_OpenedWithItsCompanionBesideItOrErrorOpening) {
    WriteText(QStringLiteral("start.txt"), TextA);
    for (const bool missing : {false, true}) {
        SCOPED_TRACE(missing);
        const QString saved = QDir::currentPath();
        QDir::setCurrent(Folder.path());
        App.reset();
        App = std::make_unique<CSkimmetApp>(Fakes.Services);
        App->SetStartFile(missing ? "missing.txt" : "start.txt");
        App->InitInstance(std::make_unique<CFakeLockKeys>());
        Frame = App->MainFrame();
        QDir::setCurrent(saved);
        EXPECT_TRUE(Frame->isVisible());
        if (missing) {
            EXPECT_EQ(MessageTexts(), std::vector<QString>{OpeningFailed});
            EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet"));
            EXPECT_EQ(View().PlayFlags() & CFlashView::TextLoadedBit, 0u);
            continue;
        }
        EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [start.txt]"));
        EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
        Frame->close();
        EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("start.txt.skm"))));
    }
}

} // namespace
