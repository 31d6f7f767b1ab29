#include "packagefixture.h"
#include "document/packagecheck.h"
#include "document/packagedocument.h"
#include "ini/profile.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace document;

// The package check: each rule on a small edit of the sample package, and what must pass.
class PackageCheckTest : public QObject {
    Q_OBJECT

    // "2/3/1": main menu 2, its entry 3, that entry's sub-entry 1.
    static CItem *nodeAt(PackageDocument &document, const QString &path)
    {
        const ItemList *list = &document.menus().mainMenus();
        CItem *item = nullptr;
        for (const QString &number : path.split('/')) {
            item = list->at(number.toInt() - 1);
            list = &item->entries();
        }
        return item;
    }

    // The path nodeAt takes, "-" for none.
    static QString pathOf(PackageDocument &document, const CItem *item)
    {
        QStringList numbers;
        for (; item; item = item->parent()) {
            const ItemList &list = item->parent() ? item->parent()->entries() : document.menus().mainMenus();
            numbers.prepend(QString::number(list.indexOf(item) + 1));
        }
        return numbers.isEmpty() ? "-" : numbers.join('/');
    }

    static QStringList described(const QList<Finding> &findings, PackageDocument &document)
    {
        QStringList lines;
        for (const Finding &finding : findings)
            lines << QString("%1 %2 %3").arg(finding.key, pathOf(document, finding.item),
                                             finding.severity == Finding::Severity::Error ? "error" : "warning");
        return lines;
    }

private slots:
    void eachRuleOnOneEdit_data()
    {
        QTest::addColumn<QString>("node");      // a node's path, or "-" for the package's files
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("expected");   // "KEY node severity", in order

        const QString longText(2100, 'x');
        QTest::newRow("the sample as it is") << "-" << "" << "" << QStringList{};
        QTest::newRow("no Alt key") << "1" << "altkey" << "" << QStringList{"ALTKEYEMPTY 1 warning"};
        QTest::newRow("Alt key no letter") << "1" << "altkey" << "-" << QStringList{"ALTKEYNOTLETTER 1 warning"};
        QTest::newRow("Alt key of two letters") << "1" << "altkey" << "ea" << QStringList{"ALTKEYNOTLETTER 1 warning"};
        QTest::newRow("Alt key not in title") << "1" << "altkey" << "x" << QStringList{"ALTKEYNOTINTITLE 1 warning"};
        QTest::newRow("Alt key in title, other case") << "1" << "altkey" << "l" << QStringList{};
        QTest::newRow("Alt key of another menu") << "2" << "altkey" << "e" << QStringList{"ALTKEYTWICE 2 warning"};
        QTest::newRow("main menu without title")
            << "3" << "menutitle" << " " << QStringList{"MENUNOTITLE 3 warning", "ALTKEYNOTINTITLE 3 warning"};
        QTest::newRow("main menu title of 16")
            << "1" << "menutitle" << "Learn everything" << QStringList{};
        QTest::newRow("main menu title wider than a tab")
            << "1" << "menutitle" << "Learn everything!" << QStringList{"TITLELONG 1 warning"};
        QTest::newRow("entry without title") << "1/2" << "title" << "  " << QStringList{"NOTITLE 1/2 warning"};
        QTest::newRow("sub-entry without title") << "2/3/2" << "title" << "" << QStringList{"NOTITLE 2/3/2 warning"};
        QTest::newRow("entry title of 48") << "1/2" << "title" << QString(48, 'a') << QStringList{};
        QTest::newRow("entry title of 49") << "1/2" << "title" << QString(49, 'a') << QStringList{"TITLELONG 1/2 warning"};
        QTest::newRow("same title, other case")
            << "1/3" << "title" << "getting STARTED" << QStringList{"TITLETWICE 1/3 warning"};
        QTest::newRow("same title in another list") << "2/1" << "title" << "Getting started" << QStringList{};
        QTest::newRow("application, relative") << "1/1" << "location" << "Tour.exe" << QStringList{"APPLOCATION 1/1 warning"};
        QTest::newRow("application, UNC") << "1/1" << "location" << "\\\\server\\share\\Tour.exe" << QStringList{};
        QTest::newRow("application, UNC without share") << "1/1" << "location" << "\\\\server" << QStringList{"APPLOCATION 1/1 warning"};
        QTest::newRow("application, drive and slash") << "1/1" << "location" << "D:/Tools/Tour.exe" << QStringList{};
        QTest::newRow("application, drive only") << "1/1" << "location" << "D:Tour.exe" << QStringList{"APPLOCATION 1/1 warning"};
        QTest::newRow("application, #SystemInfo") << "1/1" << "location" << "#SystemInfo" << QStringList{};
        QTest::newRow("sub-entry application") << "2/3/1" << "location" << "calc" << QStringList{"APPLOCATION 2/3/1 warning"};
        QTest::newRow("link without scheme") << "1/4" << "location" << "www.example.com" << QStringList{"LINKADDRESS 1/4 warning"};
        QTest::newRow("link, scheme only") << "1/4" << "location" << "https://" << QStringList{"LINKADDRESS 1/4 warning"};
        QTest::newRow("link, mailto") << "1/4" << "location" << "mailto:help@example.com" << QStringList{};
        QTest::newRow("link, FTP") << "1/4" << "location" << "FTP://files.example.com" << QStringList{};
        QTest::newRow("help topic without location") << "1/2" << "location" << "" << QStringList{"TOPICNOLOCATION 1/2 warning"};
        QTest::newRow("empty sub-menu") << "2/3" << "clear" << "" << QStringList{"SUBMENUEMPTY 2/3 warning"};
        QTest::newRow("title in quotes") << "1/2" << "title" << "\"Start\"" << QStringList{"UNSTORABLE 1/2 error"};
        QTest::newRow("description on two lines")
            << "1/2" << "description" << "one\ntwo" << QStringList{"LINEBREAK 1/2 error"};
        QTest::newRow("over-long description") << "1/2" << "description" << longText << QStringList{"OVERLONG 1/2 error"};
        QTest::newRow("over-long location")
            << "1/1" << "location" << "C:\\" + longText << QStringList{"OVERLONG 1/1 error"};
        QTest::newRow("over-long tab description") << "2" << "tab" << longText << QStringList{"OVERLONG 2 error"};
        QTest::newRow("over-long text of the file") << "-" << "__FOOTER__" << longText << QStringList{"OVERLONG - error"};
        QTest::newRow("text of the file in quotes") << "-" << "__FOOTER__" << "\"Hi\"" << QStringList{"UNSTORABLE - error"};
        // Until the next build, the menus hold their texts: the record's copy is left alone.
        QTest::newRow("stale text of an entry") << "-" << "__1-SUBMENU2__" << longText << QStringList{};
        QTest::newRow("text colour by name") << "-" << "color" << "blue" << QStringList{"TEXTCOLOR - warning"};
        QTest::newRow("text colour, five digits") << "-" << "color" << "#12345" << QStringList{"TEXTCOLOR - warning"};
        QTest::newRow("text colour, no hex") << "-" << "color" << "#12345G" << QStringList{"TEXTCOLOR - warning"};
        QTest::newRow("text colour, small letters") << "-" << "color" << "#0a00ff" << QStringList{};
        QTest::newRow("no configuration file")
            << "-" << "remove" << "access-config.ini" << QStringList{"FILEMISSING - error", "TEXTCOLOR - warning"};
        QTest::newRow("menu file unreadable") << "-" << "folder" << "machine-specifics.csv" << QStringList{"FILEUNREADABLE - error"};
        QTest::newRow("no language folder") << "-" << "remove" << "0c0a" << QStringList{"LANGUAGEMISSING - error"};
    }
    void eachRuleOnOneEdit()
    {
        QFETCH(QString, node);
        QFETCH(QString, edit);
        QFETCH(QString, value);
        QFETCH(QStringList, expected);
        PackageFixture world;
        QVERIFY(testing::copyTree(KAVO_SOURCE_DIR "/data/program", world.programDir()));
        const QString dir = world.packagesDir() + "/Sample";
        QVERIFY(testing::copyTree(KAVO_SOURCE_DIR "/data/sample-installation", dir));
        ini::clearProfileCache();

        // Edits of the files, before reading.
        if (edit == "remove") {
            QVERIFY(QFileInfo(dir + "/" + value).isDir() ? QDir(dir + "/" + value).removeRecursively()
                                                         : QFile::remove(dir + "/" + value));
        } else if (edit == "folder") {
            QVERIFY(QFile::remove(dir + "/" + value) && QDir().mkpath(dir + "/" + value));
        } else if (edit == "color") {
            QVERIFY(ini::writeProfileString(dir + "/access-config.ini", "Other", "REGULAR_TEXT_COLOR", value));
        }
        PackageDocument document;
        document.state().setLocation(dir);
        document.load();

        // Edits of the open document, as the window makes them.
        if (edit.startsWith("__"))
            document.textRecord().setText(edit, value);
        if (node != "-") {
            CItem *item = nodeAt(document, node);
            if (edit == "altkey")
                item->setTexts(item->contentTitle(), value);
            else if (edit == "menutitle")
                item->setTexts(value, item->altKey());
            else if (edit == "tab")
                item->setTabDescription(value);
            else if (edit == "title")
                item->setTitle(value);
            else if (edit == "location")
                item->setLocation(value);
            else if (edit == "description")
                item->setDescription(value);
            else if (edit == "clear")
                item->entries().clear();
        }
        const QList<Finding> findings = checkPackage(document);
        QCOMPARE(described(findings, document), expected);
        for (const Finding &finding : findings)
            QVERIFY2(!finding.text().isEmpty() && !finding.englishText().isEmpty(), qPrintable(finding.key));
    }

