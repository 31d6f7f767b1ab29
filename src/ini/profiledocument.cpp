#include "profiledocument.h"

#include <algorithm>
#include <vector>

namespace ini {

namespace {

// Blanks are spaces and tabs, nothing else.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView trimmedBlanks(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

// Names match when they are equal after simple case folding of each UTF-16 code unit.
QChar foldChar(QChar c)
{
    // Most names are ASCII, whose folding is plain lower case.
    const char16_t u = c.unicode();
    if (u < 0x80)
        return QChar(u >= 'A' && u <= 'Z' ? char16_t(u + ('a' - 'A')) : u);
    return c.toCaseFolded();
}

bool sameName(QStringView a, QStringView b)
{
    if (a == b)   // mostly a name is asked for as the file spells it
        return true;
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](QChar x, QChar y) { return foldChar(x) == foldChar(y); });
}

// The hash of the name's folded form (FNV-1a over its code units), made without making the form:
// indexing thousands of keys allocates nothing for their names.
quint32 foldedHash(QStringView name)
{
    quint32 hash = 2166136261u;
    for (const QChar c : name)
        hash = (hash ^ foldChar(c).unicode()) * 16777619u;
    return hash;
}

// A lambda rather than a function, so that the searches below inline it.
const auto isLineBreak = [](QChar c) { return c == u'\r' || c == u'\n'; };

bool hasLineBreak(QStringView text)
{
    return std::any_of(text.begin(), text.end(), isLineBreak);
}

bool hasNonAscii(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; });
}

// What a line is, decided by its first non-blank character. For a header, name is the section
// name; for a key line, name is the key and value the raw value, both trimmed.
struct ParsedLine {
    enum Kind { Blank, Header, Comment, Key, Other } kind;
    QStringView name = {};
    QStringView value = {};
};

ParsedLine parseLine(QStringView line)
{
    const QStringView body = trimmedBlanks(line);
    if (body.isEmpty())
        return {ParsedLine::Blank};
    if (body.front() == u'[') {
        const qsizetype close = body.lastIndexOf(u']');
        if (close > 0)
            return {ParsedLine::Header, trimmedBlanks(body.sliced(1, close - 1))};
    }
    if (body.front() == u';')
        return {ParsedLine::Comment};
    const qsizetype equals = std::find(body.begin(), body.end(), u'=') - body.begin();
    if (equals == body.size())
        return {ParsedLine::Other};
    return {ParsedLine::Key, trimmedBlanks(body.first(equals)), trimmedBlanks(body.sliced(equals + 1))};
}

// A line break inside a value would end the line early, so each one is written as a space.
QString onOneLine(QStringView value)
{
    QString text = value.toString();
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

QString keyLine(QStringView key, QStringView value)
{
    QString line;
    line.reserve(key.size() + 1 + value.size());
    return line.append(key).append(u'=').append(value);
}

// Whether a line the engine writes reads back as what it was written for. A name holding a line
// break, "=", or a leading ";" or "[" with a "]" after it makes the line read as something else.
// (Its value holds no line break: those are written as spaces.)
bool readsBackAs(QStringView line, ParsedLine::Kind kind, QStringView name)
{
    if (hasLineBreak(name))
        return false;
    const ParsedLine parsed = parseLine(line);
    return parsed.kind == kind && sameName(parsed.name, name);
}

// At most size code units of a value. A cut between the two halves of a surrogate pair would
// leave half a character, which no encoding can write: the cut goes before the pair instead.
QStringView cutValue(QStringView value, qsizetype size)
{
    if (size >= value.size())
        return value;
    size = std::max<qsizetype>(size, 0);
    if (size > 0 && value[size - 1].isHighSurrogate() && value[size].isLowSurrogate())
        --size;
    return value.first(size);
}

} // namespace

// Cuts text into lines: a line ends at CR LF, at LF or at CR, whichever comes first; the last one
// may have no ending. Each kind of break is looked for once however many lines the text holds.
class ProfileDocument::LineCutter {
public:
    struct Cut {
        qsizetype start, size;
        LineEnd end;
    };

