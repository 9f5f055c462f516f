// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class IClock;
class IDialogs;
class IDisplayModes;
class IScreenSaver;
class IUrlOpener;

// The operating-system services the windows use, owned by the application (or by a
// test, with fakes) and handed down by reference.
struct CServices {
    const IClock& Clock;
    IDialogs& Dialogs;
    IDisplayModes& DisplayModes;
    IScreenSaver& ScreenSaver;
    IUrlOpener& UrlOpener;
};
