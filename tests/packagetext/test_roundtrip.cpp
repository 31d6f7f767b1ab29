#include "packagefixture.h"
#include "randompackage.h"
#include "packagetext/packagetext.h"

#include "document/menucommands.h"
#include "document/packagedocument.h"
#include "ini/profile.h"

#include <QDir>
#include <QDirIterator>
#include <QTest>

using document::PackageDocument;
using namespace packagetext;

namespace {

using Files = QMap<QString, QByteArray>;

// Replaces bytes in every file of the package whose name is fileName.
void edit(const QString &dir, const QString &fileName, const QByteArray &from, const QByteArray &to)
{
    QDirIterator it(dir, {fileName}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        testing::writeFile(path, testing::readFile(path).replace(from, to));
    }
}

void open(PackageDocument &document, const QString &dir)
{
    ini::clearProfileCache();
    document.state().setLocation(dir);
    document.load();
}

Files build(PackageDocument &document)
{
    document.build();
    return testing::treeContents(document.state().packageDir);
}

// Another package as a text: every value of it changed, its main menus in another order.
PackageText otherThan(PackageText text)
{
    text.companyName += " Two";
    text.settings = {(text.settings.resolutionIndex + 1) % 3, !text.settings.systemTray, "#123456",
                     (text.settings.background + 1) % 3};
    std::reverse(text.mainMenus.begin(), text.mainMenus.end());
    if (text.mainMenus.size() < document::Menus::MaxMenuNumber)
        text.mainMenus.append(MainMenuText{"Extra", "x", "", "", "", "", "", "", {EntryText{"a.gif", "A", "", "", {}, {}}}});
    return text;
}

// A package built as it is and, separately, built after its own text (written, read back and
// applied over another package's) came back to it: the same files, byte for byte. Undo and redo
// of the applied texts give back what each one left.
// (The build names the package's marker after its folder: the two copies are named alike.)
void checkRoundTrip(const QString &original, const QString &scratch)
{
    const QString name = QFileInfo(original).fileName();
    const QString asItIs = scratch + "/as-it-is/" + name, fromText = scratch + "/from-text/" + name;
    QDir(asItIs).removeRecursively();
    QDir(fromText).removeRecursively();
    QVERIFY(testing::copyTree(original, asItIs) && testing::copyTree(original, fromText));

    PackageDocument untouched;
    open(untouched, asItIs);
    const Files expected = build(untouched);

    PackageDocument document;
    open(document, fromText);
    const PackageText captured = capturePackage(document);
    const QByteArray written = writePackageText(captured);
    const auto read = readPackageText(written);
    QVERIFY2(std::holds_alternative<PackageText>(read), written.constData());
    QVERIFY2(std::get<PackageText>(read) == captured, written.constData());

    const PackageText other = otherThan(captured);
    QVERIFY(applyPackage(document, other) && applyPackage(document, std::get<PackageText>(read)));
    QCOMPARE(document.undoStack().count(), 2);
    QVERIFY(capturePackage(document) == captured);
    document.undoStack().undo();
    QVERIFY(capturePackage(document) == other);
    document.undoStack().undo();
    QVERIFY(capturePackage(document) == captured);
    document.undoStack().redo();
    document.undoStack().redo();

    const Files built = build(document);
    QCOMPARE(built.keys(), expected.keys());
    // The build stamps the package's own path into some files (the marker holds it in UTF-16).
    const auto inBothForms = [](const QString &path) {
        return QList<QByteArray>{path.toLatin1(), QByteArray(reinterpret_cast<const char *>(path.utf16()),
                                                             path.size() * 2)};
    };
    const QList<QByteArray> stampedFrom = inBothForms(asItIs), stampedTo = inBothForms(fromText);
    for (auto file = expected.begin(); file != expected.end(); ++file) {
        QByteArray bytes = file.value();
        for (int form = 0; form < 2; ++form)
            bytes.replace(stampedFrom[form], stampedTo[form]);
        QVERIFY2(built[file.key()] == bytes, qPrintable(file.key() + "\n" + built[file.key()]));
    }
}

} // namespace

class RoundTripTest : public QObject {
    Q_OBJECT

    PackageFixture world;

    QString sampleCopy(const QString &name)
    {
        const QString dir = world.packagesDir() + "/" + name;
        QDir(dir).removeRecursively();
        if (!testing::copyTree(KAVO_SOURCE_DIR "/data/sample-installation", dir))
            return {};
        return dir;
    }

private slots:
    void initTestCase()
    {
        world.writeInstallation();
        QVERIFY(testing::copyTree(KAVO_SOURCE_DIR "/data/program", world.programDir()));
    }

