#include "testmain.h"
#include "records/configrecord.h"
#include "records/fields.h"
#include "document/menus.h"
#include "document/menuwriter.h"
#include "ini/profile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace document;

namespace {

// Main menus 1 and 3 (3 with a key and a comment the tool does not know), a section that is
// not a menu, and a menu 5 without its Info line, so it is not read but must go.
const QByteArray fixtureMenuFile =
    "; menus of the test package\n"
    "[Other]\n"
    "; kept as it is\n"
    "Colour=red\n"
    "\n"
    "[Menu1]\n"
    "Menu1Info=,,TRUE,,,,,,,,,,,,,\n"
    "SubMenu1=,,FALSE,__1-SUBMENU1__,,Application-link.gif,,,\"C:\\a.exe\",,,,__1-SUBMENU1-A__,,,\n"
    "SubMenu2=,,TRUE,__1-SUBMENU2__,,UpArrow.gif,,,\"\",,,,,,,\n"
    "SubMenu2.item1=,,FALSE,,__1-SUBMENU2-1__,Topic-link.gif,,,\"t.htm\",,,,,,,\n"
    "\n"
    "[Menu3]\n"
    "Menu3Info=,,TRUE,,,,,,,,,,,,,\n"
    "; the front-end's own note\n"
    "Layout=wide\n"
    "SubMenu1=,,FALSE,__3-SUBMENU1__,,Internet-link.gif,,,\"https://x.example\",,,,__3-SUBMENU1-A__,,,\n"
    "\n"
    "[Menu5]\n"
    "SubMenu1=,,FALSE,__5-SUBMENU1__,,Topic-link.gif,,,\"old.htm\",,,,,,,\n";

// The first ten numbered lines belong to the front-end; the menus' texts follow.
QByteArray frontEndLines(const char *prefix)
{
    QByteArray lines;
    for (int n = 1; n <= 10; ++n)
        lines += prefix + QByteArray::number(n) + "=__OWN" + QByteArray::number(n) + "__,\"own\"\n";
    return lines;
}

const QByteArray fixtureTextFile = "[Access Text]\nTITLE=\"Help Center\"\n" + frontEndLines("TEXT")
                                   + "TEXT11=__MENU1_TITLE__,\"<u>L</u>earn\"\n"
                                     "TEXT12=__MENU1_CONTENT_TITLE__,\"Learn\"\n"
                                     "TEXT13=__MENU1_ALT_KEY__,\"L\"\n"
                                     "TEXT14=__MENU3_TITLE__,\"<u>H</u>elp\"\n"
                                     "TEXT15=__MENU3_CONTENT_TITLE__,\"Help\"\n"
                                     "TEXT16=__MENU3_ALT_KEY__,\"h\"\n"
                                     "TEXT17=__1-SUBMENU1__,\"Calculator\"\n"
                                     "TEXT18=__1-SUBMENU1-A__,\"Adds up\"\n"
                                     "TEXT19=__1-SUBMENU2__,\"Tools\"\n"
                                     "TEXT20=__1-SUBMENU2-1__,\"Tool help\"\n"
                                     "TEXT21=__3-SUBMENU1__,\"Support\"\n"
                                     "TEXT22=__3-SUBMENU1-A__,\"On the web\"\n"
                                     "[WELCOME]\nTEXT1=hello,\"Hello\"\n";

const QByteArray fixtureConfigFile = "[Global Options]\n" + frontEndLines("OPTION")
                                     + "OPTION11=__MENU1ICON__,\"U-Learn-icon.png\"\n"
                                       "OPTION12=__MENU2ICON__,\"U-Configure-icon.png\"\n"
                                       "OPTION13=__MENU2_COLOR__,\"#669933\"\n"
                                       "OPTION14=__MENU3ICON__,\"U-Help-icon.png\"\n"
                                       "OPTION15=__MENU3_COLOR__,\"#993366\"\n"
                                       "[Other]\nVERSION=4.1.20\n";

// Every main menu, entry and sub-entry with what the user sees of it, one per line. Main menus
// leave out their number, which renumbering changes; their tab description goes with them.
QStringList describe(const Menus &model)
{
    QStringList lines;
    for (const CItem *menu : model.mainMenus()) {
        lines << QStringList{menu->contentTitle(), menu->altKey(), menu->tabDescription(), menu->mainIcon(),
                             menu->hoverIcon(), menu->color(), menu->colorBar(), menu->tabIcon()}
                     .join('|');
        for (const CItem *entry : menu->entries()) {
            const auto item = [](const CItem *object, const char *indent) {
                return indent
                       + QStringList{object->title(), object->description(), object->location(), object->typeIcon(),
                                     object->hasEntries() ? "+" : "-"}
                             .join('|');
            };
            lines << item(entry, "  ");
            for (const CItem *subEntry : entry->entries())
                lines << item(subEntry, "    ");
        }
    }
    return lines;
}

// A file without the numbered lines past the front-end's ten in one section: what writing the
// menus must leave byte for byte.
QByteArray untouchedPart(const QByteArray &bytes, const QString &section, const QString &prefix)
{
    const QRegularExpression numbered('^' + prefix + R"((\d+)\s*=)", QRegularExpression::CaseInsensitiveOption);
    QByteArray kept;
    bool inSection = false;
    for (const QByteArray &line : bytes.split('\n')) {
        const QString text = QString::fromLatin1(line).trimmed();
        if (text.startsWith('['))
            inSection = text.compare('[' + section + ']', Qt::CaseInsensitive) == 0;
        const QRegularExpressionMatch match = numbered.match(text);
        if (inSection && match.hasMatch() && match.captured(1).toInt() > 10)
            continue;
        kept += line + '\n';
    }
    return kept;
}

} // namespace

class MenuWriterTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<records::ConfigRecord> m_textRecord;
    std::unique_ptr<records::ConfigRecord> m_configRecord;
    Menus m_model;

    QString path(const QString &name) const { return m_dir->path() + '/' + name; }
    QString menuPath() const { return path("machine-specifics.csv"); }
    QString textPath() const { return path("0409/access-text.ini"); }
    QString configPath() const { return path("access-config.ini"); }
    QString programDir() const { return path("program"); }

    void writePackage(const QByteArray &menuFile, const QByteArray &texts, const QByteArray &options)
    {
        testing::writeFile(menuPath(), menuFile);
        testing::writeFile(textPath(), texts);
        testing::writeFile(configPath(), options);
    }

    void copySamplePackage()
    {
        const QString sample = QStringLiteral(KAVO_SOURCE_DIR "/data/sample-installation/");
        writePackage(testing::readFile(sample + "machine-specifics.csv"),
                     testing::readFile(sample + "0409/access-text.ini"),
                     testing::readFile(sample + "access-config.ini"));
    }

    // Reads the package as the menu page does: both records, then the menus.
    void readPackage()
    {
        ini::clearProfileCache();
        m_textRecord = std::make_unique<records::ConfigRecord>(textPath());
        m_textRecord->loadTexts();
        m_configRecord = std::make_unique<records::ConfigRecord>(configPath());
        m_configRecord->loadOptions();
        m_model.read(menuPath(), *m_textRecord, *m_configRecord);
    }

    bool write()
    {
        return writeMenus(m_model, *m_textRecord, *m_configRecord, menuPath(), textPath(), configPath(),
                          programDir());
    }

    // The saved value of a text or an option, as a freshly read record sees it.
    QString savedValue(const QString &key) const
    {
        ini::clearProfileCache();
        records::ConfigRecord texts(textPath());
        texts.loadTexts();
        records::ConfigRecord options(configPath());
        options.loadOptions();
        const QString text = texts.getValue(key);
        return text.isEmpty() ? options.getValue(key) : text;
    }

    QByteArray files() const
    {
        return testing::readFile(menuPath()) + '\0' + testing::readFile(textPath()) + '\0'
               + testing::readFile(configPath());
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_model.clear();
    }

    void menuFileIsRenumberedAndRewritten()
    {
        writePackage(fixtureMenuFile, fixtureTextFile, fixtureConfigFile);
        readPackage();
        QVERIFY(write());

        // Menu 3 becomes menu 2, sections 3 to 5 are gone, unknown keys of a menu section are
        // lost with it (so is the blank line that ended it), and keys are written as "submenu".
        const QByteArray expected =
            "; menus of the test package\n"
            "[Other]\n"
            "; kept as it is\n"
            "Colour=red\n"
            "\n"
            "[Menu1]\n"
            "Menu1Info=,,TRUE,,,,,,,,,,,,,\n"
            "submenu1=,,FALSE,__1-SUBMENU1__,,Application-link.gif,,,\"C:\\a.exe\",,,,__1-SUBMENU1-A__,,,\n"
            "submenu2=,,TRUE,__1-SUBMENU2__,,UpArrow.gif,,,\"\",,,,,,,\n"
            "submenu2.item1=,,FALSE,,__1-SUBMENU2-1__,Topic-link.gif,,,\"t.htm\",,,,,,,\n"
            "[Menu2]\n"
            "Menu2Info=,,TRUE,,,,,,,,,,,,,\n"
            "submenu1=,,FALSE,__2-SUBMENU1__,,Internet-link.gif,,,\"https://x.example\",,,,__2-SUBMENU1-A__,,,\n";
        QCOMPARE(testing::readFile(menuPath()), expected);
    }

    void textsAndLooksFollowTheNewNumbers_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value"); // null: the key is not in the file at all

        QTest::newRow("front-end's own line") << "__OWN3__" << "own";
        QTest::newRow("display title marks the Alt key") << "__MENU2_TITLE__" << "<u>H</u>elp";
        QTest::newRow("content title moves down") << "__MENU2_CONTENT_TITLE__" << "Help";
        QTest::newRow("Alt key moves down") << "__MENU2_ALT_KEY__" << "h";
        QTest::newRow("texts of position 3 are dropped") << "__MENU3_CONTENT_TITLE__" << QString();
        QTest::newRow("entry title under the new name") << "__2-SUBMENU1__" << "Support";
        QTest::newRow("entry description under the new key") << "__2-SUBMENU1-A__" << "On the web";
        QTest::newRow("old entry title dropped") << "__3-SUBMENU1__" << QString();
        QTest::newRow("old entry description dropped") << "__3-SUBMENU1-A__" << QString();
        QTest::newRow("title without description") << "__1-SUBMENU2__" << "Tools";
        QTest::newRow("no key for no description") << "__1-SUBMENU2-A__" << QString();
        QTest::newRow("sub-entry title") << "__1-SUBMENU2-1__" << "Tool help";
        QTest::newRow("looks of menu 3 go to 2") << "__MENU2ICON__" << "U-Help-icon.png";
        QTest::newRow("looks of menu 3 go to 2, colour") << "__MENU2_COLOR__" << "#993366";
        QTest::newRow("looks of menu 1 stay") << "__MENU1ICON__" << "U-Learn-icon.png";
    }
    void textsAndLooksFollowTheNewNumbers()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        writePackage(fixtureMenuFile, fixtureTextFile, fixtureConfigFile);
        readPackage();
        QVERIFY(write());

        if (value.isNull()) {
            const QByteArray saved = testing::readFile(textPath()) + testing::readFile(configPath());
            QVERIFY2(!saved.contains(key.toLatin1() + ','), qPrintable(key));
        } else {
            QCOMPARE(savedValue(key), value);
        }
        QVERIFY(!testing::readFile(textPath()).contains("NULL"));
    }

    void clearedFlagWritesNoSubEntries()
    {
        writePackage(fixtureMenuFile, fixtureTextFile, fixtureConfigFile);
        readPackage();
        CItem *tools = m_model.mainMenus().at(0)->entries().at(1);
        QCOMPARE(tools->entries().size(), 1);
        tools->setHasEntries(false);
        QVERIFY(write());

        ini::clearProfileCache();
        QCOMPARE(records::splitFields(ini::readProfileString(menuPath(), "Menu1", "submenu2")).value(2),
                 QStringLiteral("FALSE"));
        QVERIFY(!testing::readFile(menuPath()).contains(".item"));
    }

    void entriesAreNamedByTheirNewNumbers()
    {
        // The example of a sub-entry: submenu3.item2 of Menu1, named __1-SUBMENU3-2__.
        auto menu = std::make_unique<CItem>(ItemKind::MainMenu);
        menu->setTexts("Learn", "e");
        menu->setPosition(4);
        ItemList &entries = menu->entries();
        for (int q = 1; q <= 3; ++q) {
            CItem *entry = entries.append(std::make_unique<CItem>(ItemKind::SubMenu));
            entry->setProperties(QStringLiteral("Entry %1").arg(q), q == 3 ? "UpArrow.gif" : "topic-link.gif",
                                 QString(), "t.htm");
            entry->setPosition(7);
        }
        ItemList &subEntries = entries.at(2)->entries();
        CItem *stale = subEntries.append(std::make_unique<CItem>());
        stale->setProperties("No description", "Application-link.gif", QString(), "C:\\y.exe");
        stale->setDescriptionKey("__9-SUBMENU9-9-A__");
        CItem *example = subEntries.append(std::make_unique<CItem>());
        example->setProperties("Calculator", "Application-link.gif", "Adds up", "C:\\x.exe");
        example->setPosition(9);
        m_model.mainMenus().append(std::move(menu));

        m_textRecord = std::make_unique<records::ConfigRecord>(textPath());
        m_configRecord = std::make_unique<records::ConfigRecord>(configPath());
        QVERIFY(write());

        ini::clearProfileCache();
        const QString exampleLine =
            ",,FALSE,,__1-SUBMENU3-2__,Application-link.gif,,,\"C:\\x.exe\",,,,__1-SUBMENU3-2-A__,,,";
        QCOMPARE(ini::readProfileString(menuPath(), "Menu1", "SubMenu3.item2"), exampleLine);
        QCOMPARE(example->name(), QStringLiteral("__1-SUBMENU3-2__"));
        QCOMPARE(example->descriptionKey(), QStringLiteral("__1-SUBMENU3-2-A__"));
        QCOMPARE(example->position(), 9);
        QCOMPARE(entries.at(0)->position(), 7);
        QCOMPARE(m_textRecord->getValue("__1-SUBMENU3-2__"), QStringLiteral("Calculator"));
        QCOMPARE(m_textRecord->getValue("__1-SUBMENU3-2-A__"), QStringLiteral("Adds up"));

        // Without a description the key is dropped, field 12 stays empty, and the title is kept.
        QCOMPARE(ini::readProfileString(menuPath(), "Menu1", "SubMenu3.item1"),
                 QStringLiteral(",,FALSE,,__1-SUBMENU3-1__,Application-link.gif,,,\"C:\\y.exe\",,,,,,,"));
        QVERIFY(stale->descriptionKey().isEmpty());
        QCOMPARE(m_textRecord->getValue("__1-SUBMENU3-1__"), QStringLiteral("No description"));
        QCOMPARE(m_textRecord->getValue("__9-SUBMENU9-9-A__"), QString());
    }

    void writingTwiceChangesNothing_data()
    {
        QTest::addColumn<bool>("sample");
        QTest::addColumn<bool>("readAgain"); // a later session, or the same records and model

        QTest::newRow("fixture, same session") << false << false;
        QTest::newRow("fixture, read again") << false << true;
        QTest::newRow("sample installation, same session") << true << false;
        QTest::newRow("sample installation, read again") << true << true;
    }
    void writingTwiceChangesNothing()
    {
        QFETCH(bool, sample);
        QFETCH(bool, readAgain);
        if (sample)
            copySamplePackage();
        else
            writePackage(fixtureMenuFile, fixtureTextFile, fixtureConfigFile);
        readPackage();
        QVERIFY(write());
        const QByteArray once = files();

        if (readAgain)
            readPackage();
        QVERIFY(write());
        QCOMPARE(files(), once);
    }

    void sampleInstallationSurvivesARoundTrip()
    {
        copySamplePackage();
        const QByteArray textBefore = testing::readFile(textPath());
        const QByteArray configBefore = testing::readFile(configPath());
        const QByteArray menuBefore = testing::readFile(menuPath());
        readPackage();
        const QStringList before = describe(m_model);
        QVERIFY(write());

        readPackage();
        QCOMPARE(describe(m_model), before);
        QCOMPARE(m_model.mainMenus().size(), 3);
        QCOMPARE(m_model.mainMenus().at(2)->position(), 3); // Help was menu 4

        QCOMPARE(untouchedPart(testing::readFile(textPath()), "Access Text", "TEXT"),
                 untouchedPart(textBefore, "Access Text", "TEXT"));
        QCOMPARE(untouchedPart(testing::readFile(configPath()), "Global Options", "OPTION"),
                 untouchedPart(configBefore, "Global Options", "OPTION"));
        const QByteArray menuAfter = testing::readFile(menuPath());
        QCOMPARE(menuAfter.left(menuAfter.indexOf('[')), menuBefore.left(menuBefore.indexOf('[')));
    }

    void staleBackupsAreDeleted()
    {
        writePackage(fixtureMenuFile, fixtureTextFile, fixtureConfigFile);
        const QStringList backups{"machine-specifics.OLD", "access-text.OLD", "access-config.OLD"};
        for (const QString &name : backups + QStringList{"keep.ini"})
            testing::writeFile(programDir() + '/' + name, "old");
        readPackage();
        QVERIFY(write());

        for (const QString &name : backups)
            QVERIFY2(!QFile::exists(programDir() + '/' + name), qPrintable(name));
        QVERIFY(QFile::exists(programDir() + "/keep.ini"));
    }

    void writeFailureIsReported_data()
    {
        QTest::addColumn<QString>("blocked");
        QTest::newRow("menu file") << "machine-specifics.csv";
        QTest::newRow("text file") << "0409/access-text.ini";
        QTest::newRow("configuration file") << "access-config.ini";
    }
    void writeFailureIsReported()
    {
        QFETCH(QString, blocked);
        writePackage(fixtureMenuFile, fixtureTextFile, fixtureConfigFile);
        readPackage();
        // A folder in the file's place cannot be replaced, not even by root.
        QVERIFY(QFile::remove(path(blocked)));
        QVERIFY(QDir().mkpath(path(blocked)));
        QVERIFY(!write());
        QVERIFY(QFileInfo(path(blocked)).isDir());
    }

    void failureInsideACallersBatchIsReportedByIt()
    {
        writePackage(fixtureMenuFile, fixtureTextFile, fixtureConfigFile);
        readPackage();
        const QByteArray menuBefore = testing::readFile(menuPath());
        ini::ProfileBatch outer;
        QVERIFY(write());
        // Nothing is written before the caller's batch commits.
        QCOMPARE(testing::readFile(menuPath()), menuBefore);
        QVERIFY(QFile::remove(configPath()));
        QVERIFY(QDir().mkpath(configPath()));
        QVERIFY(!outer.commit());
        QCOMPARE(outer.failedFiles().size(), 1);
        QVERIFY(testing::readFile(menuPath()) != menuBefore);
    }
};
KAVO_TEST(MenuWriterTest)
#include "test_menuwriter.moc"
