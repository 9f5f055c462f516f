// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/ReadingLog.h"

#include "platform/Folders.h"
#include "settings/TextSettings.h"

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <atomic>

namespace {

// Each step takes the file from the version before it to the next; a new file takes
// them all. A released step never changes: files out there are at its version.
constexpr const char* ToVersion1[] = {
    "CREATE TABLE sessions (started_at INTEGER NOT NULL, path TEXT NOT NULL,"
    " fingerprint TEXT NOT NULL, start_offset INTEGER NOT NULL, end_offset INTEGER NOT NULL,"
    " units INTEGER NOT NULL, words INTEGER NOT NULL, running_ms INTEGER NOT NULL,"
    " gap_ms INTEGER NOT NULL, show_ms INTEGER NOT NULL, paced INTEGER NOT NULL)",
};
constexpr const char* ToVersion2[] = {
    "ALTER TABLE sessions ADD COLUMN text_length INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE sessions ADD COLUMN replays INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE sessions ADD COLUMN steps_back INTEGER NOT NULL DEFAULT 0",
    "ALTER TABLE sessions ADD COLUMN rating INTEGER",
    "CREATE INDEX sessions_by_text ON sessions (fingerprint, started_at)",
};
constexpr std::span<const char* const> Steps[] = {ToVersion1, ToVersion2};
static_assert(std::size(Steps) == CReadingLog::SchemaVersion);

constexpr const char* Columns =
    "started_at, path, fingerprint, text_length, start_offset, end_offset, units, words,"
    " running_ms, gap_ms, show_ms, paced, replays, steps_back, rating";

QString FileName(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

SSessionRecord RecordAt(const QSqlQuery& query) {
    SSessionRecord record;
    record.StartedAt = query.value(0).toLongLong();
    record.Path = query.value(1).toString().toStdString();
    record.Fingerprint = query.value(2).toString().toStdString();
    record.TextLength = query.value(3).toInt();
    record.StartOffset = query.value(4).toInt();
    record.EndOffset = query.value(5).toInt();
    record.Units = query.value(6).toLongLong();
    record.Words = query.value(7).toLongLong();
    record.RunningMs = query.value(8).toLongLong();
    record.GapMs = query.value(9).toInt();
    record.ShowMs = query.value(10).toInt();
    record.Paced = query.value(11).toInt() != 0;
    record.Replays = query.value(12).toInt();
    record.StepsBack = query.value(13).toInt();
    if (!query.value(14).isNull())
        record.Rating = query.value(14).toInt();
    return record;
}

void BindRecord(QSqlQuery& query, const SSessionRecord& record) {
    query.addBindValue(QVariant::fromValue(record.StartedAt));
    query.addBindValue(QString::fromStdString(record.Path));
    query.addBindValue(QString::fromStdString(record.Fingerprint));
    query.addBindValue(record.TextLength);
    query.addBindValue(record.StartOffset);
    query.addBindValue(record.EndOffset);
    query.addBindValue(QVariant::fromValue(record.Units));
    query.addBindValue(QVariant::fromValue(record.Words));
    query.addBindValue(QVariant::fromValue(record.RunningMs));
    query.addBindValue(record.GapMs);
    query.addBindValue(record.ShowMs);
    query.addBindValue(record.Paced ? 1 : 0);
    query.addBindValue(record.Replays);
    query.addBindValue(record.StepsBack);
    query.addBindValue(record.Rating ? QVariant(*record.Rating)
                                     : QVariant(QMetaType::fromType<int>()));
}

} // namespace

std::string CReadingLog::DefaultPath() {
    const std::string data = UserFolder("XDG_DATA_HOME", "/.local/share");
    return data.empty() ? std::string() : data + "/skimmet/log.sqlite";
}

CReadingLog::CReadingLog(std::string path) : Path(std::move(path)) {
    static std::atomic<int> made = 0;
    Connection = QStringLiteral("skimmet-log-%1").arg(++made);
}

CReadingLog::~CReadingLog() {
    QSqlDatabase::database(Connection, false).close();
    QSqlDatabase::removeDatabase(Connection);
}

bool CReadingLog::Connect(bool readOnly) {
    QSqlDatabase db = QSqlDatabase::contains(Connection)
                          ? QSqlDatabase::database(Connection, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Connection);
    db.close();
    db.setDatabaseName(FileName(Path));
    // Another window may be writing its session at the same moment.
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000");
    if (readOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (db.open())
        return true;
    LastError = db.lastError().text();
    return false;
}

bool CReadingLog::Exec(const QString& statement) {
    QSqlQuery query(QSqlDatabase::database(Connection, false));
    if (query.exec(statement))
        return true;
    LastError = query.lastError().text();
    return false;
}

int CReadingLog::Version() {
    QSqlQuery query(QSqlDatabase::database(Connection, false));
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return -1;
    return query.value(0).toInt();
}

bool CReadingLog::Healthy() {
    QSqlQuery query(QSqlDatabase::database(Connection, false));
    if (!query.exec(QStringLiteral("PRAGMA quick_check")) || !query.next()) {
        LastError = query.lastError().text();
        return false;
    }
    return query.value(0).toString() == QStringLiteral("ok");
}

bool CReadingLog::Migrate() {
    if (Version() == SchemaVersion)
        return true;
    // Written at once: another window starting now waits, then finds the work done.
    if (!Exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    const int version = Version();
    bool done = version >= 0 && version <= SchemaVersion;
    for (int step = std::max(version, 0); done && step < SchemaVersion; ++step) {
        for (const char* statement : Steps[step])
            done = done && Exec(QString::fromLatin1(statement));
    }
    done = done && Exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
    if (done && Exec(QStringLiteral("COMMIT")))
        return true;
    Exec(QStringLiteral("ROLLBACK"));
    return false;
}

bool CReadingLog::SetAside() {
    QSqlDatabase::database(Connection, false).close();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    Aside = Path + ".damaged-" + stamp.toStdString();
    // A journal left beside the damaged file is its own, and must not be played into the
    // new one.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        if (QFile::exists(FileName(Path + suffix)))
            QFile::rename(FileName(Path + suffix), FileName(Aside + suffix));
    }
    return QFile::rename(FileName(Path), FileName(Aside));
}

CReadingLog::EOpen CReadingLog::Open() {
    if (Path.empty() || !MakeFolder(ParentFolder(Path), 0700))
        return EOpen::Failed;
    if (Connect(false) && Healthy()) {
        if (Migrate())
            return EOpen::Opened;
        // A later Skimmet's log is kept for it as it is.
        if (Version() > SchemaVersion)
            return EOpen::Failed;
    }
    if (!SetAside() || !Connect(false) || !Migrate())
        return EOpen::Failed;
    return EOpen::SetAside;
}

bool CReadingLog::OpenToRead() {
    if (Path.empty() || !QFile::exists(FileName(Path)))
        return false;
    const int version = Connect(true) ? Version() : -1;
    if (version != SchemaVersion && LastError.isEmpty())
        LastError = QStringLiteral("schema version %1, not %2").arg(version).arg(SchemaVersion);
    return version == SchemaVersion;
}

bool CReadingLog::Add(std::span<const SSessionRecord> sessions) {
    QSqlDatabase db = QSqlDatabase::database(Connection, false);
    if (!db.transaction())
        return false;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT INTO sessions (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                                 "?, ?, ?, ?, ?)")
                      .arg(QLatin1String(Columns)));
    for (const SSessionRecord& record : sessions) {
        BindRecord(query, record);
        if (!query.exec()) {
            LastError = query.lastError().text();
            db.rollback();
            return false;
        }
    }
    return db.commit();
}

bool CReadingLog::Rate(int64_t startedAt, const std::string& fingerprint, int rating) {
    QSqlQuery query(QSqlDatabase::database(Connection, false));
    query.prepare(
        QStringLiteral("UPDATE sessions SET rating = ? WHERE started_at = ? AND fingerprint = ?"));
    query.addBindValue(rating);
    query.addBindValue(QVariant::fromValue(startedAt));
    query.addBindValue(QString::fromStdString(fingerprint));
    return query.exec() && query.numRowsAffected() > 0;
}

std::vector<SSessionRecord> CReadingLog::Sessions() {
    QSqlQuery query(QSqlDatabase::database(Connection, false));
    query.setForwardOnly(true);
    std::vector<SSessionRecord> sessions;
    if (!query.exec(QStringLiteral("SELECT %1 FROM sessions ORDER BY started_at")
                        .arg(QLatin1String(Columns))))
        return sessions;
    while (query.next())
        sessions.push_back(RecordAt(query));
    return sessions;
}
