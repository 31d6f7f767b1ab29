#include "build.h"

#include "languagefiles.h"
#include "packagestate.h"
#include "packagestore.h"
#include "ini/profile.h"
#include "ini/profileencoding.h"

#include <QDir>
#include <QFileInfo>

namespace packages {
namespace {

// Splits off the last "."-separated component of version: its number (0 when it is none).
int takeLastComponent(QString &version)
{
    const int dot = int(version.lastIndexOf(QLatin1Char('.')));
    const QString last = dot >= 0 ? version.mid(dot + 1) : version;
    version = dot >= 0 ? version.left(dot) : QString();
    bool ok = false;
    const int number = last.toInt(&ok);
    return ok ? number : 0;
}

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Every file a build writes, relative to the package folder, in the order they are put in place.
std::optional<QList<ini::ConfinedFolder::Write>> buildFiles(const PackageState &state,
                                                                  const QList<ini::FileBytes> &changed,
                                                                  BuildResult &result)
{
    const QStringList ownFiles{state.machineFilePath, state.configFilePath, state.textFilePath};
    bool complete = true;
    for (const ini::FileBytes &file : changed) {
        if (!ownFiles.contains(file.path)) {
            result.failures << notWrittenFailure(file.path, QObject::tr("not a file of the package"));
            complete = false;
        }
    }
    const QString prefix = state.packageDir + QLatin1Char('/');
    QList<ini::ConfinedFolder::Write> files;
    for (const QString &path : ownFiles) {
        if (const std::optional<QByteArray> bytes = ini::profileBytes(path)) {
            files.append({path.mid(prefix.size()), *bytes, true});
        } else {
            result.failures << notWrittenFailure(path, QObject::tr("not a readable text file as it is"));
            complete = false;
        }
    }
    if (!complete)
        return std::nullopt;
    const QByteArray text = files.last().bytes;
    for (const QString &dir : languageDirsCopyOrder()) {
        const QString copy = dir + QLatin1Char('/') + TextFileName;
        if (prefix + copy != state.textFilePath)
            files.append({copy, text});
    }
    // Without an install directory the batch file names the program's.
    QString installDir = getInstallDir();
    if (installDir.isEmpty())
        installDir = programFilePath(QString());
    const std::optional<QByteArray> batch = installBatchBytes(installDir);
    if (!batch) {
        result.failures << notWrittenFailure(state.batchFilePath(),
                                             QObject::tr("the install directory cannot be named in it safely"));
        return std::nullopt;
    }
    files.append({BatchFileName, *batch});
    files.append({state.markerPath().mid(prefix.size()), markerBytes(state)});
    return files;
}

} // namespace

// The installed front-end's version is the base, so building twice gives the same number.
bool raiseVersion(const PackageState &state)
{
    const QString installed = ini::readProfileString(getInstallDir() + QStringLiteral("/access-config.ini"),
                                                          QStringLiteral("OTHER"), QStringLiteral("VERSION"));
    return ini::writeProfileString(state.configFilePath, QStringLiteral("OTHER"), QStringLiteral("VERSION"),
                                        nextVersion(installed));
}

QString nextVersion(const QString &installed)
{
    QString version = installed;
    QString suffix;
    int number = takeLastComponent(version) + 1;
    for (;;) {
        if (number < 999) {
            if (!version.isEmpty())
                version += QLatin1Char('.');
            return version + QString::number(number) + suffix;
        }
        // Carry into the component before.
        suffix.prepend(QStringLiteral(".0"));
        if (version.isEmpty()) {
            number = 1;
        } else {
            number = takeLastComponent(version) + 1;
            if (version.isEmpty() && number >= 999)
                number = 1;
        }
    }
}

std::optional<QByteArray> installBatchBytes(const QString &installDir)
{
    QString directory = nativePath(installDir);   // this file system has no short (8.3) names
    if (directory.contains(QLatin1Char('"')) || directory.contains(QLatin1Char('\n'))
        || directory.contains(QLatin1Char('\r')) || !ini::fitsWindows1252(directory))
        return std::nullopt;
    static const QString special = QStringLiteral(" \t&|<>^%(),;=");
    const bool needsQuotes = std::any_of(directory.begin(), directory.end(),
                                         [](QChar c) { return special.contains(c); });
    if (needsQuotes)
        directory = QLatin1Char('"') + directory.replace(QLatin1Char('%'), QStringLiteral("%%")) + QLatin1Char('"');
    const QString text = QStringLiteral("@ECHO OFF\r\nxcopy *.* ") + directory + QStringLiteral("/U /S /Y\r\n");
    return ini::toWindows1252(text);
}

QByteArray markerBytes(const PackageState &state)
{
    const QString paths = nativePath(state.machineFilePath) + nativePath(state.textFilePath)
                          + nativePath(state.configFilePath) + nativePath(state.markerPath())
                          + nativePath(state.batchFilePath());
    QByteArray bytes;
    bytes.reserve(paths.size() * 2 + 16);
    for (const QChar c : paths) {
        for (const char byte : {char(c.unicode() & 0xFF), char(c.unicode() >> 8)}) {
            if (byte == '\n')   // the marker is written in text mode
                bytes.append('\r');
            bytes.append(byte);
        }
    }
    return bytes;
}

QString notWrittenFailure(const QString &file, const QString &reason)
{
    return QObject::tr("%1 (%2: not written)").arg(nativePath(file), reason);
}

bool writeBuildFiles(const PackageState &state, ini::ConfinedFolder &package,
                     const QList<ini::FileBytes> &changed, BuildResult &result)
{
    const std::optional<QList<ini::ConfinedFolder::Write>> files = buildFiles(state, changed, result);
    if (!files)
        return false;
    const QList<ini::FileFailure> failures = package.writeFiles(*files);
    for (const ini::FileFailure &file : failures)
        result.failures << notWrittenFailure(state.packageDir + QLatin1Char('/') + file.path, file.reason);
    if (!failures.isEmpty())
        return false;
    for (const ini::ConfinedFolder::Write &file : *files)
        result.written << state.packageDir + QLatin1Char('/') + file.path;
    return true;
}

void finishBuild(const PackageState &state, ini::ConfinedFolder &package)
{
    ini::writeProfileString(state.uiTextPath, QStringLiteral("OTHER"), QStringLiteral("LASTCONFIG"),
                                 nativePath(state.markerPath()));
    for (const QString &dir : languageDirsCopyOrder())
        package.setAttributes(dir + QLatin1Char('/') + TextFileName, ini::NormalAttribute);
}

} // namespace packages
