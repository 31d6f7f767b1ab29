#include "configrecord.h"

#include "fields.h"
#include "ini/profile.h"

#include <charconv>

namespace records {
namespace {

const QString textPrefix = QStringLiteral("TEXT");
const QString optionPrefix = QStringLiteral("OPTION");
const QString optionSection = QStringLiteral("Global Options");
const QString welcomeSection = QStringLiteral("WELCOME");
// The value of a text whose position is no longer used; the record's save leaves it out.
const QString unusedMarker = QStringLiteral("NULL");

// The first ten lines of each numbered list belong to the front-end and are never rewritten.
constexpr int frontEndLines = 10;
constexpr int mainMenuPositions = 5;
constexpr int bufferSize = 2048;

QString numberedKey(const QString &prefix, int number)
{
    return prefix + QString::number(number);
}

// Makes key the numbered key, reusing its buffer: a list of thousands of lines allocates once.
void setNumberedKey(QString &key, const QString &prefix, int number)
{
    if (!key.startsWith(prefix))
        key = prefix;
    key.truncate(prefix.size());
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    key.append(QLatin1StringView(digits, end - digits));
}

QString menuKey(int n, const char *suffix)
{
    return QStringLiteral("__MENU") + QString::number(n) + QLatin1String(suffix);
}

QString tabKey(int n, const char *suffix)
{
    return QStringLiteral("__TAB") + QString::number(n) + QLatin1String(suffix);
}

// Numbered lines are read from 1 up to the first number that yields nothing: lines after a
// gap are not part of the list.
QList<ConfigEntry> readNumberedLines(const ini::ProfileRead &read, const QString &section, const QString &prefix)
{
    QList<ConfigEntry> entries;
    QString key;
    for (int n = 1;; ++n) {
        setNumberedKey(key, prefix, n);
        const QString line = read(section, key, bufferSize);
        if (line.isEmpty())
            break;
        const FieldViews fields = splitFieldViews(line);
        const QStringView value = fields.size() > 1 ? fields[1] : QStringView();
        entries.append({fields[0].toString(), value.toString(), value == unusedMarker});
    }
    return entries;
}

// Writes the entries after the front-end's ten as "key,"value"" lines numbered from 11 (a value
// with quotes of its own in the form that reads back as it is, see fieldFor). With skipUnused,
// the marker of an unused position is left out and the next entry takes its number.
// Afterwards every numbered line past the new end is deleted: all numbers the list held when
// it was read, and on as long as the file holds further lines. Otherwise lines of a longer
// earlier list would survive after the end (or come back into view once a gap before them is
// written over) and a reader would take them for part of the list. Lines that stay are
// rewritten in place, so saving an unchanged record leaves the file as it was.
bool writeNumberedLines(const QString &file, const QString &section, const QString &prefix,
                        const QList<ConfigEntry> &entries, std::optional<int> linesRead, bool skipUnused)
{
    // A list the record neither read nor filled is not its to rewrite (a text file's options).
    if (!linesRead && entries.isEmpty())
        return true;
    bool written = true;
    int number = 0;
    QString key, line;   // one buffer each for thousands of lines
    for (const ConfigEntry &entry : entries) {
        ++number;
        if (number <= frontEndLines)
            continue;
        if (skipUnused && entry.unused) {
            --number;
            continue;
        }
        line.truncate(0);
        line.append(entry.key).append(QLatin1Char(','));
        if (const std::optional<QString> field = fieldFor(entry.value))
            line.append(*field);
        else
            line.append(QLatin1Char('"')).append(entry.value).append(QLatin1Char('"'));
        setNumberedKey(key, prefix, number);
        written = ini::writeProfileString(file, section, key, line) && written;
    }
    for (int stale = qMax(number, frontEndLines) + 1;
         stale <= linesRead.value_or(0)
         || !ini::readProfileString(file, section, numberedKey(prefix, stale), bufferSize).isEmpty();
         ++stale) {
        written = ini::deleteProfileKey(file, section, numberedKey(prefix, stale)) && written;
    }
    return written;
}

} // namespace

void EntryList::append(const ConfigEntry &entry)
{
    m_positions[entry.key].append(m_entries.size());
    m_entries.append(entry);
}

void EntryList::assign(const QList<ConfigEntry> &entries)
{
    m_entries.clear();
    m_positions.clear();
    m_entries.reserve(entries.size());
    m_positions.reserve(entries.size());
    for (const ConfigEntry &entry : entries)
        append(entry);
}

void EntryList::removeAll(const QString &key)
{
    const Positions positions = m_positions.value(key);
    if (positions.isEmpty())
        return;
    // An entry appended last comes off the end without touching the others.
    if (positions.size() == 1 && positions.front() == m_entries.size() - 1) {
        m_entries.removeLast();
        m_positions.remove(key);
        return;
    }
    QList<ConfigEntry> kept = m_entries;
    kept.removeIf([&key](const ConfigEntry &entry) { return entry.key == key; });
    assign(kept);
}

ConfigEntry *EntryList::find(const QString &key)
{
    const auto found = m_positions.constFind(key);
    return found == m_positions.constEnd() ? nullptr : &m_entries[found->front()];
}

// Reads only: a record read on one thread may be looked up on another while it is being read.
const ConfigEntry *EntryList::find(const QString &key) const
{
    const auto found = m_positions.constFind(key);
    return found == m_positions.constEnd() ? nullptr : &m_entries.at(found->front());
}

qsizetype EntryList::indexOf(const QString &key) const
{
    const auto found = m_positions.constFind(key);
    return found == m_positions.constEnd() ? -1 : found->front();
}

QVarLengthArray<ConfigEntry *, 1> EntryList::findAll(const QString &key)
{
    QVarLengthArray<ConfigEntry *, 1> found;
    if (const auto positions = m_positions.constFind(key); positions != m_positions.constEnd()) {
        for (const qsizetype position : *positions)
            found.append(&m_entries[position]);
    }
    return found;
}

ConfigRecord::ConfigRecord(const QString &filePath, const QString &section)
    : m_filePath(filePath), m_section(section)
{
}

void ConfigRecord::loadTexts()
{
    loadTexts(ini::profileReader(m_filePath));
}

void ConfigRecord::loadTexts(const ini::ProfileRead &read)
{
    m_textEntries.assign(readNumberedLines(read, m_section, textPrefix));
    m_welcomeEntries.assign(readNumberedLines(read, welcomeSection, textPrefix));
    m_textLinesRead = int(m_textEntries.entries().size());
}

void ConfigRecord::loadOptions()
{
    m_optionEntries.assign(readNumberedLines(ini::profileReader(m_filePath), optionSection, optionPrefix));
    m_optionLinesRead = int(m_optionEntries.entries().size());
}

QString ConfigRecord::getValue(const QString &key) const
{
    for (const EntryList *entries : {&m_textEntries, &m_optionEntries}) {
        if (const ConfigEntry *entry = entries->find(key))
            return entry->value;
    }
    return QString();
}

std::optional<std::pair<QString, QString>> ConfigRecord::lineKeyOf(const QString &key) const
{
    if (const qsizetype index = m_textEntries.indexOf(key); index >= 0)
        return std::make_pair(m_section, numberedKey(textPrefix, int(index) + 1));
    if (const qsizetype index = m_optionEntries.indexOf(key); index >= 0)
        return std::make_pair(optionSection, numberedKey(optionPrefix, int(index) + 1));
    return std::nullopt;
}

void ConfigRecord::setText(const QString &key, const QString &value, const QString &section)
{
    changeText(key, {key, value, false}, section);
}

void ConfigRecord::markUnused(const QString &key, const QString &section)
{
    changeText(key, {key, unusedMarker, true}, section);
}

void ConfigRecord::changeText(const QString &key, const ConfigEntry &changed, const QString &section)
{
    // An empty key names nothing the front-end could look up (the menu writer passes one for
    // an entry without a description), so it never becomes a line.
    if (key.isEmpty())
        return;
    const bool welcome = section.compare(QLatin1String("welcome"), Qt::CaseInsensitive) == 0;
    EntryList &entries = welcome ? m_welcomeEntries : m_textEntries;
    const auto found = entries.findAll(key);
    if (m_textChanges) {
        TextChange change{key, welcome, {}};
        for (const ConfigEntry *entry : found)
            change.previous.append(*entry);
        m_textChanges->append(change);
    }
    for (ConfigEntry *entry : found)
        *entry = changed;
    if (found.isEmpty())
        entries.append(changed);
}

void ConfigRecord::noteTextChanges()
{
    m_textChanges.emplace();
}

QList<TextChange> ConfigRecord::takeTextChanges()
{
    QList<TextChange> changes = m_textChanges.value_or(QList<TextChange>());
    m_textChanges.reset();
    return changes;
}

void ConfigRecord::revertTextChanges(const QList<TextChange> &changes)
{
    for (auto change = changes.crbegin(); change != changes.crend(); ++change) {
        EntryList &entries = change->welcome ? m_welcomeEntries : m_textEntries;
        if (change->previous.isEmpty()) {   // the change appended the key's only entry
            entries.removeAll(change->key);
            continue;
        }
        const auto found = entries.findAll(change->key);
        for (qsizetype i = 0; i < found.size() && i < change->previous.size(); ++i)
            *found[i] = change->previous.at(i);
    }
}

void ConfigRecord::setOption(const QString &key, const QString &value)
{
    // Options are the front-end's own settings: a key the list does not hold is not one the
    // front-end knows, so it is not invented here.
    if (ConfigEntry *entry = m_optionEntries.find(key))
        entry->value = value;
}

void ConfigRecord::setMenuLooks(int n, const QString &mainIcon, const QString &hoverIcon, const QString &color,
                                const QString &colorBar, const QString &tabIcon)
{
    setOption(menuKey(n, "ICON__"), mainIcon);
    setOption(menuKey(n, "_HOVER_ICON__"), hoverIcon);
    setOption(menuKey(n, "_COLOR__"), color);
    setOption(menuKey(n, "_COLORBAR__"), colorBar);
    setOption(tabKey(n, "ICON__"), tabIcon);
}

void ConfigRecord::setMenuTexts(int n, const QString &altKey, const QString &displayTitle,
                                const QString &plainTitle)
{
    setText(menuKey(n, "_ALT_KEY__"), altKey);
    setText(menuKey(n, "_TITLE__"), displayTitle);
    setText(menuKey(n, "_CONTENT_TITLE__"), plainTitle);
}

void ConfigRecord::removeMenuTexts(int p)
{
    if (p < 1 || p > mainMenuPositions)
        return;
    using KeyOf = QString (*)(int);
    const KeyOf kinds[] = {
        [](int n) { return menuKey(n, "_ALT_KEY__"); },
        [](int n) { return menuKey(n, "_TITLE__"); },
        [](int n) { return menuKey(n, "_CONTENT_TITLE__"); },
        [](int n) { return tabKey(n, "_DESCRIPTION__"); },
    };
    for (const KeyOf keyOf : kinds) {
        for (int position = p; position <= mainMenuPositions; ++position) {
            const ConfigEntry *next =
                position < mainMenuPositions ? m_textEntries.find(keyOf(position + 1)) : nullptr;
            const QString value = next ? next->value : QString();
            // A missing text reads as empty already: no entry is made just to hold nothing.
            if (value.isEmpty() && !m_textEntries.find(keyOf(position)))
                continue;
            setText(keyOf(position), value);
        }
    }
}

bool ConfigRecord::save(const QString &filePath)
{
    m_filePath = filePath;
    ini::ProfileBatch batch;
    const bool textsWritten =
        writeNumberedLines(m_filePath, m_section, textPrefix, m_textEntries.entries(), m_textLinesRead, true);
    const bool optionsWritten =
        writeNumberedLines(m_filePath, optionSection, optionPrefix, m_optionEntries.entries(), m_optionLinesRead, false);
    const bool committed = batch.commit();
    return committed && textsWritten && optionsWritten;
}

QList<ConfigEntry> ConfigRecord::unstorableEntries() const
{
    QList<ConfigEntry> unstorable;
    for (const EntryList *entries : {&m_textEntries, &m_optionEntries}) {
        // The front-end's own first lines are never written.
        for (const ConfigEntry &entry : entries->entries().mid(frontEndLines)) {
            if (!isStorable(entry.value))
                unstorable.append(entry);
        }
    }
    return unstorable;
}

} // namespace records
