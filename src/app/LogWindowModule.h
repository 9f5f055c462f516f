// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/LogWindowEntry.h"

#include <string>
#include <string_view>

// Finds and loads the reading log's window module the first time the window is asked
// for, once for the process.
namespace LogWindowModule {

// The module's file name.
inline constexpr std::string_view FileName = "skimmet-log-window.so";

// Whether an entry came from this release with this layout; why not otherwise.
bool Fits(const SLogWindowEntry* entry, std::string& error);

// The loaded module's entry; nullptr with the reason when there is none to load, the
// same reason on every later call.
const SLogWindowEntry* Entry(std::string& error);

} // namespace LogWindowModule
