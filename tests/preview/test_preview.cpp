#include "packagefixture.h"
#include "document/menucommands.h"
#include "document/packagedocument.h"
#include "ini/profile.h"
#include "preview/preview.h"

#include <QTest>

using namespace document;

namespace {

const QRect screen(0, 0, 800, 600);

// The sample package with REGULAR_TEXT_COLOR as textColor.
bool openSample(PackageFixture &world, PackageDocument &document, const QString &textColor = "#0A00FF")
{
    const QString dir = world.packagesDir() + "/Sample";
    ini::clearProfileCache();
    if (!testing::copyTree(KAVO_SOURCE_DIR "/data/program", world.programDir())
        || !testing::copyTree(KAVO_SOURCE_DIR "/data/sample-installation", dir)
        || !ini::writeProfileString(dir + "/access-config.ini", "Other", "REGULAR_TEXT_COLOR", textColor))
        return false;
    document.state().setLocation(dir);
    document.load();
    return document.menus().mainMenus().size() == 3;
}

// "2/3/1": main menu 2, its entry 3, that entry's sub-entry 1; "-" for none.
CItem *nodeAt(PackageDocument &document, const QString &path)
{
    CItem *item = nullptr;
    for (const QString &number : path.split('/', Qt::SkipEmptyParts))
        if (number != "-")
            item = (item ? item->entries() : document.menus().mainMenus()).at(number.toInt() - 1);
    return item;
}

} // namespace

