// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/BookModule.h"

#include "platform/Folders.h"
#include "platform/SharedModule.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct SLoaded {
    std::unique_ptr<CSharedModule> Module;
    const SBookEntry* Entry = nullptr;
    std::string Error;
};

SLoaded TryLoad(const std::string& path) {
    SLoaded loaded;
    loaded.Module = CSharedModule::Open(path, loaded.Error);
    if (!loaded.Module)
        return loaded;
    const auto function = reinterpret_cast<BookEntryFunction>(loaded.Module->Find(BookEntrySymbol));
    if (!function) {
        loaded.Error = path + " is not Skimmet's book module";
        return loaded;
    }
    const SBookEntry* entry = function();
    if (!BookModule::Fits(entry, loaded.Error)) {
        loaded.Error = path + ": " + loaded.Error;
        return loaded;
    }
    loaded.Entry = entry;
    return loaded;
}

// The first candidate that loads; the reason the first one that exists failed otherwise,
// since a missing file further down says less than a broken one found.
SLoaded Load() {
    const std::vector<std::string> candidates = BookModule::Candidates(
        "SKIMMET_BOOK_MODULE", ExecutableFolder(), SKIMMET_BOOK_MODULE_FOLDER);
    SLoaded first;
    for (const std::string& path : candidates) {
        SLoaded loaded = TryLoad(path);
        if (loaded.Entry)
            return loaded;
        if (first.Error.empty())
            first.Error = loaded.Error;
    }
    first.Error = "the book reader cannot be loaded: " + first.Error;
    return first;
}

} // namespace

namespace BookModule {

std::vector<std::string> Candidates(const char* variable, std::string_view programFolder,
                                    std::string_view installFolder) {
    std::vector<std::string> candidates;
    const char* named = std::getenv(variable);
    if (named && *named)
        candidates.emplace_back(named);
    if (programFolder.empty())
        return candidates;
    candidates.push_back(std::string(programFolder).append(FileName));
    candidates.push_back(
        std::string(programFolder).append(installFolder).append("/").append(FileName));
    return candidates;
}

bool Fits(const SBookEntry* entry, std::string& error) {
    if (!entry || entry->Size != sizeof(SBookEntry) || !entry->Version) {
        error = "the module has another layout";
        return false;
    }
    if (std::strcmp(entry->Version, SKIMMET_VERSION) != 0) {
        error = std::string("the module is from Skimmet ") + entry->Version + ", not " +
                SKIMMET_VERSION;
        return false;
    }
    if (!entry->DetectZip || !entry->Read) {
        error = "the module has no readers";
        return false;
    }
    return true;
}

const SBookEntry* Entry(std::string& error) {
    static const SLoaded loaded = Load();
    if (!loaded.Entry)
        error = loaded.Error;
    return loaded.Entry;
}

} // namespace BookModule
