#pragma once

#include "platform/UniqueFd.h"

#include <QObject>

#include <csignal>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into QCoreApplication::quit(), so that the windows close
// normally and every destructor runs (the display mode is put back, the screen saver
// released). The signal handler only writes a byte into a socket pair; the quit
// happens in the event loop. One instance at a time; the previous handlers come back
// when it is destroyed.
class CTerminationSignals final : public QObject {
public:
    explicit CTerminationSignals(QObject* parent = nullptr);
    ~CTerminationSignals() override;
    CTerminationSignals(const CTerminationSignals&) = delete;
    CTerminationSignals& operator=(const CTerminationSignals&) = delete;

    // False when the handlers could not be installed (no socket pair, or another
    // instance is already active); the signals then keep their previous meaning.
    bool IsActive() const { return Active; }

private:
    void OnSignalByte();

    CUniqueFd ReadFd;  // read by the event loop
    CUniqueFd WriteFd; // written by the handler
    struct sigaction OldInt {};
    struct sigaction OldTerm {};
    QSocketNotifier* Notifier = nullptr;
    bool Active = false;
};
