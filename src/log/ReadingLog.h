// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "log/SessionRecord.h"

#include <QString>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The reading log: one SQLite file of the sessions read, through Qt SQL. The file's
// user_version names its schema; an older one is brought up to date on open. A
// connection belongs to the thread that made the log.
class CReadingLog {
public:
    static constexpr int SchemaVersion = 2;

    // $XDG_DATA_HOME/skimmet/log.sqlite, else ~/.local/share/skimmet/log.sqlite; empty
    // when neither folder is known.
    static std::string DefaultPath();

    enum class EOpen {
        Opened,
        // The file could not be read as a log: it was renamed aside and a new one made.
        SetAside,
        // No log to write: no folder, or a schema newer than this program's.
        Failed,
    };

    explicit CReadingLog(std::string path);
    ~CReadingLog();
    CReadingLog(const CReadingLog&) = delete;
    CReadingLog& operator=(const CReadingLog&) = delete;

    // Opens the file, making it and its folder when missing, and brings its schema up
    // to date. A file that is no database or is damaged is renamed to
    // <path>.damaged-<yyyyMMdd-hhmmss> and the log starts anew.
    EOpen Open();
    // Opens an existing log to read it: nothing is made, renamed or migrated on disk.
    // False when there is no log or it cannot be read.
    bool OpenToRead();
    // Where Open put a damaged file.
    const std::string& AsidePath() const { return Aside; }
    // What the last failure was, for a message.
    const QString& Error() const { return LastError; }

    // All in one transaction; false when nothing was written.
    bool Add(std::span<const SSessionRecord> sessions);
    // The rating of the session begun at startedAt in the text fingerprint names.
    bool Rate(int64_t startedAt, const std::string& fingerprint, int rating);
    // Every session, the earliest first.
    std::vector<SSessionRecord> Sessions();
    // The schema version of the open file; -1 when it cannot be read.
    int Version();

private:
    bool Connect(bool readOnly);
    bool Healthy();
    bool Migrate();
    bool SetAside();
    bool Exec(const QString& statement);

    std::string Path;
    QString Connection;
    std::string Aside;
    QString LastError;
};
