// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

// Sets (or, for nullptr, clears) one environment variable for the life of the object.
class CScopedEnv {
public:
    CScopedEnv(const char* name, const char* value) : Name(name) {
        if (const char* old = std::getenv(name))
            Old = old;
        Set(value);
    }
    ~CScopedEnv() { Set(Old ? Old->c_str() : nullptr); }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    void Set(const char* value) const {
        value ? ::setenv(Name.c_str(), value, 1) : ::unsetenv(Name.c_str());
    }
    std::string Name;
    std::optional<std::string> Old;
};
