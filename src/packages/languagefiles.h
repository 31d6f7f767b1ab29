#pragma once
// The sixteen language directories that every package, the default package and the front-end's
// installation hold, and the copies of "access-text.ini" between them.
#include <QString>
#include <QStringList>

namespace packages {

// In the order they are created.
const QStringList &languageDirsCreationOrder();
// In the order files are copied between them.
const QStringList &languageDirsCopyOrder();

// Creates the sixteen directories under root; existing ones stay (and still get the attributes).
void createLanguageDirs(const QString &root, int attributes, bool setAttributes);

// Copies fileName from each language directory of sourceRoot to the same one of destinationRoot.
// With keepExisting an existing destination stays. Every destination then gets the attributes,
// copied or kept. Missing sources and failed copies are skipped silently.
void copyLanguageFiles(const QString &sourceRoot, const QString &destinationRoot, const QString &fileName,
                       int attributes, bool keepExisting);

} // namespace packages
