// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TextSettings.h"

#include "platform/Folders.h"
#include "platform/ProfileFile.h"
#include "settings/NameHash.h"
#include "settings/ReadingSettings.h"
#include "settings/SettingsTable.h"
#include "text/TextEncoding.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr std::string_view CompanionSuffix = ".skm";
// The longest file name most file systems take, where the folder does not say.
constexpr std::size_t CommonNameLimit = 255;

std::size_t NameLimit(std::string_view folder) {
    const std::string where = folder.empty() ? std::string(".") : std::string(folder);
    const long limit = ::pathconf(where.c_str(), _PC_NAME_MAX);
    return limit > 16 ? static_cast<std::size_t>(limit) : CommonNameLimit;
}

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
    const std::string_view folder = FolderPart(textPath);
    const std::string_view name = std::string_view(textPath).substr(folder.size());
    const std::size_t limit = NameLimit(folder);
    if (name.size() + CompanionSuffix.size() <= limit)
        return textPath + std::string(CompanionSuffix);
    // The name as far as it fits, cut on a character's start, and a mark of the whole
    // name, so that two long names alike at the start keep files of their own.
    char mark[10];
    std::snprintf(mark, sizeof mark, "~%08x", static_cast<unsigned>(NameHash(name) & 0xFFFFFFFFU));
    const std::size_t room = limit - CompanionSuffix.size() - std::strlen(mark);
    std::size_t kept = std::min(room, name.size());
    while (kept > 0 && (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80)
        --kept;
    return std::string(folder) + std::string(name.substr(0, kept)) + mark +
           std::string(CompanionSuffix);
}

std::string StoredEncoding(const std::string& textPath) {
    CProfileFile file;
    if (!file.Load(CompanionPath(textPath)))
        return {};
    const std::string name = file.GetString(SettingsTable::MainSection, SettingsTable::EncodingKey,
                                            "", CReadingSettings::StopSymbolsSize);
    return std::string(TextEncoding::Canonical(name).value_or(""));
}

bool StoredAsPlainText(const std::string& textPath) {
    CProfileFile file;
    if (!file.Load(CompanionPath(textPath)))
        return false;
    return file.GetInt(SettingsTable::MainSection, SettingsTable::AsPlainTextKey, 0) == 1;
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
