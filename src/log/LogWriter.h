// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "log/ReadingLog.h"
#include "log/SessionRecord.h"

#include <QString>
#include <QThread>

#include <functional>
#include <memory>
#include <string>

class QObject;

// Writes the reading log on a thread of its own, with its own connection, so that a
// slow disk never holds up the window. Calls are queued and done in order.
class CLogWriter {
public:
    // How opening the log went: the result, where a damaged file was put, and why.
    using OpenReport =
        std::function<void(CReadingLog::EOpen, const QString& aside, const QString& error)>;

    // Opens the log at path on the thread at once; report is called on context's thread
    // when the log was set aside or cannot be written. context outlives the writer.
    CLogWriter(std::string path, QObject& context, OpenReport report);
    // Writes everything queued, then ends the thread.
    ~CLogWriter();
    CLogWriter(const CLogWriter&) = delete;
    CLogWriter& operator=(const CLogWriter&) = delete;

    void Record(SSessionRecord session);
    void Rate(int64_t startedAt, std::string fingerprint, int rating);
    // Returns once everything queued before is done.
    void Flush();

private:
    template <typename Work> void Post(Work work);
    void OpenLog(QObject& context, const OpenReport& report);

    std::string Path;
    QThread Thread;
    std::unique_ptr<QObject> Worker;  // lives on Thread
    std::unique_ptr<CReadingLog> Log; // made, used and removed on Thread
};
