#pragma once
// The package's menus as plain objects (no Qt model: views see them through MenuItemModel): the
// list of main menus read from a package's menu file ("machine-specifics.csv", an INI file), their
// texts from the package's text record and their looks from its configuration record.
#include "menuitems.h"

#include "ini/profile.h"

#include <memory>
#include <vector>

namespace records {
class ConfigRecord;
}

namespace document {

// Main menus as a menu file holds them, before their texts and looks are added: each numbered
// as the section it was read from ("Menu" n).
using MainMenus = std::vector<std::unique_ptr<CItem>>;

class Menus {
public:
    // Main menus are numbered 1 to 5 in the menu file; higher numbers are never read.
    static constexpr int MaxMenuNumber = 5;

    // Replaces the menus by those of the menu file. Sections "Menu1" to "Menu5" are each
    // read when present (a gap between them does not end the reading); menu entries
    // "SubMenu" j and their sub-entries "SubMenu" j ".item" k are read up to the first gap.
    // An absent or unreadable file gives no main menus. The main menus are numbered 1, 2, ... in
    // list order, as the next build writes them, whatever sections they were read from.
    void read(const QString &machineFilePath, const records::ConfigRecord &textRecord,
              const records::ConfigRecord &configRecord);
    // Whether the entries of main menus being adopted already have their texts.
    enum class EntryTexts { ToTake, Taken };

    // The halves of read, so that a menu file can be read while the text record is: the main
    // menus of a menu file, read through read; their entries' titles and descriptions from the
    // text record (any thread); then the menus replaced by them, with the main menus' texts from
    // the text record and their looks from the configuration record.
    static MainMenus readMainMenus(const ini::ProfileRead &read);
    static void takeEntryTexts(const MainMenus &menus, const records::ConfigRecord &textRecord);
    void adopt(MainMenus menus, const records::ConfigRecord &textRecord, const records::ConfigRecord &configRecord,
               EntryTexts entryTexts = EntryTexts::ToTake);

    ItemList &mainMenus() { return m_mainMenus; }
    const ItemList &mainMenus() const { return m_mainMenus; }
    void clear() { m_mainMenus.clear(); }

private:
    ItemList m_mainMenus;
};

} // namespace document
