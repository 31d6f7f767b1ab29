#include "texts.h"

#include "platform/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

namespace config {

QString uiTextFilePath()
{
    return platform::programDirectory() + QLatin1Char('/') + platform::currentLanguageDir()
           + QStringLiteral("/custom-text.ini");
}

QString lookupText(const QString &section, const QString &key)
{
    return platform::readProfileString(uiTextFilePath(), section, key, 2048);
}

platform::MessageButton showTextMessage(QWidget *parent, const QString &textSection, const QString &textKey,
                                        const QString &captionSection, const QString &captionKey,
                                        platform::MessageStyle style)
{
    return platform::modals().message(
        parent, {lookupText(textSection, textKey), lookupText(captionSection, captionKey), style});
}

} // namespace config
