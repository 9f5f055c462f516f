// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/LockKeys.h"

#include <array>
#include <memory>

class QLabel;
class QStatusBar;

// The CAP, NUM and SCRL panes at the right end of the status bar.
class CLockIndicators {
public:
    // keys: the lock-key source; nullptr takes the platform's.
    explicit CLockIndicators(std::unique_ptr<ILockKeys> keys);

    // Adds the panes to the right end of bar.
    void AddTo(QStatusBar& bar);
    // Shows each key as the source tells it now.
    void Update();
    static bool IsLockKey(int key);

private:
    std::unique_ptr<ILockKeys> Keys;
    std::array<QLabel*, 3> Labels{}; // by LockKey, owned by the status bar
};
