#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <filesystem>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace platform {

void setFileAttributes(const QString &path, int attributes)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return;
    QFile::Permissions permissions = QFile::permissions(path);
    if (attributes & ReadOnlyAttribute)
        permissions &= ~(QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther);
    else
        permissions |= QFile::WriteOwner | QFile::WriteUser;
    QFile::setPermissions(path, permissions);
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool copyFileAtomically(const QString &source, const QString &destination, bool overwrite)
{
    if (!overwrite && QFileInfo::exists(destination))
        return false;
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(destination).canonicalFilePath())
        return false;   // copying a file onto itself fails, as on Windows, and leaves it as it is
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFile::NoError)
        return false;
    // A read-only destination is replaced all the same, as the copies of the tool expect.
    return writeFileAtomically(destination, bytes);
}

bool syncFoldersOf(const QStringList &files)
{
    QSet<QString> folders;
    for (const QString &file : files)
        folders.insert(QFileInfo(file).absolutePath());
    bool synced = true;
#ifdef Q_OS_UNIX
    for (const QString &folder : std::as_const(folders)) {
        const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        synced = fd >= 0 && ::fsync(fd) == 0 && synced;
        if (fd >= 0)
            ::close(fd);
    }
#endif
    return synced;
}

bool removeDirectoryTree(const QString &directory)
{
    std::error_code error;
    const std::filesystem::path path = QFile::encodeName(directory).toStdString();
    if (std::filesystem::is_symlink(path, error))
        return false;   // never follow a link out of the tree
    std::filesystem::remove_all(path, error);   // removes links themselves, never their targets
    return !error && !std::filesystem::exists(path, error);
}

bool isInsideDirectory(const QString &path, const QString &directory)
{
    const QString inner = QFileInfo(path).canonicalFilePath();
    const QString outer = QFileInfo(directory).canonicalFilePath();
    return !inner.isEmpty() && !outer.isEmpty() && inner.startsWith(outer + QLatin1Char('/'));
}

bool writeLeavesDirectory(const QString &path, const QString &directory)
{
    // The file itself may be a link, even one to a file that does not exist yet.
    QFileInfo landing(path);
    for (int hops = 0; landing.isSymLink(); ++hops) {
        if (hops == 40)
            return true;
        landing.setFile(landing.symLinkTarget());
    }
    QString resolved = landing.canonicalFilePath();
    if (resolved.isEmpty()) {
        const QString folder = QFileInfo(landing.absolutePath()).canonicalFilePath();
        if (folder.isEmpty())
            return false;
        resolved = folder + QLatin1Char('/') + landing.fileName();
    }
    const QString outer = QFileInfo(directory).canonicalFilePath();
    return outer.isEmpty() || !resolved.startsWith(outer + QLatin1Char('/'));
}

} // namespace platform