// The scene of the sample package, laid out without painting.
class PreviewSceneTest : public QObject {
    Q_OBJECT
private slots:
    void tabsAndColours_data()
    {
        QTest::addColumn<QString>("edit");   // what is edited, and in which main menu
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("tabs");   // title, underlined letter, bar colour of each tab
        QTest::addColumn<QString>("colours");   // text and background colours

        const QStringList tabs{"Learn 1 #6699cc", "Configure 0 #99cc66", "Help 0 #cc6699"};
        const auto with = [&](int i, const QString &tab) { QStringList edited = tabs; edited[i] = tab; return edited.join('|'); };
        const QString asRead = tabs.join('|'), colours = "#0a00ff #dce4ee";
        QTest::newRow("as read") << "" << "" << asRead << colours;
        QTest::newRow("Alt key in another case") << "altkey 1" << "l" << with(0, "Learn 0 #6699cc") << colours;
        QTest::newRow("Alt key not in title") << "altkey 2" << "x" << with(1, "Configure -1 #99cc66") << colours;
        QTest::newRow("no Alt key") << "altkey 3" << "" << with(2, "Help -1 #cc6699") << colours;
        QTest::newRow("its letter twice") << "title 3" << "Help here" << with(2, "Help here 0 #cc6699") << colours;
        QTest::newRow("bar no colour") << "bar 2" << "bar.png" << with(1, "Configure 0 #a0a0a0") << colours;
        QTest::newRow("bar by name") << "bar 1" << "red" << with(0, "Learn 1 #ff0000") << colours;
        QTest::newRow("bar in quotes") << "bar 3" << "\"#010203\"" << with(2, "Help 0 #010203") << colours;
        QTest::newRow("text colour no colour") << "text" << "blue" << asRead << "#000000 #dce4ee";
        QTest::newRow("white background") << "background" << "BG-White.JPG" << asRead << "#0a00ff #ffffff";
        QTest::newRow("black background") << "background" << "bg-black.jpg" << asRead << "#0a00ff #000000";
        QTest::newRow("background a colour") << "background" << "#123456" << asRead << "#0a00ff #123456";
        QTest::newRow("background a picture") << "background" << "sunset.jpg" << asRead << colours;
    }
    void tabsAndColours()
    {
        QFETCH(QString, edit);
        QFETCH(QString, value);
        QFETCH(QString, tabs);
        QFETCH(QString, colours);
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document, edit == "text" ? value : "#0A00FF"));
        CItem *menu = nodeAt(document, edit.section(' ', 1));
        if (edit.startsWith("altkey"))
            menu->setTexts(menu->contentTitle(), value);
        else if (edit.startsWith("title"))
            menu->setTexts(value, menu->altKey());
        else if (edit.startsWith("bar"))
            menu->setLooks(menu->mainIcon(), menu->hoverIcon(), menu->color(), value, menu->tabIcon());
        GeneralSettings settings = document.settings();
        if (edit == "background")
            settings.menuBackgrounds[0] = value;   // as the general page sets it
        document.setSettings(settings);

        const preview::Scene scene = preview::layoutScene(document, 0, nullptr, screen);
        QStringList shownTabs;
        for (const preview::SceneTab &tab : scene.tabs)
            shownTabs << QString("%1 %2 %3").arg(tab.title).arg(tab.underlined).arg(tab.barColor.name());
        QCOMPARE(shownTabs.join('|'), tabs);
        QCOMPARE(scene.textColor.name() + " " + scene.backgroundColor.name(), colours);
        QCOMPARE(scene.tabs.at(2).category, 3);
        QCOMPARE(scene.title, QString("Help Center customized by Contoso"));
        QVERIFY(!scene.note.isEmpty());
    }

    void entriesAndDescription_data()
    {
        QTest::addColumn<int>("menu");          // as setMenu takes it, before the pointing
        QTest::addColumn<QString>("pointed");   // a node's path, "-" none, "gone" a sub-entry taken out
        QTest::addColumn<int>("shown");
        QTest::addColumn<QString>("titles");    // the first and the last entry shown, and their count
        QTest::addColumn<QString>("description");
        const QString learn = "Take the tour..Tips and tricks ", configure = "Back up your files..Network connections ";
        QTest::newRow("nothing pointed") << 0 << "-" << 0 << learn + "5" << "Learn how to use your computer";
        QTest::newRow("menu out of range") << 7 << "-" << 0 << learn + "5" << "Learn how to use your computer";
        QTest::newRow("entry") << 0 << "1/2" << 0 << learn + "5" << "The first steps after you switch on.";
        QTest::newRow("entry of another menu")
            << 0 << "2/1" << 1 << configure + "5" << "Keep copies of your documents, photos and music.";
        QTest::newRow("sub-menu opens") << 0 << "2/3" << 1 << configure + "8" << "Small programs that come with your computer.";
        QTest::newRow("sub-entry") << 0 << "2/3/1" << 1 << configure + "8" << "Add, subtract, multiply and divide.";
        QTest::newRow("main menu") << 0 << "3" << 2 << "System information..Contact us 5" << "Find answers and get support";
        QTest::newRow("pointed gone") << 1 << "gone" << 1 << configure + "4" << "Set up your computer the way you like it";
    }
    void entriesAndDescription()
    {
        QFETCH(int, menu);
        QFETCH(QString, pointed);
        QFETCH(int, shown);
        QFETCH(QString, titles);
        QFETCH(QString, description);
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        preview::Preview preview(document);
        preview.setMenu(menu);
        preview.setPointed(nodeAt(document, pointed == "gone" ? "2/3/2" : pointed));
        if (pointed == "gone")
            nodeAt(document, "2")->entries().take(2).reset();   // the sub-menu with the node

        const preview::Scene scene = preview.scene(screen);
        QVERIFY(!scene.entries.isEmpty());
        const QString shownTitles = scene.entries.first().title + ".." + scene.entries.last().title + " ";
        QCOMPARE(shownTitles + QString::number(scene.entries.size()), titles);
        QCOMPARE(scene.description, description);
        for (const preview::SceneEntry &entry : scene.entries) {
            QCOMPARE(entry.pointed, entry.item == preview.pointed());
            QCOMPARE(preview.nodeAt(entry.rect.center(), screen), entry.item);
        }
        for (int i = 0; i < scene.tabs.size(); ++i) {
            QCOMPARE(scene.tabs[i].current, i == shown);
            QCOMPARE(preview.nodeAt(scene.tabs[i].rect.center(), screen), document.menus().mainMenus().at(i));
        }
        QCOMPARE(preview.nodeAt(scene.titleBarRect.center(), screen), nullptr);
        // Another tab chosen: a node of another main menu is no longer pointed at.
        preview.setMenu((shown + 1) % 3);
        const QString firstOfNext = QString("%1/1").arg((shown + 1) % 3 + 1);
        QCOMPARE(preview.scene(screen).entries.first().item, nodeAt(document, firstOfNext));
    }

    // What does not fit is left out, never drawn over the line below.
    void entriesStopAtTheBottom()
    {
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        for (int i = 0; i < 40; ++i)
            nodeAt(document, "1")->entries().append(nodeAt(document, "1/1")->clone());
        const preview::Scene scene = preview::layoutScene(document, 0, nullptr, QRect(0, 0, 400, 300));
        QVERIFY(scene.entries.size() > 5 && scene.entries.size() < 45);
        QVERIFY(scene.entries.last().rect.bottom() < scene.noteRect.top());
    }

    void aspectOfEachResolution()
    {
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        for (const auto &[resolution, height] : {std::pair{0, 750}, {1, 750}, {2, 800}, {3, 750}, {-1, 750}}) {
            GeneralSettings settings = document.settings();
            settings.resolutionIndex = resolution;
            document.setSettings(settings);
            QCOMPARE(preview::Preview(document).sizeForWidth(1000), QSize(1000, height));
        }
    }
};
KAVO_TEST(PreviewSceneTest)

// The painting: colours where the scene puts them, and an edit that shows and is undone.
class PreviewRenderTest : public QObject {
    Q_OBJECT
private slots:
    void paintsTheSceneAndFollowsEdits()
    {
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        GeneralSettings settings = document.settings();
        settings.menuBackgrounds.fill("bg-black.jpg");
        document.setSettings(settings);
        preview::Preview preview(document);
        const QSize size(1000, 700);
        const QImage before = preview.render(size);
        QCOMPARE(before.size(), size);
        const preview::Scene scene = preview.scene(before.rect());
        for (const preview::SceneTab &tab : scene.tabs)
            QCOMPARE(before.pixelColor(tab.barRect.center()), tab.barColor);
        // Below the entries and the description, only the background.
        QCOMPARE(before.pixelColor(scene.menuRect.bottomRight() - QPoint(2, 2)), QColor(Qt::black));

        CItem *entry = nodeAt(document, "1/2");
        EntryProperties properties = entry->properties();
        properties.title = "Getting going";
        document.undoStack().push(new EditEntryCommand(document, entry, properties));
        QVERIFY(preview.render(size) != before);
        document.undoStack().undo();
        QCOMPARE(preview.render(size), before);
    }
};
KAVO_TEST(PreviewRenderTest)
#include "test_preview.moc"
