#include "confinedfolder.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>
#include <QThreadPool>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace ini {
namespace {

const int PathFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// A new file has a name of its own while it is staged, marked as the tool's; a write killed
// meanwhile leaves it behind, and the next write of the same file removes it. No file of the
// user's bears that mark.
const QByteArray TemporaryMark = ".kavo-new-";

QByteArray encoded(const QString &name)
{
    return QFile::encodeName(name);
}

QString reasonOf(int error)
{
    switch (error) {
    case ELOOP:
        return QStringLiteral("a symbolic link");
    case ENOTDIR:
        return QStringLiteral("a folder on its way is a symbolic link or no folder");
    case ENOENT:
        return QStringLiteral("its folder is missing");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    explicit Descriptor(int descriptor = -1) : fd(descriptor) {}
    Descriptor(Descriptor &&other) noexcept : fd(std::exchange(other.fd, -1)) {}
    Descriptor &operator=(Descriptor &&other) noexcept
    {
        std::swap(fd, other.fd);
        return *this;
    }
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

std::optional<QByteArray> readAll(int fd, qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0) {   // shorter than it was a moment ago
            bytes.truncate(done);
            break;
        }
        done += n;
    }
    return bytes;
}

// Read rather than mapped: a file another program cuts short meanwhile must not crash the tool.
bool holdsBytes(int fd, const QByteArray &bytes)
{
    char buffer[65536];
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || n > bytes.size() - done || std::memcmp(buffer, bytes.constData() + done, size_t(n)) != 0)
            return false;
        done += n;
    }
    return true;
}

// Runs the jobs on a few threads and waits for all: writing into the page cache takes CPU, and
// each sync waits for the disk.
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

// Removes what killed writes of leaf left in its folder.
void removeLeftovers(int folder, const QByteArray &leaf)
{
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return;
    }
    const QByteArray prefix = leaf + TemporaryMark;
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strncmp(entry->d_name, prefix.constData(), size_t(prefix.size())) == 0)
            ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

ConfinedFolder::ConfinedFolder(const QString &path)
    : m_fd(::open(encoded(path).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC)), m_path(path)
{
}

ConfinedFolder::ConfinedFolder(const ConfinedFolder &parent, const QString &name, bool create)
    : m_path(parent.path() + QLatin1Char('/') + name)
{
    if (!parent.isOpen() || name.isEmpty() || name.contains(QLatin1Char('/')) || name == QLatin1String(".")
        || name == QLatin1String(".."))
        return;
    if (create)
        ::mkdirat(parent.m_fd, encoded(name).constData(), 0777);
    m_fd = ::openat(parent.m_fd, encoded(name).constData(), PathFlags);
}

ConfinedFolder::ConfinedFolder(ConfinedFolder &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path))
{
}

ConfinedFolder &ConfinedFolder::operator=(ConfinedFolder &&other) noexcept
{
    std::swap(m_fd, other.m_fd);
    std::swap(m_path, other.m_path);
    return *this;
}

ConfinedFolder::~ConfinedFolder()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int ConfinedFolder::openParent(const QString &relative, QString *leaf) const
{
    const QStringList parts = relative.split(QLatin1Char('/'));
    for (const QString &part : parts) {
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) {
            errno = EINVAL;
            return -1;
        }
    }
    *leaf = parts.last();
    int folder = ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0);
    for (qsizetype i = 0; folder >= 0 && i + 1 < parts.size(); ++i) {
        // O_NOFOLLOW with O_DIRECTORY: a link on the way fails with ENOTDIR or ELOOP.
        const int next = ::openat(folder, encoded(parts[i]).constData(), PathFlags);
        const int error = errno;
        ::close(folder);
        folder = next;
        errno = error;
    }
    return folder;
}

