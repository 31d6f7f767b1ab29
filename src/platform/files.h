#pragma once
// File-system stand-ins: attributes, copies that never leave half a file, and recursive removal.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform {

// Windows attribute values as the tool passes them.
enum FileAttribute : int {
    ReadOnlyAttribute = 0x01,
    HiddenAttribute = 0x02,
    NormalAttribute = 0x80,
};

// Read-only removes the write permissions of a file; normal gives the owner write permission
// back; hidden has no equivalent here. Directories keep their permissions: a read-only directory
// would refuse new files here, which it does not on Windows.
void setFileAttributes(const QString &path, int attributes);

// Writes bytes into a file that is replaced atomically: it is either the old or the new file.
// Success means the file is on disk under its name: its data is synced before it replaces the
// old file, and its folder after. A file that is not writable is refused.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);

// Writes several files as writeFileAtomically writes one, side by side. Many files are synced
// together, with one sync of their file system before any replaces its old file and one after,
// instead of two syncs each. Returns the files that could not be written.
struct FileBytes {
    QString path;
    QByteArray bytes;
};
QStringList writeFilesAtomically(const QList<FileBytes> &files);

// Copies a file; the destination is replaced atomically, so it is either the old or the new file.
// With overwrite false an existing destination is kept and the copy fails.
bool copyFileAtomically(const QString &source, const QString &destination, bool overwrite = true);

// Copies one file to several destinations as copyFileAtomically does, side by side. Returns the
// destinations that could not be written (all of them when the source cannot be read).
QStringList copyFileAtomically(const QString &source, const QStringList &destinations);

// Removes a directory and everything in it without following symbolic links out of it.
bool removeDirectoryTree(const QString &directory);

// True when path lies strictly inside directory, after resolving links of both.
bool isInsideDirectory(const QString &path, const QString &directory);

// True when a write to path would land outside directory: the file, or a folder on its way,
// is a symbolic link that leads out (a link loop counts as leading out). A path whose folder
// does not exist lands nowhere; the write fails by itself.
bool writeLeavesDirectory(const QString &path, const QString &directory);

} // namespace platform
