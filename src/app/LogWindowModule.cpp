// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LogWindowModule.h"

#include "platform/Folders.h"
#include "platform/SharedModule.h"

namespace {

struct SLoaded {
    const SLogWindowEntry* Entry = nullptr;
    std::string Error;
};

SLoaded Load() {
    const std::vector<std::string> candidates =
        CSharedModule::Candidates("SKIMMET_LOG_WINDOW_MODULE", LogWindowModule::FileName,
                                  ExecutableFolder(), SKIMMET_MODULE_FOLDER);
    const auto check = [](const void* entry, std::string& error) {
        return LogWindowModule::Fits(static_cast<const SLogWindowEntry*>(entry), error);
    };
    SLoaded loaded;
    loaded.Entry = static_cast<const SLogWindowEntry*>(
        CSharedModule::LoadEntry(candidates, LogWindowEntrySymbol, check, loaded.Error));
    return loaded;
}

} // namespace

namespace LogWindowModule {

bool Fits(const SLogWindowEntry* entry, std::string& error) {
    if (!entry)
        return CSharedModule::SameRelease(0, sizeof(SLogWindowEntry), nullptr, error);
    if (!CSharedModule::SameRelease(entry->Size, sizeof(SLogWindowEntry), entry->Version, error))
        return false;
    if (!entry->Create) {
        error = "the module has no window";
        return false;
    }
    return true;
}

const SLogWindowEntry* Entry(std::string& error) {
    static const SLoaded loaded = Load();
    if (!loaded.Entry)
        error = loaded.Error;
    return loaded.Entry;
}

} // namespace LogWindowModule
