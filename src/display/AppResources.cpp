// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/AppResources.h"

#include <QString>

#include <array>

void InitAppResources() {
    Q_INIT_RESOURCE(app);
}

QIcon AppIcon() {
    InitAppResources();
    static constexpr std::array Sizes{16, 22, 24, 32, 48, 64, 128, 256};
    QIcon icon;
    for (const int size : Sizes)
        icon.addFile(QStringLiteral(":/icons/skimmet-%1.png").arg(size), QSize(size, size));
    return icon;
}
