#include "packagecheck.h"

#include "packagedocument.h"

#include "platform/programdir.h"
#include "texts/texts.h"
#include "ini/profile.h"

namespace document {

namespace {

QString withArguments(QString text, const QStringList &arguments)
{
    for (const QString &argument : arguments)
        text = text.arg(argument);
    return text;
}

void checkEntries(const ItemList &entries, QList<Finding> &findings)
{
    for (const CItem *item : entries) {
        if (!isMainMenu(item) && item->title().trimmed().isEmpty())
            findings << Finding{Finding::Severity::Warning, Finding::Subject::Title, item, QStringLiteral("NOTITLE")};
        checkEntries(item->entries(), findings);
    }
}

} // namespace

QString Finding::text() const
{
    return withArguments(texts::lookupText(QStringLiteral("CHECK"), key), arguments);
}

QString Finding::englishText() const
{
    const QString english = platform::programDirectory() + QStringLiteral("/0409/custom-text.ini");
    return withArguments(ini::readProfileString(english, QStringLiteral("CHECK"), key, 2048), arguments);
}

QString Finding::fix() const
{
    return texts::lookupText(QStringLiteral("CHECK"), key + QStringLiteral("_FIX"));
}

QList<Finding> checkPackage(const PackageDocument &document)
{
    QList<Finding> findings;
    checkEntries(document.menus().mainMenus(), findings);
    return findings;
}

} // namespace document
