#include "registry.h"

#include "ini/profileencoding.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <memory>

namespace platform {
namespace {

struct KeyName {
    QString organisation;
    QString application;
};

KeyName splitKey(const QString &keyPath)
{
    const QStringList parts = keyPath.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    const int n = int(parts.size());
    return {n >= 2 ? parts.at(n - 2) : QString(), n >= 1 ? parts.at(n - 1) : QString()};
}

QSettings::Scope qtScope(RegistryScope scope)
{
    return scope == RegistryScope::System ? QSettings::SystemScope : QSettings::UserScope;
}

// QSettings only takes its folders from a global setting, so point it at the redirect each time.
std::unique_ptr<QSettings> openKey(RegistryScope scope, const QString &keyPath)
{
    const QString redirect = qEnvironmentVariable("AKVO_REGISTRY");
    if (!redirect.isEmpty()) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, redirect + QStringLiteral("/system"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, redirect + QStringLiteral("/user"));
    }
    const KeyName key = splitKey(keyPath);
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat, qtScope(scope), key.organisation, key.application);
    settings->setFallbacksEnabled(false);   // one scope, one key: no organisation-wide or system fallback
    return settings;
}

} // namespace

QString registryKeyFile(RegistryScope scope, const QString &keyPath)
{
    return openKey(scope, keyPath)->fileName();
}

bool registryKeyExists(RegistryScope scope, const QString &keyPath)
{
#ifdef Q_OS_WIN
    auto settings = openKey(scope, keyPath);
    return !settings->childKeys().isEmpty() || !settings->childGroups().isEmpty();
#else
    return QFileInfo::exists(openKey(scope, keyPath)->fileName());
#endif
}

std::optional<QString> readRegistryString(RegistryScope scope, const QString &keyPath, const QString &name)
{
    // Only a string counts. An unquoted value holding a comma reads as a list, "@ByteArray(...)"
    // and the like as other types; turning those into a string would name some other folder.
    const std::unique_ptr<QSettings> key = openKey(scope, keyPath);
#ifndef Q_OS_WIN
    // Settings files are UTF-8; the reader drops what is not, which would name another folder.
    QFile file(key->fileName());
    if (file.open(QIODevice::ReadOnly) && !ini::isStrictUtf8(file.readAll()))
        return std::nullopt;
#endif
    const QVariant value = key->value(name);
    if (value.metaType().id() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

std::optional<quint32> readRegistryNumber(RegistryScope scope, const QString &keyPath, const QString &name)
{
    const QVariant value = openKey(scope, keyPath)->value(name);
    bool ok = false;
    const quint32 number = value.toUInt(&ok);
    if (!value.isValid() || !ok)
        return std::nullopt;
    return number;
}

static bool writeValue(RegistryScope scope, const QString &keyPath, const QString &name, const QVariant &value)
{
    auto settings = openKey(scope, keyPath);
    settings->setValue(name, value);
    settings->sync();
    return settings->status() == QSettings::NoError;
}

bool writeRegistryString(RegistryScope scope, const QString &keyPath, const QString &name, const QString &value)
{
    return writeValue(scope, keyPath, name, value);
}

bool writeRegistryNumber(RegistryScope scope, const QString &keyPath, const QString &name, quint32 value)
{
    return writeValue(scope, keyPath, name, value);
}

} // namespace platform
