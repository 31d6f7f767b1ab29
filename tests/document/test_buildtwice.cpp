#include "packagefixture.h"
#include "randompackage.h"
#include "document/packagedocument.h"
#include "packages/languagefiles.h"
#include "ini/profile.h"
#include "ini/confinedfolder.h"

#include <QDirIterator>
#include <QTest>
#include <random>

using document::PackageDocument;

namespace {

using Files = QMap<QString, QByteArray>;
using testing::writeRandomPackage;

Files filesBelow(const QString &dir)
{
    Files files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(dir).relativeFilePath(path), testing::readFile(path));
    }
    return files;
}

Files buildFromDisk(const QString &dir)
{
    ini::clearProfileCache();
    PackageDocument document;
    document.state().setLocation(dir);
    document.load();
    document.build();
    return filesBelow(dir);
}

} // namespace

// Building a package that nobody changed changes no file: whatever the package held, the first
// build leaves it in the form every later build writes again.
class BuildTwiceTest : public QObject {
    Q_OBJECT
private slots:
    void secondBuildChangesNoFile()
    {
        PackageFixture world;
        world.writeInstallation();
        const QString dir = world.packagesDir() + "/Random";
        for (unsigned seed = 1; seed <= 40; ++seed) {
            testing::Rng rng(seed);
            QDir(dir).removeRecursively();
            writeRandomPackage(rng, dir);
            const Files first = buildFromDisk(dir);
            const Files second = buildFromDisk(dir);
            for (auto file = first.constBegin(); file != first.constEnd(); ++file) {
                const QList<QByteArray> once = file.value().split('\n');
                const QList<QByteArray> twice = second.value(file.key()).split('\n');
                qsizetype line = 0;
                while (line < once.size() && line < twice.size() && once[line] == twice[line])
                    ++line;
                QVERIFY2(once == twice, qPrintable(QStringLiteral("seed %1, %2 line %3: %4 became %5")
                                                       .arg(seed)
                                                       .arg(file.key())
                                                       .arg(line + 1)
                                                       .arg(QString::fromUtf8(once.value(line)),
                                                            QString::fromUtf8(twice.value(line)))));
            }
        }
    }
};
KAVO_TEST(BuildTwiceTest)
#include "test_buildtwice.moc"
