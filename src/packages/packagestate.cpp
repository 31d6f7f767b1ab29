#include "packagestate.h"

#include "config/texts.h"
#include "platform/uilanguage.h"

#include <QFileInfo>

namespace packages {

PackageState::PackageState(QObject *parent)
    : QObject(parent), uiTextPath(config::uiTextFilePath())
{
}

void PackageState::setPackagePaths()
{
    if (packageDir.isEmpty()) {   // no package open: no file of it may be written anywhere
        machineFilePath.clear();
        textFilePath.clear();
        configFilePath.clear();
        return;
    }
    machineFilePath = packageDir + QStringLiteral("/machine-specifics.csv");
    textFilePath = packageDir + QLatin1Char('/') + platform::currentLanguageDir() + QStringLiteral("/access-text.ini");
    configFilePath = packageDir + QStringLiteral("/access-config.ini");
}

bool PackageState::packageIsComplete() const
{
    return QFileInfo::exists(machineFilePath) && QFileInfo::exists(textFilePath) && QFileInfo::exists(configFilePath);
}

QString PackageState::markerPath() const
{
    QString marker = packageDir + QLatin1Char('/') + packageName;
    if (!marker.endsWith(QStringLiteral(".pkg"), Qt::CaseInsensitive))
        marker += QStringLiteral(".pkg");
    return marker;
}

QString PackageState::titleFor(bool modified) const
{
    return titleBase + QStringLiteral("  -  [") + packageName + (modified ? QStringLiteral("*]") : QStringLiteral("]"));
}

QString PackageState::windowTitle() const
{
    return titleFor(isModified);
}

void PackageState::updateTitle(const QString &name)
{
    if (!name.isEmpty())
        packageName = name;
    emit titleChanged(titleFor(false));
}

void PackageState::markModified()
{
    isModified = true;
    emit titleChanged(windowTitle());
}

void PackageState::clearModified()
{
    isModified = false;
    emit titleChanged(windowTitle());
}

} // namespace packages
