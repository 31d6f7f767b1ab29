#pragma once
// The sixteen language directories that every package, the default package and the front-end's
// installation hold, and the copies of "access-text.ini" between them.
#include <QString>
#include <QStringList>

namespace ini { class ConfinedFolder; }

namespace packages {

// In the order they are created.
const QStringList &languageDirsCreationOrder();
// In the order files are copied between them.
const QStringList &languageDirsCopyOrder();

// Creates the sixteen directories in a package folder; existing ones stay. (Directories keep
// their permissions here, so the attributes a new directory would get do not apply.)
void createLanguageDirs(ini::ConfinedFolder &package);

// Copies fileName from each language directory of sourceRoot to the same one of a package folder.
// With keepExisting an existing destination stays. Every destination then gets the attributes,
// copied or kept. Missing sources and failed copies are skipped silently.
void copyLanguageFiles(const QString &sourceRoot, ini::ConfinedFolder &package, const QString &fileName,
                       int attributes, bool keepExisting);

} // namespace packages
