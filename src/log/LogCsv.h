// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "log/SessionRecord.h"

#include <iosfwd>
#include <span>

// The sessions as CSV (RFC 4180, UTF-8, CRLF line ends): a header row, then one row a
// session with its start as local ISO 8601 time and its words per minute with one
// decimal; an empty rating for none.
void WriteLogCsv(std::span<const SSessionRecord> sessions, std::ostream& out);

// `skimmet --log`: the reading log of CReadingLog::DefaultPath as CSV; only the header
// without a log. A log that cannot be read: why on err and the result 1; else 0.
int RunLogCommand(std::ostream& out, std::ostream& err);
