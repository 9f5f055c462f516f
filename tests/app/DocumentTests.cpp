#include "DocumentTestSupport.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <sys/stat.h>

#include <optional>
#include <vector>

namespace {

namespace Id = CommandId;

const QByteArray TextA = "Alpha text, first of two. It has several units; each is cut at "
                         "punctuation. Reading goes on, and on, until the end.";
const QByteArray TextB = "Beta text: shorter, but still a few units long.";

const QString OpeningFailed = QStringLiteral("Error Opening File");
const QString SavingFailed = QStringLiteral("Error Saving File");
const QString TooLarge = QStringLiteral("Size of a text buffer can not be more than 1 Gb");

// What the reader can see of the loaded text.
struct Visible {
    const char* Start;
    int32_t Offset;
    QString Title;
    uint32_t Flags;
    int32_t TextLength;
    uint16_t Bookmarks;
    uint32_t Freq;
    bool operator==(const Visible&) const = default;
};

class Documents : public DocumentFixture {
public:
    Visible Seen() {
        return {View().TextStart(),           View().TextStart() ? Offset() : -1,
                Frame->windowTitle(),         View().PlayFlags(),
                Frame->Settings().TextLength, Frame->Settings().Book.BookmarksNum,
                Frame->Settings().freq};
    }

    // Runs the text for a few units, then Add Bookmark.
    void ReadAndBookmark(int units) {
        Frame->ExecuteCommand(Id::Run);
        for (int i = 0; i < 2 * units; ++i) {
            Fakes.Clock.Advance(5000);
            View().OnTimer();
        }
        Frame->ExecuteCommand(Id::AddBookmark);
    }

