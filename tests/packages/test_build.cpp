#include "packagefixture.h"
#include "packages/build.h"
#include "packages/languagefiles.h"
#include "packages/packagestate.h"
#include "packages/packagestore.h"
#include "platform/profile.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace packages;
using testing::readFile;
using testing::writeFile;

class BuildTest : public QObject {
    Q_OBJECT
private slots:
    void nextVersion_data()
    {
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("next");
        QTest::newRow("last component") << "1.0.5" << "1.0.6";
        QTest::newRow("carry once") << "1.0.998" << "1.1.0";
        QTest::newRow("carry twice") << "1.998.998" << "2.0.0";
        QTest::newRow("carry out of the first") << "998.998" << "1.0";
        QTest::newRow("empty") << "" << "1";
        QTest::newRow("installed front-end") << "4.1.20" << "4.1.21";
        QTest::newRow("single component") << "7" << "8";
        QTest::newRow("single component at the limit") << "998" << "1.0";
        QTest::newRow("not a number") << "1.0.beta" << "1.0.1";
    }
    void nextVersion()
    {
        QFETCH(QString, installed);
        QFETCH(QString, next);
        QCOMPARE(packages::nextVersion(installed), next);
    }

    void installBatch_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << "/opt/kavo" << QByteArray("@ECHO OFF\r\nxcopy *.* /opt/kavo/U /S /Y\r\n");
        QTest::newRow("accent in Windows-1252")
            << QString::fromUtf8("/opt/caf\u00e9") << QByteArray("@ECHO OFF\r\nxcopy *.* /opt/caf\xe9/U /S /Y\r\n");
        QTest::newRow("blank") << "/opt/Access Kavo" << QByteArray("@ECHO OFF\r\nxcopy *.* \"/opt/Access Kavo\"/U /S /Y\r\n");
        QTest::newRow("command separator") << "/opt/a&del x" << QByteArray("@ECHO OFF\r\nxcopy *.* \"/opt/a&del x\"/U /S /Y\r\n");
        QTest::newRow("pipe and redirections") << "/opt/a|b<c>d^e" << QByteArray("@ECHO OFF\r\nxcopy *.* \"/opt/a|b<c>d^e\"/U /S /Y\r\n");
        QTest::newRow("percent expansion") << "/opt/%PATH%" << QByteArray("@ECHO OFF\r\nxcopy *.* \"/opt/%%PATH%%\"/U /S /Y\r\n");
    }
    void installBatch()
    {
        QFETCH(QString, directory);
        QFETCH(QByteArray, bytes);
        QCOMPARE(installBatchBytes(directory), std::optional<QByteArray>(bytes));
    }

    void installBatchRefusesWhatItCannotWriteSafely_data()
    {
        QTest::addColumn<QString>("directory");
        QTest::newRow("quote") << "/opt/a\"&calc";
        QTest::newRow("line break") << "/opt/a\r\ndel";
        QTest::newRow("outside Windows-1252") << QString::fromUtf8("/opt/\u4e2d");
    }
    void installBatchRefusesWhatItCannotWriteSafely()
    {
        QFETCH(QString, directory);
        QVERIFY(!installBatchBytes(directory));
    }

    void markerHoldsTheFivePathsInTextMode()
    {
        PackageState state;
        state.packageDir = QString::fromUtf8("/p/\u010a");   // a code unit whose low byte is 0x0A
        state.packageName = "S.pkg";
        state.setPackagePaths();
        const QByteArray bytes = markerBytes(state);
        QByteArray expected;
        const QString paths = state.machineFilePath + state.textFilePath + state.configFilePath
                              + state.packageDir + "/S.pkg" + state.packageDir + "/custom.bat";
        for (QChar c : paths) {
            const char low = char(c.unicode() & 0xFF);
            if (low == '\n')
                expected += '\r';
            expected += low;
            expected += char(c.unicode() >> 8);
        }
        QCOMPARE(bytes, expected);
        QVERIFY(bytes.contains(QByteArray("\r\n\x01", 3)));
    }

    void buildWritesEverythingAndClearsTheFlags()
    {
        PackageFixture world;
        PackageState state;
        world.startTool(state);
        state.markModified();
        RecordingPages pages(state);

        const BuildResult result = buildPackage(state, pages);
        QVERIFY2(result.succeeded(), qPrintable(result.failures.join(", ")));
        QCOMPARE(pages.calls, (QStringList{"menus", "company", "settings"}));
        QVERIFY(!state.isModified);
        QVERIFY(!state.isUntitled);
        QCOMPARE(platform::readProfileString(state.configFilePath, "OTHER", "VERSION"), QString("4.1.21"));
        QCOMPARE(readFile(state.packageDir + "/custom.bat"),
                 "@ECHO OFF\r\nxcopy *.* " + world.installDir().toUtf8() + "/U /S /Y\r\n");
        QCOMPARE(readFile(state.packageDir + "/Untitled1.pkg"), markerBytes(state));
        QCOMPARE(platform::readProfileString(state.uiTextPath, "OTHER", "LASTCONFIG"), state.packageDir + "/Untitled1.pkg");
        const QByteArray text = readFile(state.textFilePath);
        QVERIFY(text.contains("Help Center Contoso"));
        for (const QString &dir : languageDirsCopyOrder())
            QCOMPARE(readFile(state.packageDir + "/" + dir + "/access-text.ini"), text);

        // The installed version is the base: building again gives the same number.
        buildPackage(state, pages);
        QCOMPARE(platform::readProfileString(state.configFilePath, "OTHER", "VERSION"), QString("4.1.21"));

        PackageState next;
        openLastPackage(next);
        QCOMPARE(next.packageDir, state.packageDir);
        QCOMPARE(next.packageName, QString("Untitled1.pkg"));
    }

    void unwritableFilesAreReportedButTheFlagsStillClear()
    {
        PackageFixture world;
        PackageState state;
        world.startTool(state);
        state.markModified();
        // Directories where the files should go: no write can replace them, even as root.
        QDir().mkpath(state.packageDir + "/custom.bat");
        QDir().mkpath(state.packageDir + "/Untitled1.pkg");
        RecordingPages pages(state);

        const BuildResult result = buildPackage(state, pages);
        QVERIFY(result.batchFailed);
        QVERIFY(result.markerFailed);
        QVERIFY(!result.succeeded());
        QVERIFY(!state.isModified);
        QVERIFY(!state.isUntitled);
    }

    void withoutAnInstallDirectoryTheBatchNamesTheProgramDirectory()
    {
        PackageFixture world;
        const QString package = world.root() + "/loose";
        QDir().mkpath(package);
        createLanguageDirs(package, 0, false);
        PackageState state;
        state.packageDir = package;
        state.packageName = "loose";
        state.setPackagePaths();
        world.setInstallDir(QString());
        RecordingPages pages(state);
        buildPackage(state, pages);
        QCOMPARE(readFile(package + "/custom.bat"), "@ECHO OFF\r\nxcopy *.* " + world.programDir().toUtf8() + "/U /S /Y\r\n");
        QCOMPARE(platform::readProfileString(state.configFilePath, "OTHER", "VERSION"), QString("1"));
        QVERIFY(QFile::exists(package + "/loose.pkg"));
    }
};
KAVO_TEST(BuildTest)
#include "test_build.moc"
