#pragma once
// The front-end's menus in memory: main menus (CMainMenu) hold menu entries (CSubMenu), and a
// menu entry that is a sub-menu holds sub-entries (CItem). Each object is stored in the menu file
// as one entry line of 16 comma-separated fields; its texts live in the package's text file and
// a main menu's looks in the package's configuration file.
#include "ownedlist.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace document {

// Icon file names. An entry's type is the name of its icon, compared without regard to case.
inline const QString HelpTopicIcon = QStringLiteral("topic-link.gif");
inline const QString InternetLinkIcon = QStringLiteral("Internet-link.gif");
inline const QString ApplicationIcon = QStringLiteral("Application-link.gif");
inline const QString SystemInfoIcon = QStringLiteral("System-Info-link.gif");
inline const QString SubMenuIcon = QStringLiteral("UpArrow.gif");

// Images of the item-type strip: 0 to 4 are the main-menu categories.
enum TreeImage : int {
    NoTypeImage = 0,
    HelpTopicImage = 5,
    InternetLinkImage = 6,
    ApplicationImage = 7,
    SystemInfoImage = 8,
    SubMenuImage = 9,
    SubMenuSelectedImage = 10,
    RootImage = 11,
    TreeImageCount = 12,
};

// The tree image of an entry of this type; 0 for an unknown type.
int typeImage(const QString &typeIcon);

// The most derived class of a model object.
enum class ItemKind { Item, SubMenu, MainMenu };

// One sub-entry, and the base of the two other classes.
class CItem {
public:
    CItem() = default;
    virtual ~CItem() = default;
    CItem(const CItem &) = delete;
    CItem &operator=(const CItem &) = delete;

    virtual ItemKind kind() const { return ItemKind::Item; }

    // Takes the four values the user edits; only the exact name "UpArrow.gif" makes a container.
    void setProperties(const QString &title, const QString &typeIcon, const QString &description,
                       const QString &location);
    // The entry line; a sub-entry keeps its name in field 4, a menu entry in field 3.
    virtual QString toLine() const;
    // Fills the object from an entry line already split into fields. A line too short to hold a
    // value leaves it as it is; the name is field 3, or field 4 when field 3 is empty.
    void fromLine(const QStringList &fields, const QString &title, const QString &description, int position);
    // Takes title, type icon, description and location of another object (a moved entry that
    // changes class); the has-entries flag is cleared.
    void copyFrom(const CItem &other);
    // "__" + the name without its "__" + "-A__"; also becomes the description key.
    QString makeDescriptionKey();
    // The system-information type ("#SystemInfo" as location), in any case of the icon name.
    bool isSystemInfo() const;

    int position() const { return m_position; }
    void setPosition(int position) { m_position = position; }
    QString description() const { return m_description; }
    void setDescription(const QString &description) { m_description = description; }
    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    // For a main menu this holds the tab description text itself.
    QString descriptionKey() const { return m_descriptionKey; }
    void setDescriptionKey(const QString &key) { m_descriptionKey = key; }
    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    QString location() const { return m_location; }
    void setLocation(const QString &location) { m_location = location; }
    QString typeIcon() const { return m_typeIcon; }
    void setTypeIcon(const QString &typeIcon) { m_typeIcon = typeIcon; }
    bool hasEntries() const { return m_hasEntries; }
    void setHasEntries(bool hasEntries) { m_hasEntries = hasEntries; }

protected:
    // The line of a sub-entry or a menu entry, with the name in field 4 or field 3.
    QString entryLine(bool nameInField3) const;

private:
    int m_position = 0;
    QString m_description;
    QString m_title;
    QString m_descriptionKey;
    QString m_name;
    QString m_location;
    QString m_typeIcon;
    bool m_hasEntries = false;
};

// One menu entry of a main menu; with the has-entries flag set it is a sub-menu.
class CSubMenu : public CItem {
public:
    ItemKind kind() const override { return ItemKind::SubMenu; }
    QString toLine() const override;

