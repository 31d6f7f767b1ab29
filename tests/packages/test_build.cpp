#include "packagefixture.h"
#include "packages/build.h"
#include "packages/languagefiles.h"
#include "packages/packagestate.h"
#include "packages/packagestore.h"
#include "ini/profile.h"

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
};
KAVO_TEST(BuildTest)
#include "test_build.moc"
