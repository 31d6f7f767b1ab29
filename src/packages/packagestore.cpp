#include "packagestore.h"

#include "languagefiles.h"
#include "packagestate.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/programdir.h"
#include "platform/registry.h"
#include "platform/uilanguage.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace packages {
namespace {

const QString machineFileName = QStringLiteral("machine-specifics.csv");
const QString configFileName = QStringLiteral("access-config.ini");
const QString textFileName = QStringLiteral("access-text.ini");

// Copies a seed or package file and gives the copy its attributes.
bool copyWithAttributes(const QString &source, const QString &destination, int attributes)
{
    const bool copied = platform::copyFileAtomically(source, destination);
    platform::setFileAttributes(destination, attributes);
    return copied;
}

} // namespace

QString getInstallDir()
{
    // The value was read into a 255-byte buffer: longer values count as missing.
    const auto value = platform::readRegistryString(platform::RegistryScope::System,
                                                    QStringLiteral("Software\\Harbel\\ZELT"),
                                                    QStringLiteral("InstallDir"));
    if (!value || (value->size() + 1) * 2 > 255)
        return QString();
    // A file there is no installation: nothing could be read from it or made in it, and a build
    // would aim "custom.bat" at it.
    const QString directory = QDir::cleanPath(QDir::fromNativeSeparators(*value));
    const QFileInfo found(directory);
    return found.exists() && !found.isDir() ? QString() : directory;
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

QString languageFilePath(const QString &name)
{
    return platform::programDirectory() + QLatin1Char('/') + platform::currentLanguageDir() + name;
}

void mergeMissingTexts()
{
    const QString install = getInstallDir();
    if (install.isEmpty())
        return;
    const QString migration = install + QStringLiteral("/AKVO-moreTxt.ini");
    if (!QFileInfo::exists(migration))
        return;
    const QString textFile = install + QLatin1Char('/') + textFileName;
    if (QFileInfo::exists(textFile)) {
        platform::ProfileBatch batch;
        for (const char *key : {"ASKPRVINFOTEXT", "PasswordText", "WrongPassText"}) {
            const QString name = QLatin1String(key);
            if (platform::readProfileString(textFile, QStringLiteral("Access Text"), name).isEmpty())
                platform::writeProfileString(textFile, QStringLiteral("Access Text"), name,
                                             platform::readProfileString(migration, QStringLiteral("MISSED"), name));
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
    const QString defaultDir = defaultPackageDir();
    const QString machineTarget = defaultDir + QLatin1Char('/') + machineFileName;
    const QString configTarget = defaultDir + QLatin1Char('/') + configFileName;

    const bool defaultSeeds = !QDir(platform::programDirectory())
                                   .entryList({QStringLiteral("*.default")}, QDir::Files)
                                   .isEmpty();
    const QString machineSeed = defaultSeeds ? programFilePath(QStringLiteral("/machine-specifics.default"))
                                             : programFilePath(QLatin1Char('/') + machineFileName);
    const QString configSeed = defaultSeeds ? programFilePath(QStringLiteral("/access-config.default"))
                                            : programFilePath(QLatin1Char('/') + configFileName);
    const int readOnlyHidden = platform::ReadOnlyAttribute | platform::HiddenAttribute;

    bool complete = true;
    if (!QFileInfo::exists(defaultDir)) {
        QDir().mkpath(defaultDir);
        platform::setFileAttributes(defaultDir, readOnlyHidden);
        createLanguageDirs(defaultDir, readOnlyHidden, true);
        if (QFileInfo::exists(machineSeed))
            copyWithAttributes(machineSeed, machineTarget, readOnlyHidden);
        else
            complete = false;
        copyLanguageFiles(install, defaultDir, textFileName, readOnlyHidden, false);
        if (QFileInfo::exists(configSeed))
            copyWithAttributes(configSeed, configTarget, readOnlyHidden);
        else
            complete = false;
        if (defaultSeeds) {   // the ".default" seeds are consumed by the first start
            for (const char *name : {"/machine-specifics.default", "/access-text.default", "/access-config.default"})
                QFile::remove(programFilePath(QLatin1String(name)));
        }
        return complete;
    }

    // Language folders lost from the default package come back, or their texts could not be copied.
    createLanguageDirs(defaultDir, readOnlyHidden, true);
    if (!QFileInfo::exists(machineTarget)) {
        if (QFileInfo::exists(machineSeed))
            copyWithAttributes(machineSeed, machineTarget, readOnlyHidden);
        else
            complete = false;
    }
    copyLanguageFiles(install, defaultDir, textFileName, readOnlyHidden, true);
    if (!QFileInfo::exists(configTarget)) {
        if (QFileInfo::exists(configSeed))
            copyWithAttributes(configSeed, configTarget, readOnlyHidden);
        else
            complete = false;
    }
    return complete;
}

bool findLastPackage(PackageState &state)
{
    const QString last = platform::readProfileString(state.uiTextPath, QStringLiteral("OTHER"),
                                                     QStringLiteral("LASTCONFIG"));
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
    const QString packages = packagesDir();
    if (packages.isEmpty())
        return false;
    int number = 1;
    QString name;
    QString directory;
    for (;; ++number) {
        name = QStringLiteral("Untitled%1").arg(number);
        directory = packages + QLatin1Char('/') + name;
        // Only the marker counts: a directory without its marker was never built and is reused.
        if (!QFileInfo::exists(directory + QLatin1Char('/') + name + QStringLiteral(".pkg")))
            break;
    }
    QDir().mkpath(directory);
    state.packageDir = directory;
    state.packageName = name;

    const QString defaultDir = defaultPackageDir();
    copyWithAttributes(defaultDir + QLatin1Char('/') + machineFileName, directory + QLatin1Char('/') + machineFileName,
                       platform::NormalAttribute);
    createLanguageDirs(directory, 0, false);
    copyLanguageFiles(defaultDir, directory, textFileName, platform::NormalAttribute, false);
    copyWithAttributes(defaultDir + QLatin1Char('/') + configFileName, directory + QLatin1Char('/') + configFileName,
                       platform::NormalAttribute);
    state.setPackagePaths();
    state.isUntitled = true;
    return true;
}

void copyPackageFiles(const QString &sourceDir, const QString &destinationDir)
{
    const auto copyRootFile = [&](const QString &name) {
        const QString source = sourceDir + QLatin1Char('/') + name;
        if (QFileInfo::exists(source))
            copyWithAttributes(source, destinationDir + QLatin1Char('/') + name, platform::NormalAttribute);
    };
    copyRootFile(machineFileName);
    copyLanguageFiles(sourceDir, destinationDir, textFileName, platform::NormalAttribute, false);
    copyRootFile(configFileName);
}

void removeUntitledPackage(const QString &untitledDir, const QString &nextDir)
{
    if (!nextDir.isEmpty()
        && (QFileInfo(nextDir) == QFileInfo(untitledDir) || platform::isInsideDirectory(nextDir, untitledDir)))
        return;
    QDirIterator markers(untitledDir, {QStringLiteral("*.pkg")}, QDir::Files, QDirIterator::Subdirectories);
    if (markers.hasNext())
        return;
    removePackageDir(untitledDir);
}

bool removePackageDir(const QString &directory)
{
    const QString packages = packagesDir();
    if (packages.isEmpty() || !platform::isInsideDirectory(directory, packages))
        return false;
    return platform::removeDirectoryTree(directory);
}

} // namespace packages
