// The menu reader on generated packages, and the menu writer's round trip.
//
// Input: bytes that choose the shape of a package: which of the sections Menu1 to Menu5 the menu
// file holds (in some case), each one's Info line, its entries "SubMenu" j and sub-entries
// "SubMenu" j ".item" k (with gaps now and then), each entry line's flag, name, type, location
// and description key (or a line of random text), and the texts of the names, descriptions and
// main menus in the text file (quoted or not); random text comes from the input as UTF-8.
//
// Invariants (a violation aborts):
// - Menus::read reads any such package without crashing, and reading from snapshots of
//   its files gives the same tree.
// - document::writeMenus writes the model back into the package, and a second read, with fresh
//   records of the written files, gives the same tree: the same main menus with the same title,
//   Alt key and tab description; the same entries and sub-entries, in order, with the same
//   title, type, location, description and sub-menu flag. A text or location that fieldFor says
//   cannot be stored is left out of the comparison (the tool warns about it), and so are the type,
//   location and description of an entry whose type holds a quote or a comma, and the
//   description of one whose location cannot be stored (written as it stands, such a type, and
//   such a location written in quotes, shift the fields after it: a known limit of the line).
// - Writing the model read back changes the text of none of the three files: the written package
//   is stable, when it holds nothing that cannot be stored. (Its encoding may change as the engine's rules say: emptying a menu section can
//   take a UTF-8 file's last multi-byte line, and the file is Windows-1252 from then on, or
//   UTF-16LE once a character beyond that code page is written again. So may the endings of the
//   lines written: they end as the file's first line does, and deleting the sections above a line
//   that ends in a lone CR makes it the first.)
// - Nothing crashes, overflows, leaks or hits undefined behaviour (the sanitizers).
#include "fuzzsupport.h"

#include "records/configrecord.h"
#include "records/fields.h"
#include "document/menus.h"
#include "document/menuwriter.h"
#include "ini/profile.h"
#include "ini/profileencoding.h"

#include <QFile>

#include <algorithm>

using fuzzing::check;
using fuzzing::visible;

namespace {

const QStringList typeIcons = {document::HelpTopicIcon, document::InternetLinkIcon, document::ApplicationIcon,
                               document::SystemInfoIcon, document::SubMenuIcon, QStringLiteral("upArrow.GIF")};

class PackageMaker {
public:
    explicit PackageMaker(fuzzing::Input &input) : m_in(input) {}

    void make()
    {
        for (int n = 1; n <= document::Menus::MaxMenuNumber; ++n) {
            if (!m_in.flag())
                continue;
            const QString section = QStringLiteral("Menu%1").arg(n);
            m_menu << QLatin1Char('[') + variant(section) + QLatin1Char(']');
            const int info = m_in.below(5);
            m_menu << variant(section + QLatin1String("Info")) + QLatin1Char('=')
                          + (info == 0   ? QStringLiteral(",,FALSE")
                             : info == 1 ? QString()
                             : info == 2 ? randomText()
                                         : QStringLiteral(",,TRUE,,,,,,,,,,,,,"));
            menuText(QStringLiteral("__MENU%1_CONTENT_TITLE__").arg(n));
            menuText(QStringLiteral("__MENU%1_ALT_KEY__").arg(n));
            menuText(QStringLiteral("__TAB%1_DESCRIPTION__").arg(n));
            for (int j = 1, entries = m_in.below(5); j <= entries; ++j) {
                const int gap = m_in.below(16) == 0 ? 1 : 0;
                const QString entryKey = QStringLiteral("SubMenu%1").arg(j + gap);
                m_menu << variant(entryKey) + QLatin1Char('=') + entryLine(n, j, 0);
                for (int k = 1, items = m_in.below(4); k <= items; ++k)
                    m_menu << variant(entryKey + QStringLiteral(".item%1").arg(k)) + QLatin1Char('=') + entryLine(n, j, k);
            }
        }
    }

