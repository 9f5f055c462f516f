// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

class CReadingSettings;

// Where the settings of a newly loaded text came from.
enum class SettingsSource { Companion, DefaultsFile, BuiltIn };

// The text's own settings file: its full path with ".skm" appended; where the file
// system takes no name that long, the text's name cut to fit, a mark of the whole name
// and ".skm".
std::string CompanionPath(const std::string& textPath);

// A base folder of the user's: the environment variable when it holds an absolute
// path, else underHome below the home folder; empty without a home folder.
std::string UserFolder(const char* variable, const char* underHome);

// $XDG_CONFIG_HOME/skimmet/default.skm, or ~/.config/skimmet/default.skm when the
// variable is unset or not an absolute path. Empty when no home folder is known.
std::string DefaultsFilePath();

// Creates the folder of DefaultsFilePath() for a save; false with a message when it
// cannot be made.
bool CreateDefaultsFolder(std::string* error = nullptr);

// The encoding the text's companion file names (its key Encoding in MAIN), empty when
// it names none that Skimmet reads.
std::string StoredEncoding(const std::string& textPath);
// Whether the text's companion file says to read it as plain text, whatever it holds.
bool StoredAsPlainText(const std::string& textPath);

// Settings for a text that the view already holds, its cursor at the text start
// (settings bound with BindText): the companion file in Full mode when it exists,
// else the defaults file in SettingsOnly mode when it exists, else the built-in
// defaults. Afterwards TextLength is textLength, the bookmarks belong to this text
// and the cursor lies within it.
SettingsSource LoadSettingsForText(CReadingSettings& settings, const std::string& textPath,
                                   int32_t textLength);
