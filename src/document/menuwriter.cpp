#include "menuwriter.h"

#include "records/configrecord.h"
#include "menus.h"
#include "ini/profile.h"

#include <QDir>
#include <QFile>
#include <QStringBuilder>

namespace document {
namespace {

// The section of the text record that the entries' titles and descriptions go to.
const QString entryTextSection = QStringLiteral("Access Kavo");
// A main menu's own line carries nothing but the flag that it holds entries.
const QString mainMenuLine = QStringLiteral(",,TRUE,,,,,,,,,,,,,");
// How many entries, and sub-entries per entry, of a main menu that is gone have their texts
// cleared; texts of higher numbers stay in the record.
constexpr int clearedEntryNumbers = 6;

// An entry's title key is "__" + body + "__", its description key "__" + body + "-A__",
// where the body is "1-SUBMENU3" for a menu entry and "1-SUBMENU3-2" for a sub-entry.
// A main menu's tab description travels with the menu: after renumbering it must be found
// under the menu's new number, or the front-end would show the description of another menu.
QString tabDescriptionKey(int p)
{
    return QStringLiteral("__TAB%1_DESCRIPTION__").arg(p);
}

QString titleKey(const QString &body)
{
    return QLatin1String("__") % body % QLatin1String("__");
}

QString descriptionKey(const QString &body)
{
    return QLatin1String("__") % body % QLatin1String("-A__");
}

// Gives the entry the name and description key of its new number. An entry without a
// description has no description key, so its line leaves field 12 empty.
void nameEntry(CItem &entry, const QString &body)
{
    entry.setName(titleKey(body));
    entry.setDescriptionKey(entry.description().isEmpty() ? QString() : descriptionKey(body));
}

// The record ignores the empty description key of an entry without a description.
void storeTexts(const CItem &entry, records::ConfigRecord &textRecord)
{
    textRecord.setText(entry.descriptionKey(), entry.description(), entryTextSection);
    textRecord.setText(entry.name(), entry.title(), entryTextSection);
}

// Marks the texts a former main menu p left behind as unused ("NULL"), so that saving drops them.
void clearTextsOfMenu(int p, records::ConfigRecord &textRecord)
{
    for (const char *text : {"_ALT_KEY__", "_TITLE__", "_CONTENT_TITLE__"})
        textRecord.markUnused(QStringLiteral("__MENU%1").arg(p) + QLatin1String(text));
    textRecord.markUnused(tabDescriptionKey(p));
    for (int q = 1; q <= clearedEntryNumbers; ++q) {
        const QString entryBody = QString::number(p) + QLatin1String("-SUBMENU") + QString::number(q);
        QStringList bodies{entryBody};
        for (int r = 1; r <= clearedEntryNumbers; ++r)
            bodies << entryBody + QLatin1Char('-') + QString::number(r);
        for (const QString &body : std::as_const(bodies)) {
            textRecord.markUnused(titleKey(body), entryTextSection);
            textRecord.markUnused(descriptionKey(body), entryTextSection);
        }
    }
}

} // namespace

void storeMenuTexts(Menus &model, records::ConfigRecord &textRecord, records::ConfigRecord &configRecord)
{
    int p = 0;
    for (CItem *menu : model.mainMenus()) {
        ++p;
        textRecord.setMenuTexts(p, menu->altKey(), menu->displayTitle(), menu->contentTitle());
        textRecord.setText(tabDescriptionKey(p), menu->tabDescription());
        configRecord.setMenuLooks(p, menu->mainIcon(), menu->hoverIcon(), menu->color(), menu->colorBar(),
                                  menu->tabIcon());
        int q = 0;
        for (CItem *entry : menu->entries()) {
            ++q;
            const QString entryBody = QString::number(p) % QLatin1String("-SUBMENU") % QString::number(q);
            nameEntry(*entry, entryBody);
            storeTexts(*entry, textRecord);
            // Only a sub-menu's sub-entries are written, whatever its list holds.
            if (!entry->hasEntries())
                continue;
            int r = 0;
            for (CItem *subEntry : entry->entries()) {
                ++r;
                nameEntry(*subEntry, entryBody % QLatin1Char('-') % QString::number(r));
                storeTexts(*subEntry, textRecord);
            }
        }
    }
    for (int unused = p + 1; unused <= Menus::MaxMenuNumber; ++unused)
        clearTextsOfMenu(unused, textRecord);
}

bool writeMenuFile(const Menus &model, const QString &machineFilePath, const QString &programDir)
{
    // The menu file is edited key by key; the batch writes it once.
    ini::ProfileBatch batch;
    bool written = true;
    const auto writeLine = [&](const QString &section, const QString &key, const QString &line) {
        written = ini::writeProfileString(machineFilePath, section, key, line) && written;
    };

    int p = 0;
    for (const CItem *menu : model.mainMenus()) {
        ++p;
        const QString section = QStringLiteral("Menu%1").arg(p);
        // Emptied first: keys of entries that are gone (and keys the tool does not know) must
        // not survive. The header keeps its place, so an unchanged model writes the same file.
        written = ini::clearProfileSection(machineFilePath, section) && written;
        writeLine(section, section + QLatin1String("Info"), mainMenuLine);

        int q = 0;
        for (const CItem *entry : menu->entries()) {
            const QString entryKey = QLatin1String("submenu") % QString::number(++q);
            writeLine(section, entryKey, entry->toLine());
            if (!entry->hasEntries())
                continue;
            int r = 0;
            for (const CItem *subEntry : entry->entries())
                writeLine(section, entryKey % QLatin1String(".item") % QString::number(++r), subEntry->toLine());
        }
    }
    // Every section of a number that is gone goes: a reader sees only the first of a name, and a
    // second one would come into view once the first is gone.
    for (int unused = p + 1; unused <= Menus::MaxMenuNumber; ++unused) {
        const QString section = QStringLiteral("Menu%1").arg(unused);
        while (ini::hasProfileSection(machineFilePath, section)) {
            if (!ini::deleteProfileSection(machineFilePath, section)) {
                written = false;
                break;
            }
        }
    }
    written = batch.commit() && written;

    // Left-overs beside the program that nothing reads; one that will not go is no failure.
    // (An empty folder would mean the working directory, which is not the program's.)
    if (!programDir.isEmpty()) {
        const QDir program(programDir);
        for (const char *leftOver : {"machine-specifics.OLD", "access-text.OLD", "access-config.OLD"})
            QFile::remove(program.filePath(QLatin1String(leftOver)));
    }
    return written;
}

bool writeMenus(Menus &model, records::ConfigRecord &textRecord, records::ConfigRecord &configRecord,
                const QString &machineFilePath, const QString &textFilePath, const QString &configFilePath,
                const QString &programDir)
{
    ini::ProfileBatch batch;   // the three files are written once, together
    storeMenuTexts(model, textRecord, configRecord);
    bool written = textRecord.save(textFilePath);
    written = configRecord.save(configFilePath) && written;
    written = writeMenuFile(model, machineFilePath, programDir) && written;
    return batch.commit() && written;
}

} // namespace document
