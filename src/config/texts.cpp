#include "texts.h"

#include <QRegularExpression>

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

QString withoutMnemonic(const QString &caption)
{
    static const QRegularExpression appended(QStringLiteral("\\s*\\(&[^&]\\)"));
    QString plain = QString(caption).remove(appended);
    plain.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    plain.remove(QLatin1Char('&'));
    return plain.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

platform::MessageButton showTextMessage(QWidget *parent, const QString &textSection, const QString &textKey,
                                        const QString &captionSection, const QString &captionKey,
                                        platform::MessageStyle style)
{
    return platform::modals().message(
        parent, {lookupText(textSection, textKey), lookupText(captionSection, captionKey), style});
}

} // namespace config
