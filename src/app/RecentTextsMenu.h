// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class CTextDocument;
class QMenu;

// File > "Recent texts": filled anew each time it opens, since another window may have
// added to the list and a text may have gone since.
class CRecentTextsMenu : public QObject {
    Q_OBJECT
public:
    CRecentTextsMenu(QMenu& menu, CTextDocument& document);

private:
    void Fill();

    QMenu& Menu;
    CTextDocument& Document;
};
