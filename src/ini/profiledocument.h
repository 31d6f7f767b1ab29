#pragma once
// One INI file in memory, edited the way the Windows private-profile functions edit it: only the
// lines that must change are touched, every other line keeps its text and its line ending.
//
// A file's lines cost a small multiple of its size, whatever they hold. Each header and each key
// line is one record of a few numbers: where its text lies, its line ending, its neighbours. The
// lines that reads never look at take one record per run: a run of blank lines, or a run of
// comments and other lines with the blank lines between them. A record's text is a view into
// the text as read; an edited line's text is added to a second buffer. The records sit in one
// deque and point at each other by number, so reading a file allocates once per some twenty
// records, not once per line. Sections and keys are indexed by the hash of their case-folded
// names, so finding one costs a hash look-up however large the file. After every edit the
// document is exactly what reading its own bytes back would give, including the choice between
// UTF-8 and Windows-1252 for a file without BOM, which an edit can change.
#include "profileencoding.h"

#include <QHash>
#include <QString>

#include <deque>
#include <optional>

namespace ini {

class ProfileDocument {
public:
    // A new or empty file: no lines, Windows-1252 without BOM.
    ProfileDocument() = default;
    explicit ProfileDocument(const QByteArray &bytes) { load(bytes); }

    QByteArray toBytes() const;
    ProfileEncoding encoding() const { return m_encoding; }
    // False when the text cannot give the file's bytes back (invalid UTF-8 after a UTF-8 BOM):
    // such a file is read, never written.
    bool writable() const { return m_exact; }

    // Same lines, line endings, encoding, and the same lines found by every name the file holds.
    // The engine's consistency check compares its copy of a file with a fresh reading of the
    // bytes through it.
    bool operator==(const ProfileDocument &other) const;

    // The value of a key, with one pair of enclosing quotes removed, cut to bufferSize - 1
    // UTF-16 code units, or one fewer where that would split a surrogate pair; empty when the
    // section or key is missing. Not const: it remembers the section it found (see
    // m_lastSection), so one thread at a time reads a document.
    QString read(QStringView section, QStringView key, int bufferSize);
    // The 1-based number of the line read() takes that value from, counted in the text as it now
    // stands; nothing when the section or key is missing. It walks the lines before that one.
    std::optional<int> lineOf(QStringView section, QStringView key);

    // The edits return true when the text changed, false when there was nothing to do.
    bool write(QStringView section, QStringView key, QStringView value);
    bool deleteKey(QStringView section, QStringView key);
    bool deleteSection(QStringView section);
    bool clearSection(QStringView section);
    bool hasSection(QStringView section);

private:
    enum class LineEnd : quint8 { None, CrLf, Lf, Cr };
    // Blanks and Notes are runs of one or more lines. Blanks holds blank lines only. Notes holds
    // comments and other lines (notes, for short), and the blank lines between two of them: it
    // begins and ends with a note, so a new key goes after the last Notes of its section.
    enum class Kind : quint8 { Header, Key, Blanks, Notes };
    static constexpr quint32 NoLine = 0xFFFFFFFF;

    // A header, a key line or a run of lines. Its text is every line of it but the last one's
    // ending, which is kept in end.
    struct Line {
        Line(quint32 start, quint32 size, Kind kind, LineEnd end, bool edited)
            : start(start), size(size), end(end), kind(kind), edited(edited)
        {
        }
        quint32 start;    // in m_text, or in m_edits for an edited line
        quint32 size;
        quint32 previous = NoLine, next = NoLine;   // in file order
        // The next header, or the next key line of the same section, whose name has the same hash.
        quint32 sameHash = NoLine;
        LineEnd end : 2;
        Kind kind : 2;
        bool edited : 1;
    };
    // The headers whose names share one hash, in file order: the first whose name matches is the
    // section. anchor is the first header's last line that is not blank, after which a new key
    // goes (the header at the latest).
    struct SectionEntry {
        quint32 first = NoLine, last = NoLine, anchor = NoLine;
    };
    // The key lines of one section whose names share one hash, in file order. The key lines
    // before the first header are in no section, and no read ever finds them.
    struct KeyEntry {
        quint32 first = NoLine, last = NoLine;
    };
    // Text the document holds: a record's lines, or a name or value in one. It points into the
    // text as read or into the edited lines, and holds good until the next edit. Only the
    // document makes one, from its own text, never from a QString (a temporary one would leave it
    // pointing at nothing); it leaves the document as a QString only by toString(), a copy, and
    // shows its characters to the parsing helpers by view(), which nothing keeps.
    class LineText {
    public:
        QStringView view() const { return m_text; }
        QString toString() const { return m_text.toString(); }
        bool operator==(QStringView other) const { return m_text == other; }
        bool operator==(const LineText &other) const { return m_text == other.m_text; }

