#pragma once
// The front-end's menus in memory: main menus hold menu entries, and a menu entry that is a
// sub-menu holds sub-entries. Every object of the tree is one CItem whose kind says which of the
// three it is (the front-end's own names for them are CMainMenu, CSubMenu and CItem), so an entry
// that moves between levels stays the same object. Each object is stored in the menu file as one
// entry line of 16 comma-separated fields; its texts live in the package's text file and a main
// menu's looks in the package's configuration file.
#include "records/fields.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace document {

// Icon file names. An entry's type is the name of its icon, compared without regard to case.
inline const QString HelpTopicIcon = QStringLiteral("topic-link.gif");
inline const QString InternetLinkIcon = QStringLiteral("Internet-link.gif");
inline const QString ApplicationIcon = QStringLiteral("Application-link.gif");
inline const QString SystemInfoIcon = QStringLiteral("System-Info-link.gif");
inline const QString SubMenuIcon = QStringLiteral("UpArrow.gif");

// The tree image of an entry of this type; 0 for an unknown type.
int typeImage(const QString &typeIcon);

// The four values of an entry that the user edits in its properties dialog; a new entry starts
// as an application without texts.
struct EntryProperties {
    QString typeIcon = ApplicationIcon;
    QString title;
    QString description;
    QString location;

    friend bool operator==(const EntryProperties &a, const EntryProperties &b)
    {
        return a.typeIcon == b.typeIcon && a.title == b.title && a.description == b.description
            && a.location == b.location;
    }
    friend bool operator!=(const EntryProperties &a, const EntryProperties &b) { return !(a == b); }
};

// What an object of the tree is: a sub-entry (CItem), a menu entry (CSubMenu) or a main menu
// (CMainMenu).
enum class ItemKind { Item, SubMenu, MainMenu };

class CItem;

// An ordered list that owns its objects: the list of main menus, a main menu's menu entries, a
// sub-menu's sub-entries. Objects in it know the list's owner as their parent (none for main
// menus); taking an object out hands its ownership to the caller.
class ItemList {
public:
    explicit ItemList(CItem *owner = nullptr) : m_owner(owner) {}
    ~ItemList();
    ItemList(const ItemList &) = delete;
    ItemList &operator=(const ItemList &) = delete;

    int size() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    CItem *at(int index) const { return m_items.at(size_t(index)).get(); }
    CItem *append(std::unique_ptr<CItem> object) { return insert(size(), std::move(object)); }
    // index may be size(), which appends.
    CItem *insert(int index, std::unique_ptr<CItem> object);
    std::unique_ptr<CItem> take(int index);
    // The index of object in this list, -1 when the list does not hold it.
    int indexOf(const CItem *object) const;
    void clear();
    // Positions 1, 2, 3, ... in list order.
    void renumber();

    auto begin() const { return Iterator{m_items.cbegin()}; }
    auto end() const { return Iterator{m_items.cend()}; }

private:
    using Storage = std::vector<std::unique_ptr<CItem>>;
    struct Iterator {
        Storage::const_iterator it;
        CItem *operator*() const { return it->get(); }
        Iterator &operator++() { ++it; return *this; }
        bool operator!=(const Iterator &other) const { return it != other.it; }
    };

    CItem *m_owner;
    Storage m_items;
};

class CItem {
public:
    explicit CItem(ItemKind kind = ItemKind::Item) : m_kind(kind) {}
    CItem(const CItem &) = delete;
    CItem &operator=(const CItem &) = delete;

    ItemKind kind() const { return m_kind; }
    // A sub-entry that becomes a menu entry or the other way round, as when it moves between
    // levels: it keeps what the user edits (title, type, description, location), as copyFrom
    // does; the has-entries flag is cleared, and so are its name and description key, which
    // belonged to its old place: whoever converts it names it for the new one.
    void convertTo(ItemKind kind);
    // A copy of the object with everything below it.
    std::unique_ptr<CItem> clone() const;

    // Takes the four values the user edits; only the exact name "UpArrow.gif" makes a container.
    void setProperties(const QString &title, const QString &typeIcon, const QString &description,
                       const QString &location);
    void setProperties(const EntryProperties &properties)
    {
        setProperties(properties.title, properties.typeIcon, properties.description, properties.location);
    }
    EntryProperties properties() const { return {m_typeIcon, m_title, m_description, m_location}; }
    // The entry line; a sub-entry keeps its name in field 4, menu entries and main menus in field 3.
    QString toLine() const;
    // Fills the object from an entry line already split into fields. A line too short to hold a
    // value leaves it as it is; the name is field 3, or field 4 when field 3 is empty.
    void fromLine(const records::FieldViews &fields, const QString &title, const QString &description, int position);
    // Takes title, type icon, description and location of another object; the has-entries flag
    // is cleared. Position, name, description key and entries stay.
    void copyFrom(const CItem &other);
    // "__" + the name without its "__" + "-A__"; also becomes the description key.
    QString makeDescriptionKey();
    // The system-information type ("#SystemInfo" as location), in any case of the icon name.
    bool isSystemInfo() const;