    void samplesComeBackByteForByte_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::newRow("as installed") << "none" << QByteArray() << QByteArray();
        QTest::newRow("odd quotes") << "access-text.ini" << QByteArray("\"Take the tour\"")
                                    << QByteArray("\"Take \"the\" tour, \"ok\"\"");
        QTest::newRow("empty title") << "access-text.ini" << QByteArray("\"Getting started\"") << QByteArray("\"\"");
        QTest::newRow("missing text") << "access-text.ini" << QByteArray("=__1-SUBMENU3__,")
                                      << QByteArray("=__1-SUBMENU3X__,");
        QTest::newRow("no colour") << "access-config.ini" << QByteArray("REGULAR_TEXT_COLOR=#0A00FF")
                                   << QByteArray("REGULAR_TEXT_COLOR=navy blue!");
        QTest::newRow("resolution") << "access-config.ini" << QByteArray("RESOLUTION=1") << QByteArray("RESOLUTION=7");
        QTest::newRow("no tray value") << "access-config.ini" << QByteArray("SHOW_SYSTRAY=true\r\nSHOW_SPLASH")
                                       << QByteArray("SHOW_SPLASH");
        QTest::newRow("flag without type") << "machine-specifics.csv" << QByteArray("FALSE,__1-SUBMENU4__")
                                           << QByteArray("TRUE,__1-SUBMENU4__");
        QTest::newRow("type without flag") << "machine-specifics.csv" << QByteArray(",,Topic-link.gif,,,\"help/tips")
                                           << QByteArray(",,UpArrow.gif,,,\"help/tips");
        QTest::newRow("five main menus") << "machine-specifics.csv" << QByteArray("[Menu4]")
                                         << QByteArray("[Menu3]\r\nMenu3Info=,,TRUE,,,,,,,,,,,,,\r\n\r\n"
                                                       "[Menu5]\r\nMenu5Info=,,TRUE,,,,,,,,,,,,,\r\nSubMenu1=,,FALSE,"
                                                       "__5-SUBMENU1__,,x.gif,,,\"a\",,,,,,,\r\n\r\n[Menu4]");
    }
    void samplesComeBackByteForByte()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        const QString dir = sampleCopy(QTest::currentDataTag());
        if (!from.isEmpty()) {
            edit(dir, file, from, to);
            QVERIFY(testing::readFile(dir + "/" + file).contains(to));
        }
        checkRoundTrip(dir, world.root());
    }

    // Packages as the front-end and earlier builds leave them, made from seeds.
    void generatedPackagesComeBackByteForByte()
    {
        for (unsigned seed = 1; seed <= 12; ++seed) {
            const QString dir = world.packagesDir() + QString("/Random%1").arg(seed);
            testing::Rng rng(seed);
            testing::writeRandomPackage(rng, dir);
            checkRoundTrip(dir, world.root());
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QString("seed %1").arg(seed)));
        }
    }

    void anAppliedTextIsOneStepOrNone()
    {
        PackageDocument document;
        open(document, sampleCopy("Steps"));
        const PackageText before = capturePackage(document);
        QVERIFY(applyPackage(document, before));
        QCOMPARE(document.undoStack().count(), 0);

        PackageText crowded = before;
        while (crowded.mainMenus.size() <= document::Menus::MaxMenuNumber)
            crowded.mainMenus << MainMenuText{};
        QString why;
        QVERIFY(!applyPackage(document, crowded, &why));
        QVERIFY2(why.contains("at most 5"), qPrintable(why));
        QCOMPARE(document.undoStack().count(), 0);
        QVERIFY(capturePackage(document) == before);

        PackageText renamed = before;
        renamed.mainMenus[1].entries[2].entries[0].title = "Abacus";
        QVERIFY(applyPackage(document, renamed));
        QCOMPARE(document.undoStack().count(), 1);
        QCOMPARE(document.menus().mainMenus().at(1)->entries().at(2)->entries().at(0)->title(), "Abacus");
        QVERIFY(document.isModified());
    }

    // A copied node comes back as the same tree node, unnamed as a copy is, whatever it holds.
    void nodesComeBack()
    {
        PackageDocument document;
        open(document, sampleCopy("Nodes"));
        document::CItem *menu = document.menus().mainMenus().at(1);
        for (const document::CItem *node : {menu, menu->entries().at(2), menu->entries().at(2)->entries().at(1)}) {
            const NodeText text = captureNode(*node);
            const auto read = readNodeText(writeNodeText(text));
            QVERIFY(std::holds_alternative<NodeText>(read) && std::get<NodeText>(read) == text);
            const std::unique_ptr<document::CItem> made = makeNode(text);
            QVERIFY(captureNode(*made) == text);
            QVERIFY(made->name().isEmpty() && made->kind() != document::ItemKind::Item);
            QCOMPARE(made->entries().size(), node->kind() == document::ItemKind::Item ? 0 : node->entries().size());
        }
    }
};
KAVO_TEST(RoundTripTest)

#include "test_roundtrip.moc"