    private:
        friend class ProfileDocument;
        explicit LineText(QStringView text) : m_text(text) {}
        QStringView m_text;
    };
    // A key line's name and raw value, or a header's name.
    struct LineParts {
        LineText name, value;
    };

    class LineCutter;
    struct Description;

    void load(const QByteArray &bytes);
    LineText textOf(const Line &line) const;
    LineParts partsOf(quint32 id) const;
    LineText nameOf(quint32 id) const { return partsOf(id).name; }
    quint32 append(Line line);
    void insertAfter(quint32 before, quint32 id); // before NoLine: first
    void unlink(quint32 id);
    void dropLine(quint32 id);
    quint32 addEditedLine(QStringView text, Kind kind, LineEnd end); // not linked yet
    void replaceText(quint32 id, QStringView text);

    quint32 findSection(QStringView name) const;
    // The same, through m_lastSection.
    quint32 findSectionRemembered(QStringView name);
    // hash is foldedHash(name), which callers often need again.
    quint32 findKey(quint32 header, QStringView name, quint32 hash) const;
    static quint64 keyOf(quint32 header, quint32 hash) { return quint64(header) << 32 | hash; }
    void indexSection(quint32 header, quint32 hash);
    void indexKey(quint32 header, quint32 line, quint32 hash);
    void unindexKey(quint32 header, quint32 line, quint32 hash);
    // Null unless the header is the first of its hash.
    SectionEntry *entryOf(quint32 header, quint32 hash);
    quint32 lastNonBlankOf(quint32 header) const;

    bool removeSectionLines(quint32 header);
    void appendSection(QStringView headerLine, quint32 sectionHash, QStringView keyLine, quint32 keyHash);
    void joinCrLf(quint32 id);
    LineEnd newLineEnd() const;
    QList<Description> describe() const;

    // Every record's text enters and leaves the document through these two, which keep the
    // encoding right.
    void addText(QStringView text);
    void dropText(QStringView text);
    void settleEncoding();
    void compactWhenWasteful();

    // The text as read. Its lines are not copied out of it: a large file is read without
    // allocating thousands of strings. Nothing outside the document ever holds a line's text.
    QString m_text;
    QString m_edits; // the text of edited lines, one after the other
    std::deque<Line> m_lines; // numbered by their place; a removed one stays until compaction
    quint32 m_first = NoLine, m_last = NoLine;
    QHash<quint32, SectionEntry> m_sections;  // by name hash
    QHash<quint64, KeyEntry> m_keys;          // by header and name hash
    // Removed records and the code units of the text no record uses: when they outweigh the rest,
    // the document is read again from its own bytes.
    qsizetype m_deadLines = 0, m_deadText = 0;
    ProfileEncoding m_encoding = ProfileEncoding::Windows1252;
    QByteArray m_tail; // the odd last byte of a UTF-16 file, written back after the text
    bool m_exact = true;
    // The section found last and the name it was asked by: thousands of calls in a row name the
    // same section, and a build's calls take some 4 % more instructions without it. Forgotten
    // when sections go.
    std::optional<std::pair<QString, quint32>> m_lastSection;
    // For a file without BOM: records holding a character beyond ASCII, and records whose
    // Windows-1252 bytes are not valid UTF-8. Together they decide how the bytes will read.
    qsizetype m_nonAscii = 0;
    qsizetype m_nonUtf8 = 0;
};

} // namespace ini
