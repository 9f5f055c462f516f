// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SharedModule.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <mutex>

std::unique_ptr<CSharedModule> CSharedModule::Open(const std::string& path, std::string& error) {
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* reason = ::dlerror();
        error = reason ? reason : path + ": cannot be loaded";
        return nullptr;
    }
    return std::unique_ptr<CSharedModule>(new CSharedModule(handle));
}

CSharedModule::~CSharedModule() {
    ::dlclose(Handle);
}

void* CSharedModule::Find(const char* symbol) const {
    return ::dlsym(Handle, symbol);
}

std::vector<std::string> CSharedModule::Candidates(const char* variable, std::string_view fileName,
                                                   std::string_view programFolder,
                                                   std::string_view installFolder) {
    std::vector<std::string> candidates;
    const char* named = std::getenv(variable);
    if (named && *named)
        candidates.emplace_back(named);
    if (programFolder.empty())
        return candidates;
    candidates.push_back(std::string(programFolder).append(fileName));
    candidates.push_back(
        std::string(programFolder).append(installFolder).append("/").append(fileName));
    return candidates;
}

const void* CSharedModule::LoadEntry(const std::vector<std::string>& candidates, const char* symbol,
                                     const EntryCheck& check, std::string& error) {
    std::string first;
    for (const std::string& path : candidates) {
        std::string why;
        std::unique_ptr<CSharedModule> module = Open(path, why);
        using Function = const void* (*)();
        const auto function = module ? reinterpret_cast<Function>(module->Find(symbol)) : nullptr;
        if (module && !function)
            why = path + " is not the module looked for";
        const void* entry = function ? function() : nullptr;
        if (function && check(entry, why)) {
            // Kept until the program ends: what the module made may outlive any owner here.
            // Modules may be loaded on different threads (a book's on the reading one).
            static std::mutex keeping;
            static std::vector<std::unique_ptr<CSharedModule>> kept;
            const std::lock_guard lock(keeping);
            kept.push_back(std::move(module));
            return entry;
        }
        if (function)
            why = path + ": " + why;
        if (first.empty())
            first = why;
    }
    error = first.empty() ? "no module was found" : first;
    return nullptr;
}

bool CSharedModule::SameRelease(uint32_t size, std::size_t expectedSize, const char* version,
                                std::string& error) {
    if (size != expectedSize || !version) {
        error = "the module has another layout";
        return false;
    }
    if (std::strcmp(version, SKIMMET_VERSION) != 0) {
        error = std::string("the module is from Skimmet ") + version + ", not " + SKIMMET_VERSION;
        return false;
    }
    return true;
}
