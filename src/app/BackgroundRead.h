// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>

// Runs a long read on a thread of its own while the window, its Cancel and the
// program's signals stay live. Each progress report of the read is handed to the window
// and the read waits until the window has taken it, so that the window sees every step
// in order and a cancel takes effect at the read's next report. A read that has not
// ended when the reader cancels or the program ends is given up: it is told to stop,
// and nothing of the window is touched by it again.
class CBackgroundRead final : public QObject {
    Q_OBJECT
public:
    // Called on the read's thread: false when the read is to stop.
    using Progress = std::function<bool(uint64_t done, uint64_t total)>;
    enum class EEnd { Finished, GivenUp };

    // How often the window looks at the read between reports.
    static constexpr int TickMs = 50;

    CBackgroundRead();
    ~CBackgroundRead() override;
    CBackgroundRead(const CBackgroundRead&) = delete;
    CBackgroundRead& operator=(const CBackgroundRead&) = delete;

    // Runs read on its thread and waits, handling events, until it ends. step is called
    // on this thread with each report, tick every TickMs; either returning false gives
    // the read up at once. GivenUp also when the program leaves its event loops.
    EEnd Run(std::function<void(const Progress&)> read,
             std::function<bool(uint64_t done, uint64_t total)> step, std::function<bool()> tick);

protected:
    bool event(QEvent* event) override;

private:
    struct SShared;
    std::shared_ptr<SShared> Shared; // of the read running, a fresh one for each
    std::function<bool(uint64_t, uint64_t)> Step;
    std::function<void()> EndLoop; // set while Run waits
    bool Continue = true;
};
