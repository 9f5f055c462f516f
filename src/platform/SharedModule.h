// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

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

private:
    explicit CSharedModule(void* handle) : Handle(handle) {}

    void* Handle;
};
