// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ScreenSaver.h"

#include "platform/DBusScreenSaver.h"

std::unique_ptr<IScreenSaver> CreateScreenSaver() {
    return std::make_unique<CDBusScreenSaver>([] { return QDBusConnection::sessionBus(); });
}
