#include "languagefiles.h"

#include "ini/confinedfolder.h"

#include <QFileInfo>

namespace packages {

const QStringList &languageDirsCreationOrder()
{
    static const QStringList dirs{"0409", "0407", "040c", "0410", "0411", "0412", "0406", "0404",
                                  "040b", "041d", "0413", "0414", "0416", "0c0a", "0816", "0804"};
    return dirs;
}

const QStringList &languageDirsCopyOrder()
{
    static const QStringList dirs{"0c0a", "040b", "041d", "0404", "0412", "0413", "0406", "0407",
                                  "0409", "040c", "0410", "0411", "0414", "0416", "0816", "0804"};
    return dirs;
}

void createLanguageDirs(ini::ConfinedFolder &package)
{
    for (const QString &dir : languageDirsCreationOrder())
        package.makeFolder(dir);
}

void copyLanguageFiles(const QString &sourceRoot, ini::ConfinedFolder &package, const QString &fileName,
                       int attributes, bool keepExisting)
{
    for (const QString &dir : languageDirsCopyOrder()) {
        const QString source = sourceRoot + QLatin1Char('/') + dir + QLatin1Char('/') + fileName;
        const QString destination = dir + QLatin1Char('/') + fileName;
        if (QFileInfo::exists(source)
            && !(keepExisting && package.kindOf(destination) != ini::ConfinedFolder::Kind::Missing))
            ini::copyInto(package, source, destination);
        package.setAttributes(destination, attributes);
    }
}

} // namespace packages
