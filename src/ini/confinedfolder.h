#pragma once
// The one place that writes, renames, removes or changes the attributes of files below a folder
// the tool writes into: a package, the default package, the packages folder.
//
// The folder is opened once, and every file below it is reached relative to that open folder,
// one path component at a time, with no symbolic link followed at any step (nor "." or ".."). A
// link, or a folder on the way swapped for one between two calls, is refused rather than written
// through; a file is only ever replaced by renaming a new one over its name, which never follows
// a link either. So nothing outside the folder can change, whatever the file system does
// meanwhile. Links in the path that names the folder itself are followed: that path is what the
// user or the installation named.
//
// Several files are written as one transaction: every byte is staged and synced in a new file
// beside its target before the first target is replaced, so a file that cannot be written leaves
// every file as it was.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace ini {

// Windows attribute values as the tool passes them.
enum FileAttribute : int {
    ReadOnlyAttribute = 0x01,
    HiddenAttribute = 0x02,
    NormalAttribute = 0x80,
};

struct FileBytes {
    QString path;
    QByteArray bytes;
};

// A file that was not written, and why (for the user: "a symbolic link", "read-only", ...).
struct FileFailure {
    QString path;
    QString reason;
    friend bool operator==(const FileFailure &a, const FileFailure &b)
    {
        return a.path == b.path && a.reason == b.reason;
    }
};

class ConfinedFolder {
public:
    // The folder at path; not open when it is no folder or cannot be opened.
    explicit ConfinedFolder(const QString &path);
    // The folder name right below parent, made first when create is set and it is missing.
    // Never a link: a link of that name leaves it not open.
    ConfinedFolder(const ConfinedFolder &parent, const QString &name, bool create);
    ConfinedFolder(ConfinedFolder &&other) noexcept;
    ConfinedFolder &operator=(ConfinedFolder &&other) noexcept;
    ConfinedFolder(const ConfinedFolder &) = delete;
    ConfinedFolder &operator=(const ConfinedFolder &) = delete;
    ~ConfinedFolder();

    bool isOpen() const { return m_fd >= 0; }
    // As it was named (for messages and for joining with relative paths).
    QString path() const { return m_path; }

    // Every relative path below is '/'-separated and leads down only.
    enum class Kind { Missing, File, Folder, Link, Other };
    Kind kindOf(const QString &relative) const;
    // The names in a folder below (or in this one, for an empty path); none when it is no folder.
    QStringList entryNames(const QString &relative = QString()) const;
    // A regular file's bytes.
    std::optional<QByteArray> readFile(const QString &relative) const;

    // Makes a folder; one that is there already counts as made, a link never does.
    bool makeFolder(const QString &relative);
    // Read-only removes the write permissions of a regular file; normal gives the owner write
    // permission back; hidden has no equivalent here. Folders keep their permissions: a
    // read-only folder would refuse new files here, which it does not on Windows.
    bool setAttributes(const QString &relative, int attributes);
    // Removes a file or a link (never what it leads to), or an empty folder.
    bool remove(const QString &relative);

    // Writes files as one transaction; the failures name their relative paths, and none means
    // every file was written. Each file is staged beside its target and synced (side by side on
    // a few threads); only when all are staged are they put in place, in the order given, so the
    // caller lists last what marks the whole as done. A file that already holds its bytes is left
    // as it is. Refused: a link or anything but a regular file at a target or on its way, a
    // missing folder, a read-only file (as on Windows), a target that must exist and does not.
    struct Write {
        QString path;
        QByteArray bytes;
        bool mustExist = false;   // a file the caller read and rewrites: gone means refused
    };
    QList<FileFailure> writeFiles(const QList<Write> &files);

private:
    // The folder that holds relative, opened down from this one; -1 (errno set) on failure.
    int openParent(const QString &relative, QString *leaf) const;

    int m_fd = -1;
    QString m_path;
};

// Whether a name is that of a file a killed write left behind (the next write of its file
// removes it).
bool isStagedLeftover(const QString &name);

// Copies a regular file (read by path, from anywhere) into a confined folder.
bool copyInto(ConfinedFolder &folder, const QString &source, const QString &destination);

// Files outside any package (the tool's own text file, the installation's text file), each
// written as one transaction in the folder that holds it; a link at the file is written through
// to where it leads. Returns the files that could not be written.
QStringList writeFilesAtomically(const QList<FileBytes> &files);

// True when path lies strictly inside directory, after resolving links of both.
bool isInsideDirectory(const QString &path, const QString &directory);

} // namespace ini
