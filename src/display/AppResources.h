// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

// Registers the resources of res/app.qrc. They live in a static library, whose
// automatic registration the linker may drop, so everything that reads ":/..."
// paths calls this first. Calling it again does no harm.
void InitAppResources();

// The application icon for every window, set once on the application.
QIcon AppIcon();
