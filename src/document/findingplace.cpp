#include "packagecheck.h"

#include "packagedocument.h"

#include "ini/profile.h"

namespace document {

namespace {

using Subject = Finding::Subject;

// The numbers n of the sections "Menu" n the main menus were read from, in list order (a gap
// between them is skipped, as reading the menus skips it).
QList<int> menuSectionNumbers(const QString &machineFilePath)
{
    QList<int> numbers;
    for (int n = 1; n <= Menus::MaxMenuNumber; ++n) {
        const QString section = QStringLiteral("Menu%1").arg(n);
        if (!ini::readProfileString(machineFilePath, section, section + QLatin1String("Info")).isEmpty())
            numbers << n;
    }
    return numbers;
}

} // namespace

FindingPlace placeOf(const PackageDocument &document, const Finding &finding)
{
    const packages::PackageState &state = document.state();
    const auto lineIn = [](const QString &file, const QString &section, const QString &key) {
        return FindingPlace{file, ini::profileKeyLine(file, section, key).value_or(0)};
    };
    // The line of a text of the text or configuration record, by its key; nothing when none holds it.
    const auto textLine = [&](const records::ConfigRecord &record, const QString &key) -> std::optional<FindingPlace> {
        if (key.isEmpty())
            return std::nullopt;
        const auto lineKey = record.lineKeyOf(key);
        if (!lineKey)
            return std::nullopt;
        return lineIn(record.filePath(), lineKey->first, lineKey->second);
    };

    switch (finding.subject) {
    case Subject::File:
    case Subject::LanguageFolder:
        return {finding.path, 0};
    case Subject::CompanyName:
        return lineIn(state.textFilePath, document.textRecord().section(), QStringLiteral("TITLE"));
    case Subject::TextColor:
        return lineIn(state.configFilePath, QStringLiteral("OTHER"), QStringLiteral("REGULAR_TEXT_COLOR"));
    case Subject::Text: {
        const records::ConfigRecord &record =
            finding.path == document.configRecord().filePath() ? document.configRecord() : document.textRecord();
        return textLine(record, finding.textKey).value_or(FindingPlace{finding.path, 0});
    }
    default:
        break;
    }
    const CItem *item = finding.item;
    if (!item)
        return {state.packageDir, 0};

    // The path from the main menu down: main menu i, entry j, sub-entry k.
    const CItem *menu = item;
    while (menu->parent())
        menu = menu->parent();
    const int menuIndex = document.menus().mainMenus().indexOf(menu);
    const QList<int> sections = menuSectionNumbers(state.machineFilePath);
    const int n = menuIndex >= 0 && menuIndex < sections.size() ? sections.at(menuIndex) : menuIndex + 1;
    const QString section = QStringLiteral("Menu%1").arg(n);

    if (isMainMenu(item)) {
        const QString token = QStringLiteral("__MENU%1").arg(n);
        const QString key = finding.subject == Subject::AltKey        ? token + QLatin1String("_ALT_KEY__")
                            : finding.subject == Subject::Description ? QStringLiteral("__TAB%1_DESCRIPTION__").arg(n)
                                                                      : token + QLatin1String("_CONTENT_TITLE__");
        return textLine(document.textRecord(), key)
            .value_or(lineIn(state.machineFilePath, section, section + QLatin1String("Info")));
    }
    const CItem *menuEntry = isSubEntry(item) ? item->parent() : item;
    QString entryKey = QStringLiteral("SubMenu%1").arg(menuEntry->parent()->entries().indexOf(menuEntry) + 1);
    if (isSubEntry(item))
        entryKey += QStringLiteral(".item%1").arg(item->parent()->entries().indexOf(item) + 1);
    const FindingPlace entryLine = lineIn(state.machineFilePath, section, entryKey);
    if (finding.subject == Subject::Title)
        return textLine(document.textRecord(), item->name()).value_or(entryLine);
    if (finding.subject == Subject::Description)
        return textLine(document.textRecord(), item->descriptionKey()).value_or(entryLine);
    return entryLine;
}

} // namespace document
