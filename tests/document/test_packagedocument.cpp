#include "packagefixture.h"
#include "document/packagedocument.h"
#include "document/menucommands.h"
#include "document/pagecommands.h"
#include "packages/languagefiles.h"
#include "packages/packagestore.h"
#include "ini/profile.h"
#include "ini/confinedfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <thread>
#include <unistd.h>

using namespace document;
using packages::BuildResult;
using testing::readFile;

// The package document: reading, building, and the modified state that follows the undo stack.
class PackageDocumentTest : public QObject {
    Q_OBJECT

    // A started tool: the default package made, Untitled1 open and read.
    static void start(PackageFixture &world, PackageDocument &document)
    {
        world.startTool(document.state());
        document.load();
        document.undoStack().push(new SetCompanyNameCommand(document, "Contoso"));
    }

    // Another program's edit that leaves the file's size and modification time as they were.
    static void editBehindTheToolsBack(const QString &path, const QByteArray &from, const QByteArray &to)
    {
        const QDateTime modified = QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
        testing::writeFile(path, readFile(path).replace(from, to));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(modified, QFileDevice::FileModificationTime));
    }

private slots:
    // Such an edit made while the package is open is kept by the next build.
    void anEditThatKeepsSizeAndTimeIsKeptByTheBuild()
    {
        PackageFixture world;
        PackageDocument document;
        start(world, document);
        QVERIFY(ini::writeProfileString(document.state().configFilePath, "Notes", "N", "before"));
        document.load();
        editBehindTheToolsBack(document.state().configFilePath, "N=before", "N=behind");
        document.undoStack().push(new SetCompanyNameCommand(document, "Contoso"));
        QVERIFY(document.build().succeeded());
        QVERIFY(readFile(document.state().configFilePath).contains("N=behind"));
    }


    void buildWritesEverythingAndClearsTheFlags()
    {
        PackageFixture world;
        PackageDocument document;
        start(world, document);
        const packages::PackageState &state = document.state();
        QVERIFY(document.isModified());

        const BuildResult result = document.build();
        QVERIFY2(result.succeeded(), qPrintable(result.failures.join(", ")));
        QVERIFY(!document.isModified());
        QVERIFY(!state.isUntitled);
        QCOMPARE(ini::readProfileString(state.configFilePath, "OTHER", "VERSION"), QString("4.1.21"));
        QCOMPARE(readFile(state.packageDir + "/custom.bat"),
                 "@ECHO OFF\r\nxcopy *.* " + world.installDir().toUtf8() + "/U /S /Y\r\n");
        QCOMPARE(readFile(state.packageDir + "/Untitled1.pkg"), packages::markerBytes(state));
        QCOMPARE(ini::readProfileString(state.uiTextPath, "OTHER", "LASTCONFIG"), state.packageDir + "/Untitled1.pkg");
        const QByteArray text = readFile(state.textFilePath);
        QVERIFY(text.contains("Help Center  Contoso"));
        for (const QString &dir : packages::languageDirsCopyOrder())
            QCOMPARE(readFile(state.packageDir + "/" + dir + "/access-text.ini"), text);

        // The installed version is the base: building again gives the same number.
        document.build();
        QCOMPARE(ini::readProfileString(state.configFilePath, "OTHER", "VERSION"), QString("4.1.21"));

        PackageDocument next;
        packages::openLastPackage(next.state());
        QCOMPARE(next.state().packageDir, state.packageDir);
        QCOMPARE(next.state().packageName, QString("Untitled1.pkg"));
    }

    void unwritableFilesAreReportedAndThePackageStaysModified()
    {
        PackageFixture world;
        PackageDocument document;
        start(world, document);
        // Directories where the files should go: no write can replace them, even as root.
        QDir().mkpath(document.state().packageDir + "/custom.bat");
        QDir().mkpath(document.state().packageDir + "/Untitled1.pkg");
        const QMap<QString, QByteArray> before = testing::treeContents(world.root());

        // One transaction: nothing is written, and the failures name both files.
        const BuildResult result = document.build();
        QVERIFY(result.failures.join("\n").contains("custom.bat (not a regular file"));
        QVERIFY(result.failures.join("\n").contains("Untitled1.pkg (not a regular file"));
        QVERIFY(result.written.isEmpty());
        QCOMPARE(testing::treeContents(world.root()), before);
        QVERIFY(document.isModified());
        QVERIFY(document.state().isUntitled);
    }

    void withoutAnInstallDirectoryTheBatchNamesTheProgramDirectory()
    {
        PackageFixture world;
        const QString package = world.root() + "/loose";
        QDir().mkpath(package);
        ini::ConfinedFolder folder(package);
        packages::createLanguageDirs(folder);
        for (const char *file : {"/machine-specifics.csv", "/access-config.ini", "/0409/access-text.ini"})
            testing::writeFile(package + file, "");
        world.setInstallDir(QString());
        PackageDocument document;
        document.state().setLocation(package);
        document.load();
        document.build();
        QCOMPARE(readFile(package + "/custom.bat"), "@ECHO OFF\r\nxcopy *.* " + world.programDir().toUtf8() + "/U /S /Y\r\n");
        QCOMPARE(ini::readProfileString(document.state().configFilePath, "OTHER", "VERSION"), QString("1"));
        QVERIFY(QFile::exists(package + "/loose.pkg"));
    }

    // A text longer than its line would come back cut, and what follows it on the line lost: the
    // build writes nothing and says which text.
    void aTextTooLongForItsLineRefusesTheBuild_data()
    {
        QTest::addColumn<QString>("property");
        QTest::newRow("a location of 2,002 characters") << "location";
        QTest::newRow("a description of 2,100 characters") << "description";
        QTest::newRow("a title of 2,100 characters") << "title";
        QTest::newRow("a company name of 2,100 characters") << "company";
    }
    void aTextTooLongForItsLineRefusesTheBuild()
    {
        QFETCH(QString, property);
        PackageFixture world;
        PackageDocument document;
        start(world, document);
        EntryProperties properties{ApplicationIcon, "Notes", "Our notes", "C:\\notes.exe"};
        document.undoStack().push(new NewEntryCommand(document, document.menus().mainMenus().at(0), properties));
        QVERIFY(document.build().succeeded());
        CItem *entry = document.menus().mainMenus().at(0)->entries().at(0);
        if (property == "location")
            properties.location = QString(2002, 'l');
        else if (property == "description")
            properties.description = QString(2100, 'd');
        else if (property == "title")
            properties.title = QString(2100, 't');
        if (property == "company")
            document.undoStack().push(new SetCompanyNameCommand(document, QString(2100, 'c')));
        else
            document.undoStack().push(new EditEntryCommand(document, entry, properties));
        const QMap<QString, QByteArray> before = testing::treeContents(world.root());

        const BuildResult result = document.build();
        QVERIFY2(result.failures.join("\n").contains("longer than a line of the file holds"),
                 qPrintable(result.failures.join("\n")));
        QCOMPARE(testing::treeContents(world.root()), before);
        QVERIFY(document.isModified());
    }

    // Another program keeps swapping a language folder and a file of the package between the real
    // ones and links to the user's own, while builds run: no build writes through a link, ever.
    void buildsNeverWriteThroughLinksSwappedInMeanwhile()
    {
        PackageFixture world;
        PackageDocument document;
        start(world, document);
        const QString dir = document.state().packageDir, outside = world.root() + "/outside";
        testing::writeFile(outside + "/access-text.ini", "the user's text");
        testing::writeFile(outside + "/access-config.ini", "the user's settings");
        const QMap<QString, QByteArray> outsideBefore = testing::treeContents(outside);

        std::atomic<bool> stop = false;
        std::thread swapper([&] {
            const QByteArray folder = QFile::encodeName(dir + "/0411"), file = QFile::encodeName(dir + "/access-config.ini");
            const QByteArray linkedFolder = QFile::encodeName(outside), linkedFile = QFile::encodeName(outside + "/access-config.ini");
            while (!stop) {
                for (const auto &[path, target] : {std::pair{folder, linkedFolder}, std::pair{file, linkedFile}}) {
                    ::rename(path.constData(), (path + ".real").constData());
                    ::symlink(target.constData(), path.constData());
                    std::this_thread::sleep_for(std::chrono::microseconds(100));
                    ::unlink(path.constData());
                    ::rename((path + ".real").constData(), path.constData());
                    std::this_thread::sleep_for(std::chrono::microseconds(500));
                }
            }
        });
        int built = 0;
        for (int i = 0; i < 200; ++i) {
            document.undoStack().push(new SetCompanyNameCommand(document, QString("Contoso %1").arg(i)));
            built += document.build().succeeded();
        }
        stop = true;
        swapper.join();
        qInfo("%d of 200 builds got through", built);
        QCOMPARE(testing::treeContents(outside), outsideBefore);
    }

    // Modified means away from the state last read or built, whichever way the stack got there.
    void modifiedFollowsTheUndoStack()
    {
        PackageFixture world;
        PackageDocument document;
        world.startTool(document.state());
        document.state().titleBase = "Tool";
        QSignalSpy titles(&document, &PackageDocument::titleChanged);
        document.load();
        QVERIFY(!document.isModified());
        const QString loaded = document.companyName();
        QUndoStack &steps = document.undoStack();
        steps.push(new SetCompanyNameCommand(document, "A"));
        steps.push(new SetCompanyNameCommand(document, "AB"));   // typing on: the same step
        QCOMPARE(steps.count(), 1);
        QCOMPARE(document.windowTitle(), QString("Tool  -  [Untitled1*]"));
        document.build();
        steps.undo();
        QVERIFY(document.isModified());
        QCOMPARE(document.companyName(), loaded);
        steps.redo();
        QVERIFY(!document.isModified());
        QCOMPARE(document.companyName(), QString("AB"));
        steps.push(new SetCompanyNameCommand(document, "ABC"));
        steps.push(new SetCompanyNameCommand(document, "AB"));   // typed back: no step at all
        QCOMPARE(steps.count(), 1);
        QVERIFY(!document.isModified());
        QCOMPARE(titles.last().at(0).toString(), QString("Tool  -  [Untitled1]"));
        document.loadNewPackage();
        QCOMPARE(steps.count(), 0);
    }
    // A reading started earlier gives way to files changed since it read them.
    void aReadingAheadGivesWayToFilesChangedSince_data()
    {
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("entries");
        QTest::newRow("nothing") << "" << "First" << 1;
        QTest::newRow("text file") << "text" << "Second" << 1;
        QTest::newRow("menu file") << "menus" << "First" << 2;
        QTest::newRow("text file, same size, old time put back") << "same size" << "Fifth" << 1;
    }
    void aReadingAheadGivesWayToFilesChangedSince()
    {
        QFETCH(QString, changed);
        QFETCH(QString, title);
        QFETCH(int, entries);
        PackageFixture world;
        PackageDocument document;
        const packages::PackageState &state = document.state();
        world.startTool(document.state());
        QVERIFY(ini::writeProfileString(state.textFilePath, "Access Text", "TEXT1", "__E1__,\"First\""));
        QVERIFY(ini::writeProfileString(state.machineFilePath, "Menu1", "SubMenu1", ",,FALSE,__E1__,,x.gif,,,,,,,,,,"));

        auto reading = std::make_unique<PackageReading>(state);
        QTest::qWait(50);   // mostly read by now: the change below comes after it
        if (changed == "text")
            QVERIFY(ini::writeProfileString(state.textFilePath, "Access Text", "TEXT1", "__E1__,\"Second\""));
        else if (changed == "menus")
            QVERIFY(ini::writeProfileString(state.machineFilePath, "Menu1", "SubMenu2", ",,FALSE,__E2__,,,,,,,,,,,,"));
        else if (changed == "same size")
            editBehindTheToolsBack(state.textFilePath, "First", "Fifth");
        document.load(std::move(reading));
        const ItemList &menuEntries = document.menus().mainMenus().at(0)->entries();
        QCOMPARE(menuEntries.size(), entries);
        QCOMPARE(menuEntries.at(0)->title(), title);
        QVERIFY(ini::profileCacheIsConsistent(state.textFilePath));
        QVERIFY(ini::profileCacheIsConsistent(state.machineFilePath));
    }
};
KAVO_TEST(PackageDocumentTest)
#include "test_packagedocument.moc"
