// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether a D-Bus session bus can be reached without starting one: address (the value of
// DBUS_SESSION_BUS_ADDRESS) names it, or runtimeFolder (XDG_RUNTIME_DIR) holds the socket
// "bus" that a user's service manager keeps. Without either, anything asked of the bus
// makes libdbus try to start a bus of its own, a process the asker waits for.
bool SessionBusReachable(const char* address, const char* runtimeFolder);