    // The sub-entries, or null while the entry has not been given a list.
    OwnedList<CItem> *entries() { return m_entries ? &*m_entries : nullptr; }
    const OwnedList<CItem> *entries() const { return m_entries ? &*m_entries : nullptr; }
    // The list of sub-entries, given (empty) when the entry has none yet.
    OwnedList<CItem> &ensureEntries();

private:
    std::optional<OwnedList<CItem>> m_entries;
};

// One main menu: its menu entries, its looks and its texts.
class CMainMenu : public CSubMenu {
public:
    ItemKind kind() const override { return ItemKind::MainMenu; }

    // Only field 2 of a main-menu line is read; the texts come from the text file.
    void fromMainLine(const QStringList &fields, const QString &contentTitle, const QString &altKey,
                      const QString &tabDescription);
    void setTexts(const QString &contentTitle, const QString &altKey);
    void setLooks(const QString &mainIcon, const QString &hoverIcon, const QString &color,
                  const QString &colorBar, const QString &tabIcon);

    // 0 learn, 1 configure, 2 protect, 3 help, 4 stay current, by the main icon; also its tree image.
    int category() const;
    // The content title with the first occurrence of the Alt key letter underlined ("L<u>e</u>arn").
    QString displayTitle() const;

    OwnedList<CSubMenu> *menuEntries() { return m_menuEntries ? &*m_menuEntries : nullptr; }
    const OwnedList<CSubMenu> *menuEntries() const { return m_menuEntries ? &*m_menuEntries : nullptr; }
    OwnedList<CSubMenu> &ensureMenuEntries();

    QString tabIcon() const { return m_tabIcon; }
    void setTabIcon(const QString &value) { m_tabIcon = value; }
    QString colorBar() const { return m_colorBar; }
    void setColorBar(const QString &value) { m_colorBar = value; }
    QString color() const { return m_color; }
    void setColor(const QString &value) { m_color = value; }
    QString hoverIcon() const { return m_hoverIcon; }
    void setHoverIcon(const QString &value) { m_hoverIcon = value; }
    QString mainIcon() const { return m_mainIcon; }
    void setMainIcon(const QString &value) { m_mainIcon = value; }
    QString contentTitle() const { return m_contentTitle; }
    void setContentTitle(const QString &value) { m_contentTitle = value; }
    QString altKey() const { return m_altKey; }
    void setAltKey(const QString &value) { m_altKey = value; }

private:
    std::optional<OwnedList<CSubMenu>> m_menuEntries;
    QString m_tabIcon;
    QString m_colorBar;
    QString m_color;
    QString m_hoverIcon;
    QString m_mainIcon;
    QString m_contentTitle;
    QString m_altKey;
};

// Type tests. A main menu is also a sub-menu and an item; ask for the most derived class first.
inline bool isMainMenu(const CItem *item) { return item && item->kind() == ItemKind::MainMenu; }
// A menu entry: a CSubMenu that is not a main menu.
inline bool isMenuEntry(const CItem *item) { return item && item->kind() == ItemKind::SubMenu; }
// A sub-entry: a plain CItem.
inline bool isSubEntry(const CItem *item) { return item && item->kind() == ItemKind::Item; }
// The object as a CSubMenu (menu entries and main menus), else null.
inline CSubMenu *asSubMenu(CItem *item) { return item && item->kind() != ItemKind::Item ? static_cast<CSubMenu *>(item) : nullptr; }
inline const CSubMenu *asSubMenu(const CItem *item) { return asSubMenu(const_cast<CItem *>(item)); }
inline CMainMenu *asMainMenu(CItem *item) { return isMainMenu(item) ? static_cast<CMainMenu *>(item) : nullptr; }
inline const CMainMenu *asMainMenu(const CItem *item) { return asMainMenu(const_cast<CItem *>(item)); }

} // namespace document
