#include "packagefixture.h"
#include "document/packagedocument.h"
#include "packages/languagefiles.h"
#include "ini/profile.h"
#include "ini/confinedfolder.h"

#include <QDirIterator>
#include <QTest>
#include <random>

using document::PackageDocument;

namespace {

using Rng = std::mt19937;
using Files = QMap<QString, QByteArray>;

int below(Rng &rng, int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

template <typename T>
T pick(Rng &rng, std::initializer_list<T> choices)
{
    return *(choices.begin() + below(rng, int(choices.size())));
}

// A text as a package may hold one: plain, empty, the unused marker, with NULL in it, with
// commas or with quotes of its own.
QByteArray someText(Rng &rng)
{
    return pick<QByteArray>(rng, {"Learn", "", "NULL", "NULL modem cable", "a, b", "say \"hi\"", "12\"", "x\"y,z\"w",
                                  "Über"});
}

// A package of the shape the front-end and earlier builds leave: main menus with gaps between
// their sections, entries and sub-entries named canonically or not, texts present, missing,
// empty or NULL, the first ten lines the front-end's own.
void writeRandomPackage(Rng &rng, const QString &dir)
{
    QByteArray menus;
    QList<QByteArray> texts;
    for (int line = 1; line <= 10; ++line)
        texts << "FRONT" + QByteArray::number(line) + ",\"" + someText(rng) + "\"";
    for (int n = 1; n <= 5; ++n) {
        const QByteArray p = QByteArray::number(n);
        if (below(rng, 3) == 0) {   // an unused position leaves texts behind, or none
            if (below(rng, 2))
                texts << "__TAB" + p + "_DESCRIPTION__,\"" + someText(rng) + "\"";
            continue;
        }
        menus += "[Menu" + p + "]\r\nMenu" + p + "Info=,," + pick<QByteArray>(rng, {"TRUE", "FALSE"}) + ",,,,,,,,,,,,,\r\n";
        for (const char *kind : {"_CONTENT_TITLE__", "_ALT_KEY__", "_TITLE__"})
            if (below(rng, 4))
                texts << "__MENU" + p + kind + ",\"" + someText(rng) + "\"";
        if (below(rng, 2))
            texts << "__TAB" + p + "_DESCRIPTION__,\"" + someText(rng) + "\"";
        const int entries = below(rng, 4);
        for (int q = 1; q <= entries; ++q) {
            const QByteArray name = "__" + p + "-SUBMENU" + QByteArray::number(below(rng, 2) ? q : q + 7) + "__";
            const QByteArray key = below(rng, 2) ? name.chopped(2) + "-A__" : QByteArray();
            const int subEntries = below(rng, 3);
            const QByteArray type = subEntries ? "UpArrow.gif" : pick<QByteArray>(rng, {"Topic-link.gif", "x.gif", "UpArrow.gif"});
            menus += "SubMenu" + QByteArray::number(q) + "=,," + (subEntries ? "TRUE" : "FALSE") + "," + name + ",," + type
                     + ",,,\"" + pick<QByteArray>(rng, {"", "a.htm", "C:\\a,b.exe"}) + "\",,,," + key + ",,,\r\n";
            if (below(rng, 4))
                texts << name + ",\"" + someText(rng) + "\"";
            if (!key.isEmpty() && below(rng, 4))
                texts << key + ",\"" + someText(rng) + "\"";
            for (int r = 1; r <= subEntries; ++r) {
                const QByteArray subName = name.chopped(2) + "-" + QByteArray::number(r) + "__";
                menus += "SubMenu" + QByteArray::number(q) + ".item" + QByteArray::number(r) + "=,,FALSE,," + subName
                         + ",Application-link.gif,,,\"x.exe\",,,,,,,\r\n";
                if (below(rng, 3))
                    texts << subName + ",\"" + someText(rng) + "\"";
            }
        }
    }
    QByteArray textFile = "[Access Text]\r\nTITLE=\"Help Center customized by Contoso\"\r\n";
    for (int line = 0; line < texts.size(); ++line)
        textFile += "TEXT" + QByteArray::number(line + 1) + "=" + texts[line] + "\r\n";
    QByteArray configFile = "[Global Options]\r\n";
    for (int line = 1; line <= 12; ++line)
        configFile += "OPTION" + QByteArray::number(line) + "=__MENU" + QByteArray::number(line % 6) + "ICON__,\""
                      + someText(rng) + "\"\r\n";
    testing::writeFile(dir + "/machine-specifics.csv", menus);
    testing::writeFile(dir + "/access-config.ini", configFile);
    ini::ConfinedFolder package(dir);
    packages::createLanguageDirs(package);
    for (const QString &language : packages::languageDirsCreationOrder())
        testing::writeFile(dir + "/" + language + "/access-text.ini", textFile);
}

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
            Rng rng(seed);
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