    int32_t Bookmark(int index) {
        int32_t offset = -1;
        Frame->Settings().GetBookmark(index, offset);
        return offset;
    }
};

TEST_F(Documents, OpenAnotherOrTheSame_PositionAndBookmarksGoToTheCompanionAndComeBack) {
    const QString a = WriteText(QStringLiteral("a.txt"), TextA);
    const QString b = WriteText(QStringLiteral("b.txt"), TextB);
    OpenFromMenu(a);
    ReadAndBookmark(3);
    const int32_t marked = Bookmark(0);
    ASSERT_GT(marked, 0);
    ASSERT_TRUE(Frame->Settings().SetPosition(marked + 7));
    Frame->Settings().freq = 250;

    OpenFromMenu(b);

    const CProfileFile companionA = ReadProfile(a + QStringLiteral(".skm"));
    EXPECT_EQ(companionA.GetInt("POSITION", "CurPos", -1), marked + 7);
    EXPECT_EQ(companionA.GetInt("POSITION", "BookmarksNum", -1), 1);
    EXPECT_EQ(companionA.GetInt("POSITION", "Bookmark1", -1), marked);
    EXPECT_EQ(companionA.GetInt("MAIN", "freq", -1), 250);
    // B has no companion: built-in settings, no bookmarks, at its start.
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [b.txt]"));
    EXPECT_EQ(QByteArray(View().TextStart()), TextB);
    EXPECT_EQ(Offset(), 0);
    EXPECT_EQ(Frame->Settings().Book.BookmarksNum, 0);
    EXPECT_EQ(Frame->Settings().freq, 400u);
    EXPECT_EQ(Frame->Settings().TextLength, TextB.size());

    OpenFromMenu(a);

    EXPECT_TRUE(QFileInfo::exists(b + QStringLiteral(".skm")));
    EXPECT_EQ(Offset(), marked + 7);
    EXPECT_EQ(Frame->Settings().Book.BookmarksNum, 1);
    EXPECT_EQ(Bookmark(0), marked);
    EXPECT_EQ(Frame->Settings().freq, 250u);
    EXPECT_EQ(View().PlayFlags(), CFlashView::TextLoadedBit | CFlashView::StoppedBit);

    OpenFromMenu(a); // the same text again keeps its position

    EXPECT_EQ(Offset(), marked + 7);

    Frame->close();

    EXPECT_FALSE(Frame->isVisible());
    const CProfileFile closed = ReadProfile(a + QStringLiteral(".skm"));
    EXPECT_EQ(closed.GetInt("POSITION", "CurPos", -1), 0);
    EXPECT_EQ(closed.GetInt("POSITION", "BookmarksNum", -1), 1);
    EXPECT_EQ(closed.GetInt("POSITION", "Bookmark1", -1), marked);
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

TEST_F(Documents, OpenWhileRunning_NewTextStoppedAndScreenSaverGivenBack) {
    OpenFromMenu(WriteText(QStringLiteral("a.txt"), TextA));
    Frame->ExecuteCommand(Id::Run);
    ASSERT_TRUE(Fakes.ScreenSaver.IsInhibited());

    OpenFromMenu(WriteText(QStringLiteral("b.txt"), TextB));

    EXPECT_EQ(View().PlayFlags(), CFlashView::TextLoadedBit | CFlashView::StoppedBit);
    EXPECT_FALSE(Fakes.ScreenSaver.IsInhibited());
}

TEST_F(Documents, OpenShorterText_FollowersOfTheSwitch_NoBookmarkPastTheNewText) {
    OpenFromMenu(WriteText(QStringLiteral("a.txt"), TextA));
    ASSERT_TRUE(Frame->Settings().SetPosition(TextA.size() - 2));
    Frame->Settings().AddBookmark();
    std::vector<int32_t> seen;
    // As the options panel does on every change of the play flags.
    QObject::connect(&View(), &CFlashView::PlayFlagsChanged, [&] {
        int32_t offset = -1;
        if (Frame->Settings().GetBookmark(0, offset))
            seen.push_back(offset);
        seen.push_back(Frame->Settings().TextLength);
    });

    OpenFromMenu(WriteText(QStringLiteral("b.txt"), TextB));

    ASSERT_FALSE(seen.empty());
    for (const int32_t value : seen)
        EXPECT_LE(value, TextB.size());
}

TEST_F(Documents, OpenEmptyFile_EmptyTextThatEndsAtOnce) {
    OpenFromMenu(WriteText(QStringLiteral("a.txt"), TextA));
    const QString empty = WriteText(QStringLiteral("empty.txt"), {});

    OpenFromMenu(empty);

    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [empty.txt]"));
    ASSERT_NE(View().TextStart(), nullptr);
    EXPECT_EQ(*View().TextStart(), '\0');
    EXPECT_EQ(Frame->Settings().TextLength, 0);
    EXPECT_EQ(Frame->Document().Text().Size(), 0);

    Frame->ExecuteCommand(Id::Run);
    ReadToTheEnd();
    EXPECT_EQ(View().PlayFlags(), CFlashView::TextLoadedBit | CFlashView::StoppedBit);
}

struct UnopenableCase {
    const char* Name;
    QString (*Make)(Documents&); // the path the dialog returns
    QString Message;
    MessageIcon Icon;
};

class UnopenableFiles : public Documents {
public:
    void ExpectRefused(const UnopenableCase& c) {
        OpenFromMenu(WriteText(QStringLiteral("a.txt"), TextA));
        ASSERT_TRUE(Frame->Settings().SetPosition(9));
        Frame->Settings().AddBookmark();
        const Visible before = Seen();
        const QString path = c.Make(*this);
        bool read = false;
        QObject::connect(&Frame->Document(), &CTextDocument::ReadingProgress, [&] { read = true; });
        std::optional<Qt::CursorShape> during; // the message comes with the pointer, not busy
        Fakes.Dialogs.OnMessage = [&] {
            const QCursor* cursor = QGuiApplication::overrideCursor();
            during = cursor ? cursor->shape() : Qt::CursorShape(-1);
        };

        OpenFromMenu(path);

        EXPECT_EQ(during, Qt::ArrowCursor);
        ASSERT_EQ(Fakes.Dialogs.Messages.size(), 1u);
        EXPECT_EQ(Fakes.Dialogs.Messages[0].Text, c.Message);
        EXPECT_EQ(Fakes.Dialogs.Messages[0].Icon, c.Icon);
        EXPECT_FALSE(read);
        EXPECT_EQ(Seen(), before);
        // Nothing was saved for the text that stayed, and nothing made for the other.
        EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("a.txt.skm"))));
        EXPECT_FALSE(QFileInfo(path + QStringLiteral(".skm")).isFile());
    }
};

