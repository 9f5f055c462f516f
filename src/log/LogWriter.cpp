// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/LogWriter.h"

#include <QObject>

CLogWriter::CLogWriter(std::string path, QObject& context, OpenReport report)
    : Path(std::move(path)), Worker(std::make_unique<QObject>()) {
    Thread.setObjectName(QStringLiteral("ReadingLog"));
    Worker->moveToThread(&Thread);
    Thread.start(QThread::LowPriority);
    Post([this, &context, report = std::move(report)] { OpenLog(context, report); });
}

CLogWriter::~CLogWriter() {
    Post([this] {
        Log.reset();
        Thread.quit();
    });
    Thread.wait();
}

template <typename Work> void CLogWriter::Post(Work work) {
    QMetaObject::invokeMethod(Worker.get(), std::move(work), Qt::QueuedConnection);
}

void CLogWriter::OpenLog(QObject& context, const OpenReport& report) {
    Log = std::make_unique<CReadingLog>(Path);
    const CReadingLog::EOpen result = Log->Open();
    const QString aside = QString::fromStdString(Log->AsidePath());
    const QString error = Log->Error();
    if (result == CReadingLog::EOpen::Failed)
        Log.reset();
    if (result == CReadingLog::EOpen::Opened || Path.empty())
        return;
    QMetaObject::invokeMethod(
        &context, [report, result, aside, error] { report(result, aside, error); },
        Qt::QueuedConnection);
}

void CLogWriter::Record(SSessionRecord session) {
    Post([this, session = std::move(session)] {
        if (Log)
            Log->Add({&session, 1});
    });
}

void CLogWriter::Rate(int64_t startedAt, std::string fingerprint, int rating) {
    Post([this, startedAt, fingerprint = std::move(fingerprint), rating] {
        if (Log)
            Log->Rate(startedAt, fingerprint, rating);
    });
}

void CLogWriter::Flush() {
    QMetaObject::invokeMethod(
        Worker.get(), [] {}, Qt::BlockingQueuedConnection);
}
