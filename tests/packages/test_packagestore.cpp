#include "packagefixture.h"
#include "packages/languagefiles.h"
#include "packages/packagestate.h"
#include "packages/packagestore.h"
#include "ini/profile.h"
#include "platform/registry.h"
#include "platform/uilanguage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace packages;
using testing::readFile;
using testing::writeFile;

namespace {
bool isWritable(const QString &path)
{
    return QFileInfo(path).permissions() & QFile::WriteOwner;
}
} // namespace

class PackageStoreTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartCreatesTheDefaultPackageFromTheDefaultSeeds()
    {
        PackageFixture world;
        world.writeInstallation();
        world.writeDefaultSeeds();
        world.writePlainSeeds();   // present too, but the ".default" trio wins

        QVERIFY(ensureDefaultPackage());
        QCOMPARE(readFile(world.defaultDir() + "/machine-specifics.csv"), QByteArray("[Menu1]\r\nMenu1Info=,,TRUE,,,,,,,,,,,,,\r\n"));
        QCOMPARE(readFile(world.defaultDir() + "/access-config.ini"), QByteArray("[Other]\r\nVERSION=seed\r\n"));
        for (const QString &dir : languageDirsCreationOrder()) {
            const QString text = world.defaultDir() + "/" + dir + "/access-text.ini";
            QCOMPARE(readFile(text), "[Access Text]\r\nTITLE=" + dir.toLatin1() + "\r\n");
            QVERIFY(!isWritable(text));   // the mode bits, which root sees as well
        }
        QVERIFY(!isWritable(world.defaultDir() + "/access-config.ini"));
        for (const char *seed : {"machine-specifics", "access-text", "access-config"})
            QVERIFY(!QFile::exists(world.programDir() + "/" + seed + ".default"));

        PackageState state;
        openLastPackage(state);
        QCOMPARE(state.packageName, QString("Untitled1"));
        QCOMPARE(state.packageDir, world.packagesDir() + "/Untitled1");
        QVERIFY(state.isUntitled);
        QVERIFY(state.packageIsComplete());
        QVERIFY(isWritable(state.configFilePath));
        QCOMPARE(readFile(state.textFilePath), QByteArray("[Access Text]\r\nTITLE=0409\r\n"));
    }

    void missingSeedMakesTheDefaultPackageIncomplete()
    {
        PackageFixture world;
        world.writeInstallation();
        testing::writeFile(world.programDir() + "/machine-specifics.csv", "[Menu1]\r\n");
        QVERIFY(!ensureDefaultPackage());   // no access-config seed
        QVERIFY(QFile::exists(world.defaultDir() + "/machine-specifics.csv"));
        QVERIFY(!QFile::exists(world.defaultDir() + "/access-config.ini"));
    }

    void anExistingDefaultPackageIsCompletedWithoutOverwriting()
    {
        PackageFixture world;
        world.writeInstallation();
        world.writePlainSeeds();
        writeFile(world.defaultDir() + "/0407/access-text.ini", "[Access Text]\r\nTITLE=kept\r\n");   // 0410 and the others lack even their folders
        writeFile(world.defaultDir() + "/access-config.ini", "[Other]\r\nVERSION=kept\r\n");
        world.writeDefaultSeeds();

        QVERIFY(ensureDefaultPackage());
        QCOMPARE(readFile(world.defaultDir() + "/0407/access-text.ini"), QByteArray("[Access Text]\r\nTITLE=kept\r\n"));
        QCOMPARE(readFile(world.defaultDir() + "/0410/access-text.ini"), QByteArray("[Access Text]\r\nTITLE=0410\r\n"));
        QCOMPARE(readFile(world.defaultDir() + "/access-config.ini"), QByteArray("[Other]\r\nVERSION=kept\r\n"));
        QCOMPARE(readFile(world.defaultDir() + "/machine-specifics.csv"), readFile(world.programDir() + "/machine-specifics.default"));
        QVERIFY(!isWritable(world.defaultDir() + "/0407/access-text.ini"));
        QVERIFY(QFile::exists(world.programDir() + "/access-config.default"));   // only the first start consumes them
    }

    void untitledNumberingSkipsBuiltPackagesAndReusesUnbuiltOnes()
    {
        PackageFixture world;
        world.writeInstallation();
        world.writePlainSeeds();
        QVERIFY(ensureDefaultPackage());

        world.makeBuiltPackage("Untitled1");
        world.makeBuiltPackage("Untitled2");
        PackageState state;
        QVERIFY(createUntitledPackage(state));
        QCOMPARE(state.packageName, QString("Untitled3"));

        QFile::remove(world.packagesDir() + "/Untitled1/Untitled1.pkg");
        PackageState again;
        QVERIFY(createUntitledPackage(again));
        QCOMPARE(again.packageName, QString("Untitled1"));
        QVERIFY(again.packageIsComplete());
    }

    void lastConfigChoosesThePackage_data()
    {
        QTest::addColumn<QString>("lastConfig");   // %1 stands for the packages directory
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("expectedDir");
        QTest::addColumn<QString>("expectedName");
        QTest::newRow("marker of a complete package") << "%1/Sales/Sales.pkg" << true << "%1/Sales" << "Sales.pkg";
        QTest::newRow("directory of a complete package") << "%1/Sales" << true << "%1/Sales" << "Sales";
        QTest::newRow("in quotes, which the reader removes") << "\"%1/Sales/Sales.pkg\"" << true << "%1/Sales" << "Sales.pkg";
        QTest::newRow("a stray quote") << "\"%1/Sales/Sales.pkg" << true << "%1/Sales" << "Sales.pkg";
        QTest::newRow("package without configuration file") << "%1/Sales/Sales.pkg" << false << "%1/Untitled1" << "Untitled1";
    }
    void lastConfigChoosesThePackage()
    {
        QFETCH(QString, lastConfig);
        QFETCH(bool, complete);
        QFETCH(QString, expectedDir);
        QFETCH(QString, expectedName);
        PackageFixture world;
        world.writeInstallation();
        world.writePlainSeeds();
        QVERIFY(ensureDefaultPackage());
        world.makeBuiltPackage("Sales", complete);

        PackageState state;
        QVERIFY(ini::writeProfileString(state.uiTextPath, "OTHER", "LASTCONFIG", lastConfig.arg(world.packagesDir())));
        openLastPackage(state);
        QCOMPARE(state.packageDir, expectedDir.arg(world.packagesDir()));
        QCOMPARE(state.packageName, expectedName);
        QCOMPARE(state.isUntitled, !complete);
        QVERIFY(state.packageIsComplete());
    }

    void missingTextsAreMergedAndTheMigrationFileDeleted()
    {
        PackageFixture world;
        writeFile(world.installDir() + "/access-text.ini",
                  "[Access Text]\r\nTITLE=x\r\nPasswordText=Mine\r\nWrongPassText=\r\n");
        writeFile(world.installDir() + "/AKVO-moreTxt.ini",
                  "[MISSED]\r\nASKPRVINFOTEXT=Ask\r\nPasswordText=Theirs\r\nWrongPassText=Wrong\r\n");
        mergeMissingTexts();
        QCOMPARE(readFile(world.installDir() + "/access-text.ini"),
                 QByteArray("[Access Text]\r\nTITLE=x\r\nPasswordText=Mine\r\nWrongPassText=Wrong\r\nASKPRVINFOTEXT=Ask\r\n"));
        QVERIFY(!QFile::exists(world.installDir() + "/AKVO-moreTxt.ini"));
    }

    void migrationFileIsDeletedEvenWithoutATextFile()
    {
        PackageFixture world;
        writeFile(world.installDir() + "/AKVO-moreTxt.ini", "[MISSED]\r\nPasswordText=p\r\n");
        mergeMissingTexts();
        QVERIFY(!QFile::exists(world.installDir() + "/AKVO-moreTxt.ini"));
        QVERIFY(!QFile::exists(world.installDir() + "/access-text.ini"));
    }

    void withoutAnInstallDirectoryNothingIsCreated()
    {
        PackageFixture world;
        world.writePlainSeeds();
        world.setInstallDir(QString());
        QVERIFY(getInstallDir().isEmpty());
        QVERIFY(!ensureDefaultPackage());
        PackageState state;
        openLastPackage(state);
        QVERIFY(state.packageDir.isEmpty());
        QVERIFY(state.configFilePath.isEmpty());
        QVERIFY(!QFile::exists("/Packages"));
        QVERIFY(!QFile::exists(world.packagesDir()));
    }

    // Any install directory survives being stored as the fixtures store it (through QSettings)
    // and as the scripts do (scripts/settings-string), and read back by the tool.
    void installDirRoundTrips_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << "/opt/kavo";
        QTest::newRow("comma") << "/opt/Kavo, Inc/install";
        QTest::newRow("semicolon") << "/opt/kavo;old";
        QTest::newRow("backslashes") << "/mnt/c:\\Program Files\\Kavo\\";
        QTest::newRow("quotes") << "/opt/\"Kavo\" 4";
        QTest::newRow("hash and equals") << "/opt/kavo#2/a=b";
        QTest::newRow("spaces at both ends") << "  /opt/Access Kavo ";
        QTest::newRow("non-ASCII") << QString::fromUtf8("/opt/Zürich/アクセス");
        QTest::newRow("control characters") << QString("/opt/tab\tline\nend\r") + QChar(1) + "a1";
        QTest::newRow("leading @") << "@ByteArray(x)";
        QTest::newRow("everything") << QString::fromUtf8(" /x/ a,b;c\\d\"e#f=g ü\\\" ");
    }
    void installDirRoundTrips()
    {
        QFETCH(QString, path);
        PackageFixture world;
        const auto read = [] {
            return platform::readRegistryString(platform::RegistryScope::System, "Software\\Harbel\\ZELT", "InstallDir");
        };
        world.setInstallDir(path);
        QCOMPARE(read(), path);

        QProcess script;
        script.start(KAVO_SOURCE_DIR "/scripts/settings-string", {path});
        QVERIFY(script.waitForFinished() && script.exitCode() == 0);
        writeFile(world.root() + "/registry/system/Harbel/ZELT.conf",
                  "[General]\nInstallDir=" + script.readAllStandardOutput() + "\n");
        QCOMPARE(read(), path);
    }

    // Only an existing folder named in full is an installation, read as it was written.
    void installDirIsAnExistingFolderNamedInFull_data()
    {
        QTest::addColumn<QByteArray>("value");   // as the registry file holds it; %1 is the scratch folder
        QTest::addColumn<bool>("accepted");
        QTest::newRow("an existing folder") << QByteArray("%1/inst") << true;
        QTest::newRow("a relative path") << QByteArray("inst") << false;
        QTest::newRow("a missing folder") << QByteArray("%1/no-such-folder") << false;
        QTest::newRow("a file") << QByteArray("%1/inst/access-config.ini") << false;
        QTest::newRow("a file that is not UTF-8") << QByteArray("%1/ins\xFFt") << false;   // read as ".../inst"
    }
    void installDirIsAnExistingFolderNamedInFull()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, accepted);
        PackageFixture world;
        writeFile(world.root() + "/inst/access-config.ini", "[Other]\r\n");
        const QString previous = QDir::currentPath();
        QDir::setCurrent(world.root());   // where a relative path would lead
        value.replace("%1", world.root().toUtf8());
        writeFile(world.root() + "/registry/system/Harbel/ZELT.conf", "[General]\nInstallDir=" + value + "\n");
        const QString found = getInstallDir();
        QDir::setCurrent(previous);
        QCOMPARE(found, accepted ? QString::fromUtf8(value) : QString());
    }

    // The value was read into a buffer of 255 bytes: 126 characters and their end fit, 127 do not.
    void installDirLongerThanItsBufferIsMissing()
    {
        PackageFixture world;
        const QString longest = world.root() + "/" + QString(126 - world.root().size() - 1, 'a');
        QVERIFY(QDir().mkpath(longest) && QDir().mkpath(longest + "b"));
        world.setInstallDir(longest);
        QCOMPARE(getInstallDir(), longest);
        world.setInstallDir(longest + "b");
        QVERIFY(getInstallDir().isEmpty());
    }

    // A value that is not one string counts as missing, rather than naming some other folder.
    void installDirThatIsNotOneStringIsMissing()
    {
        PackageFixture world;
        for (const char *value : {"/opt/Kavo, Inc", "\"/opt/kavo\", \"/srv\"", "@ByteArray(/opt/kavo)"}) {
            writeFile(world.root() + "/registry/system/Harbel/ZELT.conf",
                      QByteArray("[General]\nInstallDir=") + value + "\n");
            QVERIFY2(getInstallDir().isEmpty(), value);
        }
    }

    // Start-up and New make their untitled package afresh in a folder the tool itself left
    // (after a crash), or under the next free name; Exit removes only what the tool put there.
    // Whatever else stands under that name stays as it is.
    void untitledPackagesTakeOnlyWhatIsTheToolsOwn_data()
    {
        QTest::addColumn<QString>("present");   // in Packages/Untitled1 before the start
        QTest::addColumn<bool>("reused");
        // Links, a folder of the user's alone and a built package are rows of the bad-input table
        // and of the numbering test.
        QTest::newRow("a left-over of the tool's own") << "left-over" << true;
        QTest::newRow("the tool's files and one of the user's") << "left-over notes" << false;
    }
    void untitledPackagesTakeOnlyWhatIsTheToolsOwn()
    {
        QFETCH(QString, present);
        QFETCH(bool, reused);
        PackageFixture world;
        world.writeInstallation();
        world.writePlainSeeds();
        QVERIFY(ensureDefaultPackage());
        const QString untitled1 = world.packagesDir() + "/Untitled1";
        PackageState leftOver;   // of a start that never ended
        QVERIFY(createUntitledPackage(leftOver));
        writeFile(untitled1 + "/access-config.ini.kavo-new-x1", "left by a killed write");
        if (present.contains("notes"))
            writeFile(untitled1 + "/notes.txt", "mine");
        const QMap<QString, QByteArray> before = testing::treeContents(untitled1);

        PackageState state;
        QVERIFY(createUntitledPackage(state));
        QCOMPARE(state.packageName, QString(reused ? "Untitled1" : "Untitled2"));
        QVERIFY(state.packageIsComplete());
        QVERIFY(!QFile::exists(state.packageDir + "/access-config.ini.kavo-new-x1"));
        if (!reused) {
            QVERIFY(!removeUntitledPackage(untitled1));
            QCOMPARE(testing::treeContents(untitled1), before);
        }
        QVERIFY(removeUntitledPackage(state.packageDir));
        QVERIFY(!QFileInfo::exists(state.packageDir));
    }

    // A marker file or a folder names a package the same way wherever the path comes from
    // (the last build, the Open dialog, the command line).
    void aPathNamesAPackage_data()
    {
        QTest::addColumn<QString>("path");   // relative to the scratch folder
        QTest::addColumn<QString>("dir");
        QTest::addColumn<QString>("name");
        QTest::newRow("marker") << "Sales/Sales.pkg" << "Sales" << "Sales.pkg";
        QTest::newRow("marker in another case") << "Sales/Sales.PKG" << "Sales" << "Sales.PKG";
        QTest::newRow("folder") << "Sales" << "Sales" << "Sales";
        QTest::newRow("folder with a trailing separator") << "Sales/" << "Sales" << "Sales";
        QTest::newRow("quotes are part of a name") << "Q\"x/Q\"x.pkg" << "Q\"x" << "Q\"x.pkg";
        QTest::newRow("dot segments") << "Other/../Sales/./Sales.pkg" << "Sales" << "Sales.pkg";
    }
    void aPathNamesAPackage()
    {
        QFETCH(QString, path);
        QFETCH(QString, dir);
        QTemporaryDir scratch;
        PackageState state;
        state.setLocation(scratch.path() + "/" + path);
        QCOMPARE(state.packageDir, scratch.path() + "/" + dir);
        QTEST(state.packageName, "name");
        QCOMPARE(state.machineFilePath, scratch.path() + "/" + dir + "/machine-specifics.csv");

        // A relative path is taken from the working directory.
        const QString previous = QDir::currentPath();
        QDir::setCurrent(scratch.path());
        state.setLocation(path);
        QDir::setCurrent(previous);
        QCOMPARE(state.packageDir, scratch.path() + "/" + dir);
    }
};
KAVO_TEST(PackageStoreTest)
#include "test_packagestore.moc"
