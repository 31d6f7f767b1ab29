#pragma once
// The profile engine: the tool reads and writes its INI files one key at a time, with the
// behaviour of the Windows private-profile functions (matching without regard to case,
// trimming, one pair of quotes removed, buffer truncation, where new keys and sections land,
// line endings), keeping every untouched byte and the file's encoding. Files are replaced
// atomically, so a crash never leaves half a file.
//
// Parsed files are cached and re-read only when they change on disk, so reading numbered
// lines one by one stays linear. Inside a ProfileBatch, writes collect in memory and each
// changed file is written once when the batch commits: a build that writes hundreds of keys
// rewrites each file once instead of once per key.
#include "files.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <future>
#include <memory>
#include <optional>

namespace platform {

// GetPrivateProfileStringW with an empty default: the value, unquoted, cut to bufferSize - 1
// UTF-16 code units; empty when the file, section or key is missing.
QString readProfileString(const QString &file, const QString &section, const QString &key, int bufferSize = 2048);

// WritePrivateProfileStringW with a value. False when the file could not be written.
bool writeProfileString(const QString &file, const QString &section, const QString &key, const QString &value);
// WritePrivateProfileStringW with a NULL value: deletes the first matching key.
bool deleteProfileKey(const QString &file, const QString &section, const QString &key);
// WritePrivateProfileStringW with a NULL key: deletes the first matching section.
bool deleteProfileSection(const QString &file, const QString &section);
// WritePrivateProfileSectionW with empty content: keeps the header, removes the lines under it.
bool clearProfileSection(const QString &file, const QString &section);
// Whether the file holds a section of that name (with keys or without).
bool hasProfileSection(const QString &file, const QString &section);

// A batch is one operation of the tool: inside it each file is compared with the disk once, so
// reading thousands of keys costs no stat call each.
// While a batch is open (batches nest; the outermost one counts), writes go to memory and reads
// see them. commit() writes every changed file once, atomically, and reports the files it could
// not write: those whose edits failed in the batch (unreadable, or not writable as they are)
// too. A batch destroyed without commit() commits.
class ProfileBatch {
public:
    ProfileBatch();
    ~ProfileBatch();
    ProfileBatch(const ProfileBatch &) = delete;
    ProfileBatch &operator=(const ProfileBatch &) = delete;

    // Files this batch must not write (they would land outside the folder the caller writes):
    // their changes are dropped at commit, and they count as failed.
    void refuse(const QStringList &files);
    // True when every changed file was written; failedFiles() names the others. Files given
    // alongside (none the batch changed) are written in the same round, side by side with the
    // changed ones, and count the same way: a build syncs its twenty files together instead of
    // in turns. A nested batch, which writes nothing itself, writes them at once.
    bool commit(const QList<FileBytes> &alongside = {});
    QStringList failedFiles() const;

    // Starts writing a changed file that is final, and other files with it, in the background,
    // while the caller goes on making the rest: commit() waits for them and counts them as it
    // counts its own. A file edited again afterwards is written again at commit. A nested batch
    // leaves them all to the commit.
    void writeAhead(const QString &file, const QList<FileBytes> &alongside);

private:
    bool m_committed = false;
    QStringList m_refused;
    QStringList m_failed;
    QList<FileBytes> m_later;   // files a nested batch was given ahead, for its commit
    QString m_aheadFile;        // the changed file written ahead, if any
    std::future<QStringList> m_ahead;   // the files of it that failed
};

// The bytes file will have once the open batch commits, its pending edits included (outside a
// batch: its bytes now); nothing when the engine could not read it.
std::optional<QByteArray> profileBytes(const QString &file);

// Reads one key of one file as readProfileString does: through the engine, or from a snapshot.
using ProfileRead = std::function<QString(const QString &section, const QString &key, int bufferSize)>;
// Reading through the engine.
ProfileRead profileReader(const QString &file);

// A file as it was read at one moment, on any thread, and read from there: its keys read as
// readProfileString read them at that moment. A package's large files are read side by side on
// threads of their own this way, and the engine then takes each one over instead of reading it
// again (adoptProfileSnapshot).
class ProfileSnapshot {
public:
    explicit ProfileSnapshot(const QString &file);
    ProfileSnapshot(ProfileSnapshot &&other) noexcept;
    ProfileSnapshot &operator=(ProfileSnapshot &&other) noexcept;
    ~ProfileSnapshot();

    // Reading from the snapshot, moved or not, until it is handed to the engine or destroyed.
    ProfileRead reader() const;

private:
    friend bool adoptProfileSnapshot(ProfileSnapshot &&snapshot);
    struct Parsed;
    std::unique_ptr<Parsed> m_parsed;
};

// Hands a snapshot's file to the engine, on the engine's thread. True when the engine now answers
// for the file what the snapshot answered: the file is still as it was read, and no change an
// open batch holds for it stands in the way. Otherwise the engine reads the file itself when it
// is next asked, and what was read from the snapshot is out of date.
bool adoptProfileSnapshot(ProfileSnapshot &&snapshot);

// Forgets every cached file (tests that change files behind the engine's back use it). Changes
// pending in an open batch are kept.
void clearProfileCache();

// For tests: true when the engine's copy of file is exactly what reading its bytes again would
// give. The bytes are the file's, or, while an open batch holds changes to it, the ones the batch
// will write. A file not cached, or changed on disk since, counts as consistent: it is read again.
bool profileCacheIsConsistent(const QString &file);

} // namespace platform
