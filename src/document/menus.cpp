#include "menus.h"

#include "records/configrecord.h"
#include "records/fields.h"

namespace document {
namespace {

const int ProfileBufferSize = 2048;

// The text an entry line points to; an entry without a key has no text.
QString textOf(const records::ConfigRecord &textRecord, const QString &key)
{
    return key.isEmpty() ? QString() : textRecord.getValue(key);
}

// One object of a menu read from its line. Its title and description come later, from the text
// record, under the keys the line names: the name (field 3 of a menu entry's line, field 4 of a
// sub-entry's; either line may use the other field) and the description key (field 12).
std::unique_ptr<CItem> readLine(ItemKind kind, const QString &line, int position)
{
    auto item = std::make_unique<CItem>(kind);
    item->fromLine(records::splitFieldViews(line), QString(), QString(), position);
    return item;
}

// One menu entry and its sub-entries, read from section "Menu" n.
std::unique_ptr<CItem> readMenuEntry(const ini::ProfileRead &read, const QString &section, int j, const QString &line)
{
    std::unique_ptr<CItem> entry = readLine(ItemKind::SubMenu, line, j);

    // One key string for all sub-entries: "SubMenu" j ".item" k.
    QString key = QLatin1String("SubMenu") + QString::number(j) + QLatin1String(".item");
    const qsizetype stem = key.size();
    for (int k = 1;; ++k) {
        key.truncate(stem);
        key.append(QString::number(k));
        const QString subLine = read(section, key, ProfileBufferSize);
        if (subLine.isEmpty())
            break;
        // Sub-entries make the entry a sub-menu, whatever its own line says.
        entry->setHasEntries(true);
        std::unique_ptr<CItem> subEntry = readLine(ItemKind::Item, subLine, k);
        subEntry->setHasEntries(false);
        entry->entries().append(std::move(subEntry));
    }
    return entry;
}

// Gives entries and their sub-entries the texts their keys name.
void takeTexts(const ItemList &entries, const records::ConfigRecord &textRecord)
{
    for (CItem *entry : entries) {
        entry->setTitle(textOf(textRecord, entry->name()));
        entry->setDescription(textOf(textRecord, entry->descriptionKey()));
        takeTexts(entry->entries(), textRecord);
    }
}

} // namespace

void Menus::read(const QString &machineFilePath, const records::ConfigRecord &textRecord,
               const records::ConfigRecord &configRecord)
{
    adopt(readMainMenus(ini::profileReader(machineFilePath)), textRecord, configRecord);
}

MainMenus Menus::readMainMenus(const ini::ProfileRead &read)
{
    MainMenus menus;
    for (int n = 1; n <= MaxMenuNumber; ++n) {
        const QString section = QStringLiteral("Menu%1").arg(n);
        const QString infoLine = read(section, section + QLatin1String("Info"), ProfileBufferSize);
        if (infoLine.isEmpty())
            continue;

        auto mainMenu = std::make_unique<CItem>(ItemKind::MainMenu);
        mainMenu->fromMainLine(records::splitFields(infoLine), QString(), QString(), QString());
        mainMenu->setPosition(n);
        for (int j = 1;; ++j) {
            const QString line = read(section, QLatin1String("SubMenu") + QString::number(j), ProfileBufferSize);
            if (line.isEmpty())
                break;
            mainMenu->setHasEntries(true);
            mainMenu->entries().append(readMenuEntry(read, section, j, line));
        }
        menus.push_back(std::move(mainMenu));
    }
    return menus;
}

void Menus::takeEntryTexts(const MainMenus &menus, const records::ConfigRecord &textRecord)
{
    for (const std::unique_ptr<CItem> &mainMenu : menus)
        takeTexts(mainMenu->entries(), textRecord);
}

void Menus::adopt(MainMenus menus, const records::ConfigRecord &textRecord,
                  const records::ConfigRecord &configRecord, EntryTexts entryTexts)
{
    m_mainMenus.clear();
    for (std::unique_ptr<CItem> &mainMenu : menus) {
        // Texts and looks are stored under the number of the section the menu was read from.
        const int n = mainMenu->position();
        const QString menuToken = QStringLiteral("__MENU%1").arg(n);
        mainMenu->setTexts(textRecord.getValue(menuToken + QLatin1String("_CONTENT_TITLE__")),
                           textRecord.getValue(menuToken + QLatin1String("_ALT_KEY__")));
        mainMenu->setTabDescription(textRecord.getValue(QStringLiteral("__TAB%1_DESCRIPTION__").arg(n)));
        mainMenu->setLooks(configRecord.getValue(menuToken + QLatin1String("ICON__")),
                           configRecord.getValue(menuToken + QLatin1String("_HOVER_ICON__")),
                           configRecord.getValue(menuToken + QLatin1String("_COLOR__")),
                           configRecord.getValue(menuToken + QLatin1String("_COLORBAR__")),
                           configRecord.getValue(QStringLiteral("__TAB%1ICON__").arg(n)));
        if (entryTexts == EntryTexts::ToTake)
            takeTexts(mainMenu->entries(), textRecord);
        m_mainMenus.append(std::move(mainMenu));
    }
    m_mainMenus.renumber();
}

} // namespace document
