#include "testmain.h"
#include "platform/registry.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace platform;

class RegistryTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QByteArray m_saved;
private slots:
    void init() { m_saved = qgetenv("AKVO_REGISTRY"); qputenv("AKVO_REGISTRY", m_dir.path().toLocal8Bit()); }
    void cleanup() { qputenv("AKVO_REGISTRY", m_saved); QDir(m_dir.path()).removeRecursively(); QDir().mkpath(m_dir.path()); }

    void installDirFromTheRedirectedSystemScope()
    {
        testing::writeFile(m_dir.path() + "/system/Harbel/ZELT.conf", "[General]\nInstallDir=\"/opt/kavo\"\n");
        QCOMPARE(readRegistryString(RegistryScope::System, "Software\\Harbel\\ZELT", "InstallDir"), QString("/opt/kavo"));
        QVERIFY(!readRegistryString(RegistryScope::User, "Software\\Harbel\\ZELT", "InstallDir"));
        QVERIFY(!readRegistryString(RegistryScope::System, "Software\\Harbel\\ZELT", "Missing"));
    }

    void keyExistsOnlyWhenItsFileExists()
    {
        QVERIFY(!registryKeyExists(RegistryScope::System, "Software\\Harbel\\RUNA"));
        testing::writeFile(m_dir.path() + "/system/Harbel/RUNA.conf", "");
        QVERIFY(registryKeyExists(RegistryScope::System, "Software\\Harbel\\RUNA"));
        QVERIFY(!registryKeyExists(RegistryScope::User, "Software\\Harbel\\RUNA"));
    }

    void numbersRoundTripInTheUserScope()
    {
        QVERIFY(!readRegistryNumber(RegistryScope::User, "Software\\Harbel\\ZELT", "ShowPrivacyDlg"));
        QVERIFY(writeRegistryNumber(RegistryScope::User, "Software\\Harbel\\ZELT", "ShowPrivacyDlg", 1));
        QCOMPARE(readRegistryNumber(RegistryScope::User, "Software\\Harbel\\ZELT", "ShowPrivacyDlg"), quint32(1));
        QVERIFY(QFile::exists(m_dir.path() + "/user/Harbel/ZELT.conf"));
    }
};
KAVO_TEST(RegistryTest)
#include "test_registry.moc"
