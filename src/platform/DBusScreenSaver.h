#pragma once

#include "platform/ScreenSaver.h"

#include <QDBusConnection>
#include <QString>

// Inhibits the desktop's screen saver through org.freedesktop.ScreenSaver. Every
// failure (no bus, no such service, a service that does not answer in time) leaves
// the screen saver as it is, silently: keeping the screen awake is a courtesy.
class CDBusScreenSaver final : public IScreenSaver {
public:
    static constexpr int DefaultTimeoutMs = 1000;

    explicit CDBusScreenSaver(QDBusConnection connection, int timeoutMs = DefaultTimeoutMs);
    ~CDBusScreenSaver() override;
    CDBusScreenSaver(const CDBusScreenSaver&) = delete;
    CDBusScreenSaver& operator=(const CDBusScreenSaver&) = delete;

    void Inhibit() override;
    void UnInhibit() override;
    bool IsInhibited() const override { return Held; }

private:
    QDBusConnection Connection;
    int TimeoutMs;
    bool Held = false;
    uint Cookie = 0;
    QString Path; // the object path that answered Inhibit
};
