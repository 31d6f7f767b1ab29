#include "packagecheck.h"

#include "packagedocument.h"

#include "ini/profile.h"
#include "packages/languagefiles.h"
#include "platform/programdir.h"
#include "records/fields.h"
#include "records/linelength.h"
#include "texts/texts.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>

namespace document {

namespace {

using Severity = Finding::Severity;
using Subject = Finding::Subject;

const QString checkSection = QStringLiteral("CHECK");

// How many characters of a title the front-end shows whole. The package may choose 800 x 600,
// so everything must fit a window 800 pixels wide, where the front-end's 8-point interface font
// takes about 7 pixels for an average character. The five main-menu tabs share the width: 160
// pixels each, less the tab's icon (32) and its margins (16), leave 112 pixels, 16 characters.
// A menu lists its entries in the left half of the page (the right half shows the description
// of the entry pointed at): 400 pixels less the entry's icon (32) and margins (32) leave 336
// pixels, 48 characters.
constexpr qsizetype mainMenuTitleLimit = 16;
constexpr qsizetype entryTitleLimit = 48;

// A value as a message names it: on one line, and cut when it is long (an over-long text
// would fill the screen).
QString shown(const QString &value)
{
    constexpr qsizetype most = 60;
    QString text = value.size() > most ? value.left(most) + QStringLiteral("…") : value;
    text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    text.replace(QLatin1Char('\r'), QLatin1String("\\n"));
    return text;
}

// %1 to %9 replaced in one pass, so that a value holding "%2" stays as it is.
QString withArguments(const QString &text, const QStringList &arguments)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('%') && i + 1 < text.size()) {
            const int number = text.at(i + 1).digitValue();
            if (number >= 1 && number <= arguments.size()) {
                result += arguments.at(number - 1);
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

// Keys of the texts and looks the menu writer stores from the menus at every build: "__MENU" n…,
// "__TAB" n…, and the entries' "__" n "-SUBMENU"… Until the next build the menus hold them.
bool isMenuKey(const QString &key)
{
    const QStringView name(key);
    for (const QStringView prefix : {QStringView(u"__MENU"), QStringView(u"__TAB"), QStringView(u"__")}) {
        if (name.startsWith(prefix) && name.size() > prefix.size() && name.at(prefix.size()).isDigit())
            return true;
    }
    return false;
}

bool isAbsoluteWindowsPath(const QString &location)
{
    // "C:\..." (or "C:/...") or "\\server\share...".
    if (location.size() >= 3 && location.at(0).isLetter() && location.at(0).unicode() < 128
        && location.at(1) == QLatin1Char(':') && (location.at(2) == QLatin1Char('\\') || location.at(2) == QLatin1Char('/')))
        return true;
    if (!location.startsWith(QLatin1String("\\\\")))
        return false;
    const qsizetype shareStart = location.indexOf(QLatin1Char('\\'), 2);
    return shareStart > 2 && shareStart + 1 < location.size() && location.at(shareStart + 1) != QLatin1Char('\\');
}

bool isInternetAddress(const QString &location)
{
    for (const QLatin1String scheme : {QLatin1String("http://"), QLatin1String("https://"), QLatin1String("ftp://"),
                                       QLatin1String("mailto:")}) {
        if (location.startsWith(scheme, Qt::CaseInsensitive))
            return location.size() > scheme.size() && !location.contains(QLatin1Char(' '));
    }
    return false;
}

// Writing a line break into a line would end it: the files keep a blank in its place.
bool hasLineBreak(const QString &value)
{
    return value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'));
}

// Whether values of this many characters in all could come near the end of a line. The check
// runs after every edit: the exact room, which forms each line's keys, is only worked out for those.
// The keys and other fields of an entry's lines take less than 128 characters.
bool nearCapacity(qsizetype valueSizes)
{
    return valueSizes + 128 > records::LineCapacity;
}

// A title as a key that ignores case, without a case-folded copy: the check runs after every edit.
struct FoldedTitle {
    QStringView text;
    bool operator==(const FoldedTitle &other) const { return text.compare(other.text, Qt::CaseInsensitive) == 0; }
};

size_t qHash(const FoldedTitle &title, size_t seed = 0)
{
    size_t hash = seed;
    for (const QChar c : title.text)
        hash = hash * 31 + c.toCaseFolded().unicode();
    return hash;
}

// A value without a double quote or a line break: the files keep it as it is.
bool isPlain(QStringView value)
{
    return std::none_of(value.begin(), value.end(),
                        [](QChar c) { return c == QLatin1Char('"') || c == QLatin1Char('\n') || c == QLatin1Char('\r'); });
}

class Checker {
public:
    explicit Checker(const PackageDocument &document) : m_document(document) {}

    QList<Finding> run()
    {
        checkFiles();
        checkCompanyName();
        checkTextColor();
        checkRecordTexts();
        checkMainMenus();
        return std::move(m_findings);
    }

private:
    void add(Severity severity, Subject subject, const CItem *item, const char *key, const QStringList &arguments = {},
             const QString &path = QString(), const QString &textKey = QString())
    {
        m_findings.append({severity, subject, item, QLatin1String(key), arguments, path, textKey});
    }

    void checkFiles()
    {
        const packages::PackageState &state = m_document.state();
        for (const QString &file : {state.machineFilePath, state.textFilePath, state.configFilePath}) {
            const QFileInfo info(file);
            if (!info.exists())
                add(Severity::Error, Subject::File, nullptr, "FILEMISSING", {file}, file);
            else if (!info.isFile() || !info.isReadable())
                add(Severity::Error, Subject::File, nullptr, "FILEUNREADABLE", {file}, file);
        }
        for (const QString &language : packages::languageDirsCreationOrder()) {
            const QString folder = state.packageDir + QLatin1Char('/') + language;
            if (!QFileInfo(folder).isDir())
                add(Severity::Error, Subject::LanguageFolder, nullptr, "LANGUAGEMISSING", {folder}, folder);
        }
    }

    void checkCompanyName()
    {
        const QString name = m_document.companyName();
        if (name.trimmed().isEmpty())
            add(Severity::Warning, Subject::CompanyName, nullptr, "COMPANYEMPTY");
        // The title is a value of its own, not a field: only a line break or its length garble it.
        if (hasLineBreak(name))
            add(Severity::Error, Subject::CompanyName, nullptr, "LINEBREAK", {shown(name)});
        if (!m_document.companyTitleFits())
            add(Severity::Error, Subject::CompanyName, nullptr, "OVERLONG",
                {shown(name), QString::number(records::LineCapacity)});
    }

    void checkTextColor()
    {
        // The value the next save writes; the one read, when nothing took it over.
        const GeneralSettings &settings = m_document.settings();
        const QString color = settings.colorTextToWrite.isEmpty() ? settings.colorTextRead : settings.colorTextToWrite;
        static const auto isHex = [](QChar c) { return c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f'); };
        const bool valid = color.size() == 7 && color.front() == QLatin1Char('#')
            && std::all_of(color.begin() + 1, color.end(), isHex);
        if (!valid)
            add(Severity::Warning, Subject::TextColor, nullptr, "TEXTCOLOR", {shown(color)});
    }

    // The texts of the files that no node holds: the welcome texts, the front-end's own.
    void checkRecordTexts()
    {
        for (const PackageDocument::RecordTextFault &fault : m_document.recordTextFaults(isMenuKey)) {
            const bool overlong = fault.kind == PackageDocument::RecordTextFault::Kind::Overlong;
            add(Severity::Error, Subject::Text, nullptr, overlong ? "OVERLONG" : "UNSTORABLE",
                overlong ? QStringList{shown(fault.entry.value), QString::number(records::LineCapacity)}
                         : QStringList{shown(fault.entry.value)},
                fault.record->filePath(), fault.entry.key);
        }
    }

    // A value the files cannot keep as it is; room is what its line leaves, negative when the
    // line would come back cut.
    void checkStorable(const CItem *item, Subject subject, const QString &value, qsizetype room)
    {
        if (!isPlain(value)) {
            if (!records::isStorable(value))
                add(Severity::Error, subject, item, "UNSTORABLE", {shown(value)});
            else if (hasLineBreak(value))
                add(Severity::Error, subject, item, "LINEBREAK", {shown(value)});
        }
        if (room < 0)
            add(Severity::Error, subject, item, "OVERLONG", {shown(value), QString::number(records::LineCapacity)});
    }

    void checkMainMenus()
    {
        // The first main menu that has each Alt key, to name it when another has the same.
        QHash<QString, const CItem *> altKeyOwners;
        int p = 0;
        for (const CItem *menu : m_document.menus().mainMenus()) {
            ++p;
            checkMainMenu(menu, p, altKeyOwners);
            checkEntries(menu->entries(), records::EntryPlace{p, 0, 0});
        }
    }

    void checkMainMenu(const CItem *menu, int p, QHash<QString, const CItem *> &altKeyOwners)
    {
        const QString title = menu->contentTitle();
        const QString altKey = menu->altKey();
        if (title.trimmed().isEmpty())
            add(Severity::Warning, Subject::Title, menu, "MENUNOTITLE");
        else if (title.size() > mainMenuTitleLimit)
            add(Severity::Warning, Subject::Title, menu, "TITLELONG", {shown(title), QString::number(mainMenuTitleLimit)});
        checkStorable(menu, Subject::Title, title, records::mainMenuTitleRoom(p, title, menu->displayTitle()));

        if (altKey.isEmpty()) {
            add(Severity::Warning, Subject::AltKey, menu, "ALTKEYEMPTY", {shown(title)});
        } else if (altKey.size() != 1 || !altKey.front().isLetterOrNumber()) {
            add(Severity::Warning, Subject::AltKey, menu, "ALTKEYNOTLETTER", {shown(altKey), shown(title)});
        } else {
            if (!title.contains(altKey, Qt::CaseInsensitive))
                add(Severity::Warning, Subject::AltKey, menu, "ALTKEYNOTINTITLE", {altKey, shown(title)});
            const QString folded = altKey.toCaseFolded();
            if (const CItem *owner = altKeyOwners.value(folded))
                add(Severity::Warning, Subject::AltKey, menu, "ALTKEYTWICE", {altKey, shown(owner->contentTitle())});
            else
                altKeyOwners.insert(folded, menu);
        }
        checkStorable(menu, Subject::AltKey, altKey,
                      records::textLineRoom(QStringLiteral("__MENU%1_ALT_KEY__").arg(p), altKey));
        checkStorable(menu, Subject::Description, menu->tabDescription(),
                      records::textLineRoom(QStringLiteral("__TAB%1_DESCRIPTION__").arg(p), menu->tabDescription()));
    }

    // The entries of one list: a main menu's (place.entry 0) or a sub-menu's.
    void checkEntries(const ItemList &entries, records::EntryPlace place)
    {
        // The first entry of the list with each title, ignoring case.
        QHash<FoldedTitle, const CItem *> titles;
        titles.reserve(entries.size());
        int number = 0;
        for (const CItem *entry : entries) {
            ++number;
            records::EntryPlace own = place;
            (place.entry == 0 ? own.entry : own.subEntry) = number;
            const EntryProperties properties = entry->properties();
            checkEntry(entry, properties, own);
            if (const FoldedTitle title{QStringView(properties.title).trimmed()}; !title.text.isEmpty()) {
                if (titles.contains(title))
                    add(Severity::Warning, Subject::Title, entry, "TITLETWICE", {shown(properties.title)});
                else
                    titles.insert(title, entry);
            }
            if (place.entry == 0)
                checkEntries(entry->entries(), own);
        }
    }

    void checkEntry(const CItem *entry, const EntryProperties &properties, const records::EntryPlace &place)
    {
        const QString &title = properties.title, &location = properties.location, &type = properties.typeIcon;
        const auto isType = [&](const QString &icon) { return type.compare(icon, Qt::CaseInsensitive) == 0; };
        if (QStringView(title).trimmed().isEmpty())
            add(Severity::Warning, Subject::Title, entry, "NOTITLE");
        else if (title.size() > entryTitleLimit)
            add(Severity::Warning, Subject::Title, entry, "TITLELONG", {shown(title), QString::number(entryTitleLimit)});

        if (isType(ApplicationIcon)) {
            if (!isAbsoluteWindowsPath(location) && location != QLatin1String("#SystemInfo"))
                add(Severity::Warning, Subject::Location, entry, "APPLOCATION", {shown(location), shown(title)});
        } else if (isType(InternetLinkIcon)) {
            if (!isInternetAddress(location))
                add(Severity::Warning, Subject::Location, entry, "LINKADDRESS", {shown(location), shown(title)});
        } else if (isType(HelpTopicIcon)) {
            if (QStringView(location).trimmed().isEmpty())
                add(Severity::Warning, Subject::Location, entry, "TOPICNOLOCATION", {shown(title)});
        }
        if (isMenuEntry(entry) && (entry->hasEntries() || isType(SubMenuIcon)) && entry->entries().isEmpty())
            add(Severity::Warning, Subject::Entries, entry, "SUBMENUEMPTY", {shown(title)});

        const records::EntryLineRoom room = nearCapacity(type.size() + title.size() + properties.description.size() + location.size())
            ? records::entryLineRoom(place, type, title, properties.description, location)
            : records::EntryLineRoom{0, 0, 0};
        checkStorable(entry, Subject::Title, title, room.title);
        checkStorable(entry, Subject::Description, properties.description, room.description);
        checkStorable(entry, Subject::Location, location, room.entryLine);
    }

    const PackageDocument &m_document;
    QList<Finding> m_findings;
};

} // namespace

QString Finding::text() const
{
    return withArguments(texts::lookupText(checkSection, key), arguments);
}

QString Finding::englishText() const
{
    const QString english = platform::programDirectory() + QStringLiteral("/0409/custom-text.ini");
    return withArguments(ini::readProfileString(english, checkSection, key, 2048), arguments);
}

QString Finding::fix() const
{
    return withArguments(texts::lookupText(checkSection, key + QStringLiteral("_FIX")), arguments);
}

QList<Finding> checkPackage(const PackageDocument &document)
{
    return Checker(document).run();
}

} // namespace document
