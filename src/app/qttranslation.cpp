#include "qttranslation.h"

#include "texts/texts.h"
#include "platform/uilanguage.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace app {

bool loadQtTranslation(QTranslator &translator, const QString &languageDir)
{
    const QLocale locale = platform::localeForLanguageDir(languageDir);
    if (locale.language() == QLocale::English)
        return false;
    QList<QLocale> candidates{locale};
    if (locale.name() == QLatin1String("pt_PT"))
        candidates << QLocale(QStringLiteral("pt_BR"));
    if (locale.language() == QLocale::NorwegianBokmal)
        candidates << QLocale(QLocale::NorwegianNynorsk);
    // The first catalog that translates the standard buttons wins; failing that (some catalogs
    // cover only Qt's dialogs), the first one found.
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QString found;
    for (const QLocale &candidate : std::as_const(candidates)) {
        for (const char *catalog : {"qtbase", "qt"}) {
            QTranslator probe;
            if (!probe.load(candidate, QLatin1String(catalog), QStringLiteral("_"), folder))
                continue;
            if (!probe.translate("QPlatformTheme", "Cancel").isEmpty())
                return translator.load(probe.filePath());
            if (found.isEmpty())
                found = probe.filePath();
        }
    }
    return !found.isEmpty() && translator.load(found);
}

QString StandardButtonTexts::translate(const char *context, const char *sourceText, const char *, int) const
{
    if (qstrcmp(context, "QPlatformTheme") != 0)
        return QString();
    static const std::pair<const char *, const char *> buttons[] = {
        {"OK", "OK"}, {"Cancel", "CANCEL"}, {"&Yes", "YES"}, {"&No", "NO"},
    };
    for (const auto &[source, key] : buttons) {
        if (qstrcmp(sourceText, source) == 0)
            return texts::lookupText(QStringLiteral("TEXT"), QLatin1String(key));
    }
    return QString();
}

} // namespace app
