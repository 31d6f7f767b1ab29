#include "profiledocument.h"

#include <algorithm>
#include <optional>

namespace platform {

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
size_t foldedHash(QStringView name)
{
    size_t hash = 14695981039346656037ull;
    for (const QChar c : name) {
        hash = (hash ^ foldChar(c).unicode()) * 1099511628211ull;
    }
    return hash;
}

bool hasLineBreak(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
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

// Where, in the list of lines or sections that share a name's hash, the first of that name is;
// -1 when none is. A section is named by its header, its first line.
template <typename LineIterator>
qsizetype placeOf(const QVarLengthArray<LineIterator, 1> &candidates, QStringView name)
{
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        if (sameName(parseLine(candidates[i]->text).name, name))
            return i;
    }
    return -1;
}

template <typename SectionIterator>
qsizetype sectionPlaceOf(const QVarLengthArray<SectionIterator, 1> &candidates, QStringView name)
{
    for (qsizetype i = 0; i < candidates.size(); ++i) {
        if (sameName(parseLine(candidates[i]->lines.front().text).name, name))
            return i;
    }
    return -1;
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

} // namespace

void ProfileDocument::load(const QByteArray &bytes)
{
    DecodedProfile decoded = decodeProfileBytes(bytes);
    m_encoding = decoded.encoding;
    m_tail = decoded.tail;
    m_exact = decoded.exact;
    m_lastSection.reset();
    m_sections.clear();
    m_sections.emplace_back();
    m_sectionsByName.clear();
    m_nonAsciiLines = m_nonUtf8Lines = 0;

    m_text = decoded.text;
    const QString &text = m_text;
    qsizetype start = 0;
    qsizetype nextCr = text.indexOf(u'\r'), nextLf = text.indexOf(u'\n');
    while (start < text.size()) {
        if (nextCr >= 0 && nextCr < start)
            nextCr = text.indexOf(u'\r', start);
        if (nextLf >= 0 && nextLf < start)
            nextLf = text.indexOf(u'\n', start);
        const qsizetype stop = std::min(nextCr < 0 ? text.size() : nextCr, nextLf < 0 ? text.size() : nextLf);
        LineEnd end = LineEnd::None;
        qsizetype next = stop;
        if (stop < text.size() && text[stop] == u'\n') {
            end = LineEnd::Lf;
            next = stop + 1;
        } else if (stop + 1 < text.size() && text[stop + 1] == u'\n') {
            end = LineEnd::CrLf;
            next = stop + 2;
        } else if (stop < text.size()) {
            end = LineEnd::Cr;
            next = stop + 1;
        }

        const QString lineText = QString::fromRawData(text.constData() + start, stop - start);
        if (!decoded.ascii)
            addText(lineText);
        const ParsedLine parsed = parseLine(lineText);
        if (parsed.kind == ParsedLine::Header) {
            m_sections.emplace_back();
            m_sectionsByName[foldedHash(parsed.name)].append(std::prev(m_sections.end()));
        }
        Section &section = m_sections.back();
        const auto line = section.lines.insert(section.lines.end(), Line{lineText, end});
        if (parsed.kind == ParsedLine::Key)
            section.keys[foldedHash(parsed.name)].append(line);
        start = next;
    }
}

QByteArray ProfileDocument::toBytes() const
{
    qsizetype size = 0;
    for (const Section &section : m_sections) {
        for (const Line &line : section.lines)
            size += line.text.size() + 2;
    }
    QString text;
    text.reserve(size);
    for (const Section &section : m_sections) {
        for (const Line &line : section.lines) {
            text += line.text;
            switch (line.end) {
            case LineEnd::None: break;
            case LineEnd::CrLf: text += QLatin1String("\r\n"); break;
            case LineEnd::Lf: text += u'\n'; break;
            case LineEnd::Cr: text += u'\r'; break;
            }
        }
    }
    return encodeProfileText(text, m_encoding) + m_tail;
}

bool ProfileDocument::operator==(const ProfileDocument &other) const
{
    // The counts only matter, and are only kept, while the file has no BOM.
    const bool counted = m_encoding == ProfileEncoding::Windows1252 || m_encoding == ProfileEncoding::Utf8;
    if (m_encoding != other.m_encoding || m_tail != other.m_tail || m_exact != other.m_exact
        || m_sections.size() != other.m_sections.size()
        || (counted && (m_nonAsciiLines != other.m_nonAsciiLines || m_nonUtf8Lines != other.m_nonUtf8Lines)))
        return false;
    const auto sameLines = [](const Section &a, const Section &b) {
        return std::equal(a.lines.begin(), a.lines.end(), b.lines.begin(), b.lines.end(),
                          [](const Line &x, const Line &y) { return x.text == y.text && x.end == y.end; });
    };
    return std::equal(m_sections.begin(), m_sections.end(), other.m_sections.begin(), sameLines)
           && indexPositions() == other.indexPositions();
}

QList<QHash<size_t, QList<qsizetype>>> ProfileDocument::indexPositions() const
{
    QList<QHash<size_t, QList<qsizetype>>> positions(1);
    for (auto entry = m_sectionsByName.begin(); entry != m_sectionsByName.end(); ++entry) {
        for (const Sections::iterator section : entry.value())
            positions[0][entry.key()].append(std::distance(m_sections.begin(), Sections::const_iterator(section)));
    }
    for (const Section &section : m_sections) {
        QHash<size_t, QList<qsizetype>> &keys = positions.emplace_back();
        for (auto entry = section.keys.begin(); entry != section.keys.end(); ++entry) {
            for (const Lines::iterator line : entry.value())
                keys[entry.key()].append(std::distance(section.lines.begin(), Lines::const_iterator(line)));
        }
    }
    return positions;
}

QString ProfileDocument::read(QStringView section, QStringView key, int bufferSize) const
{
    const auto found = findSection(trimmedBlanks(section));
    if (found == m_sections.end())
        return {};
    const QStringView keyName = trimmedBlanks(key);
    const auto line = findKey(*found, keyName, foldedHash(keyName));
    if (!line)
        return {};
    QStringView value = parseLine((*line)->text).value;
    if (value.size() >= 2 && value.front() == value.back() && (value.front() == u'"' || value.front() == u'\''))
        value = value.sliced(1, value.size() - 2);
    return value.first(std::clamp<qsizetype>(bufferSize - 1, 0, value.size())).toString();
}

bool ProfileDocument::write(QStringView section, QStringView key, QStringView value)
{
    const QStringView sectionName = trimmedBlanks(section);
    const QStringView keyName = trimmedBlanks(key);
    const size_t keyHash = foldedHash(keyName);
    const auto found = findSection(sectionName);
    std::optional<Lines::iterator> line;
    if (found != m_sections.end())
        line = findKey(*found, keyName, keyHash);
    // Writing a key the value it holds is no change (a stored value holds no line break).
    if (line && parseLine((*line)->text).value == value)
        return false;
    // Most values hold no line break and are used as they are, without a copy.
    const bool oneLine = !hasLineBreak(value);
    const QString joined = oneLine ? QString() : onOneLine(value);
    const QStringView text = oneLine ? value : QStringView(joined);

    bool readsBack = true;
    if (found == m_sections.end()) {
        QString newLine = keyLine(keyName, text);
        const QString header = QLatin1Char('[') + sectionName.toString() + QLatin1Char(']');
        readsBack = readsBackAs(header, ParsedLine::Header, sectionName)
                    && readsBackAs(newLine, ParsedLine::Key, keyName);
        appendSection(sectionName, std::move(newLine));
    } else if (line) {
        // The line is rewritten with the key as the file spells it; an equal value is no change.
        Line &existing = **line;
        const ParsedLine parsed = parseLine(existing.text);
        if (parsed.value == text)
            return false;
        QString rewritten = keyLine(parsed.name, text);
        readsBack = readsBackAs(rewritten, ParsedLine::Key, parsed.name);
        dropText(existing.text);
        addText(rewritten);
        existing.text = std::move(rewritten);
    } else {
        // A new key goes right after the section's last non-blank line; blank lines after it
        // stay after the new one.
        const LineEnd end = newLineEnd();
        auto after = std::prev(found->lines.end());
        while (parseLine(after->text).kind == ParsedLine::Blank)
            --after; // stops at the header at the latest
        if (after->end == LineEnd::None)
            after->end = end;
        const QString newLine = keyLine(keyName, text);
        readsBack = readsBackAs(newLine, ParsedLine::Key, keyName);
        addText(newLine);
        const Lines::iterator added = found->lines.insert(std::next(after), Line{newLine, end});
        if (readsBack)   // otherwise the whole document is read again below
            found->keys[keyHash].append(added);
        joinCrLf(found->lines, added);
    }
    // A line that reads back as something else changes more than itself: the document is
    // what its bytes read as.
    if (readsBack)
        settleEncoding();
    else
        load(toBytes());
    return true;
}

bool ProfileDocument::deleteKey(QStringView section, QStringView key)
{
    const auto found = findSection(trimmedBlanks(section));
    if (found == m_sections.end())
        return false;
    const QStringView name = trimmedBlanks(key);
    const auto entry = found->keys.find(foldedHash(name));
    const qsizetype place = entry == found->keys.end() ? -1 : placeOf(*entry, name);
    if (place < 0)
        return false;
    const Lines::iterator line = (*entry)[place];
    entry->remove(place); // a duplicate below, if any, becomes the key
    if (entry->isEmpty())
        found->keys.erase(entry);
    dropText(line->text);
    joinCrLf(found->lines, std::prev(found->lines.erase(line))); // the header at the latest
    settleEncoding();
    return true;
}

bool ProfileDocument::deleteSection(QStringView section)
{
    const QStringView name = trimmedBlanks(section);
    const auto entry = m_sectionsByName.find(foldedHash(name));
    const qsizetype place = entry == m_sectionsByName.end() ? -1 : sectionPlaceOf(*entry, name);
    if (place < 0)
        return false;
    const Sections::iterator found = (*entry)[place];
    entry->remove(place);
    if (entry->isEmpty())
        m_sectionsByName.erase(entry);
    removeLines(*found, found->lines.begin());
    m_lastSection.reset();
    m_sections.erase(found);
    settleEncoding();
    return true;
}

bool ProfileDocument::hasSection(QStringView section) const
{
    return findSection(trimmedBlanks(section)) != m_sections.end();
}

bool ProfileDocument::clearSection(QStringView section)
{
    const auto found = findSection(trimmedBlanks(section));
    if (found == m_sections.end() || found->lines.size() == 1)
        return false;
    removeLines(*found, std::next(found->lines.begin()));
    found->keys.clear();
    settleEncoding();
    return true;
}

ProfileDocument::Sections::iterator ProfileDocument::findSection(QStringView name)
{
    if (m_lastSection && sameName(m_lastSection->first, name))
        return m_lastSection->second;
    const auto found = m_sectionsByName.constFind(foldedHash(name));
    const qsizetype place = found == m_sectionsByName.constEnd() ? -1 : sectionPlaceOf(*found, name);
    if (place < 0)
        return m_sections.end();
    m_lastSection.emplace(name.toString(), (*found)[place]);
    return m_lastSection->second;
}

ProfileDocument::Sections::const_iterator ProfileDocument::findSection(QStringView name) const
{
    return const_cast<ProfileDocument *>(this)->findSection(name);
}

std::optional<ProfileDocument::Lines::iterator> ProfileDocument::findKey(const Section &section, QStringView name,
                                                                        size_t hash)
{
    const auto found = section.keys.constFind(hash);
    const qsizetype place = found == section.keys.constEnd() ? -1 : placeOf(*found, name);
    if (place < 0)
        return std::nullopt;
    return (*found)[place];
}

void ProfileDocument::indexKey(Section &section, Lines::iterator line)
{
    // Reading indexes lines in file order; an edit indexes a new line only for a key the section
    // does not hold yet. Either way each list stays in file order.
    const ParsedLine parsed = parseLine(line->text);
    if (parsed.kind == ParsedLine::Key)
        section.keys[foldedHash(parsed.name)].append(line);
}

void ProfileDocument::appendSection(QStringView name, QString keyLine)
{
    const LineEnd end = newLineEnd();
    if (Line *last = lastLine(); last && last->end == LineEnd::None)
        last->end = end;
    QString header = QLatin1Char('[') + name.toString() + QLatin1Char(']');
    addText(header);
    addText(keyLine);
    Section &section = m_sections.emplace_back();
    section.lines.push_back(Line{std::move(header), end});
    indexKey(section, section.lines.insert(section.lines.end(), Line{std::move(keyLine), end}));
    m_sectionsByName[foldedHash(name)].append(std::prev(m_sections.end()));
}

void ProfileDocument::removeLines(Section &section, Lines::iterator from)
{
    for (auto line = from; line != section.lines.end(); ++line)
        dropText(line->text);
    section.lines.erase(from, section.lines.end());
}

void ProfileDocument::joinCrLf(Lines &lines, Lines::iterator line)
{
    // Written out, a line ending in CR followed by an empty line ending in LF reads back as one
    // line ending in CR LF. An edit that brings the two together makes them that line. The next
    // line is in the same section: a header is never empty.
    const auto next = std::next(line);
    if (line->end == LineEnd::Cr && next != lines.end() && next->end == LineEnd::Lf && next->text.isEmpty()) {
        line->end = LineEnd::CrLf;
        lines.erase(next);
    }
}

ProfileDocument::LineEnd ProfileDocument::newLineEnd() const
{
    // New lines take the ending of the file's first line; without one, CR LF.
    for (const Section &section : m_sections) {
        if (!section.lines.empty()) {
            const LineEnd first = section.lines.front().end;
            return first == LineEnd::None ? LineEnd::CrLf : first;
        }
    }
    return LineEnd::CrLf;
}

ProfileDocument::Line *ProfileDocument::lastLine()
{
    // Only the lines before the first header can be an empty list, and then they are the
    // whole file.
    Lines &lines = m_sections.back().lines;
    return lines.empty() ? nullptr : &lines.back();
}

void ProfileDocument::addText(const QString &text)
{
    if (!hasNonAscii(text))   // most lines: every encoding holds them as they are
        return;
    // A character Windows-1252 cannot hold is never lost: the file becomes UTF-16LE instead.
    if (m_encoding == ProfileEncoding::Windows1252 && !fitsWindows1252(text))
        m_encoding = ProfileEncoding::Utf16LE;
    if ((m_encoding == ProfileEncoding::Windows1252 || m_encoding == ProfileEncoding::Utf8) && hasNonAscii(text)) {
        ++m_nonAsciiLines;
        if (m_encoding == ProfileEncoding::Windows1252 && !isStrictUtf8(toWindows1252(text)))
            ++m_nonUtf8Lines;
    }
}

void ProfileDocument::dropText(const QString &text)
{
    if ((m_encoding == ProfileEncoding::Windows1252 || m_encoding == ProfileEncoding::Utf8) && hasNonAscii(text)) {
        --m_nonAsciiLines;
        if (m_encoding == ProfileEncoding::Windows1252 && !isStrictUtf8(toWindows1252(text)))
            --m_nonUtf8Lines;
    }
}

void ProfileDocument::settleEncoding()
{
    // A file without BOM is judged afresh each time it is read: UTF-8 that has lost its last
    // non-ASCII character reads as Windows-1252 from then on. Windows-1252 bytes that have
    // become valid UTF-8 ("ß½" is DF BD) would read as UTF-8 and change their text: such a file
    // is written as UTF-16LE instead, as one holding a character beyond Windows-1252 is.
    if (m_encoding == ProfileEncoding::Utf8 && m_nonAsciiLines == 0)
        m_encoding = ProfileEncoding::Windows1252;
    else if (m_encoding == ProfileEncoding::Windows1252 && m_nonAsciiLines > 0 && m_nonUtf8Lines == 0)
        m_encoding = ProfileEncoding::Utf16LE;
}

} // namespace platform
