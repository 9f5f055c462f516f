// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestSupport.h"

#include "app/RatingRow.h"
#include "log/LogCsv.h"
#include "log/LogWriter.h"
#include "log/ReadingLog.h"
#include "log/SessionRecorder.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QToolButton>

#include <functional>
#include <sstream>

namespace {

namespace Id = CommandId;

// Sixty units of a sentence each: five minutes of reading at the fixture's pace.
const QByteArray TextLong = QByteArray("One two three. ").repeated(60);

std::vector<SSessionRecord> Logged(AppFixture& app) {
    app.Frame->LogWriter().Flush();
    CReadingLog log(CReadingLog::DefaultPath());
    EXPECT_TRUE(log.OpenToRead());
    return log.Sessions();
}

void ReadFor(AppFixture& app, const QString& path, int phases) {
    app.OpenFromMenu(path);
    app.Frame->ExecuteCommand(Id::Run);
    app.Advance(phases);
}

struct EndRow {
    const char* Name;
    // After fifteen seconds of reading; a second session it begins is too short to keep.
    std::function<void(FreshApp&)> Act;
    int32_t Replays = 0;
    int32_t StepsBack = 0;
    bool ToTheEnd = false;
};

TEST(ReadingLog, EachWayASessionEnds_RecordedUnlessTooShortOrEmpty) {
    const auto pause = [](FreshApp& app) {
        app.Frame->ExecuteCommand(Id::Pause);
    };
    const EndRow rows[] = {
        {"pause", pause},
        {"stop",
         [](FreshApp& app) {
             app.Frame->ExecuteCommand(Id::Stop);
         }},
        {"end of the text", [](FreshApp& app) { app.Advance(1000); }, 0, 0, true},
        {"window close",
         [](FreshApp& app) {
             app.Frame->close();
         }},
        {"termination signal",
         [](FreshApp& app) {
             RaiseAndRun(app, SIGTERM);
         }},
        {"another text opened",
         [](FreshApp& app) {
             app.OpenFromMenu(app.WriteText("b.txt", "Another text."));
         }},
        {"replay, then a step back",
         [pause](FreshApp& app) {
             app.Advance(4);
             app.Frame->ExecuteCommand(Id::Replay);
             app.Advance(2);
             app.Frame->ExecuteCommand(Id::UnitBack);
             app.Advance(2);
             pause(app);
         },
         1, 1},
        {"under ten seconds",
         [pause](FreshApp& app) {
             app.Frame->ExecuteCommand(Id::Stop);
             app.Frame->ExecuteCommand(Id::Run);
             app.Advance(1);
             pause(app);
         }},
        {"no unit shown",
         [pause](FreshApp& app) {
             app.Frame->ExecuteCommand(Id::Stop);
             app.Frame->ExecuteCommand(Id::Run);
             app.Fakes.Clock.Advance(60'000);
             pause(app);
         }},
    };
    for (const EndRow& row : rows) {
        SCOPED_TRACE(row.Name);
        FreshApp app;
        ReadFor(app, app.WriteText("long.txt", TextLong), 3);
        const int32_t length = app.Settings().TextLength;
        const uint32_t gap = app.Settings().freq;
        row.Act(app);
        const std::vector<SSessionRecord> sessions = Logged(app);
        ASSERT_EQ(sessions.size(), 1u);
        const SSessionRecord& session = sessions.front();
        EXPECT_EQ(session.Path, app.PathOf("long.txt").toStdString());
        EXPECT_EQ(session.StartOffset, 0);
        EXPECT_GT(session.Units, 0);
        EXPECT_GE(session.Words, 3 * session.Units);
        EXPECT_GE(session.RunningMs, CSessionRecorder::ShortestMs);
        EXPECT_EQ(session.GapMs, static_cast<int32_t>(gap));
        EXPECT_EQ(session.Replays, row.Replays);
        EXPECT_EQ(session.StepsBack, row.StepsBack);
        EXPECT_EQ(session.EndOffset == length, row.ToTheEnd) << session.EndOffset;
        EXPECT_GT(session.EndOffset, 0);
    }
}

TEST(ReadingLog, TextMovedToAnotherFolder_KeepsItsFingerprint) {
    FreshApp app;
    const QString first = app.WriteText("long.txt", TextLong);
    ReadFor(app, first, 3);
    app.Frame->ExecuteCommand(Id::Pause);
    ASSERT_TRUE(QDir(app.Folder.path()).mkpath(QStringLiteral("moved")));
    const QString moved = app.PathOf(QStringLiteral("moved/renamed.txt"));
    ASSERT_TRUE(QFile::rename(first, moved));
    ReadFor(app, moved, 3);
    app.Frame->ExecuteCommand(Id::Pause);
    ReadFor(app, app.WriteText("other.txt", "Other words. " + TextLong), 3);
    app.Frame->ExecuteCommand(Id::Pause);
    const std::vector<SSessionRecord> sessions = Logged(app);
    ASSERT_EQ(sessions.size(), 3u);
    EXPECT_EQ(sessions[1].Fingerprint, sessions[0].Fingerprint);
    EXPECT_EQ(sessions[1].Path, moved.toStdString());
    EXPECT_NE(sessions[2].Fingerprint, sessions[0].Fingerprint);
}

// A log as the first version of its schema was written, with a session in it, read first
// by `skimmet --log`.
TEST(ReadingLog, Version1File_MigratedWithItsSessionsKept) {
    const QTemporaryDir folder;
    const CScopedEnv dataHome("XDG_DATA_HOME", qPrintable(folder.path()));
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("skimmet")));
    const QString path = folder.filePath(QStringLiteral("skimmet/log.sqlite"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "v1");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(
            "CREATE TABLE sessions (started_at INTEGER NOT NULL, path TEXT NOT NULL, fingerprint "
            "TEXT NOT NULL, start_offset INTEGER NOT NULL, end_offset INTEGER NOT NULL, units "
            "INTEGER NOT NULL, words INTEGER NOT NULL, running_ms INTEGER NOT NULL, gap_ms INTEGER "
            "NOT NULL, show_ms INTEGER NOT NULL, paced INTEGER NOT NULL)"));
        ASSERT_TRUE(query.exec("INSERT INTO sessions VALUES (1000, '/t/a.txt', 'f00', 10, 90, 8, "
                               "20, 60000, 200, 300, 1)"));
        ASSERT_TRUE(query.exec("PRAGMA user_version = 1"));
    }
    QSqlDatabase::removeDatabase("v1");
    std::ostringstream csv;
    std::ostringstream err;
    EXPECT_EQ(RunLogCommand(csv, err), 0) << err.str();
    EXPECT_NE(csv.str().find("/t/a.txt"), std::string::npos) << csv.str();
    CReadingLog log(path.toStdString());
    ASSERT_EQ(log.Open(), CReadingLog::EOpen::Opened);
    EXPECT_EQ(log.Version(), CReadingLog::SchemaVersion);
    EXPECT_TRUE(log.Rate(1000, "f00", 4));
    const std::vector<SSessionRecord> sessions = log.Sessions();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].Words, 20);
    EXPECT_EQ(sessions[0].EndOffset, 90);
    EXPECT_TRUE(sessions[0].Paced);
    EXPECT_EQ(sessions[0].Replays, 0);
    EXPECT_EQ(sessions[0].Rating, 4);
}

