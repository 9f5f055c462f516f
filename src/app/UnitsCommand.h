// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>

// Loads the text at path with its settings as an open does, then writes every unit
// that reading would flash, from the stored position on: "<offset>\t<unit>" per line
// (units in UTF-8, offsets into the text as held) with backslash, line feed, carriage
// return and tab escaped, then "END". Writes no file. A text that cannot be loaded:
// its message on err and the result 1; else 0.
int RunUnitsCommand(const std::string& path, std::ostream& out, std::ostream& err);

// RunUnitsCommand with each unit's times: "<offset>\t<gap ms>\t<show ms>\t<unit>", the
// paced times when the text's settings pace by content.
int RunScheduleCommand(const std::string& path, std::ostream& out, std::ostream& err);

// Writes the text that opening the file at path gives (a book's text), in UTF-8.
int RunTextCommand(const std::string& path, std::ostream& out, std::ostream& err);

// Writes the text's table of contents: "<offset>\t<title>" per entry, the title
// indented by two spaces a level, in UTF-8.
int RunContentsCommand(const std::string& path, std::ostream& out, std::ostream& err);

// Writes the name of the encoding that opening the text at path would use.
int RunEncodingCommand(const std::string& path, std::ostream& out, std::ostream& err);
