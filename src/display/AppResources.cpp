// SPDX-License-Identifier: GPL-3.0-or-later
#include "display/AppResources.h"

#include <QString>

void InitAppResources() {
    Q_INIT_RESOURCE(app);
}

QIcon AppIcon() {
    InitAppResources();
    // Scalable: sharp in panels and window lists at every size and scale.
    return QIcon(QStringLiteral(":/icons/skimmet.svg"));
}
