// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Translations.h"

#include "platform/Folders.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

const QString ProgramFile = QStringLiteral("skimmet");
const QString QtFile = QStringLiteral("qtbase");

// Loads file_<language>.qm for the first of the locale's languages that has one.
bool InstallFirst(QCoreApplication& app, const QLocale& locale, const QString& file,
                  const QStringList& folders) {
    for (const QString& folder : folders) {
        auto* translator = new QTranslator(&app);
        if (translator->load(locale, file, QStringLiteral("_"), folder) &&
            QCoreApplication::installTranslator(translator))
            return true;
        delete translator;
    }
    return false;
}

} // namespace

namespace Translations {

QStringList Folders() {
    const QString program = QString::fromStdString(ExecutableFolder());
    if (program.isEmpty())
        return {};
    return {program + QStringLiteral("../share/skimmet/translations"),
            program + QStringLiteral("translations")};
}

bool Install(QCoreApplication& app, const QLocale& locale, const QStringList& folders) {
    // English is the source: nothing to load, and nothing of Qt's to mix in.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return false;
    const bool own = InstallFirst(app, locale, ProgramFile, folders);
    InstallFirst(app, locale, QtFile, {QLibraryInfo::path(QLibraryInfo::TranslationsPath)});
    return own;
}

} // namespace Translations