    explicit LineCutter(QStringView text) : m_text(text), m_cr(text.indexOf(u'\r')), m_lf(text.indexOf(u'\n')) {}

    bool atEnd() const { return m_start >= m_text.size(); }

    Cut next()
    {
        if (m_cr >= 0 && m_cr < m_start)
            m_cr = m_text.indexOf(u'\r', m_start);
        if (m_lf >= 0 && m_lf < m_start)
            m_lf = m_text.indexOf(u'\n', m_start);
        const qsizetype size = m_text.size();
        const qsizetype stop = std::min(m_cr < 0 ? size : m_cr, m_lf < 0 ? size : m_lf);
        Cut cut{m_start, stop - m_start, LineEnd::None};
        if (stop == size) {
            m_start = stop;
        } else if (m_text[stop] == u'\n') {
            cut.end = LineEnd::Lf;
            m_start = stop + 1;
        } else if (stop + 1 < size && m_text[stop + 1] == u'\n') {
            cut.end = LineEnd::CrLf;
            m_start = stop + 2;
        } else {
            cut.end = LineEnd::Cr;
            m_start = stop + 1;
        }
        return cut;
    }

private:
    QStringView m_text;
    qsizetype m_start = 0;
    qsizetype m_cr, m_lf; // the next of each at or after m_start, or -1 when there is none
};

void ProfileDocument::load(const QByteArray &bytes)
{
    DecodedProfile decoded = decodeProfileBytes(bytes);
    m_encoding = decoded.encoding;
    m_tail = decoded.tail;
    m_exact = decoded.exact;
    m_lastSection.reset();
    m_lines.clear();
    m_first = m_last = NoLine;
    m_sections.clear();
    m_keys.clear();
    m_edits.clear();
    m_deadLines = m_deadText = 0;
    m_nonAscii = m_nonUtf8 = 0;
    m_text = std::move(decoded.text);
    if (m_text.size() >= qsizetype(NoLine)) {
        // Beyond what a record can point into: read as no lines, and never written.
        m_text.clear();
        m_exact = false;
        return;
    }

    quint32 header = NoLine;         // of the section being read; none before the first header
    SectionEntry *visible = nullptr; // its entry, while it is the first of its name hash
    LineCutter cutter(m_text);
    while (!cutter.atEnd()) {
        const LineCutter::Cut cut = cutter.next();
        const ParsedLine parsed = parseLine(QStringView(m_text).sliced(cut.start, cut.size));
        const Kind kind = parsed.kind == ParsedLine::Header ? Kind::Header
                          : parsed.kind == ParsedLine::Key  ? Kind::Key
                          : parsed.kind == ParsedLine::Blank ? Kind::Blanks
                                                             : Kind::Notes;
        // Blank lines between two notes join them: the run of notes takes the blank lines and the
        // note after them, and so still ends in a note.
        if (kind == Kind::Notes && m_last != NoLine && m_lines[m_last].kind == Kind::Blanks
            && m_lines[m_last].previous != NoLine && m_lines[m_lines[m_last].previous].kind == Kind::Notes) {
            unlink(m_last);
            m_lines.pop_back(); // the last one made
        }
        if ((kind == Kind::Blanks || kind == Kind::Notes) && m_last != NoLine && m_lines[m_last].kind == kind) {
            Line &run = m_lines[m_last];   // the run goes on
            run.size = quint32(cut.start + cut.size - run.start);
            run.end = cut.end;
            continue;
        }
        const quint32 id = append(Line(quint32(cut.start), quint32(cut.size), kind, cut.end, false));
        if (kind == Kind::Header) {
            header = id;
            const quint32 hash = foldedHash(parsed.name);
            indexSection(id, hash);
            // Inserting into m_sections moves its entries; nothing is inserted before the next header.
            visible = entryOf(id, hash);
        } else if (kind == Kind::Key && header != NoLine) {
            indexKey(header, id, foldedHash(parsed.name));
        }
        if (visible && kind != Kind::Blanks)
            visible->anchor = id;
    }
    if (!decoded.ascii) {
        for (quint32 id = m_first; id != NoLine; id = m_lines[id].next)
            addText(textOf(m_lines[id]).view());
    }
}

