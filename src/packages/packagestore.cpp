#include "packagestore.h"

#include "languagefiles.h"
#include "packagestate.h"
#include "ini/confinedfolder.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/registry.h"
#include "platform/uilanguage.h"

#include <QDir>
#include <optional>
#include <QFile>
#include <QFileInfo>

namespace packages {
namespace {

using ini::ConfinedFolder;

// Copies a seed or package file into a package folder and gives the copy its attributes.
bool copyWithAttributes(const QString &source, ConfinedFolder &package, const QString &name, int attributes)
{
    const bool copied = ini::copyInto(package, source, name);
    package.setAttributes(name, attributes);
    return copied;
}

QString lastComponent(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

// Removes a folder of the packages folder that holds exactly what the tool puts into an untitled
// package (its three files, the sixteen language folders with their texts, and what a killed
// write left), and nothing else; never through a link. True when no folder of that name is left.
bool removeToolsOwnFolder(ConfinedFolder &packages, const QString &name)
{
    if (packages.kindOf(name) == ConfinedFolder::Kind::Missing)
        return true;
    ConfinedFolder folder(packages, name, false);
    if (!folder.isOpen())
        return false;   // a link, or no folder
    QStringList files;   // relative to the folder, language folders after their texts
    QStringList languageFolders;
    const auto isFile = [&](const QString &relative, const QString &expected) {
        return (lastComponent(relative) == expected || ini::isStagedLeftover(lastComponent(relative)))
               && folder.kindOf(relative) == ConfinedFolder::Kind::File;
    };
    for (const QString &entry : folder.entryNames()) {
        if (isFile(entry, MenuFileName) || isFile(entry, ConfigFileName)) {
            files << entry;
        } else if (languageDirsCreationOrder().contains(entry) && folder.kindOf(entry) == ConfinedFolder::Kind::Folder) {
            for (const QString &inner : folder.entryNames(entry)) {
                if (!isFile(entry + QLatin1Char('/') + inner, TextFileName))
                    return false;
                files << entry + QLatin1Char('/') + inner;
            }
            languageFolders << entry;
        } else {
            return false;   // the user's, or a built package's: it stays, all of it
        }
    }
    for (const QString &file : std::as_const(files) + languageFolders)
        folder.remove(file);
    return packages.remove(name);   // fails when something came in meanwhile: then it stays
}

const QString frontEndKey = QStringLiteral("Software\\Harbel\\ZELT");
const QString installDirName = QStringLiteral("InstallDir");

// The value was read into a 255-byte buffer: longer values count as missing.
bool fitsInstallDirBuffer(const QString &value)
{
    return (value.size() + 1) * 2 <= 255;
}

} // namespace

QString getInstallDir()
{
    const auto value = platform::readRegistryString(platform::RegistryScope::System, frontEndKey, installDirName);
    if (!value || !fitsInstallDirBuffer(*value))
        return QString();
    // Only an existing folder named in full is an installation: a relative path would be taken
    // from whatever folder the tool was started in, and a file or a missing folder can neither
    // be read from nor made packages in, while a build would aim "custom.bat" at it.
    const QString directory = QDir::cleanPath(QDir::fromNativeSeparators(*value));
    return QDir::isAbsolutePath(directory) && QFileInfo(directory).isDir() ? directory : QString();
}

QString installDirProblem()
{
    const QString file = platform::registryKeyFile(platform::RegistryScope::System, frontEndKey);
    const auto value = platform::readRegistryString(platform::RegistryScope::System, frontEndKey, installDirName);
    QString found;
    if (!value)
        found = file + QStringLiteral(" holds no readable InstallDir value");
    else if (!fitsInstallDirBuffer(*value))
        found = QStringLiteral("InstallDir in ") + file + QStringLiteral(" is longer than 126 characters");
    else
        found = QStringLiteral("InstallDir in ") + file + QStringLiteral(" is \"") + *value
                + QStringLiteral("\", which is no existing folder named in full");
    return QStringLiteral("the install directory of Access Kavo is not known: ") + found
           + QStringLiteral("; set InstallDir there to the installation's folder (the folder named by AKVO_REGISTRY "
                            "holds the registry's files instead, when it is set), for instance with "
                            "kavo-custom --set-install-dir FOLDER");
}

QString setInstallDir(const QString &directory)
{
    const QString absolute = QDir::cleanPath(QDir().absoluteFilePath(directory));
    const QString shown = QDir::toNativeSeparators(absolute);
    if (!QFileInfo(absolute).isDir())
        return shown + QStringLiteral(" is no folder");
    if (!QFileInfo(absolute + QLatin1Char('/') + ConfigFileName).isFile())
        return shown + QStringLiteral(" is no installation of Access Kavo: it holds no ") + ConfigFileName;
    if (!fitsInstallDirBuffer(absolute))
        return shown + QStringLiteral(" is longer than the 126 characters Access Kavo reads");
    const QString file = platform::registryKeyFile(platform::RegistryScope::System, frontEndKey);
    if (!platform::writeRegistryString(platform::RegistryScope::System, frontEndKey, installDirName, absolute))
        return file + QStringLiteral(" cannot be written; it holds the install directory for every user, so set it as "
                                     "root, or name a folder of your own in AKVO_REGISTRY");
    return QString();
}

QString packagesDir()
{
    const QString install = getInstallDir();
    return install.isEmpty() ? QString() : install + QStringLiteral("/Packages");
}

QString defaultPackageDir()
{
    const QString packages = packagesDir();
    return packages.isEmpty() ? QString() : packages + QStringLiteral("/HarbelDefault");
}

bool isDefaultPackage(const QString &directory)
{
    const QString defaultDir = QFileInfo(defaultPackageDir()).canonicalFilePath();
    return !defaultDir.isEmpty() && QFileInfo(directory).canonicalFilePath() == defaultDir;
}

bool isInstallDirectory(const QString &directory)
{
    const QString install = QFileInfo(getInstallDir()).canonicalFilePath();
    return !install.isEmpty() && QFileInfo(directory).canonicalFilePath() == install;
}

QString programFilePath(const QString &name)
{
    return platform::programDirectory() + name;
}

void mergeMissingTexts()
{
    const QString install = getInstallDir();
    if (install.isEmpty())
        return;
    const QString migration = install + QStringLiteral("/AKVO-moreTxt.ini");
    if (!QFileInfo::exists(migration))
        return;
    const QString textFile = install + QLatin1Char('/') + TextFileName;
    if (QFileInfo::exists(textFile)) {
        ini::ProfileBatch batch;
        for (const char *key : {"ASKPRVINFOTEXT", "PasswordText", "WrongPassText"}) {
            const QString name = QLatin1String(key);
            if (ini::readProfileString(textFile, QStringLiteral("Access Text"), name).isEmpty())
                ini::writeProfileString(textFile, QStringLiteral("Access Text"), name,
                                             ini::readProfileString(migration, QStringLiteral("MISSED"), name));
        }
        if (!batch.commit())
            return;   // keep the migration file for the next start rather than lose its texts
    }
    QFile::remove(migration);
}

bool ensureDefaultPackage()
{
    const QString install = getInstallDir();
    if (install.isEmpty())
        return false;
    // The packages folder is the installation's, named by it (a link there is followed); the
    // default package below it is the tool's own and reached without following any link.
    ConfinedFolder(install).makeFolder(QStringLiteral("Packages"));
    ConfinedFolder packages(packagesDir());
    const bool creating = packages.kindOf(QStringLiteral("HarbelDefault")) == ConfinedFolder::Kind::Missing;
    ConfinedFolder defaultPackage(packages, QStringLiteral("HarbelDefault"), true);
    if (!defaultPackage.isOpen())
        return false;

    const bool defaultSeeds = !QDir(platform::programDirectory())
                                   .entryList({QStringLiteral("*.default")}, QDir::Files)
                                   .isEmpty();
    const QString machineSeed = defaultSeeds ? programFilePath(QStringLiteral("/machine-specifics.default"))
                                             : programFilePath(QLatin1Char('/') + MenuFileName);
    const QString configSeed = defaultSeeds ? programFilePath(QStringLiteral("/access-config.default"))
                                            : programFilePath(QLatin1Char('/') + ConfigFileName);
    const int readOnlyHidden = ini::ReadOnlyAttribute | ini::HiddenAttribute;

    // Made afresh, or completed: files lost from it come back, and those it has stay.
    bool complete = true;
    const auto seed = [&](const QString &source, const QString &name) {
        if (!creating && defaultPackage.kindOf(name) != ConfinedFolder::Kind::Missing)
            return;
        if (QFileInfo::exists(source))
            copyWithAttributes(source, defaultPackage, name, readOnlyHidden);
        else
            complete = false;
    };
    createLanguageDirs(defaultPackage);
    seed(machineSeed, MenuFileName);
    copyLanguageFiles(install, defaultPackage, TextFileName, readOnlyHidden, !creating);
    seed(configSeed, ConfigFileName);
    if (creating && defaultSeeds) {   // the ".default" seeds are consumed by the first start
        for (const char *name : {"/machine-specifics.default", "/access-text.default", "/access-config.default"})
            QFile::remove(programFilePath(QLatin1String(name)));
    }
    return complete;
}

bool findLastPackage(PackageState &state)
{
    // The remembered path may have been stored in double quotes, which are no part of it (the
    // reader removes only a pair that encloses the whole value). It names a marker file by its
    // full path, so a quote at either end is none of its names'; one inside is.
    QString last = ini::readProfileString(state.uiTextPath, QStringLiteral("OTHER"), QStringLiteral("LASTCONFIG"));
    if (last.startsWith(QLatin1Char('"')))
        last.remove(0, 1);
    if (last.endsWith(QLatin1Char('"')))
        last.chop(1);
    if (last.isEmpty())
        return false;
    state.setLocation(last);
    return state.packageIsComplete();
}

void openLastPackage(PackageState &state)
{
    if (findLastPackage(state))
        return;
    state.packageDir = packagesDir();
    if (!createUntitledPackage(state)) {   // no install directory: no package is open
        state.packageDir.clear();
        state.packageName.clear();
        state.setPackagePaths();
    }
}

bool createUntitledPackage(PackageState &state)
{
    const QString install = getInstallDir();
    if (install.isEmpty())
        return false;
    ConfinedFolder(install).makeFolder(QStringLiteral("Packages"));
    const QString packagesPath = install + QStringLiteral("/Packages");
    ConfinedFolder packages(packagesPath);
    QString name;
    std::optional<ConfinedFolder> package;
    for (int number = 1; !package && number < 10000; ++number) {
        name = QStringLiteral("Untitled%1").arg(number);
        // A left-over of the tool's own is made afresh; a folder of anything else stays as it is.
        if (!removeToolsOwnFolder(packages, name))
            continue;
        ConfinedFolder made(packages, name, true);
        if (made.isOpen() && made.entryNames().isEmpty())
            package = std::move(made);
    }
    if (!package)
        return false;
    state.packageDir = packagesPath + QLatin1Char('/') + name;
    state.packageName = name;

    const QString defaultDir = defaultPackageDir();
    copyWithAttributes(defaultDir + QLatin1Char('/') + MenuFileName, *package, MenuFileName,
                       ini::NormalAttribute);
    createLanguageDirs(*package);
    copyLanguageFiles(defaultDir, *package, TextFileName, ini::NormalAttribute, false);
    copyWithAttributes(defaultDir + QLatin1Char('/') + ConfigFileName, *package, ConfigFileName,
                       ini::NormalAttribute);
    state.setPackagePaths();
    state.isUntitled = true;
    return true;
}

void copyPackageFiles(const QString &sourceDir, ConfinedFolder &destination)
{
    const auto copyRootFile = [&](const QString &name) {
        const QString source = sourceDir + QLatin1Char('/') + name;
        if (QFileInfo::exists(source))
            copyWithAttributes(source, destination, name, ini::NormalAttribute);
    };
    copyRootFile(MenuFileName);
    copyLanguageFiles(sourceDir, destination, TextFileName, ini::NormalAttribute, false);
    copyRootFile(ConfigFileName);
}

bool removeUntitledPackage(const QString &untitledDir, const QString &nextDir)
{
    if (!nextDir.isEmpty()
        && (QFileInfo(nextDir) == QFileInfo(untitledDir) || ini::isInsideDirectory(nextDir, untitledDir)))
        return false;
    // Untitled packages are made in the packages folder, and only there are they removed.
    const QString packagesPath = packagesDir();
    if (packagesPath.isEmpty() || QDir::cleanPath(untitledDir) != packagesPath + QLatin1Char('/') + lastComponent(untitledDir))
        return false;
    ConfinedFolder packages(packagesPath);
    return removeToolsOwnFolder(packages, lastComponent(untitledDir));
}

} // namespace packages
