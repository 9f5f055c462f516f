#pragma once
// Until the units-command tests include the shared helpers themselves.
#include "support/ScopedEnv.h"
#include "support/TempFolder.h"

using TempFolder = CTempFolder;
struct ScopedConfigHome : CScopedEnv {
    explicit ScopedConfigHome(const std::string& folder)
        : CScopedEnv("XDG_CONFIG_HOME", folder.c_str()) {}
};