ProfileDocument::LineText ProfileDocument::textOf(const Line &line) const
{
    return LineText(QStringView(line.edited ? m_edits : m_text).sliced(line.start, line.size));
}

ProfileDocument::LineParts ProfileDocument::partsOf(quint32 id) const
{
    const ParsedLine parsed = parseLine(textOf(m_lines[id]).view());
    return {LineText(parsed.name), LineText(parsed.value)};
}

quint32 ProfileDocument::append(Line line)
{
    m_lines.push_back(line);
    const auto id = quint32(m_lines.size() - 1);
    insertAfter(m_last, id);
    return id;
}

void ProfileDocument::insertAfter(quint32 before, quint32 id)
{
    // No line before: the new one is the first.
    Line &line = m_lines[id];
    line.previous = before;
    line.next = before == NoLine ? m_first : m_lines[before].next;
    (line.next == NoLine ? m_last : m_lines[line.next].previous) = id;
    (before == NoLine ? m_first : m_lines[before].next) = id;
}

void ProfileDocument::unlink(quint32 id)
{
    const Line &line = m_lines[id];
    (line.previous == NoLine ? m_first : m_lines[line.previous].next) = line.next;
    (line.next == NoLine ? m_last : m_lines[line.next].previous) = line.previous;
}

void ProfileDocument::dropLine(quint32 id)
{
    unlink(id);
    dropText(textOf(m_lines[id]).view());
    ++m_deadLines;
    m_deadText += m_lines[id].size;
}

QByteArray ProfileDocument::toBytes() const
{
    qsizetype size = 0;
    for (quint32 id = m_first; id != NoLine; id = m_lines[id].next)
        size += m_lines[id].size + 2;
    QString text;
    text.reserve(size);
    for (quint32 id = m_first; id != NoLine; id = m_lines[id].next) {
        const Line &line = m_lines[id];
        text += textOf(line).view();
        switch (line.end) {
        case LineEnd::None: break;
        case LineEnd::CrLf: text += QLatin1String("\r\n"); break;
        case LineEnd::Lf: text += u'\n'; break;
        case LineEnd::Cr: text += u'\r'; break;
        }
    }
    return encodeProfileText(text, m_encoding) + m_tail;
}

// One line as the document shows it: its text, its ending, what kind of record holds it, and for
// a header or a key, the line its name finds (a key within its own section) and, for the first
// header of a name hash, the line after which a new key goes. Runs of lines may be cut into
// records differently in two equal documents, so each record's place is the number of its last
// line.
struct ProfileDocument::Description {
    LineText text;
    LineEnd end;
    Kind kind;
    qsizetype found = -1, anchor = -1;
    bool operator==(const Description &other) const
    {
        return text == other.text && end == other.end && kind == other.kind && found == other.found
               && anchor == other.anchor;
    }
};

QList<ProfileDocument::Description> ProfileDocument::describe() const
{
    QList<Description> lines;
    std::vector<qsizetype> place(m_lines.size(), -1);
    for (quint32 id = m_first; id != NoLine; id = m_lines[id].next) {
        const Line &line = m_lines[id];
        const QStringView whole = textOf(line).view();
        for (LineCutter cutter(whole);;) {
            const LineCutter::Cut cut = cutter.next();
            const LineText text(whole.sliced(cut.start, cut.size));
            // Runs may be cut into records otherwise in an equal document: a line in one is
            // told by what it holds.
            const Kind kind = line.kind == Kind::Notes && parseLine(text.view()).kind == ParsedLine::Blank ? Kind::Blanks
                                                                                                : line.kind;
            lines.append({text, cut.end, kind});
            if (cut.end == LineEnd::None)
                break; // the record's last line, whose ending the record keeps
        }
        lines.last().end = line.end;
        place[id] = lines.size() - 1;
    }
    const auto placeOf = [&](quint32 id) { return id == NoLine ? -1 : place[id]; };
    quint32 header = NoLine;
    for (quint32 id = m_first; id != NoLine; id = m_lines[id].next) {
        Description &line = lines[place[id]];
        if (line.kind == Kind::Header) {
            header = id;
            line.found = placeOf(findSection(nameOf(id).view()));
            const auto entry = m_sections.constFind(foldedHash(nameOf(id).view()));
            if (entry != m_sections.constEnd() && entry->first == id)
                line.anchor = placeOf(entry->anchor);
        } else if (line.kind == Kind::Key && header != NoLine) {
            const QStringView name = nameOf(id).view();
            line.found = placeOf(findKey(header, name, foldedHash(name)));
        }
    }
    return lines;
}

