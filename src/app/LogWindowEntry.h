// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "log/SessionRecord.h"

#include <cstdint>
#include <vector>

class IDialogs;
class QWidget;

// What the reading log's window module gives the program: the window and its charts live
// in a library of their own, so that the program starts without Qt Charts and the OpenGL
// libraries that come with it.
struct SLogWindowEntry {
    // The layout and the release the module was built with: a module left behind by
    // another release may pass other types and must not be called.
    uint32_t Size = sizeof(SLogWindowEntry);
    const char* Version = SKIMMET_VERSION;
    // The window over sessions (the log's, the earliest first), a child of parent.
    QWidget* (*Create)(std::vector<SSessionRecord> sessions, IDialogs& dialogs,
                       QWidget* parent) = nullptr;
};

// The one symbol the module exports: a function returning its entry.
inline constexpr const char* LogWindowEntrySymbol = "SkimmetLogWindowEntry";
