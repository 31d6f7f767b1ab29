#pragma once
// One INI file in memory, edited the way the Windows private-profile functions edit it: only the
// lines that must change are touched, every other line keeps its text and its line ending.
//
// The file is kept as a list of sections, each a list of lines, so adding a key touches only the
// end of its section. Sections and keys are indexed by the hash of their case-folded names, so
// finding one costs a hash look-up, however large the file, and indexing one allocates nothing.
// After every edit the document is exactly what reading its own bytes back would give, including
// the choice between UTF-8 and Windows-1252 for a file without BOM, which an edit can change.
#include "profileencoding.h"

#include <QHash>
#include <QString>
#include <QVarLengthArray>

#include <list>
#include <optional>

namespace platform {

class ProfileDocument {
public:
    // A new or empty file: no lines, Windows-1252 without BOM.
    ProfileDocument() = default;
    explicit ProfileDocument(const QByteArray &bytes) { load(bytes); }
    ProfileDocument(const ProfileDocument &) = delete; // the indexes point into the lists
    ProfileDocument &operator=(const ProfileDocument &) = delete;

    QByteArray toBytes() const;
    ProfileEncoding encoding() const { return m_encoding; }
    // False when the text cannot give the file's bytes back (invalid UTF-8 after a UTF-8 BOM):
    // such a file is read, never written.
    bool writable() const { return m_exact; }

    // Same lines, line endings, encoding and indexes. The engine's consistency check compares
    // its copy of a file with a fresh reading of the bytes through it.
    bool operator==(const ProfileDocument &other) const;

    // The value of a key, with one pair of enclosing quotes removed, cut to bufferSize - 1
    // UTF-16 code units; empty when the section or key is missing.
    QString read(QStringView section, QStringView key, int bufferSize) const;

    // The edits return true when the text changed, false when there was nothing to do.
    bool write(QStringView section, QStringView key, QStringView value);
    bool deleteKey(QStringView section, QStringView key);
    bool deleteSection(QStringView section);
    bool clearSection(QStringView section);
    bool hasSection(QStringView section) const;

private:
    enum class LineEnd : quint8 { None, CrLf, Lf, Cr };
    struct Line {
        QString text;   // the lines read point into m_text; an edited line holds its own
        LineEnd end;
    };
    using Lines = std::list<Line>;
    struct Section {
        Lines lines; // the header first (the lines before the first header have none)
        // Hash of the case-folded key name -> the key lines of that hash in file order; the
        // first whose name matches is the key.
        QHash<size_t, QVarLengthArray<Lines::iterator, 1>> keys;
    };
    using Sections = std::list<Section>;

    void load(const QByteArray &bytes);
    // Each index as positions (the sections by name first, then the keys of each section).
    QList<QHash<size_t, QList<qsizetype>>> indexPositions() const;
    Sections::iterator findSection(QStringView name);
    Sections::const_iterator findSection(QStringView name) const;
    // The key line of that name; hash is foldedHash(name), which a caller may need again.
    static std::optional<Lines::iterator> findKey(const Section &section, QStringView name, size_t hash);
    static void indexKey(Section &section, Lines::iterator line);
    void appendSection(QStringView name, QString keyLine);
    void removeLines(Section &section, Lines::iterator from);
    static void joinCrLf(Lines &lines, Lines::iterator line);
    LineEnd newLineEnd() const;
    Line *lastLine();

    // Every line's text enters and leaves the document through these two, which keep the
    // encoding right.
    void addText(const QString &text);
    void dropText(const QString &text);
    void settleEncoding();

    // The text as read. Its lines are not copied out of it: a large file is read without
    // allocating thousands of strings. Nothing outside the document ever holds a line's text.
    QString m_text;
    ProfileEncoding m_encoding = ProfileEncoding::Windows1252;
    QByteArray m_tail; // the odd last byte of a UTF-16 file, written back after the text
    bool m_exact = true;
    Sections m_sections{Section()}; // the first holds the lines before the first header
    QHash<size_t, QVarLengthArray<Sections::iterator, 1>> m_sectionsByName;
    // The section found last and the name it was asked by: thousands of calls in a row name the
    // same section. Forgotten when sections go.
    mutable std::optional<std::pair<QString, Sections::iterator>> m_lastSection;
    // For a file without BOM: lines holding a character beyond ASCII, and lines whose
    // Windows-1252 bytes are not valid UTF-8. Together they decide how the bytes will read.
    int m_nonAsciiLines = 0;
    int m_nonUtf8Lines = 0;
};

} // namespace platform
