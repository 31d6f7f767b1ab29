#include "packagestate.h"

#include "texts/texts.h"
#include "platform/uilanguage.h"

#include <QDir>
#include <QFileInfo>

namespace packages {
namespace {

const QString markerSuffix = QStringLiteral(".pkg");

} // namespace

PackageState::PackageState() : uiTextPath(texts::uiTextFilePath()) {}

void PackageState::setLocation(const QString &path)
{
    const QString full = QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
    const qsizetype slash = full.lastIndexOf(QLatin1Char('/'));
    packageName = full.mid(slash + 1);
    packageDir = full.endsWith(markerSuffix, Qt::CaseInsensitive) ? full.left(slash) : full;
    setPackagePaths();
}

void PackageState::setPackagePaths()
{
    if (packageDir.isEmpty()) {   // no package open: no file of it may be written anywhere
        machineFilePath.clear();
        textFilePath.clear();
        configFilePath.clear();
        return;
    }
    machineFilePath = packageDir + QLatin1Char('/') + MenuFileName;
    textFilePath = packageDir + QLatin1Char('/') + platform::currentLanguageDir() + QLatin1Char('/') + TextFileName;
    configFilePath = packageDir + QLatin1Char('/') + ConfigFileName;
}

bool PackageState::packageIsComplete() const
{
    return missingFiles().isEmpty();
}

QStringList PackageState::missingFiles() const
{
    QStringList missing;
    for (const QString &file : {machineFilePath, textFilePath, configFilePath})
        if (!QFileInfo::exists(file))
            missing << QDir::toNativeSeparators(file);
    return missing;
}

QString PackageState::markerPath() const
{
    QString marker = packageDir + QLatin1Char('/') + packageName;
    if (!marker.endsWith(markerSuffix, Qt::CaseInsensitive))
        marker += markerSuffix;
    return marker;
}

QString PackageState::batchFilePath() const
{
    return packageDir + QLatin1Char('/') + BatchFileName;
}

QString PackageState::windowTitle(bool modified) const
{
    return titleBase + QStringLiteral("  -  [") + packageName + (modified ? QStringLiteral("*]") : QStringLiteral("]"));
}

} // namespace packages
