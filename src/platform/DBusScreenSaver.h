// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ScreenSaver.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class QDBusPendingCallWatcher;

// Inhibits the desktop's screen saver: through the desktop portal
// (org.freedesktop.portal.Inhibit, which GNOME and sandboxed installs answer) when it
// grants it, else through org.freedesktop.ScreenSaver. The calls never wait on the bus:
// a reading starts at once even when a service hangs, and the answer is taken when it
// comes. Every failure (no bus, no such service, no answer in time) leaves the screen
// saver as it is, silently: keeping the screen awake is a courtesy.
class CDBusScreenSaver final : public IScreenSaver {
public:
    static constexpr int DefaultTimeoutMs = 1000;

    explicit CDBusScreenSaver(QDBusConnection connection, int timeoutMs = DefaultTimeoutMs);
    // Connects on the first Inhibit: a program that never reads does not wait for the
    // bus at start.
    explicit CDBusScreenSaver(std::function<QDBusConnection()> connect,
                              int timeoutMs = DefaultTimeoutMs);
    ~CDBusScreenSaver() override;
    CDBusScreenSaver(const CDBusScreenSaver&) = delete;
    CDBusScreenSaver& operator=(const CDBusScreenSaver&) = delete;

    void Inhibit() override;
    void UnInhibit() override;
    // True once the service has granted the inhibition, until it is released.
    bool IsInhibited() const override { return Held; }

private:
    // Asks the way at index in the list of ways, portal first.
    void Ask(std::size_t way);
    void OnInhibitReply(QDBusPendingCallWatcher* watcher, std::size_t way);

    const QDBusConnection& Bus();

    std::function<QDBusConnection()> Connect;
    std::optional<QDBusConnection> Connection;
    int TimeoutMs;
    bool Wanted = false; // what the reading asks for; a late grant is undone when false
    bool Held = false;
    QVariant Token;          // the cookie or the portal's request that stands for the inhibition
    std::size_t HeldWay = 0; // the way that granted it
    QDBusPendingCallWatcher* Pending = nullptr; // the Inhibit call in flight, owned by Context
    std::size_t PendingWay = 0;                 // the way it went
    std::unique_ptr<QObject> Context;           // owns the watchers; their callbacks die with it
};
