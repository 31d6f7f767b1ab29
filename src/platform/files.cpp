#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QThreadPool>
#include <filesystem>
#include <functional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
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

namespace {

bool writeWithSaveFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);   // keeps the permissions of the file it replaces, refuses a read-only one
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();   // syncs the data, then renames
}

#ifdef Q_OS_LINUX
// A new file gets a name of its own only for the instant between being linked in and replacing
// the old one. A write killed in that instant leaves it behind, marked as the tool's, and the
// next write of the same file removes it; no file of the user's bears that mark.
const QString TemporaryMark = QStringLiteral(".kavo-new-");

void removeLeftovers(const QFileInfo &file)
{
    const QDir folder = file.absoluteDir();
    for (const QString &name : folder.entryList({file.fileName() + TemporaryMark + QLatin1Char('*')},
                                                QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(folder.filePath(name));
}

bool writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// As QSaveFile writes with an unnamed file, but with a temporary name that is known as the tool's.
bool writeOne(const QString &requested, const QByteArray &bytes)
{
    QFileInfo file(requested);
    if (file.isSymLink() && file.exists())
        file = QFileInfo(file.canonicalFilePath());   // a link is written through, as QSaveFile does
    if (file.isDir() || (file.exists() && !file.isWritable()))
        return false;   // a read-only file is refused, as on Windows
    removeLeftovers(file);
    const QByteArray folder = QFile::encodeName(file.absolutePath());
    const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return writeWithSaveFile(file.absoluteFilePath(), bytes);   // a file system without unnamed files
    struct stat old;
    bool written = (::stat(QFile::encodeName(file.absoluteFilePath()).constData(), &old) != 0
                    || ::fchmod(fd, old.st_mode & 07777) == 0)
                   && writeAll(fd, bytes) && ::fdatasync(fd) == 0;
    if (written) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        const QByteArray target = QFile::encodeName(file.absoluteFilePath());
        QByteArray temporary;
        int linked = 0;
        do {
            temporary = target + QFile::encodeName(TemporaryMark)
                        + QByteArray::number(QRandomGenerator::global()->generate(), 36);
            linked = ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temporary.constData(), AT_SYMLINK_FOLLOW);
        } while (linked != 0 && errno == EEXIST);
        if (linked != 0 && errno == ENOENT) {   // no /proc to name the file by (a bare chroot)
            ::close(fd);
            return writeWithSaveFile(file.absoluteFilePath(), bytes);
        }
        written = linked == 0;
        if (written && ::rename(temporary.constData(), target.constData()) != 0) {
            ::unlink(temporary.constData());
            written = false;
        }
    }
    ::close(fd);
    return written;
}
#else
bool writeOne(const QString &path, const QByteArray &bytes)
{
    return writeWithSaveFile(path, bytes);
}
#endif

// A renamed file survives a crash once its folder is synced too.
bool syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return synced;
#else
    Q_UNUSED(folder);
    return true;
#endif
}

// Runs each job on a thread of its own and waits for all: the jobs wait on the disk, not the CPU.
void runSideBySide(qsizetype count, const std::function<void(qsizetype)> &job)
{
    if (count == 1)
        return job(0);
    QThreadPool pool;
    pool.setMaxThreadCount(int(std::min<qsizetype>(count, 32)));
    for (qsizetype i = 0; i < count; ++i)
        pool.start([&job, i] { job(i); });
    pool.waitForDone();
}

} // namespace

QStringList writeFilesAtomically(const QList<FileBytes> &files)
{
    std::vector<char> written(size_t(files.size()), 0);
    runSideBySide(files.size(), [&](qsizetype i) { written[size_t(i)] = writeOne(files[i].path, files[i].bytes); });

    QStringList failed, folders;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (written[size_t(i)])
            folders << QFileInfo(files[i].path).absolutePath();
        else
            failed << files[i].path;
    }
    folders.removeDuplicates();
    std::vector<char> synced(size_t(folders.size()), 0);
    runSideBySide(folders.size(), [&](qsizetype i) { synced[size_t(i)] = syncFolder(folders[i]); });
    for (qsizetype i = 0; i < files.size(); ++i) {
        const qsizetype folder = folders.indexOf(QFileInfo(files[i].path).absolutePath());
        if (!failed.contains(files[i].path) && !synced[size_t(folder)])
            failed << files[i].path;
    }
    return failed;
}

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    return writeFilesAtomically({{path, bytes}}).isEmpty();
}

QStringList copyFileAtomically(const QString &source, const QStringList &destinations)
{
    if (!QFileInfo(source).isFile())
        return destinations;   // a device or a pipe is no file to copy: reading it might never end
    QFile in(source);
    QByteArray bytes;
    if (in.open(QIODevice::ReadOnly))
        bytes = in.readAll();
    if (!in.isOpen() || in.error() != QFile::NoError)
        return destinations;
    QList<FileBytes> files;
    QStringList refused;
    for (const QString &destination : destinations) {
        // Copying a file onto itself fails, as on Windows, and leaves it as it is.
        if (QFileInfo(source).canonicalFilePath() == QFileInfo(destination).canonicalFilePath())
            refused << destination;
        else
            files.append({destination, bytes});
    }
    return refused + writeFilesAtomically(files);
}

bool copyFileAtomically(const QString &source, const QString &destination, bool overwrite)
{
    if (!overwrite && QFileInfo::exists(destination))
        return false;
    return copyFileAtomically(source, QStringList{destination}).isEmpty();
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
