#pragma once
// The profile engine: the tool reads and writes its INI files one key at a time, with the
// behaviour of the Windows private-profile functions (matching without regard to case,
// trimming, one pair of quotes removed, buffer truncation, where new keys and sections land,
// line endings), keeping every untouched byte and the file's encoding. Files are replaced
// atomically, so a crash never leaves half a file.
//
// Parsed files are cached and re-read only when they change on disk, so reading numbered
// lines one by one stays linear. A file counts as unchanged while its stamp (size, modification
// and change time, device, inode) is; a stamp taken within one clock tick of the file's last
// change proves nothing (a second change in the same tick leaves it as it was), so such a file is
// compared by its bytes until its stamp is older. Inside a ProfileBatch, writes collect in memory and each
// changed file is written once when the batch commits: a build that writes hundreds of keys
// rewrites each file once instead of once per key.
//
// These functions belong to the thread that first calls one of them, the program's main thread
// (debug and checked builds stop when another thread calls them). Other threads read files
// through a ProfileSnapshot.
#include "confinedfolder.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace ini {

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
// The 1-based number of the line of the file that readProfileString takes the key's value from
// (inside a batch, as its edits leave the file); nothing when the file, section or key is missing.
std::optional<int> profileKeyLine(const QString &file, const QString &section, const QString &key);

// A batch is one operation of the tool: inside it each file is compared with the disk once, so
// reading thousands of keys costs no stat call each.
// While a batch is open, writes go to memory and reads see them. A batch opened while another is
// open is part of that one: its commit writes nothing and succeeds. The outermost batch's commit
// writes every changed file once, atomically: by path, or through a writer the caller gives,
// which writes them in one transaction with files of its own. A batch destroyed without commit()
// commits. Batches end in the order opposite to the one they were opened in.
class ProfileBatch {
public:
    ProfileBatch();
    ~ProfileBatch();
    ProfileBatch(const ProfileBatch &) = delete;
    ProfileBatch &operator=(const ProfileBatch &) = delete;

    // The files whose edits the batch (the outermost one open) could not take: unreadable, or
    // holding bytes their encoding cannot give back (such a file is read, never written).
    QList<FileFailure> refusedEdits() const;

    // Writes each changed file by path. True when every changed file was written and no edit was
    // refused; failedFiles() names the others.
    bool commit();
    // Writes the changed files (absolute paths, with the bytes they will have) and returns those
    // it did not write.
    using Writer = std::function<QStringList(const QList<FileBytes> &changed)>;
    // The same through writer. When an edit was refused, writer is not called: nothing is
    // written, and every change is dropped.
    bool commit(const Writer &writer);
    QStringList failedFiles() const;

private:
    friend class ProfileEngine;
    void refuse(const FileFailure &file);

    bool m_outermost;
    bool m_committed = false;
    QList<FileFailure> m_refused;
    QStringList m_failed;
};

// The bytes file will have once the open batch commits, its pending edits included (outside a
// batch: its bytes now); nothing when the engine could not read it, or could not give back the
// bytes it read (invalid UTF-8 after a UTF-8 mark).
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

    // Reading from the snapshot. The reader keeps what it reads alive, so it may outlive the
    // snapshot; while one is kept, the engine does not take the snapshot over. Readers of one
    // snapshot read on one thread at a time: reading remembers the section found last.
    ProfileRead reader() const;

private:
    friend bool adoptProfileSnapshot(ProfileSnapshot &&snapshot);
    struct Parsed;
    std::unique_ptr<Parsed> m_parsed;
};

// Hands a snapshot's file to the engine, on the engine's thread. True when the engine now answers
// for the file what the snapshot answered: the file is still as it was read, no change an open
// batch holds for it stands in the way, and no reader of the snapshot is left. Otherwise the
// engine reads the file itself when it is next asked, and what was read from the snapshot may be
// out of date.
bool adoptProfileSnapshot(ProfileSnapshot &&snapshot);

// Forgets every cached file (tests that change files behind the engine's back use it). Changes
// pending in an open batch are kept.
void clearProfileCache();

// For tests: true when the engine's copy of file is exactly what reading its bytes again would
// give. The bytes are the file's, or, while an open batch holds changes to it, the ones the batch
// will write. A file not cached, or changed on disk since, counts as consistent: it is read again.
bool profileCacheIsConsistent(const QString &file);

} // namespace ini
