#pragma once
// Writing the menu tree back into a package: the menu file ("machine-specifics.csv", an INI
// file) is rewritten section by section from the model, and the titles, descriptions and
// main-menu texts and looks go into the text and configuration records, which are then saved.
class QString;

namespace records {
class ConfigRecord;
}

namespace document {

class Menus;

// Writing renumbers everything: the main menus become "Menu1", "Menu2", ... in list order and
// their entries "submenu1", "submenu1.item1", ..., each entry gets a fresh name and description
// key (its position stays as it is). The sections of numbers after the last main menu, up to 5,
// are deleted and their texts set to "NULL", which the record's save leaves out of the file.
// Then the text record is saved into textFilePath and the configuration record into
// configFilePath, and the stale backups ("*.OLD") in programDir are deleted.
//
// All three files are written once each, atomically, when the writer's profile batch commits;
// inside a caller's batch they are written when that one commits, and it reports failures.
// False when a file could not be written.
bool writeMenus(Menus &model, records::ConfigRecord &textRecord, records::ConfigRecord &configRecord,
                const QString &machineFilePath, const QString &textFilePath, const QString &configFilePath,
                const QString &programDir);

// The two halves of writeMenus, for a caller that has the text file written while the menu file
// is made: the renumbering, with the texts and looks stored into the records (not saved), then
// the menu file and the stale backups.
void storeMenuTexts(Menus &model, records::ConfigRecord &textRecord, records::ConfigRecord &configRecord);
bool writeMenuFile(const Menus &model, const QString &machineFilePath, const QString &programDir);

} // namespace document
