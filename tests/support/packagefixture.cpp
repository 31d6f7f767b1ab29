#include "packagefixture.h"

#include "packages/languagefiles.h"
#include "packages/packagestore.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include <QDir>
#include <QTest>

using testing::writeFile;

PackageFixture::PackageFixture()
{
    m_savedRegistry = qgetenv("AKVO_REGISTRY");
    qputenv("AKVO_REGISTRY", (root() + "/registry").toLocal8Bit());
    QDir().mkpath(programDir());
    QDir().mkpath(installDir());
    writeFile(programDir() + "/0409/custom-text.ini", "[TEXT]\r\nTITLE=Tool\r\n[OTHER]\r\n");
    platform::setProgramDirectory(programDir());
    platform::setUserInterfaceLanguage(0x0409);
    setInstallDir(installDir());
}

PackageFixture::~PackageFixture()
{
    platform::setProgramDirectory(QString());
    platform::setUserInterfaceLanguage(std::nullopt);
    qputenv("AKVO_REGISTRY", m_savedRegistry);
}

void PackageFixture::writeDefaultSeeds()
{
    writeFile(programDir() + "/machine-specifics.default", "[Menu1]\r\nMenu1Info=,,TRUE,,,,,,,,,,,,,\r\n");
    writeFile(programDir() + "/access-text.default", "[Access Text]\r\nTITLE=seed\r\n");
    writeFile(programDir() + "/access-config.default", "[Other]\r\nVERSION=seed\r\n");
}

void PackageFixture::writePlainSeeds()
{
    writeFile(programDir() + "/machine-specifics.csv", "[Menu1]\r\nMenu1Info=,,TRUE,,,,,,,,,,,,,\r\n");
    writeFile(programDir() + "/access-config.ini", "[Other]\r\nVERSION=plain\r\n");
}

void PackageFixture::writeInstallation()
{
    writeFile(installDir() + "/access-config.ini", "[Other]\r\nVERSION=4.1.20\r\n");
    writeFile(installDir() + "/access-text.ini", "[Access Text]\r\nTITLE=installed\r\n");
    for (const QString &dir : packages::languageDirsCreationOrder())
        writeFile(installDir() + "/" + dir + "/access-text.ini", "[Access Text]\r\nTITLE=" + dir.toLatin1() + "\r\n");
}

void PackageFixture::setInstallDir(const QString &directory)
{
    const QString conf = root() + "/registry/system/Harbel/ZELT.conf";
    if (directory.isEmpty())
        QFile::remove(conf);
    else
        testing::writeSettingsValue(conf, "InstallDir", directory);
}

void PackageFixture::startTool(packages::PackageState &state)
{
    writeInstallation();
    writePlainSeeds();
    QVERIFY(packages::ensureDefaultPackage());
    packages::openLastPackage(state);
    QCOMPARE(state.packageName, QString("Untitled1"));
}

QString PackageFixture::makeBuiltPackage(const QString &name, bool withConfig)
{
    const QString dir = packagesDir() + "/" + name;
    writeFile(dir + "/machine-specifics.csv", "[Menu1]\r\n");
    writeFile(dir + "/0409/access-text.ini", "[Access Text]\r\n");
    if (withConfig)
        writeFile(dir + "/access-config.ini", "[Other]\r\n");
    writeFile(dir + "/" + name + ".pkg", "marker");
    return dir;
}
