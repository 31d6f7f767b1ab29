#include "profileengine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <time.h>

namespace ini {

namespace {

// Longer than any file system's clock tick here (FAT's two seconds included).
constexpr qint64 ClockTickNs = 2'000'000'000;

// Whether the file holds exactly these bytes.
bool fileHolds(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.size() == bytes.size() && file.readAll() == bytes;
}

// The same string, shared rather than merely equal: one pointer comparison.
bool sameString(const QString &a, const QString &b)
{
    return !a.isNull() && a.constData() == b.constData() && a.size() == b.size();
}

} // namespace

FileStamp FileStamp::of(const QString &path)
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

QString cleanProfilePath(const QString &file)
{
    return QDir::cleanPath(QFileInfo(file).absoluteFilePath());
}

const QByteArray &ProfileEngine::CachedFile::documentBytes()
{
    if (!bytes)
        bytes = document->toBytes();
    return *bytes;
}

ProfileEngine::ProfileEngine() : m_owner(std::this_thread::get_id()) {}
ProfileEngine::~ProfileEngine() = default;

ProfileEngine &ProfileEngine::instance()
{
    // Made by the first call, on the thread that owns it from then on. Every call goes through
    // here, so this is where the thread is checked.
    static ProfileEngine engine;
    engine.checkThread();
    return engine;
}

void ProfileEngine::checkThread() const
{
#if !defined(QT_NO_DEBUG) || defined(KAVO_CHECKED_BUILD)
    if (std::this_thread::get_id() != m_owner)
        qFatal("ini::ProfileEngine: called from a thread other than its own; read a ProfileSnapshot there");
#endif
}

ProfileEngine::CachedFile &ProfileEngine::fileAt(const QString &path)
{
    const auto [entry, made] = m_files.try_emplace(path);
    if (made)
        entry->second.path = path;
    return entry->second;
}

ProfileEngine::CachedFile &ProfileEngine::fileNamed(const QString &file)
{
    if (sameString(file, m_lastName))
        return *m_lastFile;
    // A relative name depends on the working folder of the moment.
    if (QDir::isRelativePath(file))
        return fileAt(cleanProfilePath(file));
    CachedFile *&named = m_names[file];
    if (!named)
        named = &fileAt(cleanProfilePath(file));
    m_lastName = file;
    m_lastFile = named;
    return *named;
}

ProfileEngine::CachedFile &ProfileEngine::current(const QString &file)
{
    CachedFile &entry = fileNamed(file);
    if (entry.pending)
        return entry;
    // A batch is one operation of the tool: it compares each file with the disk once.
    if (entry.document && m_batch && entry.checked)
        return entry;
    entry.checked = m_batch != nullptr;
    const FileStamp stamp = FileStamp::of(entry.path);
    if (entry.document && stamp == entry.stamp
        && (!entry.stamp.racy || (stamp.exists && fileHolds(entry.path, entry.documentBytes())))) {
        entry.stamp = stamp;   // trusted from now on once it is a tick old
        return entry;
    }
    entry.stamp = stamp;
    entry.document = readDocument(entry.path, stamp);
    entry.bytes.reset();
    return entry;
}

void ProfileEngine::forget(CachedFile &entry)
{
    QString path = std::move(entry.path);
    entry = CachedFile();
    entry.path = std::move(path);
}

QStringList ProfileEngine::save(const QList<CachedFile *> &entries, const ProfileBatch::Writer &writer)
{
    QList<FileBytes> files;
    for (CachedFile *entry : entries)
        files.append({entry->path, entry->documentBytes()});
    const QStringList failed = writer(files);
    for (CachedFile *entry : entries) {
        if (failed.contains(entry->path)) {
            forget(*entry);
        } else {
            entry->pending = false;
            entry->stamp = FileStamp::of(entry->path);
        }
    }
    return failed;
}

QString ProfileEngine::read(const QString &file, QStringView section, QStringView key, int bufferSize)
{
    const CachedFile &entry = current(file);
    return entry.document ? entry.document->read(section, key, bufferSize) : QString();
}

bool ProfileEngine::hasSection(const QString &file, QStringView section)
{
    const CachedFile &entry = current(file);
    return entry.document && entry.document->hasSection(section);
}

std::optional<int> ProfileEngine::lineOf(const QString &file, QStringView section, QStringView key)
{
    const CachedFile &entry = current(file);
    return entry.document ? entry.document->lineOf(section, key) : std::nullopt;
}

bool ProfileEngine::edit(const QString &file, const Edit &edit)
{
    CachedFile &entry = current(file);
    const auto refuse = [&](const QString &reason) {
        if (m_batch)
            m_batch->refuse({entry.path, reason});
        return false;
    };
    if (!entry.document)
        return refuse(QStringLiteral("not a readable file"));
    ProfileDocument &document = *entry.document;
    const bool writable = document.writable();
    bool changed = false;
    switch (edit.kind) {
    case Edit::Write: changed = document.write(edit.section, edit.key, edit.value); break;
    case Edit::DeleteKey: changed = document.deleteKey(edit.section, edit.key); break;
    case Edit::DeleteSection: changed = document.deleteSection(edit.section); break;
    case Edit::ClearSection: changed = document.clearSection(edit.section); break;
    }
    if (!changed)
        return true;
    entry.bytes.reset();
    if (!writable) {
        // Writing would change bytes nobody edited; the edit is forgotten with the copy.
        forget(entry);
        return refuse(QStringLiteral("holds bytes its encoding cannot hold"));
    }
    if (m_batch) {
        entry.pending = true;
        return true;
    }
    return save({&entry}, writeFilesAtomically).isEmpty();
}

std::optional<QByteArray> ProfileEngine::bytes(const QString &file)
{
    CachedFile &entry = current(file);
    if (!entry.document || !entry.document->writable())
        return std::nullopt;
    return entry.documentBytes();
}

bool ProfileEngine::adopt(const QString &path, const FileStamp &stamp, std::shared_ptr<ProfileDocument> document)
{
    CachedFile &entry = fileAt(path);
    if (entry.pending)
        return false;
    // What was read from the snapshot is what the file holds now, or it is read again.
    const FileStamp now = FileStamp::of(path);
    if (now != stamp || (stamp.racy && !fileHolds(path, document->toBytes())))
        return false;
    entry.stamp = now;
    entry.document = std::move(document);
    entry.bytes.reset();
    entry.checked = m_batch != nullptr;
    return true;
}

void ProfileEngine::clearCache()
{
    m_names.clear();
    m_lastName.clear();
    m_lastFile = nullptr;
    for (auto entry = m_files.begin(); entry != m_files.end();)
        entry = entry->second.pending ? std::next(entry) : m_files.erase(entry);
}

bool ProfileEngine::isConsistent(const QString &file)
{
    const CachedFile &entry = fileNamed(file);
    if (!entry.document)
        return true;
    QByteArray bytes;
    if (entry.pending) {
        bytes = entry.document->toBytes();
    } else if (FileStamp::of(entry.path) != entry.stamp) {
        return true;
    } else if (entry.stamp.exists) {
        QFile disk(entry.path);
        if (!disk.open(QIODevice::ReadOnly))
            return false;
        bytes = disk.readAll();
    }
    return *entry.document == ProfileDocument(bytes);
}

bool ProfileEngine::open(ProfileBatch *batch)
{
    if (m_batch)
        return false;
    m_batch = batch;
    return true;
}

QStringList ProfileEngine::commit(const QList<FileFailure> &refused, const ProfileBatch::Writer &writer)
{
    m_batch = nullptr;
    QList<CachedFile *> pending;
    for (auto &[path, entry] : m_files) {
        entry.checked = false;
        if (entry.pending)
            pending.append(&entry);
    }
    QStringList failed;
    if (refused.isEmpty()) {
        failed = save(pending, writer);
    } else {
        // The files are one whole: none is written when an edit of one could not be made.
        for (CachedFile *entry : std::as_const(pending)) {
            failed.append(entry->path);
            forget(*entry);   // the disk, unchanged, is what the next call sees
        }
    }
    for (const FileFailure &file : refused)
        if (!failed.contains(file.path))
            failed.append(file.path);
    return failed;
}

} // namespace ini