bool ProfileDocument::operator==(const ProfileDocument &other) const
{
    // The counts only matter, and are only kept, while the file has no BOM; whether they are zero
    // is what they decide.
    const bool counted = m_encoding == ProfileEncoding::Windows1252 || m_encoding == ProfileEncoding::Utf8;
    return m_encoding == other.m_encoding && m_tail == other.m_tail && m_exact == other.m_exact
           && (!counted || ((m_nonAscii > 0) == (other.m_nonAscii > 0) && (m_nonUtf8 > 0) == (other.m_nonUtf8 > 0)))
           && m_sections.size() == other.m_sections.size() && m_keys.size() == other.m_keys.size()
           && describe() == other.describe();
}

quint32 ProfileDocument::findSection(QStringView name) const
{
    const auto entry = m_sections.constFind(foldedHash(name));
    if (entry == m_sections.constEnd())
        return NoLine;
    for (quint32 id = entry->first; id != NoLine; id = m_lines[id].sameHash) {
        if (sameName(nameOf(id).view(), name))
            return id;
    }
    return NoLine;
}

quint32 ProfileDocument::findSectionRemembered(QStringView name)
{
    if (m_lastSection && sameName(m_lastSection->first, name))
        return m_lastSection->second;
    const quint32 header = findSection(name);
    if (header != NoLine)
        m_lastSection.emplace(name.toString(), header);
    return header;
}

quint32 ProfileDocument::findKey(quint32 header, QStringView name, quint32 hash) const
{
    const auto entry = m_keys.constFind(keyOf(header, hash));
    if (entry == m_keys.constEnd())
        return NoLine;
    for (quint32 id = entry->first; id != NoLine; id = m_lines[id].sameHash) {
        if (sameName(nameOf(id).view(), name))
            return id;
    }
    return NoLine;
}

void ProfileDocument::indexSection(quint32 header, quint32 hash)
{
    SectionEntry &entry = m_sections[hash];
    if (entry.first == NoLine) {
        entry = {header, header, header};
    } else {
        m_lines[entry.last].sameHash = header;
        entry.last = header;
    }
}

void ProfileDocument::indexKey(quint32 header, quint32 line, quint32 hash)
{
    // Reading indexes lines in file order; an edit adds a key line only for a name the section
    // does not hold, after every key line of that section. Either way each list stays in file order.
    KeyEntry &entry = m_keys[keyOf(header, hash)];
    if (entry.first == NoLine) {
        entry = {line, line};
    } else {
        m_lines[entry.last].sameHash = line;
        entry.last = line;
    }
}

void ProfileDocument::unindexKey(quint32 header, quint32 line, quint32 hash)
{
    const auto entry = m_keys.find(keyOf(header, hash));
    const quint32 after = m_lines[line].sameHash;
    if (entry->first == line) {
        if (after == NoLine)
            m_keys.erase(entry);
        else
            entry->first = after;
        return;
    }
    quint32 before = entry->first;
    while (m_lines[before].sameHash != line)
        before = m_lines[before].sameHash;
    m_lines[before].sameHash = after;
    if (entry->last == line)
        entry->last = before;
}

ProfileDocument::SectionEntry *ProfileDocument::entryOf(quint32 header, quint32 hash)
{
    const auto entry = m_sections.find(hash);
    return entry != m_sections.end() && entry->first == header ? &*entry : nullptr;
}

quint32 ProfileDocument::lastNonBlankOf(quint32 header) const
{
    quint32 anchor = header;
    for (quint32 id = m_lines[header].next; id != NoLine && m_lines[id].kind != Kind::Header; id = m_lines[id].next) {
        if (m_lines[id].kind != Kind::Blanks)
            anchor = id;
    }
    return anchor;
}