    // Package-wide findings come first, then the nodes' in tree order.
    void findingsInTreeOrder()
    {
        PackageFixture world;
        QVERIFY(testing::copyTree(KAVO_SOURCE_DIR "/data/program", world.programDir()));
        const QString dir = world.packagesDir() + "/Sample";
        QVERIFY(testing::copyTree(KAVO_SOURCE_DIR "/data/sample-installation", dir));
        QVERIFY(ini::writeProfileString(dir + "/access-config.ini", "Other", "REGULAR_TEXT_COLOR", "red"));
        PackageDocument document;
        document.state().setLocation(dir);
        document.load();
        for (const char *path : {"3/5", "1", "2/3/3", "2/3", "1/1"})
            nodeAt(document, path)->setTitle(QString());
        nodeAt(document, "1")->setTexts("", "E");
        const QStringList found = described(checkPackage(document), document);
        QCOMPARE(found, (QStringList{"TEXTCOLOR - warning", "MENUNOTITLE 1 warning", "ALTKEYNOTINTITLE 1 warning",
                                     "NOTITLE 1/1 warning", "NOTITLE 2/3 warning", "NOTITLE 2/3/3 warning",
                                     "NOTITLE 3/5 warning"}));
    }

    // A value holding a placeholder of its own is named as it is.
    void valuesAreNamedAsTheyAre()
    {
        PackageFixture world;
        QVERIFY(testing::copyTree(KAVO_SOURCE_DIR "/data/program", world.programDir()));
        Finding finding{Finding::Severity::Warning, Finding::Subject::AltKey, nullptr, "ALTKEYNOTINTITLE", {"%2", "100%1"}, {}, {}};
        QCOMPARE(finding.englishText(), QString("The Alt key \"%2\" is not in the title \"100%1\"."));
    }
};
KAVO_TEST(PackageCheckTest)
#include "test_packagecheck.moc"
