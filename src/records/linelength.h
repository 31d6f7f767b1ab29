#pragma once
// The front-end reads every line of its files one key at a time into a buffer of 2048 UTF-16
// code units: a value longer than 2047 units comes back cut, and with it whatever stands at its
// end (the description key of an entry line, the end of a text, half of a surrogate pair). These
// functions say, before anything is written, how much room the values the tool writes leave in
// their lines, so that a text that would come back as something else is refused instead.
#include <QString>

namespace records {

// The most code units of a value that the front-end reads back whole.
constexpr qsizetype LineCapacity = 2047;

// The code units left in the numbered text line key,"text" (the text in the field form the
// records write, see fieldFor); negative when the line would come back cut.
qsizetype textLineRoom(const QString &key, const QString &text);

// The room the two text lines of main menu p leave for its title: the plain title and the
// display title (the title with its Alt-key letter marked), whichever has less.
qsizetype mainMenuTitleRoom(int p, const QString &contentTitle, const QString &displayTitle);

// Where the build writes an entry: menu entry `entry` of main menu `menu` and, for a sub-entry,
// its number below that menu entry. The numbers are part of the entry's keys, so they take room
// in its lines.
struct EntryPlace {
    int menu = 1;
    int entry = 1;
    int subEntry = 0;   // 0: the menu entry itself

    friend bool operator==(const EntryPlace &a, const EntryPlace &b)
    {
        return a.menu == b.menu && a.entry == b.entry && a.subEntry == b.subEntry;
    }
};

// The code units the lines of one entry leave, negative where a line would come back cut: the
// text lines of its title and of its description, and its 16-field line in the menu file, which
// holds its type icon, its location and, when it has a description, the description's key.
struct EntryLineRoom {
    qsizetype title = 0;
    qsizetype description = 0;
    qsizetype entryLine = 0;

    bool fits() const { return title >= 0 && description >= 0 && entryLine >= 0; }
};

EntryLineRoom entryLineRoom(const EntryPlace &place, const QString &typeIcon, const QString &title,
                            const QString &description, const QString &location);

} // namespace records
