// SPDX-License-Identifier: GPL-3.0-or-later
#include "books/BookModule.h"

#include "platform/Folders.h"
#include "platform/SharedModule.h"

namespace {

struct SLoaded {
    const SBookEntry* Entry = nullptr;
    std::string Error;
};

SLoaded Load() {
    const std::vector<std::string> candidates = BookModule::Candidates(
        "SKIMMET_BOOK_MODULE", ExecutableFolder(), SKIMMET_BOOK_MODULE_FOLDER);
    const auto check = [](const void* entry, std::string& error) {
        return BookModule::Fits(static_cast<const SBookEntry*>(entry), error);
    };
    SLoaded loaded;
    loaded.Entry = static_cast<const SBookEntry*>(
        CSharedModule::LoadEntry(candidates, BookEntrySymbol, check, loaded.Error));
    if (!loaded.Entry)
        loaded.Error = "the book reader cannot be loaded: " + loaded.Error;
    return loaded;
}

} // namespace

namespace BookModule {

std::vector<std::string> Candidates(const char* variable, std::string_view programFolder,
                                    std::string_view installFolder) {
    return CSharedModule::Candidates(variable, FileName, programFolder, installFolder);
}

bool Fits(const SBookEntry* entry, std::string& error) {
    if (!entry)
        return CSharedModule::SameRelease(0, sizeof(SBookEntry), nullptr, error);
    if (!CSharedModule::SameRelease(entry->Size, sizeof(SBookEntry), entry->Version, error))
        return false;
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
