#include "texts.h"

#include <QRegularExpression>

#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

namespace texts {

QString uiTextFilePath()
{
    return platform::programDirectory() + QLatin1Char('/') + platform::currentLanguageDir()
           + QStringLiteral("/custom-text.ini");
}

QString lookupText(const QString &section, const QString &key)
{
    return ini::readProfileString(uiTextFilePath(), section, key, 2048);
}

QString withoutMnemonic(const QString &caption)
{
    static const QRegularExpression appended(QStringLiteral("\\s*\\(&[^&]\\)"));
    QString plain = QString(caption).remove(appended);
    plain.replace(QLatin1String("&&"), QStringLiteral("\x01"));
    plain.remove(QLatin1Char('&'));
    return plain.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}


} // namespace texts
