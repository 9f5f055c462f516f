// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/AppResources.h"

#include <QString>

#include <array>

void InitAppResources() {
    Q_INIT_RESOURCE(app);
}

QIcon AppIcon() {
    InitAppResources();
    // Panels and window lists ask for 64 at most, 128 on a doubled scale; the larger
    // sizes are the installed icon's, and every size here is decoded at start.
    static constexpr std::array Sizes{16, 22, 24, 32, 48, 64, 128};
    QIcon icon;
    for (const int size : Sizes)
        icon.addFile(QStringLiteral(":/icons/skimmet-%1.png").arg(size), QSize(size, size));
    return icon;
}
