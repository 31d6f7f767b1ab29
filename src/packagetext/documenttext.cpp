#include "packagetext.h"

#include "document/menucommands.h"
#include "document/menuitems.h"
#include "document/packagedocument.h"
#include "document/pagecommands.h"

#include "texts/texts.h"

namespace packagetext {
namespace {

using document::CItem;
using document::GeneralSettings;
using document::ItemKind;

// What a menu entry holds unless its file says otherwise: setting the sub-menu type makes a
// container, and so does holding sub-entries.
bool holdsEntriesByDefault(const EntryText &entry)
{
    return entry.typeIcon == document::SubMenuIcon || !entry.entries.isEmpty();
}

EntryText captureEntry(const CItem &item)
{
    EntryText entry{item.typeIcon(), item.title(), item.location(), item.description(), {}, {}};
    // Only a menu entry that is a container has sub-entries the package keeps.
    if (document::isSubEntry(&item))
        return entry;
    if (item.hasEntries())
        for (const CItem *subEntry : item.entries())
            entry.entries << captureEntry(*subEntry);
    if (item.hasEntries() != holdsEntriesByDefault(entry))
        entry.holdsEntries = item.hasEntries();
    return entry;
}

MainMenuText captureMainMenu(const CItem &menu)
{
    MainMenuText text{menu.contentTitle(), menu.altKey(), menu.tabDescription(), menu.mainIcon(), menu.hoverIcon(),
                      menu.color(), menu.colorBar(), menu.tabIcon(), {}};
    for (const CItem *entry : menu.entries())
        text.entries << captureEntry(*entry);
    return text;
}

std::unique_ptr<CItem> makeEntry(const EntryText &entry, ItemKind kind)
{
    auto item = std::make_unique<CItem>(kind);
    item->setProperties(entry.title, entry.typeIcon, entry.description, entry.location);
    if (kind == ItemKind::Item) {
        item->setHasEntries(false);
        return item;
    }
    for (const EntryText &subEntry : entry.entries)
        item->entries().append(makeEntry(subEntry, ItemKind::Item));
    item->entries().renumber();
    item->setHasEntries(entry.holdsEntries.value_or(holdsEntriesByDefault(entry)));
    return item;
}

std::unique_ptr<CItem> makeMainMenu(const MainMenuText &menu)
{
    auto item = std::make_unique<CItem>(ItemKind::MainMenu);
    item->setTexts(menu.title, menu.altKey);
    item->setTabDescription(menu.tabDescription);
    item->setLooks(menu.mainIcon, menu.hoverIcon, menu.color, menu.colorBar, menu.tabIcon);
    for (const EntryText &entry : menu.entries)
        item->entries().append(makeEntry(entry, ItemKind::SubMenu));
    item->entries().renumber();
    item->setHasEntries(!menu.entries.isEmpty());
    return item;
}

// The settings with the values of the text that differ from the package's, each set as the
// general page sets it; values the text leaves as they are keep their stored spelling.
GeneralSettings settingsFor(const document::PackageDocument &package, const SettingsText &now,
                            const SettingsText &wanted)
{
    GeneralSettings settings = package.settings();
    if (wanted.resolutionIndex != now.resolutionIndex)
        settings.resolutionIndex = wanted.resolutionIndex;
    if (wanted.systemTray != now.systemTray)
        settings.systemTrayValue = GeneralSettings::boolText(wanted.systemTray);
    if (wanted.textColor != now.textColor) {
        const QColor color(wanted.textColor);
        if (color.isValid())
            settings.setChosenColor(color);
        settings.colorTextToWrite = wanted.textColor;   // stored as the text has it
    }
    if (wanted.background != now.background)
        settings.selectBackground(GeneralSettings::Background(qBound(0, wanted.background, 2)),
                                  package.state().configFilePath);
    return settings;
}

} // namespace

PackageText capturePackage(const document::PackageDocument &package)
{
    const GeneralSettings &settings = package.settings();
    PackageText text{package.companyName(),
                     {settings.resolutionIndex, GeneralSettings::isTrue(settings.systemTrayValue),
                      settings.colorTextToWrite, int(settings.background)},
                     {}};
    for (const CItem *menu : package.menus().mainMenus())
        text.mainMenus << captureMainMenu(*menu);
    return text;
}

NodeText captureNode(const CItem &node)
{
    if (document::isMainMenu(&node))
        return captureMainMenu(node);
    return captureEntry(node);
}

std::unique_ptr<CItem> makeNode(const NodeText &node)
{
    if (const auto *menu = std::get_if<MainMenuText>(&node))
        return makeMainMenu(*menu);
    return makeEntry(std::get<EntryText>(node), ItemKind::SubMenu);
}

bool applyPackage(document::PackageDocument &package, const PackageText &text, QString *why)
{
    if (text.mainMenus.size() > document::Menus::MaxMenuNumber) {
        if (why)
            *why = QStringLiteral("the text has %1 main menus; the front-end shows at most %2")
                       .arg(text.mainMenus.size())
                       .arg(document::Menus::MaxMenuNumber);
        return false;
    }
    const PackageText now = capturePackage(package);
    if (now == text)
        return true;

    QUndoStack &steps = package.undoStack();
    steps.beginMacro(texts::lookupText(QStringLiteral("TEXT"), QStringLiteral("STEPPASTE")));
    if (text.companyName != now.companyName)
        steps.push(new document::SetCompanyNameCommand(package, text.companyName));
    if (text.settings != now.settings)
        steps.push(new document::ChangeSettingsCommand(package, settingsFor(package, now.settings, text.settings)));
    if (text.mainMenus != now.mainMenus) {
        std::vector<std::unique_ptr<CItem>> mainMenus;
        for (const MainMenuText &menu : text.mainMenus)
            mainMenus.push_back(makeMainMenu(menu));
        steps.push(new document::ReplaceMainMenusCommand(package, std::move(mainMenus)));
    }
    steps.endMacro();
    return true;
}

} // namespace packagetext