quint32 ProfileDocument::addEditedLine(QStringView text, Kind kind, LineEnd end)
{
    m_lines.push_back(Line(quint32(m_edits.size()), quint32(text.size()), kind, end, true));
    m_edits += text;
    addText(text);
    return quint32(m_lines.size() - 1);
}

void ProfileDocument::replaceText(quint32 id, QStringView text)
{
    Line &line = m_lines[id];
    dropText(textOf(line).view());
    m_deadText += line.size;
    line.start = quint32(m_edits.size());
    line.size = quint32(text.size());
    line.edited = true;
    m_edits += text;
    addText(text);
}

QString ProfileDocument::read(QStringView section, QStringView key, int bufferSize)
{
    const quint32 header = findSectionRemembered(trimmedBlanks(section));
    if (header == NoLine)
        return {};
    const QStringView keyName = trimmedBlanks(key);
    const quint32 line = findKey(header, keyName, foldedHash(keyName));
    if (line == NoLine)
        return {};
    QStringView value = partsOf(line).value.view();
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == u'"' || value.front() == u'\''))
        value = value.sliced(1, value.size() - 2);
    return cutValue(value, qsizetype(bufferSize) - 1).toString();
}

bool ProfileDocument::write(QStringView section, QStringView key, QStringView value)
{
    const QStringView sectionName = trimmedBlanks(section);
    const QStringView keyName = trimmedBlanks(key);
    const quint32 keyHash = foldedHash(keyName);
    const quint32 header = findSectionRemembered(sectionName);
    const quint32 line = header == NoLine ? NoLine : findKey(header, keyName, keyHash);
    // Writing a key the value it holds is no change (a stored value holds no line break).
    if (line != NoLine && partsOf(line).value == value)
        return false;
    // Most values hold no line break and are used as they are, without a copy.
    const bool oneLine = !hasLineBreak(value);
    const QString joined = oneLine ? QString() : onOneLine(value);
    const QStringView text = oneLine ? value : QStringView(joined);

    bool readsBack = true;
    if (header == NoLine) {
        const QString newLine = keyLine(keyName, text);
        const QString headerLine = QLatin1Char('[') + sectionName.toString() + QLatin1Char(']');
        readsBack = readsBackAs(headerLine, ParsedLine::Header, sectionName)
                    && readsBackAs(newLine, ParsedLine::Key, keyName);
        appendSection(headerLine, foldedHash(sectionName), newLine, keyHash);
    } else if (line != NoLine) {
        // The line is rewritten with the key as the file spells it; an equal value is no change.
        const LineParts parts = partsOf(line);
        if (parts.value == text)
            return false;
        const QString rewritten = keyLine(parts.name.view(), text);
        readsBack = readsBackAs(rewritten, ParsedLine::Key, parts.name.view());
        replaceText(line, rewritten);
    } else {
        // A new key goes right after the section's last non-blank line; blank lines after it
        // stay after the new one.
        const LineEnd end = newLineEnd();
        // A section sharing its name's hash with an earlier one (seldom) is walked.
        SectionEntry *entry = entryOf(header, foldedHash(sectionName));
        const quint32 after = entry ? entry->anchor : lastNonBlankOf(header);
        if (m_lines[after].end == LineEnd::None)
            m_lines[after].end = end;
        const QString newLine = keyLine(keyName, text);
        readsBack = readsBackAs(newLine, ParsedLine::Key, keyName);
        const quint32 added = addEditedLine(newLine, Kind::Key, end);
        insertAfter(after, added);
        indexKey(header, added, keyHash);
        if (entry)
            entry->anchor = added;
        joinCrLf(added);
    }
    // A line that reads back as something else changes more than itself: the document is
    // what its bytes read as.
    if (readsBack)
        settleEncoding();
    else
        load(toBytes());
    compactWhenWasteful();
    return true;
}

