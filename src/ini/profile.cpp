#include "profile.h"

#include "profileengine.h"

namespace ini {

QString readProfileString(const QString &file, const QString &section, const QString &key, int bufferSize)
{
    return ProfileEngine::instance().read(file, section, key, bufferSize);
}

bool writeProfileString(const QString &file, const QString &section, const QString &key, const QString &value)
{
    return ProfileEngine::instance().edit(file, {ProfileEngine::Edit::Write, section, key, value});
}

bool deleteProfileKey(const QString &file, const QString &section, const QString &key)
{
    return ProfileEngine::instance().edit(file, {ProfileEngine::Edit::DeleteKey, section, key});
}

bool deleteProfileSection(const QString &file, const QString &section)
{
    return ProfileEngine::instance().edit(file, {ProfileEngine::Edit::DeleteSection, section});
}

bool clearProfileSection(const QString &file, const QString &section)
{
    return ProfileEngine::instance().edit(file, {ProfileEngine::Edit::ClearSection, section});
}

bool hasProfileSection(const QString &file, const QString &section)
{
    return ProfileEngine::instance().hasSection(file, section);
}

std::optional<int> profileKeyLine(const QString &file, const QString &section, const QString &key)
{
    return ProfileEngine::instance().lineOf(file, section, key);
}

ProfileBatch::ProfileBatch() : m_outermost(ProfileEngine::instance().open(this)) {}

ProfileBatch::~ProfileBatch()
{
    if (!m_committed)
        commit();
}

QList<FileFailure> ProfileBatch::refusedEdits() const
{
    const ProfileBatch *open = m_outermost ? this : ProfileEngine::instance().openBatch();
    return open ? open->m_refused : QList<FileFailure>();
}

void ProfileBatch::refuse(const FileFailure &file)
{
    if (std::none_of(m_refused.begin(), m_refused.end(), [&](const FileFailure &f) { return f.path == file.path; }))
        m_refused.append(file);
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
    if (m_outermost)
        m_failed = ProfileEngine::instance().commit(std::exchange(m_refused, {}), writer);
    return m_failed.isEmpty();
}

QStringList ProfileBatch::failedFiles() const
{
    return m_failed;
}

std::optional<QByteArray> profileBytes(const QString &file)
{
    return ProfileEngine::instance().bytes(file);
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
    m_parsed->path = cleanProfilePath(file);
    m_parsed->stamp = FileStamp::of(m_parsed->path);
    m_parsed->document = readDocument(m_parsed->path, m_parsed->stamp);
}

ProfileSnapshot::ProfileSnapshot(ProfileSnapshot &&other) noexcept = default;
ProfileSnapshot &ProfileSnapshot::operator=(ProfileSnapshot &&other) noexcept = default;
ProfileSnapshot::~ProfileSnapshot() = default;

ProfileRead ProfileSnapshot::reader() const
{
    // Reading remembers the section found last: a reader and its copies read on one thread at a time.
    std::shared_ptr<ProfileDocument> document = m_parsed ? m_parsed->document : nullptr;
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
    return ProfileEngine::instance().adopt(parsed->path, parsed->stamp, std::move(parsed->document));
}

void clearProfileCache()
{
    ProfileEngine::instance().clearCache();
}

bool profileCacheIsConsistent(const QString &file)
{
    return ProfileEngine::instance().isConsistent(file);
}

} // namespace ini
