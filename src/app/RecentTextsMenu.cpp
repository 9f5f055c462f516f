// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecentTextsMenu.h"

#include "app/TextDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>

CRecentTextsMenu::CRecentTextsMenu(QMenu& menu, CTextDocument& document)
    : QObject(&menu), Menu(menu), Document(document) {
    Menu.setObjectName(QStringLiteral("RecentTextsMenu"));
    Menu.setToolTipsVisible(true);
    connect(&Menu, &QMenu::aboutToShow, this, &CRecentTextsMenu::Fill);
}

void CRecentTextsMenu::Fill() {
    Menu.clear();
    CRecentTexts& recent = Document.RecentTexts();
    recent.DropMissing();
    if (recent.Paths().empty())
        Menu.addAction(tr("No recent texts"))->setEnabled(false);
    for (const std::string& path : recent.Paths()) {
        const QString name = QFile::decodeName(QByteArray::fromStdString(path));
        const QFileInfo file(name);
        // "&" in a name is a letter, not a mnemonic.
        QString label = Document.RecentLabel(path);
        QAction* action = Menu.addAction(label.replace('&', QStringLiteral("&&")));
        action->setToolTip(file.path());
        // The path's own bytes: a name that is not UTF-8 does not survive decoding.
        connect(action, &QAction::triggered, this, [this, path] { Document.OpenLocal(path); });
    }
}
