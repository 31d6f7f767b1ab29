#include "files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QThread>
#include <QThreadPool>
#include <filesystem>
#include <functional>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
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

// A file on its way: its bytes are in an unnamed file in the target's folder (as QSaveFile
// writes), waiting to be synced and put in place under a temporary name known as the tool's.
struct StagedFile {
    int fd = -1;
    QString target;   // the file it replaces (a link's target)
    dev_t device = 0;
    bool failed = false;
    bool placed = false;   // written and synced otherwise already (QSaveFile)
    bool unchanged = false;   // the file holds the bytes already: fd is the file itself, to sync
};

bool holdsBytes(QFile &file, const QByteArray &bytes)
{
    if (file.size() != bytes.size())
        return false;
    if (bytes.isEmpty())
        return true;
    const uchar *mapped = file.map(0, bytes.size());
    const bool same = mapped && std::memcmp(mapped, bytes.constData(), size_t(bytes.size())) == 0;
    if (mapped)
        file.unmap(const_cast<uchar *>(mapped));
    return same;
}

StagedFile stage(const QString &requested, const QByteArray &bytes)
{
    QFileInfo file(requested);
    if (file.isSymLink() && file.exists())
        file = QFileInfo(file.canonicalFilePath());   // a link is written through, as QSaveFile does
    if (file.isDir() || (file.exists() && !file.isWritable()))
        return {-1, {}, 0, true};   // a read-only file is refused, as on Windows
    removeLeftovers(file);
    StagedFile staged{-1, file.absoluteFilePath()};
    // A file that holds the bytes already is left as it is (a build mostly rewrites what it
    // read): it is only synced, as a new one would be.
    if (QFile existing(staged.target); file.isFile() && existing.open(QIODevice::ReadOnly) && holdsBytes(existing, bytes)) {
        struct stat own {};
        staged.fd = ::dup(existing.handle());
        staged.failed = staged.fd < 0 || ::fstat(staged.fd, &own) != 0;
        staged.device = own.st_dev;
        staged.unchanged = true;
        return staged;
    }
    const QByteArray folder = QFile::encodeName(file.absolutePath());
    staged.fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (staged.fd < 0) {   // a file system without unnamed files
        staged.failed = !writeWithSaveFile(staged.target, bytes);
        staged.placed = true;
        return staged;
    }
    struct stat old {}, own {};
    staged.failed = !((::stat(QFile::encodeName(staged.target).constData(), &old) != 0
                       || ::fchmod(staged.fd, old.st_mode & 07777) == 0)
                      && writeAll(staged.fd, bytes) && ::fstat(staged.fd, &own) == 0);
    staged.device = own.st_dev;
    return staged;
}

// Names a synced file, then lets it replace the old one.
void putInPlace(StagedFile &staged, const QByteArray &bytes)
{
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(staged.fd);
    const QByteArray target = QFile::encodeName(staged.target);
    QByteArray temporary;
    int linked = 0;
    do {
        temporary = target + QFile::encodeName(TemporaryMark) + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        linked = ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, temporary.constData(), AT_SYMLINK_FOLLOW);
    } while (linked != 0 && errno == EEXIST);
    if (linked != 0 && errno == ENOENT) {   // no /proc to name the file by (a bare chroot)
        staged.failed = !writeWithSaveFile(staged.target, bytes);
        staged.placed = true;
        return;
    }
    staged.failed = linked != 0;
    if (!staged.failed && ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        staged.failed = true;
    }
}

// A renamed file survives a crash once its folder is synced too.
bool syncFolder(const QString &folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool synced = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return synced;
}

// Syncs the folders of the files in place (with onlyPlaced, of those QSaveFile wrote), each
// once. A failure fails every file in that folder.
void syncFolders(std::vector<StagedFile> &files, bool onlyPlaced)
{
    QStringList synced;
    for (const StagedFile &file : files) {
        const QString folder = QFileInfo(file.target).absolutePath();
        if (file.failed || (onlyPlaced && !file.placed) || synced.contains(folder))
            continue;
        synced << folder;
        if (!syncFolder(folder)) {
            for (StagedFile &other : files)
                if (QFileInfo(other.target).absolutePath() == folder)
                    other.failed = true;
        }
    }
}

// Syncs the file systems the files are on, each once: their data first, then, once they are in
// place, their names. A failure fails every file on that file system.
void syncFileSystems(std::vector<StagedFile> &files)
{
    std::vector<dev_t> synced;
    for (const StagedFile &file : files) {
        if (file.failed || file.placed
            || std::find(synced.begin(), synced.end(), file.device) != synced.end())
            continue;
        synced.push_back(file.device);
        if (::syncfs(file.fd) != 0) {
            for (StagedFile &other : files)
                if (!other.placed && other.device == file.device)
                    other.failed = true;
        }
    }
}
#endif

// Runs the jobs on a few threads and waits for all: writing into the page cache takes CPU.
void runSideBySide(qsizetype count, const std::function<void(qsizetype)> &job)
{
    if (count == 1)
        return job(0);
    QThreadPool pool;
    pool.setMaxThreadCount(int(std::min<qsizetype>(count, std::max(2, QThread::idealThreadCount()))));
    for (qsizetype i = 0; i < count; ++i)
        pool.start([&job, i] { job(i); });
    pool.waitForDone();
}

} // namespace

QStringList writeFilesAtomically(const QList<FileBytes> &files)
{
    QStringList failed;
#ifdef Q_OS_LINUX
    // Every file's data is synced before it replaces the old one, and its name before success is
    // reported. Many files are synced with one sync of each file system for all of them, before
    // and after they are put in place, rather than two per file that each wait for the disk; a
    // file system's sync also writes whatever else waits on it, which only pays for many files.
    const bool manyFiles = files.size() >= 4;
    std::vector<StagedFile> staged(size_t(files.size()));
    runSideBySide(files.size(), [&](qsizetype i) {
        StagedFile &file = staged[size_t(i)] = stage(files[i].path, files[i].bytes);
        if (!manyFiles && !file.failed && !file.placed)
            file.failed = ::fdatasync(file.fd) != 0;
    });
    if (manyFiles)
        syncFileSystems(staged);
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!staged[size_t(i)].failed && !staged[size_t(i)].placed && !staged[size_t(i)].unchanged)
            putInPlace(staged[size_t(i)], files[i].bytes);
    }
    if (manyFiles)
        syncFileSystems(staged);
    syncFolders(staged, manyFiles);   // after a file system's sync, only where QSaveFile wrote
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (staged[size_t(i)].fd >= 0)
            ::close(staged[size_t(i)].fd);
        if (staged[size_t(i)].failed)
            failed << files[i].path;
    }
#else
    for (const FileBytes &file : files)
        if (!writeWithSaveFile(file.path, file.bytes))
            failed << file.path;
#endif
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
