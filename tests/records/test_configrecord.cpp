#include "testmain.h"
#include "records/configrecord.h"
#include "ini/profile.h"

#include <QTest>
#include <memory>

using records::ConfigEntry;
using records::ConfigRecord;

namespace {

QList<int> numbers(int first, int last)
{
    QList<int> list;
    for (int n = first; n <= last; ++n)
        list << n;
    return list;
}

// Numbered lines prefix n = K<n>,"v<n>" under a section header.
QByteArray numberedSection(const QByteArray &section, const QByteArray &prefix, const QList<int> &lineNumbers)
{
    QByteArray bytes = "[" + section + "]\r\n";
    for (int n : lineNumbers) {
        const QByteArray number = QByteArray::number(n);
        bytes += prefix + number + "=K" + number + ",\"v" + number + "\"\r\n";
    }
    return bytes;
}

// The numbered lines from 11 on that the file holds, as "n=value".
QStringList linesFromEleven(const QString &file, const QString &section, const QString &prefix)
{
    QStringList lines;
    for (int n = 11; n <= 60; ++n) {
        const QString value = ini::readProfileString(file, section, prefix + QString::number(n));
        if (!value.isEmpty())
            lines << QString::number(n) + QLatin1Char('=') + value;
    }
    return lines;
}

} // namespace

class ConfigRecordTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_path = m_dir->path() + "/access-text.ini";
        ini::clearProfileCache();
    }

    void loadTextsStopsAtTheFirstGap()
    {
        testing::writeFile(m_path,
                           "[Access Text]\r\nTITLE=\"Help Center Acme\"\r\nSOUNDTEXT=Sound\r\nANIMTEXT=Anim\r\n"
                           "WELCOMETEXT=Hello\r\n"
                           "TEXT1=ONE,\"a,b\"\r\nTEXT2=TWO\r\nTEXT3=THREE,x,y\r\nTEXT4=FOUR,\"L<u>e</u>arn\"\r\n"
                           "TEXT5=FIVE,5\r\nTEXT7=SEVEN,7\r\n"
                           "[WELCOME]\r\nTEXT1=W1,\"first\"\r\nTEXT2=W2,second\r\n"
                           "[Backgrounds]\r\nWHITE_BACKGROUND=white.jpg\r\nBLACK_BACKGROUND=black.jpg\r\n"
                           "DEFAULT_BACKGROUND=default.jpg\r\n");
        ConfigRecord record(m_path);
        record.loadTexts();
        QCOMPARE(record.textEntries(), (QList<ConfigEntry>{{"ONE", "a,b"}, {"TWO", ""}, {"THREE", "x"},
                                                          {"FOUR", "L<u>e</u>arn"}, {"FIVE", "5"}}));
        QCOMPARE(record.welcomeEntries(), (QList<ConfigEntry>{{"W1", "first"}, {"W2", "second"}}));
        QVERIFY(record.optionEntries().isEmpty());
    }

    void getValueSearchesTextsThenOptions_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("text before option") << "SHARED" << "from text";
        QTest::newRow("option only") << "OPTIONONLY" << "o";
        QTest::newRow("keys compare exactly") << "shared" << "";
        QTest::newRow("missing") << "MISSING" << "";
    }
    void getValueSearchesTextsThenOptions()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        testing::writeFile(m_path, "[Access Text]\r\nTEXT1=SHARED,\"from text\"\r\n"
                                   "[Global Options]\r\nOPTION1=SHARED,\"from option\"\r\n"
                                   "OPTION2=BOTH,\"from option\"\r\nOPTION3=OPTIONONLY,o\r\n");
        ConfigRecord record(m_path);
        record.loadTexts();
        record.loadOptions();
        QCOMPARE(record.getValue(key), value);
    }

    void setTextPicksTheListBySection()
    {
        testing::writeFile(m_path, "[Access Text]\r\nTEXT1=DUP,a\r\nTEXT2=DUP,b\r\n[WELCOME]\r\nTEXT1=W,w\r\n");
        ConfigRecord record(m_path);
        record.loadTexts();
        record.setText("DUP", "c");
        record.setText("W", "w2", "Welcome");
        record.setText("NEWW", "n", "WELCOME");
        record.setText("NEW", "t", "Access Kavo");
        record.setText("", "empty keys are ignored");
        record.setText("", "here too", "welcome");
        QCOMPARE(record.textEntries(), (QList<ConfigEntry>{{"DUP", "c"}, {"DUP", "c"}, {"NEW", "t"}}));
        QCOMPARE(record.welcomeEntries(), (QList<ConfigEntry>{{"W", "w2"}, {"NEWW", "n"}}));
    }

    void optionsAndMenuLooks()
    {
        testing::writeFile(m_path, "[Global Options]\r\nOPTION1=__MENU2ICON__,a.gif\r\nOPTION2=__MENU2_HOVER_ICON__,b\r\n"
                                   "OPTION3=__MENU2_COLOR__,c\r\nOPTION4=__MENU2_COLORBAR__,d\r\n"
                                   "OPTION5=__TAB2ICON__,e\r\n");
        ConfigRecord record(m_path);
        record.loadOptions();
        record.setMenuLooks(2, "main.gif", "hover.gif", "#102030", "#405060", "tab.gif");
        record.setOption("UNKNOWN", "not invented");
        QCOMPARE(record.optionEntries(),
                 (QList<ConfigEntry>{{"__MENU2ICON__", "main.gif"}, {"__MENU2_HOVER_ICON__", "hover.gif"},
                                     {"__MENU2_COLOR__", "#102030"}, {"__MENU2_COLORBAR__", "#405060"},
                                     {"__TAB2ICON__", "tab.gif"}}));
        QVERIFY(record.getValue("UNKNOWN").isEmpty());

        record.setMenuTexts(3, "L", "L<u>e</u>arn", "Learn");
        QCOMPARE(record.textEntries(), (QList<ConfigEntry>{{"__MENU3_ALT_KEY__", "L"},
                                                          {"__MENU3_TITLE__", "L<u>e</u>arn"},
                                                          {"__MENU3_CONTENT_TITLE__", "Learn"}}));
    }

    void removeMenuTextsShiftsLaterPositionsDown_data()
    {
        // Position i then holds the texts that position sources[i] held; 0 means empty.
        QTest::addColumn<int>("position");
        QTest::addColumn<QList<int>>("sources");
        QTest::newRow("first") << 1 << QList<int>{2, 3, 4, 5, 0};
        QTest::newRow("middle") << 3 << QList<int>{1, 2, 4, 5, 0};
        QTest::newRow("last") << 5 << QList<int>{1, 2, 3, 4, 0};
        QTest::newRow("out of range") << 6 << QList<int>{1, 2, 3, 4, 5};
    }
    void removeMenuTextsShiftsLaterPositionsDown()
    {
        QFETCH(int, position);
        QFETCH(QList<int>, sources);
        // Every kind at positions 1 to 5, except the fifth description, which the file lacks.
        QByteArray bytes = "[Access Text]\r\n";
        int line = 0;
        for (int n = 1; n <= 5; ++n) {
            const QByteArray p = QByteArray::number(n);
            for (const QByteArray &key : {"__MENU" + p + "_ALT_KEY__,A", "__MENU" + p + "_TITLE__,T",
                                          "__MENU" + p + "_CONTENT_TITLE__,C", "__TAB" + p + "_DESCRIPTION__,D"}) {
                if (n < 5 || !key.startsWith("__TAB"))
                    bytes += "TEXT" + QByteArray::number(++line) + "=" + key + p + "\r\n";
            }
        }
        testing::writeFile(m_path, bytes);
        ConfigRecord record(m_path);
        record.loadTexts();
        const qsizetype entryCount = record.textEntries().size();

        record.removeMenuTexts(position);

        for (int n = 1; n <= 5; ++n) {
            const int from = sources[n - 1];
            const QString suffix = from ? QString::number(from) : QString();
            const QString p = QString::number(n);
            QCOMPARE(record.getValue("__MENU" + p + "_ALT_KEY__"), from ? "A" + suffix : QString());
            QCOMPARE(record.getValue("__MENU" + p + "_TITLE__"), from ? "T" + suffix : QString());
            QCOMPARE(record.getValue("__MENU" + p + "_CONTENT_TITLE__"), from ? "C" + suffix : QString());
            QCOMPARE(record.getValue("__TAB" + p + "_DESCRIPTION__"), from && from < 5 ? "D" + suffix : QString());
        }
        QCOMPARE(record.textEntries().size(), entryCount);
    }

    void saveWritesFromElevenOn_data()
    {
        QTest::addColumn<QList<int>>("fileLines");
        QTest::addColumn<QStringList>("changes");   // key=value through setText; a key alone marked unused
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("twelfth holds NULL")
            << numbers(1, 12) << QStringList{"K12"} << QStringList{"11=K11,\"v11\""};
        QTest::newRow("new key takes the next free number")
            << numbers(1, 12) << QStringList{"NEW=fresh"}
            << QStringList{"11=K11,\"v11\"", "12=K12,\"v12\"", "13=NEW,\"fresh\""};
        QTest::newRow("NULL in the middle and at the end leave no stale lines")
            << numbers(1, 15) << QStringList{"K12", "K15"}
            << QStringList{"11=K11,\"v11\"", "12=K13,\"v13\"", "13=K14,\"v14\""};
        QTest::newRow("only the marker itself is left out")
            << numbers(1, 14) << QStringList{"K12=NULL modem cable", "K13=Sends to a NULL device", "K14=NULL"}
            << QStringList{"11=K11,\"v11\"", "12=K12,\"NULL modem cable\"", "13=K13,\"Sends to a NULL device\"",
                           "14=K14,\"NULL\""};
        QTest::newRow("NULL among the first ten keeps the numbering")
            << numbers(1, 12) << QStringList{"K5"} << QStringList{"11=K11,\"v11\"", "12=K12,\"v12\""};
        QTest::newRow("lines after a gap do not come back")
            << numbers(1, 12) + numbers(14, 16) << QStringList{"NEW=x"}
            << QStringList{"11=K11,\"v11\"", "12=K12,\"v12\"", "13=NEW,\"x\""};
    }
    void saveWritesFromElevenOn()
    {
        QFETCH(QList<int>, fileLines);
        QFETCH(QStringList, changes);
        QFETCH(QStringList, expected);
        testing::writeFile(m_path, numberedSection("Access Text", "TEXT", fileLines));
        ConfigRecord record(m_path);
        record.loadTexts();
        for (const QString &change : changes) {
            if (change.contains('='))
                record.setText(change.section('=', 0, 0), change.section('=', 1));
            else
                record.markUnused(change);
        }

        QVERIFY(record.save(m_path));
        QCOMPARE(linesFromEleven(m_path, "Access Text", "TEXT"), expected);

        const QByteArray once = testing::readFile(m_path);
        QVERIFY(record.save(m_path));
        QCOMPARE(testing::readFile(m_path), once);
    }

    void saveLeavesTheFirstTenLinesAsTheyAre()
    {
        const QByteArray frontEnd = "; the front-end's own lines\r\n[Access Text]\r\nTITLE=\"Help Center Acme\"\r\n"
                                    "  TEXT1 = ONE,\"a\"  \r\nTEXT2=\"TWO\",\"quoted whole\"\r\nTEXT3=THREE,x,y\r\n"
                                    "; a comment among them\r\nTEXT4=FOUR\r\nTEXT5=FIVE,5\r\nTEXT6=SIX,6\r\n"
                                    "TEXT7=SEVEN,7\r\nTEXT8=EIGHT,8\r\nTEXT9=NINE,9\r\nTEXT10=TEN,NULL\r\n";
        testing::writeFile(m_path, frontEnd + "TEXT11=K11,\"v11\"\r\n");
        ConfigRecord record(m_path);
        record.loadTexts();
        record.setText("ONE", "changed in memory only");
        record.setText("K11", "new");
        record.setText("NEW", "n");

        QVERIFY(record.save(m_path));
        QCOMPARE(testing::readFile(m_path).left(frontEnd.size()), frontEnd);
        QCOMPARE(linesFromEleven(m_path, "Access Text", "TEXT"),
                 (QStringList{"11=K11,\"new\"", "12=NEW,\"n\""}));
    }

    void optionsAreWrittenLikeTexts()
    {
        const QByteArray texts = numberedSection("Access Text", "TEXT", numbers(1, 12));
        testing::writeFile(m_path, texts + numberedSection("Global Options", "OPTION", numbers(1, 12)));
        ConfigRecord record(m_path);
        record.loadOptions();
        record.setOption("K12", "NULL");
        QVERIFY(record.save(m_path));
        QCOMPARE(linesFromEleven(m_path, "Global Options", "OPTION"),
                 (QStringList{"11=K11,\"v11\"", "12=K12,\"NULL\""}));
        QVERIFY(testing::readFile(m_path).startsWith(texts));   // texts it never read are not its to clear
    }

    void saveIntoAnotherFileClearsEveryNumberTheRecordRead()
    {
        testing::writeFile(m_path, numberedSection("Access Text", "TEXT", numbers(1, 15)));
        ConfigRecord record(m_path);
        record.loadTexts();
        for (const char *key : {"K13", "K14", "K15"})
            record.markUnused(key);
        const QString other = m_dir->path() + "/other/access-text.ini";
        testing::writeFile(other, numberedSection("Access Text", "TEXT", numbers(1, 12) + numbers(14, 15)));

        QVERIFY(record.save(other));
        QCOMPARE(record.filePath(), other);
        QCOMPARE(linesFromEleven(other, "Access Text", "TEXT"), (QStringList{"11=K11,\"v11\"", "12=K12,\"v12\""}));
    }

    // A value comes back as written, or the record names it as one it cannot keep.
    void savedLinesReadBackAsTheyWere_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("kept");
        QTest::newRow("plain") << "Learn" << true;
        QTest::newRow("commas") << "one, two, three" << true;
        QTest::newRow("markup") << "L<u>e</u>arn" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("blanks at the ends") << "  padded  " << true;
        QTest::newRow("quotes inside") << "say \"hi\" now" << true;
        QTest::newRow("one quote inside") << "12\" wide" << true;
        QTest::newRow("quotes around a comma inside") << "x\"y,z\"w" << true;
        QTest::newRow("beyond Windows-1252") << QString::fromUtf8("Über 中文") << true;
        QTest::newRow("in quotes") << "\"Quoted\"" << false;
        QTest::newRow("ending in a quote") << "12\"" << true;
        QTest::newRow("a quote, then a comma") << "a\"b,c" << false;
        QTest::newRow("a quote first, a blank last") << "\"a " << false;
        QTest::newRow("a quote first, a line break last") << "\"\r" << false;
    }
    void savedLinesReadBackAsTheyWere()
    {
        QFETCH(QString, value);
        QFETCH(bool, kept);
        testing::writeFile(m_path, numberedSection("Access Text", "TEXT", numbers(1, 10))
                                       + numberedSection("Global Options", "OPTION", numbers(1, 11)));
        ConfigRecord record(m_path);
        record.loadTexts();
        record.loadOptions();
        record.setText("__MENU1_TITLE__", value);
        record.setOption("K11", value);
        QCOMPARE(record.unstorableEntries().size(), kept ? 0 : 2);
        QVERIFY(record.save(m_path));
        if (!kept)
            return;

        ini::clearProfileCache();
        ConfigRecord reread(m_path);
        reread.loadTexts();
        reread.loadOptions();
        QCOMPARE(reread.textEntries().size(), 11);
        QCOMPARE(reread.textEntries().last(), (ConfigEntry{"__MENU1_TITLE__", value}));
        QCOMPARE(reread.optionEntries().last(), (ConfigEntry{"K11", value}));
    }

    void savingTheSampleDropsOnlyItsNullLines_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("configuration") << "access-config.ini";
        QTest::newRow("UTF-16 texts") << "0404/access-text.ini";
        QTest::newRow("8-bit texts") << "0407/access-text.ini";
    }
    void savingTheSampleDropsOnlyItsNullLines()
    {
        QFETCH(QString, file);
        const QString copy = m_dir->path() + "/" + file;
        const QString sample = QStringLiteral(KAVO_SOURCE_DIR "/data/sample-installation/") + file;
        testing::writeFile(copy, testing::readFile(sample));
        ConfigRecord record(copy);
        record.loadTexts();
        record.loadOptions();
        QList<ConfigEntry> kept = record.textEntries().mid(0, 10);
        for (const ConfigEntry &entry : record.textEntries().mid(10)) {
            if (entry.value != "NULL")
                kept << entry;
        }
        QVERIFY(record.save(copy));
        const QByteArray once = testing::readFile(copy);
        QVERIFY(record.save(copy));
        QCOMPARE(testing::readFile(copy), once);

        ini::clearProfileCache();
        ConfigRecord reread(copy);
        reread.loadTexts();
        reread.loadOptions();
        QCOMPARE(reread.textEntries(), kept);
        QCOMPARE(reread.optionEntries(), record.optionEntries());
        QCOMPARE(reread.welcomeEntries(), record.welcomeEntries());
    }

    void saveReportsAFileItCannotWrite()
    {
        testing::writeFile(m_path, numberedSection("Access Text", "TEXT", numbers(1, 12)));
        ConfigRecord record(m_path);
        record.loadTexts();
        const QString notAFolder = m_dir->path() + "/plain-file";
        testing::writeFile(notAFolder, "x");   // a file where a folder should be stops even root
        QVERIFY(!record.save(notAFolder + "/access-text.ini"));
    }
};
KAVO_TEST(ConfigRecordTest)
#include "test_configrecord.moc"
