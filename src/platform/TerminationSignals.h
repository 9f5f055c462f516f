// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/UniqueFd.h"

#include <QObject>

#include <array>
#include <csignal>
#include <functional>

class QSocketNotifier;

// Turns SIGINT, SIGTERM and SIGHUP into a call of onSignal in the event loop (by default
// QCoreApplication::quit()), so that the windows close normally and every destructor
// runs (the display mode is put back, the screen saver released). The signal handler
// only writes a byte into a socket pair. A signal that was ignored when the program
// started (nohup, a background job) stays ignored. One instance at a time; the previous
// handlers come back when it is destroyed.
class CTerminationSignals final : public QObject {
public:
    explicit CTerminationSignals(std::function<void()> onSignal = {}, QObject* parent = nullptr);
    ~CTerminationSignals() override;
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

    // False when the handlers could not be installed (no socket pair, or another
    // instance is already active); the signals then keep their previous meaning.
    bool IsActive() const { return Active; }

    static constexpr std::array Handled{SIGINT, SIGTERM, SIGHUP};

private:
    void OnSignalByte();
    void RestoreHandlers(std::size_t count);

    std::function<void()> OnSignal;
    CUniqueFd ReadFd;  // read by the event loop
    CUniqueFd WriteFd; // written by the handler
    std::array<struct sigaction, Handled.size()> Old{};
    QSocketNotifier* Notifier = nullptr;
    bool Active = false;
};
