#include "installedworld.h"

#include "ini/confinedfolder.h"
#include "ini/profile.h"
#include "packages/languagefiles.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include <QDir>
#include <QFile>

InstalledWorld::InstalledWorld(bool withDefaultSeeds)
{
    const QString data = QStringLiteral(KAVO_SOURCE_DIR "/data");
    testing::copyTree(data + "/program", programDir());
    testing::copyTree(data + "/sample-installation", installDir());
    if (withDefaultSeeds) {
        QFile::rename(programDir() + "/machine-specifics.csv", programDir() + "/machine-specifics.default");
        QFile::rename(programDir() + "/access-config.ini", programDir() + "/access-config.default");
        QFile::copy(programDir() + "/0409/access-text.ini", programDir() + "/access-text.default");
    }
    testing::writeSettingsValue(registryDir() + "/system/Harbel/ZELT.conf", "InstallDir", installDir());
    testing::writeFile(registryDir() + "/system/Harbel/RUNA.conf", "");
    testing::writeFile(registryDir() + "/system/Harbel/DUVA.conf", "[General]\nVersion=4.1\n");
    testing::writeFile(registryDir() + "/user/Harbel/ZELT.conf", "[General]\nShowPrivacyDlg=1\n");

    m_savedRegistry = qgetenv("AKVO_REGISTRY");
    qputenv("AKVO_REGISTRY", registryDir().toLocal8Bit());
    platform::setProgramDirectory(programDir());
    platform::setUserInterfaceLanguage(0x0409);
    ini::clearProfileCache();
}

InstalledWorld::~InstalledWorld()
{
    platform::setProgramDirectory(QString());
    platform::setUserInterfaceLanguage(std::nullopt);
    qputenv("AKVO_REGISTRY", m_savedRegistry);
    ini::clearProfileCache();
}

QProcessEnvironment InstalledWorld::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("AKVO_PROGRAM_DIR", programDir());
    environment.insert("AKVO_REGISTRY", registryDir());
    environment.insert("LANGUAGE", "en_US");
    environment.insert("LC_ALL", "en_US.UTF-8");
    return environment;
}

QString InstalledWorld::makePackage(const QString &name, bool built) const
{
    const QString dir = packagesDir() + "/" + name;
    QDir().mkpath(dir);
    QFile::copy(installDir() + "/machine-specifics.csv", dir + "/machine-specifics.csv");
    QFile::copy(installDir() + "/access-config.ini", dir + "/access-config.ini");
    ini::ConfinedFolder package(dir);
    packages::createLanguageDirs(package);
    packages::copyLanguageFiles(installDir(), package, "access-text.ini", 0x80, false);
    if (built)
        testing::writeFile(dir + "/" + name + ".pkg", "marker");
    return dir;
}
