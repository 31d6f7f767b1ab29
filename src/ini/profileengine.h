#pragma once
// The object behind the profile functions (profile.h): the parsed files it keeps, the open batch,
// and the thread it belongs to. Only profile.cpp uses it.
#include "profile.h"
#include "profiledocument.h"

#include <QHash>

#include <memory>
#include <thread>
#include <unordered_map>

namespace ini {

// What tells a file's versions apart without reading it.
struct FileStamp {
    bool exists = false;
    bool regular = false;   // a device, a pipe or a folder is no profile
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;   // no program can set it back, as cp -p and touch -d set the other
    quint64 device = 0;
    quint64 inode = 0;
    // Taken within one clock tick of the file's last change: a change in the same tick may leave
    // every field as it was, so the stamp alone proves nothing and the bytes are compared.
    bool racy = false;
    bool operator==(const FileStamp &other) const
    {
        return exists == other.exists && regular == other.regular && size == other.size
               && modifiedNs == other.modifiedNs && changedNs == other.changedNs && device == other.device
               && inode == other.inode;
    }
    bool operator!=(const FileStamp &other) const { return !(*this == other); }

    // Any thread may take one.
    static FileStamp of(const QString &path);
};

// A file's document as read just after its stamp was taken: empty for a missing file, null for
// one that could not be read or is no regular file (reading a device or a pipe might never end).
// Touches nothing shared: any thread may read.
std::shared_ptr<ProfileDocument> readDocument(const QString &path, const FileStamp &stamp);

// The clean absolute path by which the engine knows a file.
QString cleanProfilePath(const QString &file);

// The engine belongs to the thread that first uses it, the program's main thread: its cache is
// nobody else's. Debug and checked builds stop at once when another thread calls it; threads
// that read ahead take ProfileSnapshots, which the engine then adopts on its own thread.
class ProfileEngine {
public:
    static ProfileEngine &instance();

    ProfileEngine(const ProfileEngine &) = delete;
    ProfileEngine &operator=(const ProfileEngine &) = delete;

    QString read(const QString &file, QStringView section, QStringView key, int bufferSize);
    bool hasSection(const QString &file, QStringView section);
    std::optional<int> lineOf(const QString &file, QStringView section, QStringView key);
    struct Edit {
        enum Kind { Write, DeleteKey, DeleteSection, ClearSection } kind;
        QStringView section, key = {}, value = {};
    };
    // Runs one edit of the file's document. Outside a batch a changed file is written at once;
    // an edit that changes nothing leaves the file untouched (and a missing file missing). A
    // change to a file whose text cannot give its bytes back fails and writes nothing, and so
    // does any edit of a file that could not be read; the open batch counts such a file among
    // those it could not write.
    bool edit(const QString &file, const Edit &edit);
    std::optional<QByteArray> bytes(const QString &file);
    bool adopt(const QString &path, const FileStamp &stamp, std::shared_ptr<ProfileDocument> document);
    void clearCache();
    bool isConsistent(const QString &file);

    // The outermost open batch takes the changes; a batch opened inside it is part of it. True
    // when the batch given is the outermost.
    bool open(ProfileBatch *batch);
    ProfileBatch *openBatch() const { return m_batch; }
    // Ends the open batch: writes its changed files through writer, unless one of its edits was
    // refused (then none), and returns the files not written.
    QStringList commit(const QList<FileFailure> &refused, const ProfileBatch::Writer &writer);

private:
    struct CachedFile {
        QString path;   // clean and absolute
        FileStamp stamp;
        // A missing file is an empty document; null when the file exists but could not be read,
        // or is no regular file, so that nothing ever overwrites a file the engine has not seen.
        std::shared_ptr<ProfileDocument> document;
        bool pending = false; // changed inside the open batch and not yet written
        bool checked = false; // compared with the disk inside the open batch
        // The document's bytes, once made, until it changes. A file is compared with them on
        // every call while its stamp is too young to prove anything, and a build takes the text
        // file's bytes to copy them before it writes them.
        std::optional<QByteArray> bytes;

        const QByteArray &documentBytes();
    };

    ProfileEngine();
    ~ProfileEngine();
    void checkThread() const;
    // The file a name names, as cached: read again when it changed on disk. Pending writes win
    // over the disk until their batch commits.
    CachedFile &current(const QString &file);
    CachedFile &fileNamed(const QString &file);
    CachedFile &fileAt(const QString &path);
    // Makes the disk what the next call sees.
    static void forget(CachedFile &entry);
    QStringList save(const QList<CachedFile *> &files, const ProfileBatch::Writer &writer);

    std::thread::id m_owner;
    // By clean absolute path. An entry stays where it is until the cache is cleared: the names
    // below point at it.
    std::unordered_map<QString, CachedFile> m_files;
    // Thousands of calls in a row name the same file, mostly by the very same string: the last
    // name is known by its address, every other absolute name by its hash, and each is made
    // clean once.
    QString m_lastName;
    CachedFile *m_lastFile = nullptr;
    QHash<QString, CachedFile *> m_names;
    ProfileBatch *m_batch = nullptr;  // the outermost open batch
};

} // namespace ini
