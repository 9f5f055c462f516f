// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppTestSupport.h"

#include "app/Translations.h"

#include <QLabel>
#include <QMenuBar>
#include <QTranslator>

namespace {

struct LanguageRow {
    const char* Name;
    QLocale Locale;
    bool Installed;
    std::string FileMenu;
    std::string Message;
    std::string OpenTip;
};

// Russian and German from the built translations, the window in that language; English
// and a language without a translation keep the English texts as they are.
TEST(Translations, EachLanguage_TheWindowSpeaksItAndEnglishStaysAsItIs) {
    const LanguageRow rows[] = {
        {"Russian", QLocale(QLocale::Russian, QLocale::Russia), true, "&Файл", "Готово", "Открыть"},
        {"German", QLocale(QLocale::German, QLocale::Germany), true, "&Datei", "Bereit", "Öffnen"},
        {"English", QLocale(QLocale::English, QLocale::UnitedStates), false, "&File", "Ready",
         "Open"},
        {"Finnish, not translated", QLocale(QLocale::Finnish, QLocale::Finland), false, "&File",
         "Ready", "Open"},
    };
    for (const LanguageRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(Translations::Install(*qApp, row.Locale, {QStringLiteral(SKIMMET_QM_DIR)}),
                  row.Installed);
        {
            FreshApp app;
            const auto* message = app.Frame->findChild<QLabel*>(QStringLiteral("MessagePane"));
            EXPECT_EQ(app.Frame->menuBar()->actions().front()->text().toStdString(), row.FileMenu);
            EXPECT_EQ(message->text().toStdString(), row.Message);
            EXPECT_EQ(app.Frame->ActionFor(CommandId::FileOpen)->toolTip().toStdString(),
                      row.OpenTip);
        }
        qDeleteAll(qApp->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly));
    }
}

} // namespace
