// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

class QCoreApplication;

// The program speaks English and, where a translation is installed for the reader's
// language, that language; Qt's own dialogs follow with Qt's translations.
namespace Translations {

// Where the program's translations are looked for: beside an installed program
// (share/skimmet/translations) and in a build tree, next to the program.
QStringList Folders();

// Installs, for locale, the program's translation from the first of folders that has
// one, and Qt's, when they exist. The translators belong to app. True when the
// program's own was found.
bool Install(QCoreApplication& app, const QLocale& locale = QLocale::system(),
             const QStringList& folders = Folders());

} // namespace Translations
