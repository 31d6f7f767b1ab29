#include "profile.h"

#include "profiledocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <memory>
#include <unordered_map>

#include <sys/stat.h>
#include <time.h>

namespace ini {

namespace {

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
};

// Longer than any file system's clock tick here (FAT's two seconds included).
constexpr qint64 ClockTickNs = 2'000'000'000;

FileStamp stampOf(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    struct timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const auto ns = [](const struct timespec &time) { return qint64(time.tv_sec) * 1000000000 + time.tv_nsec; };
    const qint64 lastChange = std::max(ns(info.st_mtim), ns(info.st_ctim));
    return {true, S_ISREG(info.st_mode), qint64(info.st_size), ns(info.st_mtim), ns(info.st_ctim),
            quint64(info.st_dev), quint64(info.st_ino), ns(now) - lastChange < ClockTickNs};
}

// Whether the file holds exactly these bytes.
bool fileHolds(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() == bytes.size() && file.readAll() == bytes;
}

struct CachedFile {
    FileStamp stamp;
    // A missing file is an empty document; null when the file exists but could not be read, or
    // is no regular file, so that nothing ever overwrites a file the engine has not seen.
    // Shared only with the readers of a snapshot, until it is taken over: then the engine's own.
    std::shared_ptr<ProfileDocument> document;
    bool pending = false; // changed inside a batch and not yet written
    int checkedInBatch = 0; // the batch in which the file was last compared with the disk
    // The document's bytes, once made, until it changes: a build copies the text file it is
    // about to write.
    std::optional<QByteArray> bytes;

