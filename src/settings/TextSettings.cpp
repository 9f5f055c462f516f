// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TextSettings.h"

#include "platform/Folders.h"
#include "platform/ProfileFile.h"
#include "settings/ReadingSettings.h"
#include "settings/SettingsTable.h"
#include "text/TextEncoding.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string ConfigFolder() {
    return UserFolder("XDG_CONFIG_HOME", "/.config");
}

} // namespace

std::string UserFolder(const char* variable, const char* underHome) {
    // Only an absolute path counts; a relative one would depend on where the
    // program was started.
    if (const char* folder = std::getenv(variable); folder && folder[0] == '/')
        return folder;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + underHome;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_dir)
        return std::string(user->pw_dir) + underHome;
    return {};
}

std::string CompanionPath(const std::string& textPath) {
    return textPath + ".skm";
}

std::string StoredEncoding(const std::string& textPath) {
    CProfileFile file;
    if (!file.Load(CompanionPath(textPath)))
        return {};
    const std::string name = file.GetString(SettingsTable::MainSection, SettingsTable::EncodingKey,
                                            "", CReadingSettings::StopSymbolsSize);
    return std::string(TextEncoding::Canonical(name).value_or(""));
}

std::string DefaultsFilePath() {
    const std::string config = ConfigFolder();
    return config.empty() ? std::string() : config + "/skimmet/default.skm";
}

bool CreateDefaultsFolder(std::string* error) {
    const std::string path = DefaultsFilePath();
    if (path.empty()) {
        if (error)
            *error = "No home folder is known for the defaults file";
        return false;
    }
    return MakeFolder(ParentFolder(path), 0777, error);
}

SettingsSource LoadSettingsForText(CReadingSettings& settings, const std::string& textPath,
                                   int32_t textLength) {
    // Set first as well: a read leaves TextLength alone for an empty text, and the
    // stored position is checked against it.
    settings.TextLength = textLength;
    SettingsSource source = SettingsSource::BuiltIn;
    if (const std::string companion = CompanionPath(textPath); IsRegularFile(companion)) {
        settings.LoadFromFile(companion, SettingsFileMode::Full, textLength);
        source = SettingsSource::Companion;
    } else if (const std::string defaults = DefaultsFilePath();
               !defaults.empty() && IsRegularFile(defaults)) {
        settings.LoadFromFile(defaults, SettingsFileMode::SettingsOnly, textLength);
        source = SettingsSource::DefaultsFile;
    } else {
        settings.ResetDefaults();
    }
    settings.TextLength = textLength;
    return source;
}
