#include "help.h"

#include "platform/specialfolders.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace app {

QString helpFilePath()
{
    return platform::windowsDirectory() + QStringLiteral("/help/ZELTCust.chm");
}

void showHelp()
{
    const QString path = helpFilePath();
    if (QFileInfo::exists(path))   // the desktop would otherwise show its own complaint
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace app
