#include "programdir.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {
namespace {
QString &overrideDirectory()
{
    static QString directory;
    return directory;
}
} // namespace

QString programDirectory()
{
    QString directory = overrideDirectory();
    if (directory.isEmpty())
        directory = qEnvironmentVariable("AKVO_PROGRAM_DIR");
    if (directory.isEmpty())
        directory = QCoreApplication::applicationDirPath();
    return QDir::cleanPath(QDir::fromNativeSeparators(directory));
}

void setProgramDirectory(const QString &directory)
{
    overrideDirectory() = directory;
}

} // namespace platform
