#include "menumodel.h"

#include "config/configrecord.h"
#include "config/fields.h"
#include "platform/profile.h"

namespace document {
namespace {

const int ProfileBufferSize = 2048;

// The text an entry line points to; an entry without a key has no text.
QString textOf(const config::ConfigRecord &textRecord, const QString &key)
{
    return key.isEmpty() ? QString() : textRecord.getValue(key);
}

// The name, and so the key of the title, stands in field 3 of a menu entry's line and in field 4
// of a sub-entry's; either line may use the other field, and is read the same way.
QString nameKeyOf(const config::FieldViews &fields)
{
    if (fields.size() > 3 && !fields[3].isEmpty())
        return fields[3].toString();
    return fields.size() > 4 ? fields[4].toString() : QString();
}

// The description key stands in field 12 of a line that has it.
QString descriptionKeyOf(const config::FieldViews &fields)
{
    return fields.size() > 12 ? fields[12].toString() : QString();
}

// One object of a menu read from its line: the line's fields, its title and description from
// the text record.
void readLine(CItem &item, const QString &line, int position, const config::ConfigRecord &textRecord)
{
    const config::FieldViews fields = config::splitFieldViews(line);
    item.fromLine(fields, textOf(textRecord, nameKeyOf(fields)), textOf(textRecord, descriptionKeyOf(fields)), position);
}

// One menu entry and its sub-entries, read from section "Menu" n.
std::unique_ptr<CItem> readMenuEntry(const QString &file, const QString &section, int j, const QString &line,
                                        const config::ConfigRecord &textRecord)
{
    auto entry = std::make_unique<CItem>(ItemKind::SubMenu);
    readLine(*entry, line, j, textRecord);

    // One key string for all sub-entries: "SubMenu" j ".item" k.
    QString key = QLatin1String("SubMenu") + QString::number(j) + QLatin1String(".item");
    const qsizetype stem = key.size();
    for (int k = 1;; ++k) {
        key.truncate(stem);
        key.append(QString::number(k));
        const QString subLine = platform::readProfileString(file, section, key, ProfileBufferSize);
        if (subLine.isEmpty())
            break;
        // Sub-entries make the entry a sub-menu, whatever its own line says.
        entry->setHasEntries(true);
        auto subEntry = std::make_unique<CItem>();
        readLine(*subEntry, subLine, k, textRecord);
        subEntry->setHasEntries(false);
        entry->entries().append(std::move(subEntry));
    }
    return entry;
}

} // namespace

void MenuModel::readMenus(const QString &machineFilePath, const config::ConfigRecord &textRecord,
                          const config::ConfigRecord &configRecord)
{
    m_mainMenus.clear();
    for (int n = 1; n <= MaxMenuNumber; ++n) {
        const QString section = QStringLiteral("Menu%1").arg(n);
        const QString infoLine =
            platform::readProfileString(machineFilePath, section, section + QLatin1String("Info"), ProfileBufferSize);
        if (infoLine.isEmpty())
            continue;

        auto mainMenu = std::make_unique<CItem>(ItemKind::MainMenu);
        const QString menuToken = QStringLiteral("__MENU%1").arg(n);
        mainMenu->fromMainLine(config::splitFields(infoLine),
                               textRecord.getValue(menuToken + QLatin1String("_CONTENT_TITLE__")),
                               textRecord.getValue(menuToken + QLatin1String("_ALT_KEY__")),
                               textRecord.getValue(QStringLiteral("__TAB%1_DESCRIPTION__").arg(n)));
        mainMenu->setLooks(configRecord.getValue(menuToken + QLatin1String("ICON__")),
                           configRecord.getValue(menuToken + QLatin1String("_HOVER_ICON__")),
                           configRecord.getValue(menuToken + QLatin1String("_COLOR__")),
                           configRecord.getValue(menuToken + QLatin1String("_COLORBAR__")),
                           configRecord.getValue(QStringLiteral("__TAB%1ICON__").arg(n)));

        for (int j = 1;; ++j) {
            const QString line = platform::readProfileString(machineFilePath, section, QLatin1String("SubMenu") + QString::number(j),
                                                             ProfileBufferSize);
            if (line.isEmpty())
                break;
            mainMenu->setHasEntries(true);
            mainMenu->entries().append(readMenuEntry(machineFilePath, section, j, line, textRecord));
        }
        m_mainMenus.append(std::move(mainMenu));
    }
    m_mainMenus.renumber();
}

} // namespace document