TEST(UnopenableFiles, Open_RefusedBeforeReading_PreviousTextAsItWas) {
    const UnopenableCase cases[] = {
        {"Folder",
         [](Documents& f) {
             const QString path = f.PathOf(QStringLiteral("folder"));
             QDir().mkdir(path);
             return path;
         },
         OpeningFailed, MessageIcon::Warning},
        {"RemovedAfterTheDialog",
         [](Documents& f) {
             const QString path = f.WriteText(QStringLiteral("gone.txt"), "soon gone");
             QFile::remove(path);
             return path;
         },
         OpeningFailed, MessageIcon::Warning},
        // A pipe would block a plain open until a writer came.
        {"Fifo",
         [](Documents& f) {
             const QString path = f.PathOf(QStringLiteral("pipe"));
             ::mkfifo(QFile::encodeName(path).constData(), 0600);
             return path;
         },
         OpeningFailed, MessageIcon::Warning},
        {"OneGigabyte",
         [](Documents& f) {
             return f.WriteSparse(QStringLiteral("huge.txt"), CTextBuffer::SizeLimit);
         },
         TooLarge, MessageIcon::Error}};
    for (const UnopenableCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Fresh<UnopenableFiles> f;
        f.ExpectRefused(c);
    }
}

struct UnwritableCase {
    const char* Name;
    QString TextName;
    bool DirectoryAsCompanion;
};

// A folder in the companion's place, or a name one longer than the file system allows
// once ".skm" is added: refused whoever runs the test, root included.
class UnwritableCompanions : public Documents {
public:
    void OpenUnwritable(const UnwritableCase& c) {
        const QString path = WriteText(c.TextName, TextA);
        if (c.DirectoryAsCompanion)
            QDir().mkdir(path + QStringLiteral(".skm"));
        OpenFromMenu(path);
        EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
        EXPECT_EQ(QByteArray(View().TextStart()), TextA);
    }

    // Save of this file, then close: each says so, with the reason, and reading goes on.
    void ExpectSaveAndCloseFail(const UnwritableCase& c) {
        OpenUnwritable(c);
        Frame->ExecuteCommand(Id::Run);
        Frame->ExecuteCommand(Id::SaveFileSettings);
        ASSERT_EQ(Fakes.Dialogs.Messages.size(), 1u);
        EXPECT_EQ(Fakes.Dialogs.Messages[0].Text, SavingFailed);
        EXPECT_FALSE(Fakes.Dialogs.Messages[0].Informative.isEmpty()); // why, from the core
        EXPECT_EQ(Fakes.Dialogs.Messages[0].Icon, MessageIcon::Warning);
        EXPECT_TRUE(View().PlayFlags() & CFlashView::RunningBit);
        Frame->close();
        EXPECT_EQ(MessageTexts(), (std::vector<QString>{SavingFailed, SavingFailed}));
        EXPECT_FALSE(Frame->isVisible());
    }

    // Opening another text says so and still opens it.
    void ExpectOpenAnotherFails(const UnwritableCase& c) {
        OpenUnwritable(c);
        OpenFromMenu(WriteText(QStringLiteral("b.txt"), TextB));
        EXPECT_EQ(MessageTexts(), std::vector<QString>{SavingFailed});
        EXPECT_EQ(QByteArray(View().TextStart()), TextB);
        EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [b.txt]"));
    }
};

TEST(UnwritableCompanions, SaveCloseOrOpenAnother_ErrorSavingFileAndReadingGoesOn) {
    const UnwritableCase cases[] = {{"FolderInItsPlace", QStringLiteral("a.txt"), true},
                                    {"NameTooLong", QString(252, QLatin1Char('n')), false}};
    for (const UnwritableCase& c : cases) {
        for (const bool openAnother : {false, true}) {
            SCOPED_TRACE(std::string(c.Name) + (openAnother ? " open another" : " save"));
            Fresh<UnwritableCompanions> f;
            if (openAnother)
                f.ExpectOpenAnotherFails(c);
            else
                f.ExpectSaveAndCloseFail(c);
        }
    }
}