ConfinedFolder::Kind ConfinedFolder::kindOf(const QString &relative) const
{
    QString leaf;
    const Descriptor folder(openParent(relative, &leaf));
    struct stat info {};
    if (folder.fd < 0 || ::fstatat(folder.fd, encoded(leaf).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? Kind::Missing : Kind::Other;
    if (S_ISLNK(info.st_mode))
        return Kind::Link;
    if (S_ISDIR(info.st_mode))
        return Kind::Folder;
    return S_ISREG(info.st_mode) ? Kind::File : Kind::Other;
}

QStringList ConfinedFolder::entryNames(const QString &relative) const
{
    QString leaf = QStringLiteral(".");
    Descriptor folder(relative.isEmpty() ? ::fcntl(m_fd, F_DUPFD_CLOEXEC, 0) : openParent(relative, &leaf));
    const int listing = folder.fd < 0 ? -1
                                      : ::openat(folder.fd, encoded(leaf).constData(),
                                                 O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    DIR *dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
    QStringList names;
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return names;
    }
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            names << QFile::decodeName(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

std::optional<QByteArray> ConfinedFolder::readFile(const QString &relative) const
{
    QString leaf;
    const Descriptor folder(openParent(relative, &leaf));
    if (folder.fd < 0)
        return std::nullopt;
    // Non-blocking: a pipe put in a file's place must not hang the tool.
    const Descriptor file(::openat(folder.fd, encoded(leaf).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    return readAll(file.fd, info.st_size);
}

bool ConfinedFolder::makeFolder(const QString &relative)
{
    QString leaf;
    const Descriptor folder(openParent(relative, &leaf));
    if (folder.fd < 0)
        return false;
    if (::mkdirat(folder.fd, encoded(leaf).constData(), 0777) == 0)
        return true;
    struct stat info {};
    return errno == EEXIST && ::fstatat(folder.fd, encoded(leaf).constData(), &info, AT_SYMLINK_NOFOLLOW) == 0
           && S_ISDIR(info.st_mode);
}

bool ConfinedFolder::setAttributes(const QString &relative, int attributes)
{
    QString leaf;
    const Descriptor folder(openParent(relative, &leaf));
    // The file itself, never what a link leads to: O_PATH with O_NOFOLLOW opens a link as a link.
    const Descriptor file(folder.fd < 0 ? -1 : ::openat(folder.fd, encoded(leaf).constData(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0 || S_ISLNK(info.st_mode))
        return false;
    if (!S_ISREG(info.st_mode))
        return true;   // folders keep their permissions
    mode_t mode = info.st_mode & 07777;
    if (attributes & ReadOnlyAttribute)
        mode &= ~mode_t(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    if (mode == (info.st_mode & 07777))
        return true;
    // A descriptor opened with O_PATH is changed through its name in /proc, which is the file.
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(file.fd);
    return ::chmod(self.constData(), mode) == 0;
}

bool ConfinedFolder::remove(const QString &relative)
{
    QString leaf;
    const Descriptor folder(openParent(relative, &leaf));
    struct stat info {};
    if (folder.fd < 0 || ::fstatat(folder.fd, encoded(leaf).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return ::unlinkat(folder.fd, encoded(leaf).constData(), S_ISDIR(info.st_mode) ? AT_REMOVEDIR : 0) == 0;
}

QList<FileFailure> ConfinedFolder::writeFiles(const QList<Write> &files)
{
    struct Staged {
        int folder = -1;   // shared by the files of one folder, owned by folders below
        QByteArray leaf;
        QByteArray temporary;
        Descriptor file;   // the staged file, or the target itself when it holds the bytes
        bool exists = false;
        mode_t mode = 0;
        bool unchanged = false;
        QString failure;
    };
    std::vector<Staged> staged(size_t(files.size()));
    struct Folder {
        Descriptor descriptor;
        int error = 0;   // why it could not be opened
    };
    std::map<QString, Folder> folders;   // by the relative path of the folder
    QList<FileFailure> failures;
    const auto failed = [&] {
        for (size_t i = 0; i < staged.size(); ++i)
            if (!staged[i].failure.isEmpty())
                failures.append({files[qsizetype(i)].path, staged[i].failure});
        return !failures.isEmpty();
    };
    const auto dropStaged = [&] {
        for (Staged &file : staged)
            if (!file.temporary.isEmpty())
                ::unlinkat(file.folder, file.temporary.constData(), 0);
    };
    if (!isOpen()) {
        for (const Write &file : files)
            failures.append({file.path, QStringLiteral("the package folder cannot be opened")});
        return failures;
    }

    // Everything that can be checked is checked before a byte is written.
    for (qsizetype i = 0; i < files.size(); ++i) {
        Staged &file = staged[size_t(i)];
        QString leaf;
        const QString relative = files[i].path;
        const qsizetype slash = relative.lastIndexOf(QLatin1Char('/'));
        const QString folderPath = slash < 0 ? QString() : relative.left(slash);
        auto found = folders.find(folderPath);
        if (found == folders.end()) {
            Descriptor opened(openParent(relative, &leaf));
            const int error = errno;
            found = folders.emplace(folderPath, Folder{std::move(opened), error}).first;
        }
        file.folder = found->second.descriptor.fd;
        file.leaf = encoded(relative.mid(slash + 1));
        if (file.folder < 0) {
            file.failure = reasonOf(found->second.error);
            continue;
        }
        struct stat info {};
        if (::fstatat(file.folder, file.leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            if (errno != ENOENT)
                file.failure = reasonOf(errno);
            else if (files[i].mustExist)
                file.failure = QStringLiteral("missing");
            continue;
        }
        file.exists = true;
        file.mode = info.st_mode & 07777;
        if (S_ISLNK(info.st_mode))
            file.failure = reasonOf(ELOOP);
        else if (!S_ISREG(info.st_mode))
            file.failure = QStringLiteral("not a regular file");
        else if (::faccessat(file.folder, file.leaf.constData(), W_OK, AT_EACCESS) != 0)
            file.failure = QStringLiteral("read-only");   // as on Windows (root writes it all the same)
        else if (info.st_size == files[i].bytes.size()) {
            // A build mostly rewrites what it read: a file that holds the bytes already stays.
            file.file = Descriptor(::openat(file.folder, file.leaf.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
            struct stat opened {};
            file.unchanged = file.file.fd >= 0 && ::fstat(file.file.fd, &opened) == 0 && opened.st_ino == info.st_ino
                             && holdsBytes(file.file.fd, files[i].bytes);
        }
    }
    if (failed())
        return failures;

    // Staged and synced side by side, each beside its target.
    for (Staged &file : staged)
        if (!file.unchanged)
            removeLeftovers(file.folder, file.leaf);
    runSideBySide(files.size(), [&](qsizetype i) {
        Staged &file = staged[size_t(i)];
        if (file.unchanged) {   // synced all the same, as a new one would be
            if (::fdatasync(file.file.fd) != 0)
                file.failure = reasonOf(errno);
            return;
        }
        QByteArray name;
        int fd = -1;
        do {
            name = file.leaf + TemporaryMark + QByteArray::number(QRandomGenerator::global()->generate(), 36);
            fd = ::openat(file.folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        } while (fd < 0 && errno == EEXIST);
        if (fd < 0) {
            file.failure = reasonOf(errno);
            return;
        }
        file.temporary = name;
        file.file = Descriptor(fd);
        // A replaced file keeps its permissions; a new one gets those the user's umask gives.
        if ((file.exists && ::fchmod(fd, file.mode) != 0) || !writeAll(fd, files[i].bytes) || ::fdatasync(fd) != 0)
            file.failure = reasonOf(errno);
    });
    if (failed()) {
        dropStaged();
        return failures;
    }

    // Put in place in the order given. A rename within a folder fails only when the file system
    // itself fails (or another program puts a folder in a target's place meanwhile): what is not
    // in place yet is then dropped, and named.
    for (qsizetype i = 0; i < files.size(); ++i) {
        Staged &file = staged[size_t(i)];
        if (file.unchanged)
            continue;
        if (::renameat(file.folder, file.temporary.constData(), file.folder, file.leaf.constData()) != 0) {
            const QString reason = reasonOf(errno);
            for (qsizetype j = i; j < files.size(); ++j)
                if (!staged[size_t(j)].unchanged)
                    staged[size_t(j)].failure = j == i ? reason : QStringLiteral("not written after an earlier failure");
            break;
        }
        file.temporary.clear();
    }
    dropStaged();
    // A renamed file survives a crash once its folder is synced too.
    for (const auto &[name, folder] : folders) {
        const Descriptor syncable(::openat(folder.descriptor.fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (syncable.fd >= 0 && ::fsync(syncable.fd) == 0)
            continue;
        const QString reason = reasonOf(errno);
        for (Staged &file : staged)
            if (file.folder == folder.descriptor.fd && file.failure.isEmpty() && !file.unchanged)
                file.failure = reason;
    }
    failed();
    return failures;
}

bool isStagedLeftover(const QString &name)
{
    return name.contains(QLatin1String(TemporaryMark));
}

bool copyInto(ConfinedFolder &folder, const QString &source, const QString &destination)
{
    // A device or a pipe is no file to copy: reading it might never end.
    if (!QFileInfo(source).isFile())
        return false;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    return in.error() == QFile::NoError && folder.writeFiles({{destination, bytes}}).isEmpty();
}

QStringList writeFilesAtomically(const QList<FileBytes> &files)
{
    QStringList failed;
    for (const FileBytes &bytes : files) {
        QFileInfo file(bytes.path);
        if (file.isSymLink() && file.exists())   // a link leads to the file it names
            file.setFile(file.canonicalFilePath());
        ConfinedFolder folder(file.absolutePath());
        if (!folder.writeFiles({{file.fileName(), bytes.bytes}}).isEmpty())
            failed << bytes.path;
    }
    return failed;
}

bool isInsideDirectory(const QString &path, const QString &directory)
{
    const QString inner = QFileInfo(path).canonicalFilePath();
    const QString outer = QFileInfo(directory).canonicalFilePath();
    return !inner.isEmpty() && !outer.isEmpty() && inner.startsWith(outer + QLatin1Char('/'));
}

} // namespace ini
