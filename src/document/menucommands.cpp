#include "menucommands.h"

#include "droprules.h"
#include "packagedocument.h"

#include "texts/texts.h"

namespace document {
namespace {

bool isSubMenuType(const QString &typeIcon)
{
    return typeIcon.compare(SubMenuIcon, Qt::CaseInsensitive) == 0;
}

// The name a new entry bears until the next build gives every entry its final one: numbered
// after its main menu's position, or after its sub-menu's name.
QString provisionalName(const CItem &parent, int number)
{
    if (isMainMenu(&parent))
        return QStringLiteral("__%1-SUBMENU%2___").arg(parent.position()).arg(number);
    return QStringLiteral("__%1-%2__").arg(QString(parent.name()).remove(QLatin1String("__"))).arg(number);
}

// Names an entry that takes a place below parent, and the sub-entries it holds, for that place
// until the next build gives every entry its final name. Its description key is made again from
// that name when it is edited: a key made from an empty name would serve every such entry, and
// no build would take it back.
void nameForPlace(CItem &entry, const CItem &parent)
{
    entry.setName(provisionalName(parent, parent.entries().size() + 1));
    entry.setDescriptionKey(QString());
    for (int r = 0; r < entry.entries().size(); ++r) {
        CItem *subEntry = entry.entries().at(r);
        subEntry->setName(provisionalName(entry, r + 1));
        subEntry->setDescriptionKey(QString());
    }
}

// The node that is current once node is gone: the next of its siblings, else the one before it,
// else its parent.
const CItem *currentInsteadOf(MenuItemModel &model, CItem *node)
{
    const ItemList &siblings = model.entriesOf(node->parent());
    const int row = siblings.indexOf(node);
    if (row + 1 < siblings.size())
        return siblings.at(row + 1);
    return row > 0 ? siblings.at(row - 1) : node->parent();
}

// Is node the ancestor itself or below it?
bool isWithin(const CItem *node, const CItem *ancestor)
{
    for (; node; node = node->parent()) {
        if (node == ancestor)
            return true;
    }
    return false;
}

// The row that follows a sibling; the first for none.
int rowAfter(MenuItemModel &model, CItem *parent, const CItem *after)
{
    return after ? model.entriesOf(parent).indexOf(after) + 1 : 0;
}

// Each main menu's description token names its tab description by its number.
void renameTabTokens(const ItemList &mainMenus)
{
    for (CItem *menu : mainMenus)
        menu->setDescriptionKey(QStringLiteral("__TAB%1_DESCRIPTION__").arg(menu->position()));
}

} // namespace

int newMainMenuCategory(const ItemList &mainMenus)
{
    constexpr int slotOfCategory[] = {0, 1, 2, 1, 2};
    bool taken[3] = {};
    for (const CItem *menu : mainMenus)
        taken[slotOfCategory[menu->category()]] = true;
    int slot = 0;
    while (slot < 2 && taken[slot])
        ++slot;
    return slot == 0 ? 0 : slot + 2;
}

std::unique_ptr<CItem> makeMainMenu(const ItemList &mainMenus, const records::ConfigRecord &defaults,
                                    const QString &title, const QString &altKey)
{
    const int k = newMainMenuCategory(mainMenus) + 1;
    const auto look = [&](const QString &key) { return defaults.getValue(key.arg(k)); };
    auto menu = std::make_unique<CItem>(ItemKind::MainMenu);
    menu->setTexts(title, altKey);
    menu->setLooks(look(QStringLiteral("__MENU%1ICON__")), look(QStringLiteral("__MENU%1_HOVER_ICON__")),
                   look(QStringLiteral("__MENU%1_COLOR__")), look(QStringLiteral("__MENU%1_COLORBAR__")),
                   look(QStringLiteral("__TAB%1ICON__")));
    return menu;
}

// ---- MenuCommand

MenuCommand::MenuCommand(PackageDocument &document, const char *nameKey)
    : QUndoCommand(texts::lookupText(QStringLiteral("TEXT"), QLatin1String(nameKey))), m_document(document)
{
}

void MenuCommand::redo()
{
    if (!m_done)
        m_currentBefore = m_document.currentItem();
    records::ConfigRecord &texts = m_document.textRecord();
    texts.noteTextChanges();
    apply();
    m_textChanges = texts.takeTextChanges();
    // The node the first run left current (the one the view moved to when the current node
    // went) is current, and selected, again whenever the step is redone.
    if (!m_done) {
        m_currentAfter = m_document.currentItem();
        m_done = true;
    }
    m_document.setCurrentItem(m_currentAfter);
}

void MenuCommand::undo()
{
    takeBack();
    m_document.textRecord().revertTextChanges(m_textChanges);
    m_document.setCurrentItem(m_currentBefore);
}

// ---- EditMainMenuCommand

EditMainMenuCommand::EditMainMenuCommand(PackageDocument &document, CItem *menu, const QString &title,
                                         const QString &altKey)
    : MenuCommand(document, "STEPEDITMENU"), m_menu(menu), m_title(title), m_altKey(altKey),
      m_oldTitle(menu->contentTitle()), m_oldAltKey(menu->altKey())
{
}

void EditMainMenuCommand::apply()
{
    m_menu->setTexts(m_title, m_altKey);
    m_document.textRecord().setMenuTexts(m_menu->position(), m_altKey, m_menu->displayTitle(), m_title);
    m_document.itemModel().itemChanged(m_menu);
}

void EditMainMenuCommand::takeBack()
{
    m_menu->setTexts(m_oldTitle, m_oldAltKey);
    m_document.itemModel().itemChanged(m_menu);
}

// ---- EditEntryCommand

EditEntryCommand::EditEntryCommand(PackageDocument &document, CItem *entry, const EntryProperties &properties)
    : MenuCommand(document, "STEPEDITITEM"), m_entry(entry), m_properties(properties),
      m_oldProperties(entry->properties()), m_oldHasEntries(entry->hasEntries()), m_oldName(entry->name()),
      m_oldDescriptionKey(entry->descriptionKey())
{
}

void EditEntryCommand::apply()
{
    MenuItemModel &model = m_document.itemModel();
    // A sub-menu given another type holds no sub-entries any more.
    if (m_entry->hasEntries() && !isSubMenuType(m_properties.typeIcon)) {
        while (!m_entry->entries().isEmpty())
            m_removedEntries.push_back(model.takeItem(m_entry->entries().at(0)));
    }
    m_entry->setProperties(m_properties);
    // An entry read from a line that gives it no name is named for its place before its keys are used.
    if (m_entry->name().isEmpty())
        m_entry->setName(provisionalName(*m_entry->parent(), m_entry->position()));
    if (m_entry->descriptionKey().isEmpty() && !m_properties.description.isEmpty())
        m_entry->makeDescriptionKey();
    records::ConfigRecord &texts = m_document.textRecord();
    texts.setText(m_entry->name(), m_properties.title);
    texts.setText(m_entry->descriptionKey(), m_properties.description);
    model.itemChanged(m_entry);
}

void EditEntryCommand::takeBack()
{
    m_entry->setProperties(m_oldProperties);
    m_entry->setHasEntries(m_oldHasEntries);
    m_entry->setName(m_oldName);
    m_entry->setDescriptionKey(m_oldDescriptionKey);
    MenuItemModel &model = m_document.itemModel();
    for (int row = 0; row < int(m_removedEntries.size()); ++row)
        model.insertItem(m_entry, row, std::move(m_removedEntries[size_t(row)]));
    m_removedEntries.clear();
    model.itemChanged(m_entry);
}

// ---- DeleteItemCommand

DeleteItemCommand::DeleteItemCommand(PackageDocument &document, CItem *item)
    : MenuCommand(document, "STEPDELETE"), m_item(item), m_parent(item->parent()),
      m_row(document.itemModel().entriesOf(item->parent()).indexOf(item))
{
}

void DeleteItemCommand::apply()
{
    // The texts of the later main menus move down to the numbers they will have.
    if (isMainMenu(m_item))
        m_document.textRecord().removeMenuTexts(m_row + 1);
    MenuItemModel &model = m_document.itemModel();
    if (isWithin(m_document.currentItem(), m_item))
        m_document.setCurrentItem(currentInsteadOf(model, m_item));
    m_removed = model.takeItem(m_item);
}

void DeleteItemCommand::takeBack()
{
    m_document.itemModel().insertItem(m_parent, m_row, std::move(m_removed));
}

// ---- NewMainMenuCommand

NewMainMenuCommand::NewMainMenuCommand(PackageDocument &document, std::unique_ptr<CItem> menu)
    : MenuCommand(document, "STEPNEWMENU"), m_menu(std::move(menu))
{
}

void NewMainMenuCommand::apply()
{
    MenuItemModel &model = m_document.itemModel();
    const int row = model.entriesOf(nullptr).size();
    m_inserted = model.insertItem(nullptr, row, std::move(m_menu));
    m_document.textRecord().setMenuTexts(m_inserted->position(), m_inserted->altKey(), m_inserted->displayTitle(),
                                         m_inserted->contentTitle());
    m_document.setCurrentItem(m_inserted);   // what the user makes is current, as a paste is
}

void NewMainMenuCommand::takeBack()
{
    m_menu = m_document.itemModel().takeItem(m_inserted);
}

// ---- NewEntryCommand

NewEntryCommand::NewEntryCommand(PackageDocument &document, CItem *parent, const EntryProperties &properties)
    : MenuCommand(document, isMainMenu(parent) ? "STEPNEWSUB" : "STEPNEWITEM"), m_parent(parent),
      m_parentHadEntries(parent->hasEntries()),
      m_entry(std::make_unique<CItem>(isMainMenu(parent) ? ItemKind::SubMenu : ItemKind::Item))
{
    m_entry->setProperties(properties);
    // Only an entry of a main menu may be a sub-menu, in whatever case its type is spelled.
    m_entry->setHasEntries(isMainMenu(parent) && isSubMenuType(properties.typeIcon));
}

void NewEntryCommand::apply()
{
    const int number = m_parent->entries().size() + 1;
    m_entry->setName(provisionalName(*m_parent, number));
    m_inserted = m_document.itemModel().insertItem(m_parent, number - 1, std::move(m_entry));
    m_parent->setHasEntries(true);
    m_document.setCurrentItem(m_inserted);
}

void NewEntryCommand::takeBack()
{
    m_entry = m_document.itemModel().takeItem(m_inserted);
    m_parent->setHasEntries(m_parentHadEntries);
}

// ---- MoveCommand

MoveCommand::MoveCommand(PackageDocument &document, CItem *item, CItem *parent, const CItem *after)
    : MenuCommand(document, "STEPMOVE"), m_item(item), m_parent(parent), m_after(after), m_oldKind(item->kind()),
      m_oldName(item->name()), m_oldDescriptionKey(item->descriptionKey()), m_oldHasEntries(item->hasEntries())
{
}

void MoveCommand::apply()
{
    MenuItemModel &model = m_document.itemModel();
    m_oldParent = m_item->parent();
    m_oldRow = model.entriesOf(m_oldParent).indexOf(m_item);
    m_oldTokens.clear();
    for (const CItem *menu : model.entriesOf(nullptr))
        m_oldTokens << menu->descriptionKey();

    std::unique_ptr<CItem> moved = model.takeItem(m_item);
    const ItemKind kind = kindWithin(m_parent, m_item);
    if (kind != m_item->kind()) {
        moved->convertTo(kind);
        nameForPlace(*moved, *m_parent);
    }
    model.insertItem(m_parent, rowAfter(model, m_parent, m_after), std::move(moved));
    if (isMainMenu(m_item))
        renameTabTokens(model.entriesOf(nullptr));
    m_document.setCurrentItem(m_item);
}

void MoveCommand::takeBack()
{
    MenuItemModel &model = m_document.itemModel();
    std::unique_ptr<CItem> moved = model.takeItem(m_item);
    if (moved->kind() != m_oldKind)
        moved->convertTo(m_oldKind);
    moved->setName(m_oldName);
    moved->setDescriptionKey(m_oldDescriptionKey);
    moved->setHasEntries(m_oldHasEntries);
    model.insertItem(m_oldParent, m_oldRow, std::move(moved));
    const ItemList &mainMenus = model.entriesOf(nullptr);
    for (int row = 0; row < mainMenus.size() && row < m_oldTokens.size(); ++row)
        mainMenus.at(row)->setDescriptionKey(m_oldTokens.at(row));
}

// ---- PasteCommand

PasteCommand::PasteCommand(PackageDocument &document, const CItem &copied, CItem *parent, const CItem *after)
    : MenuCommand(document, "STEPPASTE"), m_copy(copied.clone()), m_parent(parent), m_after(after),
      m_parentHadEntries(parent && parent->hasEntries())
{
    const ItemKind kind = kindWithin(parent, m_copy.get());
    if (kind != m_copy->kind())
        m_copy->convertTo(kind);
}

void PasteCommand::apply()
{
    MenuItemModel &model = m_document.itemModel();
    const int row = rowAfter(model, m_parent, m_after);
    if (m_parent)
        nameForPlace(*m_copy, *m_parent);
    m_inserted = model.insertItem(m_parent, row, std::move(m_copy));
    if (m_parent)
        m_parent->setHasEntries(true);
    m_document.setCurrentItem(m_inserted);
}

void PasteCommand::takeBack()
{
    m_copy = m_document.itemModel().takeItem(m_inserted);
    if (m_parent)
        m_parent->setHasEntries(m_parentHadEntries);
}

// ---- ReplaceMainMenusCommand

ReplaceMainMenusCommand::ReplaceMainMenusCommand(PackageDocument &document,
                                                 std::vector<std::unique_ptr<CItem>> mainMenus)
    : MenuCommand(document, "STEPPASTE"), m_waiting(std::move(mainMenus))
{
    // Each menu is named for the place it will take, its entries as they would be appended.
    for (size_t row = 0; row < m_waiting.size(); ++row) {
        CItem &menu = *m_waiting[row];
        menu.setPosition(int(row) + 1);
        std::vector<std::unique_ptr<CItem>> entries;
        while (!menu.entries().isEmpty())
            entries.push_back(menu.entries().take(0));
        for (std::unique_ptr<CItem> &entry : entries) {
            nameForPlace(*entry, menu);
            menu.entries().append(std::move(entry));
        }
        menu.entries().renumber();
    }
}

void ReplaceMainMenusCommand::apply()
{
    m_document.setCurrentItem(nullptr);   // the current node may go with its menu
    swapMainMenus();
    renameTabTokens(m_document.itemModel().entriesOf(nullptr));
}

void ReplaceMainMenusCommand::takeBack()
{
    swapMainMenus();   // the old menus come back as they left, their tokens with them
}

void ReplaceMainMenusCommand::swapMainMenus()
{
    MenuItemModel &model = m_document.itemModel();
    std::vector<std::unique_ptr<CItem>> taken;
    while (!model.entriesOf(nullptr).isEmpty())
        taken.push_back(model.takeItem(model.entriesOf(nullptr).at(0)));
    for (std::unique_ptr<CItem> &menu : m_waiting)
        model.insertItem(nullptr, model.entriesOf(nullptr).size(), std::move(menu));
    m_waiting = std::move(taken);
}

} // namespace document
