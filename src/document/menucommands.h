#pragma once
// The edits of the menu tree, each one step on the document's undo stack. A step changes the
// menus (through the item model, so views follow), the text record and the current node
// together, and its undo puts all three back exactly: removed objects wait in the step, and the
// text record takes back what the step noted.
#include "menuitems.h"

#include "records/configrecord.h"

#include <QUndoCommand>
#include <memory>

namespace document {

class PackageDocument;

// At most three main menus exist at a time, and at least one.
constexpr int MaxMainMenus = 3;

// The category a new main menu takes. Categories share three slots: learn (0); configure or
// help (1, 3); protect or stay current (2, 4). The first slot no main menu occupies is taken,
// the last when all are; slot 0 gives category 0, the others category slot + 2.
int newMainMenuCategory(const ItemList &mainMenus);
// A new main menu with its title and Alt key, and the looks of its category as the default
// package's configuration keeps them for menu number category + 1.
std::unique_ptr<CItem> makeMainMenu(const ItemList &mainMenus, const records::ConfigRecord &defaults,
                                    const QString &title, const QString &altKey);

class MenuCommand : public QUndoCommand {
public:
    void undo() final;
    void redo() final;

protected:
    MenuCommand(PackageDocument &document, const char *nameKey);
    virtual void apply() = 0;
    virtual void takeBack() = 0;

    PackageDocument &m_document;

private:
    bool m_done = false;
    const CItem *m_currentBefore = nullptr;
    const CItem *m_currentAfter = nullptr;
    QList<records::TextChange> m_textChanges;
};

// The title and Alt key of a main menu; its three texts follow in the text record.
class EditMainMenuCommand : public MenuCommand {
public:
    EditMainMenuCommand(PackageDocument &document, CItem *menu, const QString &title, const QString &altKey);

private:
    void apply() override;
    void takeBack() override;

    CItem *m_menu;
    QString m_title, m_altKey, m_oldTitle, m_oldAltKey;
};

// Type, title, description and location of a menu entry or sub-entry. A sub-menu given another
// type loses its sub-entries; the entry's title and description follow in the text record, under
// keys made from its name.
class EditEntryCommand : public MenuCommand {
public:
    EditEntryCommand(PackageDocument &document, CItem *entry, const EntryProperties &properties);

private:
    void apply() override;
    void takeBack() override;

    CItem *m_entry;
    EntryProperties m_properties;
    EntryProperties m_oldProperties;
    bool m_oldHasEntries;
    QString m_oldName, m_oldDescriptionKey;
    std::vector<std::unique_ptr<CItem>> m_removedEntries;
};

// A main menu, menu entry or sub-entry with everything below it. A main menu's texts in the
// text record move down from the later positions. When the current node goes, the next sibling
// becomes current, else the one before, else the parent.
class DeleteItemCommand : public MenuCommand {
public:
    DeleteItemCommand(PackageDocument &document, CItem *item);

private:
    void apply() override;
    void takeBack() override;

    CItem *m_item;
    CItem *m_parent;
    int m_row;
    std::unique_ptr<CItem> m_removed;
};

// A new main menu with its title and Alt key, and the looks of its category; its texts go into
// the text record under its position. It becomes the current node.
class NewMainMenuCommand : public MenuCommand {
public:
    NewMainMenuCommand(PackageDocument &document, std::unique_ptr<CItem> menu);

private:
    void apply() override;
    void takeBack() override;

    std::unique_ptr<CItem> m_menu;
    CItem *m_inserted = nullptr;
};

// A new menu entry of a main menu, or a new sub-entry of a sub-menu, appended to its entries;
// it becomes the current node.
class NewEntryCommand : public MenuCommand {
public:
    NewEntryCommand(PackageDocument &document, CItem *parent, const EntryProperties &properties);

private:
    void apply() override;
    void takeBack() override;

    CItem *m_parent;
    bool m_parentHadEntries;
    std::unique_ptr<CItem> m_entry;
    CItem *m_inserted = nullptr;
};

// A node moved, with everything below it, to follow a sibling in another place (after none: it
// comes first). It takes the kind of its new level (see kindWithin), and then names of its own
// until the next build, as a pasted copy does; the lists it left and joined are numbered afresh,
// and main menus get their description tokens in their new order.
class MoveCommand : public MenuCommand {
public:
    MoveCommand(PackageDocument &document, CItem *item, CItem *parent, const CItem *after);

private:
    void apply() override;
    void takeBack() override;

    CItem *m_item;
    CItem *m_parent;
    const CItem *m_after;
    CItem *m_oldParent = nullptr;
    int m_oldRow = 0;
    ItemKind m_oldKind;
    QString m_oldName, m_oldDescriptionKey;
    bool m_oldHasEntries;
    QStringList m_oldTokens;
};

// A copy of a node with everything below it, put where a drop with the left button on a node
// would put it. It takes the kind of its level and names of its own until the next build.
class PasteCommand : public MenuCommand {
public:
    PasteCommand(PackageDocument &document, const CItem &copied, CItem *parent, const CItem *after);

private:
    void apply() override;
    void takeBack() override;

    std::unique_ptr<CItem> m_copy;
    CItem *m_parent;
    const CItem *m_after;
    bool m_parentHadEntries;
    CItem *m_inserted = nullptr;
};

// The main menus replaced, all at once, by others with everything below them, as when a
// package's text is applied. The new menus' entries take names of their own until the next
// build, as a pasted copy does; undo gives back the very objects that were there.
class ReplaceMainMenusCommand : public MenuCommand {
public:
    ReplaceMainMenusCommand(PackageDocument &document, std::vector<std::unique_ptr<CItem>> mainMenus);

private:
    void apply() override;
    void takeBack() override;
    void swapMainMenus();

    // The main menus out of the tree: the new ones until the step is done, the old ones after.
    std::vector<std::unique_ptr<CItem>> m_waiting;
};

} // namespace document