// A log that is no database: written before the program starts.
struct DamagedLog : AppFixture {
    void SetUp() override {
        ASSERT_TRUE(QDir(Folder.path()).mkpath(QStringLiteral("data/skimmet")));
        WriteText(QStringLiteral("data/skimmet/log.sqlite"),
                  QByteArray("not a database").repeated(99));
        AppFixture::SetUp();
    }
};

TEST_F(DamagedLog, SetAsideWithOneMessage_ReadingGoesOnIntoANewLog) {
    Frame->LogWriter().Flush();
    QCoreApplication::processEvents();
    const QStringList aside = QDir(PathOf(QStringLiteral("data/skimmet")))
                                  .entryList({QStringLiteral("log.sqlite.damaged-*")});
    EXPECT_EQ(aside.size(), 1);
    ReadFor(*this, WriteText("long.txt", TextLong), 3);
    Frame->ExecuteCommand(Id::Pause);
    EXPECT_EQ(Logged(*this).size(), 1u);
    QCoreApplication::processEvents();
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].Icon, MessageIcon::Warning);
    EXPECT_TRUE(Messages()[0].SaysWhy);
}

struct RatingRowCase {
    const char* Name;
    int Phases; // of five seconds
    std::function<void(FreshApp&)> Answer;
    std::optional<int> Stored;
};

