#include "specialfolders.h"

#include "programdir.h"

#include <QDir>

namespace platform {

QString windowsDirectory()
{
    const QString configured = qEnvironmentVariable("AKVO_WINDOWS_DIR");
    if (!configured.isEmpty())
        return QDir::cleanPath(QDir::fromNativeSeparators(configured));
    return programDirectory() + QStringLiteral("/windows");
}

} // namespace platform
