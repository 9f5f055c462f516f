// SPDX-License-Identifier: GPL-3.0-or-later
#include "log/LogCsv.h"

#include "log/ReadingLog.h"

#include <QDateTime>
#include <QFile>

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

namespace {

// A field with a comma, a quote or a line break is quoted, its quotes doubled.
std::string Field(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

std::string Started(int64_t msSinceEpoch) {
    return QDateTime::fromMSecsSinceEpoch(msSinceEpoch).toString(Qt::ISODate).toStdString();
}

std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

} // namespace

void WriteLogCsv(std::span<const SSessionRecord> sessions, std::ostream& out) {
    out << "started,path,fingerprint,text_length,start_offset,end_offset,units,words,"
           "running_ms,words_per_minute,gap_ms,show_ms,paced,replays,steps_back,rating\r\n";
    for (const SSessionRecord& s : sessions) {
        out << Started(s.StartedAt) << ',' << Field(s.Path) << ',' << s.Fingerprint << ','
            << s.TextLength << ',' << s.StartOffset << ',' << s.EndOffset << ',' << s.Units << ','
            << s.Words << ',' << s.RunningMs << ',' << OneDecimal(s.WordsPerMinute()) << ','
            << s.GapMs << ',' << s.ShowMs << ',' << (s.Paced ? 1 : 0) << ',' << s.Replays << ','
            << s.StepsBack << ',';
        if (s.Rating)
            out << *s.Rating;
        out << "\r\n";
    }
}

int RunLogCommand(std::ostream& out, std::ostream& err) {
    const std::string path = CReadingLog::DefaultPath();
    if (path.empty() || !QFile::exists(QFile::decodeName(QByteArray::fromStdString(path)))) {
        WriteLogCsv({}, out);
        return 0;
    }
    {
        CReadingLog log(path);
        if (log.OpenToRead()) {
            WriteLogCsv(log.Sessions(), out);
            return 0;
        }
    }
    // A log of an older schema, which no window has brought up to date yet, is brought up
    // to date as a window would; one that cannot be read is set aside as a window would.
    CReadingLog log(path);
    if (log.Open() != CReadingLog::EOpen::Opened) {
        err << "The reading log " << path << " cannot be read: " << log.Error().toStdString()
            << '\n';
        return 1;
    }
    WriteLogCsv(log.Sessions(), out);
    return 0;
}
