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

// Replaces bytes in every file of the package; false when no file held them.
bool edit(const QString &dir, const QByteArray &from, const QByteArray &to)
{
    bool edited = false;
    for (QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        const QByteArray bytes = testing::readFile(path);
        edited = bytes.contains(from) || edited;
        testing::writeFile(path, QByteArray(bytes).replace(from, to));
    }
    return edited;
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
    return testing::treeContents(document.state().packageDir, {document.state().markerPath()});
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

    // No step when nothing differs; none either, and nothing changed, for more main menus than
    // the front-end takes.
    PackageText crowded = captured;
    crowded.mainMenus.resize(document::Menus::MaxMenuNumber + 1);
    QString why;
    QVERIFY(applyPackage(document, captured) && !applyPackage(document, crowded, &why));
    QVERIFY2(why.contains("at most 5") && document.undoStack().count() == 0, qPrintable(why));

    const PackageText other = otherThan(captured);
    QVERIFY(applyPackage(document, other) && applyPackage(document, std::get<PackageText>(read)));
    QCOMPARE(document.undoStack().count(), 2);
    for (const PackageText &state : {captured, other, captured}) {
        QVERIFY(capturePackage(document) == state);
        document.undoStack().undo();
    }
    document.undoStack().setIndex(2);

    // The marker holds the package's path: it is all a build stamps.
    QCOMPARE(build(document), expected);
}

} // namespace

class RoundTripTest : public QObject {
    Q_OBJECT

    PackageFixture world;

    QString sampleCopy(const QString &name)
    {
        const QString dir = world.packagesDir() + "/" + name;
        QDir(dir).removeRecursively();
        return testing::copyTree(KAVO_SOURCE_DIR "/data/sample-installation", dir) ? dir : QString();
    }

private slots:
    void initTestCase()
    {
        world.writeInstallation();
        QVERIFY(testing::copyTree(KAVO_SOURCE_DIR "/data/program", world.programDir()));
    }

    void samplesComeBackByteForByte_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        const auto row = [](const char *tag, const char *from, const char *to) {
            QTest::newRow(tag) << QByteArray(from) << QByteArray(to);
        };
        row("as installed", "", "");
        row("odd quotes", "\"Take the tour\"", "\"Take \"the\" tour, \"ok\"\"");
        row("empty title", "\"Getting started\"", "\"\"");
        row("missing text", "=__1-SUBMENU3__,", "=__1-SUBMENU3X__,");
        row("no colour", "REGULAR_TEXT_COLOR=#0A00FF", "REGULAR_TEXT_COLOR=navy blue!");
        row("resolution", "RESOLUTION=1", "RESOLUTION=7");
        row("no tray value", "SHOW_SYSTRAY=true\r\nSHOW_SPLASH", "SHOW_SPLASH");
        row("flag without type", "FALSE,__1-SUBMENU4__", "TRUE,__1-SUBMENU4__");
        row("type without flag", ",,Topic-link.gif,,,\"help/tips", ",,UpArrow.gif,,,\"help/tips");
        row("five main menus", "[Menu4]",
            "[Menu3]\r\nMenu3Info=,,TRUE,,,,,,,,,,,,,\r\n\r\n[Menu5]\r\nMenu5Info=,,TRUE,,,,,,,,,,,,,\r\n"
            "SubMenu1=,,FALSE,__5-SUBMENU1__,,x.gif,,,\"a\",,,,,,,\r\n\r\n[Menu4]");
    }
    void samplesComeBackByteForByte()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        const QString dir = sampleCopy(QTest::currentDataTag());
        QVERIFY(from.isEmpty() || edit(dir, from, to));
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
