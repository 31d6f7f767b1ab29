#include "build.h"

#include "languagefiles.h"
#include "packagestate.h"
#include "packagestore.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/profileencoding.h"

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

// The installed front-end's version is the base, so building twice gives the same number.
bool bumpVersion(const PackageState &state)
{
    const QString installed = platform::readProfileString(getInstallDir() + QStringLiteral("/access-config.ini"),
                                                          QStringLiteral("OTHER"), QStringLiteral("VERSION"));
    return platform::writeProfileString(state.configFilePath, QStringLiteral("OTHER"), QStringLiteral("VERSION"),
                                        nextVersion(installed));
}

} // namespace

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
        || directory.contains(QLatin1Char('\r')) || !platform::fitsWindows1252(directory))
        return std::nullopt;
    static const QString special = QStringLiteral(" \t&|<>^%(),;=");
    const bool needsQuotes = std::any_of(directory.begin(), directory.end(),
                                         [](QChar c) { return special.contains(c); });
    if (needsQuotes)
        directory = QLatin1Char('"') + directory.replace(QLatin1Char('%'), QStringLiteral("%%")) + QLatin1Char('"');
    const QString text = QStringLiteral("@ECHO OFF\r\nxcopy *.* ") + directory + QStringLiteral("/U /S /Y\r\n");
    return platform::toWindows1252(text);
}

QByteArray markerBytes(const PackageState &state)
{
    const QString paths = nativePath(state.machineFilePath) + nativePath(state.textFilePath)
                          + nativePath(state.configFilePath) + nativePath(state.markerPath())
                          + nativePath(state.packageDir + QStringLiteral("/custom.bat"));
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

QString settingsFilesFailure()
{
    return QObject::tr("the package's settings files");
}

QStringList filesLeavingPackage(const PackageState &state)
{
    QStringList files{state.machineFilePath, state.configFilePath, state.packageDir + QStringLiteral("/custom.bat"),
                      state.markerPath()};
    for (const QString &dir : languageDirsCopyOrder())
        files << state.packageDir + QLatin1Char('/') + dir + QStringLiteral("/access-text.ini");
    QStringList leaving;
    for (const QString &file : std::as_const(files)) {
        if (platform::writeLeavesDirectory(file, state.packageDir))
            leaving << file;
    }
    return leaving;
}

QString leavesPackageFailure(const QString &file)
{
    return QObject::tr("%1 (a link out of the package: not written)").arg(nativePath(file));
}

QList<platform::FileBytes> textCopies(const PackageState &state, const QStringList &refused, BuildResult &result)
{
    // The text file stands for every language; when it may not be written, neither are its copies.
    if (refused.contains(state.textFilePath)) {
        result.failures << QObject::tr("the language copies of %1").arg(nativePath(state.textFilePath));
        return {};
    }
    QList<platform::FileBytes> copies;
    const std::optional<QByteArray> text = platform::profileBytes(state.textFilePath);
    const QString textFile = QFileInfo(state.textFilePath).canonicalFilePath();
    for (const QString &dir : languageDirsCopyOrder()) {
        const QString copy = state.packageDir + QLatin1Char('/') + dir + QStringLiteral("/access-text.ini");
        if (copy == state.textFilePath || refused.contains(copy))
            continue;
        // A copy onto the text file itself (through a link) is none, as on Windows.
        if (!text || (!textFile.isEmpty() && QFileInfo(copy).canonicalFilePath() == textFile))
            result.failures << nativePath(copy);
        else
            copies.append({copy, *text});
    }
    return copies;
}

QList<platform::FileBytes> prepareBuildFiles(const PackageState &state, const QStringList &refused, BuildResult &result)
{
    if (!bumpVersion(state))
        result.failures << settingsFilesFailure();
    platform::writeProfileString(state.uiTextPath, QStringLiteral("OTHER"), QStringLiteral("LASTCONFIG"),
                                 nativePath(state.markerPath()));

    QList<platform::FileBytes> files;
    const QString batchPath = state.packageDir + QStringLiteral("/custom.bat");
    QString installDir = getInstallDir();
    if (installDir.isEmpty())
        installDir = programFilePath(QString());
    const std::optional<QByteArray> batchBytes = installBatchBytes(installDir);
    if (refused.contains(batchPath)) {
        result.batchFailed = true;
    } else if (batchBytes) {
        files.append({batchPath, *batchBytes});
    } else {
        result.batchFailed = true;
        result.failures << nativePath(batchPath);
    }

    const QString marker = state.markerPath();
    if (refused.contains(marker))
        result.markerFailed = true;
    else
        files.append({marker, markerBytes(state)});
    return files;
}

void reportBuildFiles(const PackageState &state, const QList<platform::FileBytes> &alongside,
                      const QStringList &failedFiles, BuildResult &result)
{
    for (const QString &file : failedFiles)
        if (file != state.uiTextPath && !result.failures.contains(leavesPackageFailure(file)))
            result.failures << nativePath(file);
    QStringList written{state.machineFilePath, state.textFilePath, state.configFilePath};
    for (const platform::FileBytes &file : alongside)
        written << file.path;
    for (const QString &file : std::as_const(written)) {
        if (!failedFiles.contains(file))
            result.written << file;
    }
    const QString batchPath = state.packageDir + QStringLiteral("/custom.bat");
    result.batchFailed = result.batchFailed || failedFiles.contains(batchPath);
    result.markerFailed = result.markerFailed || failedFiles.contains(state.markerPath());

    // Copies take the attributes of the files they replace; every language's file ends up writable.
    platform::setFileAttributes(state.textFilePath, platform::NormalAttribute);
    for (const platform::FileBytes &file : alongside)
        if (file.path.endsWith(QStringLiteral("/access-text.ini")))
            platform::setFileAttributes(file.path, platform::NormalAttribute);
}

} // namespace packages