    // The entries below: a main menu's menu entries, a sub-menu's sub-entries (a sub-entry has none).
    ItemList &entries() { return m_entries; }
    const ItemList &entries() const { return m_entries; }
    // The main menu or sub-menu whose list holds this object; none for a main menu.
    CItem *parent() const { return m_parent; }

    int position() const { return m_position; }
    void setPosition(int position) { m_position = position; }
    QString description() const { return m_description; }
    void setDescription(const QString &description) { m_description = description; }
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    // The key of the description text. A main menu's is the token of its tab description,
    // "__TAB" n "_DESCRIPTION__", set when main menus are moved; the text is tabDescription().
    QString descriptionKey() const { return m_descriptionKey; }
    void setDescriptionKey(const QString &key) { m_descriptionKey = key; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QString location() const { return m_location; }
    void setLocation(const QString &location) { m_location = location; }
    QString typeIcon() const { return m_typeIcon; }
    void setTypeIcon(const QString &typeIcon) { m_typeIcon = typeIcon; }
    // The object is a container that holds (or may hold) entries: a sub-menu, or a main menu
    // that holds menu entries. Stored in the entry line as "TRUE" or "FALSE".
    bool hasEntries() const { return m_hasEntries; }
    void setHasEntries(bool hasEntries) { m_hasEntries = hasEntries; }
    // Whether the tree showed the object open when it last left the tree (deleted, cut or
    // moved), so that it shows as it was when it comes back. The tree keeps it; a copy starts closed.
    bool openInTree() const { return m_openInTree; }
    void setOpenInTree(bool open) { m_openInTree = open; }

    // ---- Main menus

    // Only field 2 of a main-menu line is read; the texts come from the text file.
    void fromMainLine(const QStringList &fields, const QString &contentTitle, const QString &altKey,
                      const QString &tabDescription);
    void setTexts(const QString &contentTitle, const QString &altKey);
    void setTabDescription(const QString &text) { m_tabDescription = text; }
    void setLooks(const QString &mainIcon, const QString &hoverIcon, const QString &color,
                  const QString &colorBar, const QString &tabIcon);
    // 0 learn, 1 configure, 2 protect, 3 help, 4 stay current, by the main icon; also its tree image.
    int category() const;
    // The content title with the first occurrence of the Alt key letter underlined ("L<u>e</u>arn").
    QString displayTitle() const;
    // Where in the content title the underlined letter stands; -1 when none is (no Alt key, or
    // one the title does not hold).
    int altKeyPosition() const;

    QString tabIcon() const { return m_tabIcon; }
    QString colorBar() const { return m_colorBar; }
    QString color() const { return m_color; }
    QString hoverIcon() const { return m_hoverIcon; }
    QString mainIcon() const { return m_mainIcon; }
    QString contentTitle() const { return m_contentTitle; }
    QString altKey() const { return m_altKey; }
    // The text the front-end shows on the main menu's tab, stored under the menu's number.
    QString tabDescription() const { return m_tabDescription; }

private:
    friend class ItemList;

    ItemKind m_kind;
    CItem *m_parent = nullptr;
    ItemList m_entries{this};
    int m_position = 0;
    QString m_description;
    QString m_title;
    QString m_descriptionKey;
    QString m_name;
    QString m_location;
    QString m_typeIcon;
    bool m_hasEntries = false;
    bool m_openInTree = false;
    // A main menu's texts and looks.
    QString m_tabIcon;
    QString m_colorBar;
    QString m_color;
    QString m_hoverIcon;
    QString m_mainIcon;
    QString m_contentTitle;
    QString m_altKey;
    QString m_tabDescription;
};

inline bool isMainMenu(const CItem *item) { return item && item->kind() == ItemKind::MainMenu; }
// A menu entry: an entry of a main menu, a plain entry or a sub-menu.
inline bool isMenuEntry(const CItem *item) { return item && item->kind() == ItemKind::SubMenu; }
// A sub-entry: an entry of a sub-menu.
inline bool isSubEntry(const CItem *item) { return item && item->kind() == ItemKind::Item; }

} // namespace document
