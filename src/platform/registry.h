#pragma once
// Stand-in for the registry. Keys are spelled as the Windows code spells them
// ("Software\\Harbel\\ZELT"); the last two components become QSettings' organisation and
// application. When AKVO_REGISTRY names a folder, its system/ and user/ sub-folders hold the
// two scopes, so tests and the demo never touch the real system or home folders.
#include <QString>
#include <optional>

namespace platform {

enum class RegistryScope { System, User };   // HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER

// The file that holds the key, for messages that tell the user where to set a value.
QString registryKeyFile(RegistryScope scope, const QString &keyPath);

// True when the key exists (it could be opened).
bool registryKeyExists(RegistryScope scope, const QString &keyPath);

// The string value, or nothing when the key or value is missing or is not one string (a list,
// say, which is what an unquoted value holding a comma reads as).
std::optional<QString> readRegistryString(RegistryScope scope, const QString &keyPath, const QString &name);

// The 32-bit value, or nothing when the key or value is missing or not a number.
std::optional<quint32> readRegistryNumber(RegistryScope scope, const QString &keyPath, const QString &name);

// Writes into an existing or new key; false when the store cannot be written.
bool writeRegistryString(RegistryScope scope, const QString &keyPath, const QString &name, const QString &value);
bool writeRegistryNumber(RegistryScope scope, const QString &keyPath, const QString &name, quint32 value);

} // namespace platform