TEST_F(Documents, SaveOfThisFile_WritesTheFullCompanion) {
    const QString a = WriteText(QStringLiteral("a.txt"), TextA);
    OpenFromMenu(a);
    ASSERT_TRUE(Frame->Settings().SetPosition(4));
    Frame->Settings().AddBookmark();

    Frame->ExecuteCommand(Id::SaveFileSettings);

    const CProfileFile companion = ReadProfile(a + QStringLiteral(".skm"));
    EXPECT_EQ(companion.GetInt("POSITION", "CurPos", -1), 4);
    EXPECT_EQ(companion.GetInt("POSITION", "Bookmark1", -1), 4);
    EXPECT_EQ(companion.GetString("MAIN", "StopSimbols", "", 100), ",;.:?!\\n\\r");
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

TEST_F(Documents, LoadSettings_ChosenFile_SettingsFromItBookmarksGonePositionKept) {
    OpenFromMenu(WriteText(QStringLiteral("a.txt"), TextA));
    ASSERT_TRUE(Frame->Settings().SetPosition(15));
    Frame->Settings().AddBookmark();
    Frame->Settings().durat = 999;
    const QString settings =
        WriteText(QStringLiteral("fast.skm"), "[MAIN]\nfreq=123\nMaxText=40\n[POSITION]\nStep=5\n"
                                              "CurPos=3\nBookmarksNum=1\nBookmark1=2\n");

    Fakes.Dialogs.FileAnswers.push_back(settings);
    Frame->ExecuteCommand(Id::LoadSettings);

    EXPECT_EQ(Fakes.Dialogs.LastFileTitle, QStringLiteral("Open settings..."));
    EXPECT_EQ(Fakes.Dialogs.LastFileFilters,
              QStringList({QStringLiteral("Skimmet settings (*.SKM)"),
                           QStringLiteral("INI-Files (*.ini)"), QStringLiteral("All Files (*)")}));
    EXPECT_EQ(Fakes.Dialogs.LastDefaultSuffix, QStringLiteral("skm"));
    const CReadingSettings& s = Frame->Settings();
    EXPECT_EQ(s.freq, 123u);
    EXPECT_EQ(s.MaxText, 40);
    EXPECT_EQ(s.durat, 700u); // missing from the file: the default, not the earlier value
    EXPECT_EQ(s.Book.Step, 5);
    EXPECT_EQ(s.Book.BookmarksNum, 0);
    EXPECT_EQ(Offset(), 15);
    EXPECT_EQ(s.TextLength, TextA.size());
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
}

TEST_F(Documents, SaveAsDefault_Yes_SettingsOnlyIntoANewConfigFolderAndUsedForNewTexts) {
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
    EXPECT_EQ(defaults.GetInt("POSITION", "CurPos", -1), -1);
    EXPECT_EQ(defaults.GetInt("POSITION", "BookmarksNum", -1), -1);

    OpenFromMenu(WriteText(QStringLiteral("b.txt"), TextB));

    EXPECT_EQ(Frame->Settings().freq, 321u);
    EXPECT_EQ(Frame->Settings().Book.BookmarksNum, 0);
    EXPECT_EQ(Offset(), 0);
}

TEST_F(Documents, SaveAsDefault_ConfigFolderBlockedByAFile_ErrorSavingFile) {
    QDir().mkpath(ConfigHome());
    WriteText(QStringLiteral("config/skimmet"), "not a folder");
    Fakes.Dialogs.ConfirmAnswers.push_back(true);

    Frame->ExecuteCommand(Id::SaveAsDefault);

    ASSERT_EQ(Fakes.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(Fakes.Dialogs.Messages[0].Text, SavingFailed);
    EXPECT_EQ(Fakes.Dialogs.Messages[0].Icon, MessageIcon::Warning);
}

// A text of 16 chunks, read on a clock that moves stepMs at each chunk.
class ReadingProgress : public Documents {
public:
    static constexpr int64_t Size = 16 * int64_t(CTextBuffer::ChunkSize);

    void SetUp() override {
        Documents::SetUp();
        Big = WriteSparse(QStringLiteral("big.txt"), Size);
        QObject::connect(&Frame->Document(), &CTextDocument::ReadingProgress, [this] {
            ++Chunks;
            const QCursor* cursor = QGuiApplication::overrideCursor();
            Cursors.push_back(cursor ? cursor->shape() : Qt::CursorShape(-1));
            Fakes.Clock.Advance(StepMs);
            QProgressDialog* dialog = Frame->findChild<QProgressDialog*>();
            if (!dialog || !dialog->isVisible())
                return;
            ++ChunksWithDialog;
            if (CancelAt && ChunksWithDialog == CancelAt)
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
        });
    }

    QString Big;
    uint32_t StepMs = 0;
    int CancelAt = 0; // click Cancel at this chunk with the dialog shown; 0: never
    int Chunks = 0;
    int ChunksWithDialog = 0;
    std::vector<Qt::CursorShape> Cursors;
};

TEST_F(ReadingProgress, SlowRead_DialogFromHalfASecondOnThenGone) {
    StepMs = 100;

    OpenFromMenu(Big);

    // Shown after the fifth chunk (500 ms), seen from the sixth on.
    EXPECT_EQ(ChunksWithDialog, 16 - 5);
    EXPECT_EQ(Cursors.front(), Qt::WaitCursor);
    EXPECT_EQ(Cursors.back(), Qt::BusyCursor);
    EXPECT_EQ(Frame->findChild<QProgressDialog*>(), nullptr);
    EXPECT_EQ(Frame->Settings().TextLength, Size);
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [big.txt]"));
}

TEST_F(ReadingProgress, Cancel_FailedOpenWithoutMessage_PreviousTextStays) {
    OpenFromMenu(WriteText(QStringLiteral("a.txt"), TextA));
    ASSERT_TRUE(Frame->Settings().SetPosition(5));
    const Visible before = Seen();
    StepMs = 200;
    CancelAt = 2;

    OpenFromMenu(Big);

    EXPECT_LT(Chunks, 16);
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
    EXPECT_EQ(Seen(), before);
    EXPECT_EQ(Frame->findChild<QProgressDialog*>(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(PathOf(QStringLiteral("a.txt.skm"))));
}

TEST_F(ReadingProgress, WindowClosedDuringTheRead_ReadGivenUpAndShownTextSaved) {
    const QString a = WriteText(QStringLiteral("a.txt"), TextA);
    OpenFromMenu(a);
    StepMs = 200;
    QObject::connect(&Frame->Document(), &CTextDocument::ReadingProgress, [this] {
        if (Chunks == 4)
            Frame->close();
    });

    OpenFromMenu(Big);

    EXPECT_LT(Chunks, 16);
    EXPECT_FALSE(Frame->isVisible());
    EXPECT_EQ(QByteArray(View().TextStart()), TextA);
    EXPECT_TRUE(QFileInfo::exists(a + QStringLiteral(".skm")));
}

TEST_F(Documents, Drop_OneLocalFile_Opened) {
    const QString path = WriteText(QStringLiteral("dropped.txt"), TextB);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    // A drop goes to the window that took the drag when it entered.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);

    QApplication::sendEvent(Frame, &drop);
    QCoreApplication::processEvents();

    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(QByteArray(View().TextStart()), TextB);
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [dropped.txt]"));
}

// The program as main starts it with a file on the command line.
class StartFile : public DocumentFixture {
public:
    void SetUp() override {
        DocumentFixture::SetUp();
        // The fixture's own program is not wanted: a second one is started per test.
        App.reset();
    }

    void Start(const QString& path) {
        App = std::make_unique<CSkimmetApp>(Fakes.Services);
        App->SetStartFile(path);
        App->InitInstance(std::make_unique<CFakeLockKeys>());
        Frame = App->MainFrame();
    }
};

TEST_F(StartFile, RelativePath_OpenedAtStartAndItsCompanionBesideIt) {
    WriteText(QStringLiteral("start.txt"), TextA);
    const QString saved = QDir::currentPath();
    QDir::setCurrent(Folder.path());

    Start(QStringLiteral("start.txt"));
    QDir::setCurrent(saved);

    EXPECT_TRUE(Frame->isVisible());
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet: [start.txt]"));
    EXPECT_EQ(QByteArray(View().TextStart()), TextA);
    EXPECT_TRUE(Fakes.Dialogs.Messages.empty());
    Frame->close();
    EXPECT_TRUE(QFileInfo::exists(PathOf(QStringLiteral("start.txt.skm"))));
}

TEST_F(StartFile, MissingFile_ErrorOpeningFileAndNoText) {
    Start(PathOf(QStringLiteral("missing.txt")));

    EXPECT_EQ(MessageTexts(), std::vector<QString>{OpeningFailed});
    EXPECT_EQ(Frame->windowTitle(), QStringLiteral("Skimmet"));
    EXPECT_EQ(View().PlayFlags() & CFlashView::TextLoadedBit, 0u);
}

} // namespace
