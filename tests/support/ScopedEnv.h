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
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~CScopedEnv() {
        if (Old)
            ::setenv(Name.c_str(), Old->c_str(), 1);
        else
            ::unsetenv(Name.c_str());
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    std::string Name;
    std::optional<std::string> Old;
};