    QByteArray menuFile() const { return (m_menu.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8(); }
    QByteArray textFile() const
    {
        QStringList lines{QStringLiteral("[Access Text]")};
        int number = 0;
        for (; number < 10; ++number) // the front-end's own lines
            lines << QStringLiteral("TEXT%1=__OWN%1__,\"own\"").arg(number + 1);
        for (const QString &text : m_texts)
            lines << QStringLiteral("TEXT%1=").arg(++number) + text;
        return (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8();
    }
    static QByteArray configFile()
    {
        QStringList lines{QStringLiteral("[Global Options]")};
        int number = 0;
        for (; number < 10; ++number)
            lines << QStringLiteral("OPTION%1=__OWN%1__,\"own\"").arg(number + 1);
        for (int n = 1; n <= document::Menus::MaxMenuNumber; ++n) {
            for (const QString &key : {QStringLiteral("__MENU%1ICON__"), QStringLiteral("__MENU%1_HOVER_ICON__"),
                                       QStringLiteral("__MENU%1_COLOR__"), QStringLiteral("__MENU%1_COLORBAR__"),
                                       QStringLiteral("__TAB%1ICON__")})
            {
                ++number;
                lines << QStringLiteral("OPTION%1=").arg(number) + key.arg(n) + QStringLiteral(",\"look%1\"").arg(number);
            }
        }
        return (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toUtf8();
    }

private:
    QString randomText() { return m_in.text(24); }
    // A key of random text. The record writes keys as they stand, so a key with a quote or a
    // comma would not read back as itself (the front-end's keys have neither).
    QString randomKey() { return randomText().remove(u'"').remove(u','); }

    QString variant(const QString &name)
    {
        switch (m_in.below(8)) {
        case 0: return name.toUpper();
        case 1: return name.toLower();
        default: return name;
        }
    }

    // A text line of the text file: key, then the text quoted, as it stands, or after a comma.
    void text(const QString &key)
    {
        if (key.isEmpty() || m_in.below(8) == 0)
            return; // no text for it
        const QString value = randomText();
        switch (m_in.below(4)) {
        case 0: m_texts << key + QLatin1Char(',') + value; break;
        case 1: m_texts << key + QStringLiteral(",\"") + value + QStringLiteral("\",x"); break;
        default: m_texts << key + QStringLiteral(",\"") + value + QLatin1Char('"'); break;
        }
    }
    void menuText(const QString &key) { text(key); }

    // The key an entry names: its own, another entry's, a main menu's text, or random text.
    QString nameKey(int n, int j, int k)
    {
        switch (m_in.below(8)) {
        case 0: return QStringLiteral("__%1-SUBMENU%2__").arg(1 + m_in.below(5)).arg(1 + m_in.below(4));
        case 1: return QStringLiteral("__MENU%1_ALT_KEY__").arg(n);
        case 2: return randomKey();
        default: return k ? QStringLiteral("__%1-SUBMENU%2-%3__").arg(n).arg(j).arg(k) : QStringLiteral("__%1-SUBMENU%2__").arg(n).arg(j);
        }
    }

    QString entryLine(int n, int j, int k)
    {
        if (m_in.below(16) == 0)
            return randomText();
        QStringList fields(16);
        const int flag = m_in.below(4);
        fields[2] = flag == 0 ? QStringLiteral("TRUE") : flag == 1 ? QStringLiteral("true") : QStringLiteral("FALSE");
        const QString name = nameKey(n, j, k);
        fields[(k && m_in.below(4)) || (!k && !m_in.below(4)) ? 4 : 3] = name;
        text(name);
        const int type = m_in.below(typeIcons.size() + 1);
        fields[5] = type < typeIcons.size() ? typeIcons[type] : randomText();
        const QString location = randomText();
        fields[8] = m_in.flag() ? QLatin1Char('"') + location + QLatin1Char('"') : location;
        if (m_in.flag()) {
            const QString description = m_in.below(4) ? name.chopped(qMin<qsizetype>(2, name.size())) + QStringLiteral("-A__")
                                                       : randomKey();
            fields[12] = description;
            text(description);
        }
        return fields.join(u',');
    }

    fuzzing::Input &m_in;
    QStringList m_menu;
    QStringList m_texts;
};

struct Package {
    QString menuFile, textFile, configFile;
};

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size(), "cannot write " + path);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString notStorable = QStringLiteral("(not storable)");

// A text or location as the comparison sees it: one that cannot be stored matches any.
QString stored(const QString &value)
{
    return records::fieldFor(value) ? visible(value) : notStorable;
}

// An entry as the user sees it. Its type is written as it stands, so a type holding a quote or a
// comma shifts the fields after it (the type, location and description) when the line is read;
// so does a location that cannot be stored (the fields after it).
QStringList describeEntry(const char *kind, const document::CItem *item)
{
    const QString type = item->typeIcon();
    const bool typeShifts = type.contains(u'"') || type.contains(u',');
    const bool locationShifts = typeShifts || !records::fieldFor(item->location());
    return {QLatin1String(kind), stored(item->title()), typeShifts ? notStorable : visible(type),
            typeShifts ? notStorable : stored(item->location()),
            locationShifts ? notStorable : stored(item->description()),
            item->hasEntries() ? QStringLiteral("sub-menu") : QString()};
}

// The tree as the user sees it, one list per object.
QList<QStringList> describe(const document::Menus &model)
{
    QList<QStringList> objects;
    for (const document::CItem *menu : model.mainMenus()) {
        objects.append({QStringLiteral("menu"), stored(menu->contentTitle()), stored(menu->altKey()),
                        stored(menu->tabDescription())});
        for (const document::CItem *entry : menu->entries()) {
            objects.append(describeEntry("  entry", entry));
            for (const document::CItem *item : entry->entries())
                objects.append(describeEntry("    item", item));
        }
    }
    return objects;
}

// The same tree, where a value of the first that cannot be stored matches any.
bool sameTree(const QList<QStringList> &first, const QList<QStringList> &second)
{
    return first.size() == second.size()
           && std::equal(first.begin(), first.end(), second.begin(), [](const QStringList &a, const QStringList &b) {
                  return a.size() == b.size()
                         && std::equal(a.begin(), a.end(), b.begin(),
                                       [](const QString &x, const QString &y) { return x == y || x == notStorable; });
              });
}

QString show(const QList<QStringList> &tree)
{
    QStringList lines;
    for (const QStringList &object : tree)
        lines << object.join(u' ');
    return lines.join(u'\n');
}

bool anyNotStorable(const QList<QStringList> &tree)
{
    return std::any_of(tree.begin(), tree.end(), [](const QStringList &object) { return object.contains(notStorable); });
}

// Reads the package with fresh records, as opening it does: through the engine, or from
// snapshots of its two large files, as the tool's start does on other threads.
struct Opened {
    records::ConfigRecord texts, config;
    document::Menus model;
    explicit Opened(const Package &package, bool fromSnapshots = false)
        : texts(package.textFile), config(package.configFile)
    {
        ini::clearProfileCache();
        ini::ProfileBatch batch;
        config.loadOptions();
        if (fromSnapshots) {
            const ini::ProfileSnapshot textFile(package.textFile), menuFile(package.menuFile);
            texts.loadTexts(textFile.reader());
            model.adopt(document::Menus::readMainMenus(menuFile.reader()), texts, config);
        } else {
            texts.loadTexts();
            model.read(package.menuFile, texts, config);
        }
    }
};

bool write(Opened &opened, const Package &package)
{
    return document::writeMenus(opened.model, opened.texts, opened.config, package.menuFile, package.textFile,
                                package.configFile, QString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QString folder = fuzzing::scratchFolder();
    const Package package{folder + QStringLiteral("/machine-specifics.csv"), folder + QStringLiteral("/access-text.ini"),
                          folder + QStringLiteral("/access-config.ini")};
    fuzzing::Input input(data, size);
    PackageMaker maker(input);
    maker.make();
    writeBytes(package.menuFile, maker.menuFile());
    writeBytes(package.textFile, maker.textFile());
    writeBytes(package.configFile, PackageMaker::configFile());
    const QString context = QStringLiteral("\nmenu file:\n") + QString::fromUtf8(maker.menuFile())
                            + QStringLiteral("text file:\n") + QString::fromUtf8(maker.textFile());

    QList<QStringList> first;
    bool storable = true;
    {
        first = describe(Opened(package, true).model);
        Opened opened(package);
        check(describe(opened.model) == first, "the snapshots read otherwise than the engine" + context);
        check(write(opened, package), "the menus could not be written" + context);
        // A value that cannot be stored may read back as one that can, and be written otherwise.
        storable = !anyNotStorable(first) && opened.texts.unstorableEntries().isEmpty()
                   && opened.config.unstorableEntries().isEmpty();
    }
    QByteArray written[3];
    {
        Opened opened(package);
        const QList<QStringList> second = describe(opened.model);
        check(sameTree(first, second), "the written menus read back otherwise:\nfirst read:\n" + show(first)
                                           + "\nsecond read:\n" + show(second) + context);
        written[0] = readBytes(package.menuFile);
        written[1] = readBytes(package.textFile);
        written[2] = readBytes(package.configFile);
        check(write(opened, package), "the menus could not be written again" + context);
    }
    const QString files[] = {package.menuFile, package.textFile, package.configFile};
    // The lines, whatever ends them.
    const auto lines = [](const QByteArray &bytes) {
        return ini::decodeProfileBytes(bytes).text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
    };
    for (int i = 0; storable && i < 3; ++i) {
        const QString before = lines(written[i]);
        const QString after = lines(readBytes(files[i]));
        check(after == before, "writing the menus read back changed " + files[i] + " from\n" + before + "to\n" + after + context);
    }
    ini::clearProfileCache();
    return 0;
}