TEST(ReadingLog, LongSession_AsksHowWellTheReaderFollowedUntilAnsweredOrReadOn) {
    const RatingRowCase rows[] = {
        {"five minutes, then 4 clicked", 60,
         [](FreshApp& app) { app.Frame->RatingRow().findChild<QToolButton*>("Rating4")->click(); },
         4},
        {"five minutes, then read on", 60,
         [](FreshApp& app) { app.Frame->ExecuteCommand(Id::Run); }, std::nullopt},
        {"under five minutes", 59, [](FreshApp&) {}, std::nullopt},
    };
    for (const RatingRowCase& row : rows) {
        SCOPED_TRACE(row.Name);
        FreshApp app;
        ReadFor(app, app.WriteText("long.txt", TextLong + TextLong), row.Phases);
        app.Frame->ExecuteCommand(Id::Pause);
        const bool asked = app.Frame->RatingRow().isVisible();
        EXPECT_EQ(asked, row.Phases >= 60);
        row.Answer(app);
        EXPECT_FALSE(app.Frame->RatingRow().isVisible());
        const std::vector<SSessionRecord> sessions = Logged(app);
        ASSERT_FALSE(sessions.empty());
        EXPECT_EQ(sessions.front().Rating, row.Stored);
    }
}

SSessionRecord Session(int64_t startedAt, const char* text, int32_t length, int32_t from,
                       int32_t to, int64_t words, int64_t ms, std::optional<int> rating) {
    SSessionRecord session;
    session.StartedAt = startedAt;
    session.Path = std::string("/texts/") + text;
    session.Fingerprint = text;
    session.TextLength = length;
    session.StartOffset = from;
    session.EndOffset = to;
    session.Units = words / 2;
    session.Words = words;
    session.RunningMs = ms;
    session.Rating = rating;
    return session;
}

TEST(ReadingLogWindow, FilledLog_EachTextsFiguresInItsRowTheLastReadFirst) {
    FreshApp app;
    const int64_t day = QDateTime::currentMSecsSinceEpoch() - 24 * 3600 * 1000;
    const SSessionRecord sessions[] = {
        Session(day, "a.txt", 1000, 0, 300, 300, 60'000, 2),
        Session(day + 1000, "a.txt", 1000, 200, 500, 300, 60'000, std::nullopt),
        // A log of an older version knew no text length.
        Session(day + 2000, "b.txt", 0, 0, 100, 400, 120'000, 5),
    };
    app.Frame->LogWriter().Flush();
    {
        CReadingLog log(CReadingLog::DefaultPath());
        ASSERT_EQ(log.Open(), CReadingLog::EOpen::Opened);
        ASSERT_TRUE(log.Add(sessions));
    }
    app.Frame->ExecuteCommand(Id::ReadingLog);
    ASSERT_NE(app.Frame->LogWindow(), nullptr);
    const auto* table = app.Frame->LogWindow()->findChild<QTableWidget*>("TextsTable");
    ASSERT_NE(table, nullptr);
    const std::vector<QStringList> expected{{"b.txt", "2 min", "400", "–", "200", "1"},
                                            {"a.txt", "2 min", "600", "50 %", "300", "2"}};
    ASSERT_EQ(table->rowCount(), 2);
    for (int row = 0; row < 2; ++row) {
        QStringList cells;
        for (int column = 0; column < 6; ++column)
            cells.append(table->item(row, column)->text());
        EXPECT_EQ(cells, expected[static_cast<std::size_t>(row)]) << "row " << row;
    }
    const auto* best = app.Frame->LogWindow()->findChild<QLabel*>("BestSpeed");
    EXPECT_TRUE(best->text().contains("200")) << best->text().toStdString();
    app.Fakes.Dialogs.FileAnswers.push_back(app.PathOf("log.csv"));
    // Through the module's window, as the reader clicks it.
    auto* exportCsv = app.Frame->LogWindow()->findChild<QPushButton*>("ExportCsv");
    ASSERT_NE(exportCsv, nullptr);
    exportCsv->click();
    QFile csv(app.PathOf("log.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll().count("\r\n"), 4);
}

} // namespace