bool ProfileDocument::deleteKey(QStringView section, QStringView key)
{
    const QStringView sectionName = trimmedBlanks(section), keyName = trimmedBlanks(key);
    const quint32 header = findSectionRemembered(sectionName);
    if (header == NoLine)
        return false;
    const quint32 keyHash = foldedHash(keyName);
    const quint32 line = findKey(header, keyName, keyHash);
    if (line == NoLine)
        return false;
    unindexKey(header, line, keyHash); // a duplicate below, if any, becomes the key
    const quint32 before = m_lines[line].previous; // the header at the latest
    if (SectionEntry *entry = entryOf(header, foldedHash(sectionName)); entry && entry->anchor == line) {
        entry->anchor = before;
        while (m_lines[entry->anchor].kind == Kind::Blanks)
            entry->anchor = m_lines[entry->anchor].previous;
    }
    dropLine(line);
    joinCrLf(before);
    settleEncoding();
    compactWhenWasteful();
    return true;
}

bool ProfileDocument::deleteSection(QStringView section)
{
    const QStringView name = trimmedBlanks(section);
    const auto entry = m_sections.find(foldedHash(name));
    if (entry == m_sections.end())
        return false;
    quint32 before = NoLine, header = entry->first; // before: the header of that hash above it
    while (header != NoLine && !sameName(nameOf(header).view(), name)) {
        before = header;
        header = m_lines[header].sameHash;
    }
    if (header == NoLine)
        return false;
    removeSectionLines(header);
    const quint32 after = m_lines[header].sameHash;
    if (before != NoLine) {
        m_lines[before].sameHash = after;
        if (entry->last == header)
            entry->last = before;
    } else if (after == NoLine) {
        m_sections.erase(entry);
    } else {
        // The next section of that hash comes forward.
        entry->first = after;
        entry->anchor = lastNonBlankOf(after);
    }
    dropLine(header);
    m_lastSection.reset();
    settleEncoding();
    compactWhenWasteful();
    return true;
}

std::optional<int> ProfileDocument::lineOf(QStringView section, QStringView key)
{
    const quint32 header = findSectionRemembered(trimmedBlanks(section));
    if (header == NoLine)
        return std::nullopt;
    const QStringView keyName = trimmedBlanks(key);
    const quint32 target = findKey(header, keyName, foldedHash(keyName));
    if (target == NoLine)
        return std::nullopt;
    // A record holds one line, or a run of them whose inner line ends stand in its text.
    int number = 1;
    for (quint32 id = m_first; id != target; id = m_lines[id].next) {
        const QStringView text = textOf(m_lines[id]).view();
        number += int(text.count(u'\n') + text.count(u'\r') - text.count(u"\r\n"));
        if (m_lines[id].end != LineEnd::None)
            ++number;
    }
    return number;
}

bool ProfileDocument::hasSection(QStringView section)
{
    return findSectionRemembered(trimmedBlanks(section)) != NoLine;
}

bool ProfileDocument::clearSection(QStringView section)
{
    const QStringView name = trimmedBlanks(section);
    const quint32 header = findSectionRemembered(name);
    if (header == NoLine || !removeSectionLines(header))
        return false;
    if (SectionEntry *entry = entryOf(header, foldedHash(name)))
        entry->anchor = header;
    settleEncoding();
    compactWhenWasteful();
    return true;
}

bool ProfileDocument::removeSectionLines(quint32 header)
{
    bool removed = false;
    for (quint32 id = m_lines[header].next; id != NoLine && m_lines[id].kind != Kind::Header;) {
        const quint32 next = m_lines[id].next;
        if (m_lines[id].kind == Kind::Key)
            m_keys.remove(keyOf(header, foldedHash(nameOf(id).view()))); // all of that name go with the section
        dropLine(id);
        id = next;
        removed = true;
    }
    return removed;
}

void ProfileDocument::appendSection(QStringView headerLine, quint32 sectionHash, QStringView keyLine, quint32 keyHash)
{
    const LineEnd end = newLineEnd();
    if (m_last != NoLine && m_lines[m_last].end == LineEnd::None)
        m_lines[m_last].end = end;
    const quint32 header = addEditedLine(headerLine, Kind::Header, end);
    insertAfter(m_last, header);
    const quint32 key = addEditedLine(keyLine, Kind::Key, end);
    insertAfter(m_last, key);
    indexSection(header, sectionHash);
    indexKey(header, key, keyHash);
    if (SectionEntry *entry = entryOf(header, sectionHash))
        entry->anchor = key;
}