    const QByteArray &documentBytes()
    {
        if (!bytes)
            bytes = document->toBytes();
        return *bytes;
    }
};

// A file's document as read just after its stamp was taken: empty for a missing file, null for
// one that could not be read or is no regular file (reading a device or a pipe might never end).
// Touches nothing shared: any thread may read.
std::shared_ptr<ProfileDocument> readDocument(const QString &path, const FileStamp &stamp)
{
    if (!stamp.exists)
        return std::make_shared<ProfileDocument>();
    QFile file(path);
    if (!stamp.regular || !file.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return nullptr;
    return std::make_shared<ProfileDocument>(bytes);
}

// The engine serves one thread; snapshots read on others, and are handed over.
struct Engine {
    std::unordered_map<QString, CachedFile> files; // by clean absolute path
    int batchDepth = 0;
    int batch = 0;   // counts the outermost batches; 0 outside any
    QHash<QString, QString> keys; // the clean absolute path of each path asked for
    // Thousands of calls in a row name the same file, mostly by the very same string: the last
    // one is remembered with its path and entry, which spares hashing long names each time.
    QString lastName, lastPath;       // the name last asked for, and its clean path
    QString lastEntryPath;            // the path last looked up in the cache, and its entry
    CachedFile *lastEntry = nullptr;
    QList<FileFailure> refusedEdits; // files whose edits the open batch could not take: it reports them
};

Engine &engine()
{
    static Engine instance;
    return instance;
}

// The same string, shared rather than merely equal: one pointer comparison.
bool sameString(const QString &a, const QString &b)
{
    return !a.isNull() && a.constData() == b.constData() && a.size() == b.size();
}

QString cacheKey(const QString &file)
{
    Engine &e = engine();
    if (sameString(file, e.lastName))
        return e.lastPath;
    // Thousands of reads name the same few files: each absolute name is made clean once. (A
    // relative one depends on the working folder of the moment.)
    if (QDir::isRelativePath(file))
        return QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    auto found = e.keys.constFind(file);
    if (found == e.keys.constEnd())
        found = e.keys.insert(file, QDir::cleanPath(QFileInfo(file).absoluteFilePath()));
    e.lastName = file;
    e.lastPath = *found;
    return e.lastPath;
}

// Drops a file from the cache, so that the disk is what the next call sees.
void forgetFile(const QString &path)
{
    Engine &e = engine();
    e.lastEntry = nullptr;
    e.files.erase(path);
}

// The cached file, read again when it changed on disk. Pending writes win over the disk until
// their batch commits.
CachedFile &cachedFile(const QString &path)
{
    Engine &e = engine();
    if (!e.lastEntry || !sameString(path, e.lastEntryPath)) {
        e.lastEntry = &e.files[path];   // the map's entries stay where they are until erased
        e.lastEntryPath = path;
    }
    CachedFile &entry = *e.lastEntry;
    if (entry.pending)
        return entry;
    // A batch is one operation of the tool: it compares each file with the disk once.
    const int batch = engine().batchDepth > 0 ? engine().batch : 0;
    if (entry.document && batch != 0 && entry.checkedInBatch == batch)
        return entry;
    entry.checkedInBatch = batch;
    const FileStamp stamp = stampOf(path);
    if (entry.document && stamp == entry.stamp
        && (!entry.stamp.racy || (stamp.exists && fileHolds(path, entry.documentBytes())))) {
        entry.stamp = stamp;   // trusted from now on once it is a tick old
        return entry;
    }
    entry.stamp = stamp;
    entry.document.reset();
    entry.bytes.reset();
    entry.document = readDocument(path, stamp);
    return entry;
}

// Has the files written by writer (a file that is not writable is refused). A file written is
// what the cache holds; one that failed is dropped from it, so the disk is what the next call
// sees. Returns the files that failed.
QStringList save(const QStringList &paths, const ProfileBatch::Writer &writer = writeFilesAtomically)
{
    QList<FileBytes> files;
    for (const QString &path : paths)
        files.append({path, engine().files[path].documentBytes()});
    const QStringList failed = writer(files);
    for (const QString &path : paths) {
        if (failed.contains(path)) {
            forgetFile(path);
        } else {
            CachedFile &entry = engine().files[path];
            entry.pending = false;
            entry.stamp = stampOf(path);
        }
    }
    return failed;
}

// Runs one edit. Outside a batch a changed file is written at once; an edit that changes
// nothing leaves the file untouched (and a missing file missing). A change to a file whose text
// cannot give its bytes back fails and writes nothing, and so does any edit of a file that
// could not be read; inside a batch, the batch counts the file among those it could not write.
template <typename Edit>
bool editProfile(const QString &file, Edit edit)
{
    const QString path = cacheKey(file);
    const auto refuse = [&](const QString &reason) {
        QList<FileFailure> &refused = engine().refusedEdits;
        if (engine().batchDepth > 0
            && std::none_of(refused.begin(), refused.end(), [&](const FileFailure &f) { return f.path == path; }))
            refused.append({path, reason});
        return false;
    };
    CachedFile &entry = cachedFile(path);
    if (!entry.document)
        return refuse(QStringLiteral("not a readable file"));
    const bool writable = entry.document->writable();
    if (!edit(*entry.document))
        return true;
    entry.bytes.reset();
    if (!writable) {
        // Writing would change bytes nobody edited; the edit is forgotten with the copy.
        forgetFile(path);
        return refuse(QStringLiteral("holds bytes its encoding cannot hold"));
    }
    if (engine().batchDepth > 0) {
        entry.pending = true;
        return true;
    }
    return save({path}).isEmpty();
}

} // namespace

QString readProfileString(const QString &file, const QString &section, const QString &key, int bufferSize)
{
    const CachedFile &entry = cachedFile(cacheKey(file));
    return entry.document ? entry.document->read(section, key, bufferSize) : QString();
}

bool writeProfileString(const QString &file, const QString &section, const QString &key, const QString &value)
{
    return editProfile(file, [&](ProfileDocument &document) { return document.write(section, key, value); });
}

bool deleteProfileKey(const QString &file, const QString &section, const QString &key)
{
    return editProfile(file, [&](ProfileDocument &document) { return document.deleteKey(section, key); });
}

bool deleteProfileSection(const QString &file, const QString &section)
{
    return editProfile(file, [&](ProfileDocument &document) { return document.deleteSection(section); });
}

bool clearProfileSection(const QString &file, const QString &section)
{
    return editProfile(file, [&](ProfileDocument &document) { return document.clearSection(section); });
}

bool hasProfileSection(const QString &file, const QString &section)
{
    const CachedFile &entry = cachedFile(cacheKey(file));
    return entry.document && entry.document->hasSection(section);
}

ProfileBatch::ProfileBatch()
{
    if (engine().batchDepth++ == 0)
        ++engine().batch;
}

ProfileBatch::~ProfileBatch()
{
    if (!m_committed)
        commit();
}

QList<FileFailure> ProfileBatch::refusedEdits() const
{
    return engine().refusedEdits;
}

bool ProfileBatch::commit()
{
    return commit(writeFilesAtomically);
}

bool ProfileBatch::commit(const Writer &writer)
{
    if (m_committed)
        return m_failed.isEmpty();
    m_committed = true;
    if (--engine().batchDepth > 0)
        return true;   // the outermost batch writes the changes and reports them

    QStringList pending;
    for (const auto &[path, entry] : engine().files) {
        if (entry.pending)
            pending.append(path);
    }
    const QList<FileFailure> refused = std::exchange(engine().refusedEdits, {});
    if (refused.isEmpty()) {
        m_failed = save(pending, writer);
    } else {
        // The files are one whole: none is written when an edit of one could not be made.
        for (const QString &path : std::as_const(pending))
            forgetFile(path);   // the disk, unchanged, is what the next call sees
        m_failed = pending;
    }
    for (const FileFailure &file : refused)
        if (!m_failed.contains(file.path))
            m_failed.append(file.path);
    return m_failed.isEmpty();
}

QStringList ProfileBatch::failedFiles() const
{
    return m_failed;
}

std::optional<QByteArray> profileBytes(const QString &file)
{
    CachedFile &entry = cachedFile(cacheKey(file));
    if (!entry.document || !entry.document->writable())
        return std::nullopt;
    return entry.documentBytes();
}

ProfileRead profileReader(const QString &file)
{
    return [file](const QString &section, const QString &key, int bufferSize) {
        return readProfileString(file, section, key, bufferSize);
    };
}

struct ProfileSnapshot::Parsed {
    QString path;   // clean and absolute, as the engine names its files
    FileStamp stamp;
    std::shared_ptr<ProfileDocument> document;
};

// Touches nothing of the engine's: any thread may take a snapshot.
ProfileSnapshot::ProfileSnapshot(const QString &file) : m_parsed(std::make_unique<Parsed>())
{
    m_parsed->path = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    m_parsed->stamp = stampOf(m_parsed->path);
    m_parsed->document = readDocument(m_parsed->path, m_parsed->stamp);
}

ProfileSnapshot::ProfileSnapshot(ProfileSnapshot &&other) noexcept = default;
ProfileSnapshot &ProfileSnapshot::operator=(ProfileSnapshot &&other) noexcept = default;
ProfileSnapshot::~ProfileSnapshot() = default;

ProfileRead ProfileSnapshot::reader() const
{
    std::shared_ptr<const ProfileDocument> document = m_parsed ? m_parsed->document : nullptr;
    return [document = std::move(document)](const QString &section, const QString &key, int bufferSize) {
        return document ? document->read(section, key, bufferSize) : QString();
    };
}

bool adoptProfileSnapshot(ProfileSnapshot &&snapshot)
{
    const std::unique_ptr<ProfileSnapshot::Parsed> parsed = std::move(snapshot.m_parsed);
    // A file that could not be read is read again when asked for: it may be readable by then.
    // A document a reader still holds is never edited under it.
    if (!parsed || !parsed->document || parsed->document.use_count() != 1)
        return false;
    Engine &e = engine();
    CachedFile &entry = e.files[parsed->path];
    if (entry.pending)
        return false;
    // What was read from the snapshot is what the file holds now, or it is read again.
    const FileStamp stamp = stampOf(parsed->path);
    if (!(stamp == parsed->stamp) || (parsed->stamp.racy && !fileHolds(parsed->path, parsed->document->toBytes())))
        return false;
    entry.stamp = stamp;
    entry.document = parsed->document;
    entry.bytes.reset();
    entry.checkedInBatch = e.batchDepth > 0 ? e.batch : 0;
    return true;
}

void clearProfileCache()
{
    engine().keys.clear();
    engine().lastName = engine().lastPath = engine().lastEntryPath = QString();
    engine().lastEntry = nullptr;
    auto &files = engine().files;
    for (auto entry = files.begin(); entry != files.end();)
        entry = entry->second.pending ? std::next(entry) : files.erase(entry);
}

bool profileCacheIsConsistent(const QString &file)
{
    const QString path = cacheKey(file);
    const auto found = engine().files.find(path);
    if (found == engine().files.end() || !found->second.document)
        return true;
    const CachedFile &entry = found->second;
    QByteArray bytes;
    if (entry.pending) {
        bytes = entry.document->toBytes();
    } else if (!(stampOf(path) == entry.stamp)) {
        return true;
    } else if (entry.stamp.exists) {
        QFile disk(path);
        if (!disk.open(QIODevice::ReadOnly))
            return false;
        bytes = disk.readAll();
    }
    return *entry.document == ProfileDocument(bytes);
}

} // namespace ini
