#include "help.h"

#include "platform/programdir.h"
#include "platform/specialfolders.h"
#include "platform/uilanguage.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

namespace app {

QString helpFilePath()
{
    return platform::windowsDirectory() + QStringLiteral("/help/ZELTCust.chm");
}

QString userGuidePath()
{
    const QLocale locale = platform::localeForLanguageDir(platform::currentLanguageDir());
    const QString language = QLocale::languageToCode(locale.language());
    for (const QString &folder : {language, QStringLiteral("en")}) {
        const QString guide = platform::programDirectory() + QStringLiteral("/guide/") + folder + QStringLiteral("/index.html");
        if (QFileInfo::exists(guide))
            return guide;
    }
    return QString();
}

void showHelp()
{
    // A missing file would only have the desktop show its own complaint.
    const QString path = QFileInfo::exists(helpFilePath()) ? helpFilePath() : userGuidePath();
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace app