void ProfileDocument::joinCrLf(quint32 id)
{
    // Written out, a line ending in CR followed by an empty line ending in LF reads back as one
    // line ending in CR LF. An edit that brings the two together makes them that line. Only a
    // run of blank lines can begin with an empty line.
    Line &line = m_lines[id];
    if (line.end != LineEnd::Cr || line.next == NoLine || m_lines[line.next].kind != Kind::Blanks)
        return;
    Line &next = m_lines[line.next];
    if (next.size == 0 && next.end == LineEnd::Lf) {
        line.end = LineEnd::CrLf;
        dropLine(line.next);
    } else if (next.size > 0 && textOf(next).view().front() == u'\n') {
        line.end = LineEnd::CrLf;
        ++next.start;
        --next.size;
        ++m_deadText;
    }
}

ProfileDocument::LineEnd ProfileDocument::newLineEnd() const
{
    // New lines take the ending of the file's first line; without one, CR LF. The first record
    // may be a long run of lines: only its first line is looked at.
    if (m_first == NoLine)
        return LineEnd::CrLf;
    const Line &first = m_lines[m_first];
    const QStringView text = textOf(first).view();
    const auto stop = std::find_if(text.begin(), text.end(), isLineBreak);
    const LineEnd end = stop == text.end()            ? first.end
                        : *stop == u'\n'               ? LineEnd::Lf
                        : stop + 1 != text.end() && stop[1] == u'\n' ? LineEnd::CrLf
                                                                       : LineEnd::Cr;
    return end == LineEnd::None ? LineEnd::CrLf : end;
}

void ProfileDocument::compactWhenWasteful()
{
    // Removed records and replaced text stay until they outweigh what is in use; then the document
    // is read again from its own bytes, which lays it out anew. That takes edits in proportion to
    // the file's size, so it costs each edit a constant share.
    if (m_deadLines * 2 > qsizetype(m_lines.size()) || m_deadText * 2 > m_text.size() + m_edits.size())
        load(toBytes());
}

void ProfileDocument::addText(QStringView text)
{
    if (!hasNonAscii(text))   // most lines: every encoding holds them as they are
        return;
    // A character Windows-1252 cannot hold is never lost: the file becomes UTF-16LE instead.
    if (m_encoding == ProfileEncoding::Windows1252 && !fitsWindows1252(text))
        m_encoding = ProfileEncoding::Utf16LE;
    if (m_encoding == ProfileEncoding::Windows1252 || m_encoding == ProfileEncoding::Utf8) {
        ++m_nonAscii;
        if (m_encoding == ProfileEncoding::Windows1252 && !isStrictUtf8(toWindows1252(text)))
            ++m_nonUtf8;
    }
}

void ProfileDocument::dropText(QStringView text)
{
    if ((m_encoding == ProfileEncoding::Windows1252 || m_encoding == ProfileEncoding::Utf8) && hasNonAscii(text)) {
        --m_nonAscii;
        if (m_encoding == ProfileEncoding::Windows1252 && !isStrictUtf8(toWindows1252(text)))
            --m_nonUtf8;
    }
}

void ProfileDocument::settleEncoding()
{
    // A file without BOM is judged afresh each time it is read: UTF-8 that has lost its last
    // non-ASCII character reads as Windows-1252 from then on. Windows-1252 bytes that have
    // become valid UTF-8 ("ß½" is DF BD) would read as UTF-8 and change their text: such a file
    // is written as UTF-16LE instead, as one holding a character beyond Windows-1252 is.
    if (m_encoding == ProfileEncoding::Utf8 && m_nonAscii == 0)
        m_encoding = ProfileEncoding::Windows1252;
    else if (m_encoding == ProfileEncoding::Windows1252 && m_nonAscii > 0 && m_nonUtf8 == 0)
        m_encoding = ProfileEncoding::Utf16LE;
}

} // namespace ini
