// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LogWindowEntry.h"
#include "app/ReadingLogWindow.h"

namespace {
QWidget* Create(std::vector<SSessionRecord> sessions, IDialogs& dialogs, QWidget* parent) {
    return new CReadingLogWindow(std::move(sessions), dialogs, parent);
}

const SLogWindowEntry Window{.Create = Create};
} // namespace

extern "C" __attribute__((visibility("default"))) const SLogWindowEntry* SkimmetLogWindowEntry() {
    return &Window;
}
