// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A shared library loaded at run time, unloaded when this goes.
class CSharedModule {
public:
    // Every symbol bound at once, kept to the module itself; nullptr with the loader's
    // reason otherwise.
    static std::unique_ptr<CSharedModule> Open(const std::string& path, std::string& error);
    ~CSharedModule();
    CSharedModule(const CSharedModule&) = delete;
    CSharedModule& operator=(const CSharedModule&) = delete;

    // The address of symbol, nullptr when the module has none.
    void* Find(const char* symbol) const;

    // Where a module is looked for, first to last: the file that variable names (a
    // build's tests), beside the program (a build tree), and the folder installFolder
    // (relative to the program's folder) of an installation.
    static std::vector<std::string> Candidates(const char* variable, std::string_view fileName,
                                               std::string_view programFolder,
                                               std::string_view installFolder);

    // Whether an entry of size bytes (expected: expectedSize) made by release version
    // comes from this release with this layout; why not otherwise.
    static bool SameRelease(uint32_t size, std::size_t expectedSize, const char* version,
                            std::string& error);

    // Whether the entry a module gave comes from this release with this layout; why not.
    using EntryCheck = std::function<bool(const void* entry, std::string& error)>;
    // The entry of the first of candidates that loads, exports symbol (a function that
    // returns its entry) and passes check; that module stays loaded until the program
    // ends, as what it made may live as long. nullptr with the reason the first one
    // found failed otherwise, since a missing file further down says less.
    static const void* LoadEntry(const std::vector<std::string>& candidates, const char* symbol,
                                 const EntryCheck& check, std::string& error);

private:
    explicit CSharedModule(void* handle) : Handle(handle) {}

    void* Handle;
};
