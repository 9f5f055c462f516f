// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

bool CDesktopUrlOpener::Open(const QString& target) {
    // Only complete addresses ("https://...", "mailto:..."): a bare word would be
    // guessed into a local file path by the desktop.
    const QUrl url(target, QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return false;
    return QDesktopServices::openUrl(url);
}
