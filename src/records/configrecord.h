#pragma once
// The in-memory copy of one of the front-end's INI files. The front-end keeps most of its texts
// and options as numbered lines ("TEXT" 1, "TEXT" 2, ... of the text section, "OPTION" 1, ...
// of "Global Options"), each value a field list whose first field is the front-end's own key
// ("__MENU1_TITLE__") and whose second field is the value. The record reads those lines into
// lists of entries, answers and changes values by the front-end key, and writes them back.
#include "ini/profile.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <optional>

namespace records {

struct ConfigEntry {
    QString key;
    QString value;
    // The marker of an unused position: the value "NULL", as read from a file or as the menu
    // writer marks a text no menu uses any more. Save leaves such a text out. A text that a
    // menu uses keeps its line even when its value is "NULL".
    bool unused = false;

    friend bool operator==(const ConfigEntry &a, const ConfigEntry &b)
    {
        return a.key == b.key && a.value == b.value;
    }
    friend bool operator!=(const ConfigEntry &a, const ConfigEntry &b) { return !(a == b); }
};

// What one change of a text found under its key, so it can be taken back: the key's entries in
// file order, none when the key had no entry.
struct TextChange {
    QString key;
    bool welcome = false;   // among the welcome entries
    QList<ConfigEntry> previous;
};

// Entries in file order, found by key without a scan: menus look up thousands of texts.
class EntryList {
public:
    void append(const ConfigEntry &entry);
    void assign(const QList<ConfigEntry> &entries);
    // Removes every entry with this key.
    void removeAll(const QString &key);
    // The first entry with this key, or null.
    ConfigEntry *find(const QString &key);
    const ConfigEntry *find(const QString &key) const;
    // The position of the first entry with this key, -1 when none has it.
    qsizetype indexOf(const QString &key) const;
    // Every entry with this key, in file order (mostly one: no allocation).
    QVarLengthArray<ConfigEntry *, 1> findAll(const QString &key);
    const QList<ConfigEntry> &entries() const { return m_entries; }

private:
    QList<ConfigEntry> m_entries;
    using Positions = QVarLengthArray<qsizetype, 1>;   // most keys stand once: no allocation
    QHash<QString, Positions> m_positions;
};

class ConfigRecord {
public:
    explicit ConfigRecord(const QString &filePath, const QString &section = QStringLiteral("Access Text"));

    // Reads the numbered "TEXT" lines of the text section and of "WELCOME", then the fixed texts.
    void loadTexts();
    // The same, read through read (from a snapshot of the file, say) instead of from the file.
    void loadTexts(const ini::ProfileRead &read);
    // Reads the numbered "OPTION" lines of "Global Options".
    void loadOptions();

    // The value of the first entry with this key among the text entries, then the option
    // entries; empty when none holds it.
    QString getValue(const QString &key) const;
    // The section and the numbered key ("Access Text", "TEXT12") of the line that getValue's
    // entry was read from; nothing when no entry has the key. Right while the lists are as read:
    // the command line finds the lines of what it reports this way.
    std::optional<std::pair<QString, QString>> lineKeyOf(const QString &key) const;

    // Gives every text entry with this key the value, or appends an entry when none has it.
    // A section of "welcome" (in any case) works on the welcome entries instead; any other
    // section means the text entries. Changes stay in memory until save().
    void setText(const QString &key, const QString &value, const QString &section = QString());
    // Marks the text of a position no menu uses any more ("NULL", see ConfigEntry::unused).
    void markUnused(const QString &key, const QString &section = QString());
    // Gives the first option entry with this key the value.
    void setOption(const QString &key, const QString &value);

    // The five looks of main menu n: "__MENU" n "ICON__", "_HOVER_ICON__", "_COLOR__",
    // "_COLORBAR__" and "__TAB" n "ICON__".
    void setMenuLooks(int n, const QString &mainIcon, const QString &hoverIcon, const QString &color,
                      const QString &colorBar, const QString &tabIcon);
    // The three texts of main menu n: "__MENU" n "_ALT_KEY__", "_TITLE__", "_CONTENT_TITLE__".
    void setMenuTexts(int n, const QString &altKey, const QString &displayTitle, const QString &plainTitle);
    // Takes out the texts of main menu p (1 to 5): the Alt key, title, content title and
    // "__TAB" p "_DESCRIPTION__" of the later menus move down one position, the fifth becomes empty.
    void removeMenuTexts(int p);

    // Undo of text changes: from noteTextChanges() on, every change of a text is noted until
    // takeTextChanges() hands the notes over; revertTextChanges() takes them back, last first,
    // leaving the texts exactly as they were.
    void noteTextChanges();
    QList<TextChange> takeTextChanges();
    void revertTextChanges(const QList<TextChange> &changes);

    // Writes the text entries and the option entries back as numbered lines into filePath,
    // which becomes the record's file, in one atomic write. False when the file could not be written.
    bool save(const QString &filePath);
    // The text and option entries that save writes but whose value would read back otherwise
    // from any form of a field (a value that begins or ends with a double quote, say). Save
    // writes them quoted all the same; the caller tells the user.
    QList<ConfigEntry> unstorableEntries() const;

    QString filePath() const { return m_filePath; }
    QString section() const { return m_section; }
    const QList<ConfigEntry> &welcomeEntries() const { return m_welcomeEntries.entries(); }
    const QList<ConfigEntry> &textEntries() const { return m_textEntries.entries(); }
    const QList<ConfigEntry> &optionEntries() const { return m_optionEntries.entries(); }

private:
    void changeText(const QString &key, const ConfigEntry &changed, const QString &section);

    QString m_filePath;
    QString m_section;
    EntryList m_welcomeEntries;
    EntryList m_textEntries;
    EntryList m_optionEntries;
    // How many numbered lines the file held when the list was read; unset until it is read.
    std::optional<int> m_textLinesRead;
    std::optional<int> m_optionLinesRead;
    std::optional<QList<TextChange>> m_textChanges;
};

} // namespace records
