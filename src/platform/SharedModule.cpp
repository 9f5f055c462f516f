// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SharedModule.h"

#include <dlfcn.h>

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
