#include "packagefixture.h"
#include "document/menucommands.h"
#include "document/packagedocument.h"
#include "ini/profile.h"
#include "preview/preview.h"

#include <QTest>

using namespace document;

namespace {

// The sample package, its files edited by editFiles before it is read.
bool openSample(PackageFixture &world, PackageDocument &document,
                const std::function<void(const QString &dir)> &editFiles = {})
{
    const QString dir = world.packagesDir() + "/Sample";
    if (!testing::copyTree(KAVO_SOURCE_DIR "/data/program", world.programDir())
        || !testing::copyTree(KAVO_SOURCE_DIR "/data/sample-installation", dir))
        return false;
    ini::clearProfileCache();
    if (editFiles)
        editFiles(dir);
    document.state().setLocation(dir);
    document.load();
    return document.menus().mainMenus().size() == 3;
}

// "2/3/1": main menu 2, its entry 3, that entry's sub-entry 1; "-" for none.
CItem *nodeAt(PackageDocument &document, const QString &path)
{
    if (path == "-")
        return nullptr;
    const ItemList *list = &document.menus().mainMenus();
    CItem *item = nullptr;
    for (const QString &number : path.split('/')) {
        item = list->at(number.toInt() - 1);
        list = &item->entries();
    }
    return item;
}

const QRect screen(0, 0, 800, 600);

} // namespace

// The scene of the sample package: what the preview shows, laid out without painting.
class PreviewSceneTest : public QObject {
    Q_OBJECT
private slots:
    void tabs_data()
    {
        QTest::addColumn<QString>("menu");   // the main menu edited
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QList<int>>("underlined");
        QTest::addColumn<QStringList>("bars");

        const QStringList titles{"Learn", "Configure", "Help"};
        const QStringList bars{"#6699cc", "#99cc66", "#cc6699"};
        QTest::newRow("as read") << "1" << "" << "" << titles << QList<int>{1, 0, 0} << bars;
        QTest::newRow("Alt key in another case") << "1" << "altkey" << "l" << titles << QList<int>{0, 0, 0} << bars;
        QTest::newRow("Alt key not in the title") << "2" << "altkey" << "x" << titles << QList<int>{1, -1, 0} << bars;
        QTest::newRow("no Alt key") << "3" << "altkey" << "" << titles << QList<int>{1, 0, -1} << bars;
        QTest::newRow("Alt key's letter twice") << "3" << "title" << "Help here" << QStringList{"Learn", "Configure", "Help here"}
                                                << QList<int>{1, 0, 0} << bars;
        QTest::newRow("bar no colour") << "2" << "bar" << "bar.png" << titles << QList<int>{1, 0, 0}
                                       << QStringList{"#6699cc", "#a0a0a0", "#cc6699"};
        QTest::newRow("bar by name") << "1" << "bar" << "red" << titles << QList<int>{1, 0, 0}
                                     << QStringList{"#ff0000", "#99cc66", "#cc6699"};
        QTest::newRow("bar in quotes") << "3" << "bar" << "\"#010203\"" << titles << QList<int>{1, 0, 0}
                                       << QStringList{"#6699cc", "#99cc66", "#010203"};
    }
    void tabs()
    {
        QFETCH(QString, menu);
        QFETCH(QString, edit);
        QFETCH(QString, value);
        QFETCH(QStringList, titles);
        QFETCH(QList<int>, underlined);
        QFETCH(QStringList, bars);
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        CItem *item = nodeAt(document, menu);
        if (edit == "altkey")
            item->setTexts(item->contentTitle(), value);
        else if (edit == "title")
            item->setTexts(value, item->altKey());
        else if (edit == "bar")
            item->setLooks(item->mainIcon(), item->hoverIcon(), item->color(), value, item->tabIcon());

        const preview::Scene scene = preview::layoutScene(document, 0, nullptr, screen);
        QStringList shownTitles, shownBars;
        QList<int> shownUnderlined, categories;
        for (const preview::SceneTab &tab : scene.tabs) {
            shownTitles << tab.title;
            shownUnderlined << tab.underlined;
            shownBars << tab.barColor.name();
            categories << tab.category;
            QVERIFY(screen.contains(tab.rect) && tab.rect.contains(tab.barRect) && tab.rect.contains(tab.iconRect));
        }
        QCOMPARE(shownTitles, titles);
        QCOMPARE(shownUnderlined, underlined);
        QCOMPARE(shownBars, bars);
        QCOMPARE(categories, (QList<int>{0, 1, 3}));
        QCOMPARE(scene.title, QString("Help Center customized by Contoso"));
        QVERIFY(!scene.note.isEmpty());
    }

    void colours_data()
    {
        QTest::addColumn<QString>("textColor");    // REGULAR_TEXT_COLOR in the file
        QTest::addColumn<QString>("background");   // the first main menu's, as the general page sets it
        QTest::addColumn<QString>("shownText");
        QTest::addColumn<QString>("shownBackground");
        QTest::newRow("as read") << "#0A00FF" << "" << "#0a00ff" << "#dce4ee";
        QTest::newRow("text colour no colour") << "blue" << "" << "#000000" << "#dce4ee";
        QTest::newRow("white background") << "#0A00FF" << "bg-white.jpg" << "#0a00ff" << "#ffffff";
        QTest::newRow("white background, other case") << "#0A00FF" << "BG-White.JPG" << "#0a00ff" << "#ffffff";
        QTest::newRow("black background") << "#0A00FF" << "bg-black.jpg" << "#0a00ff" << "#000000";
        QTest::newRow("background a colour") << "#0A00FF" << "#123456" << "#0a00ff" << "#123456";
        QTest::newRow("background unknown") << "#0A00FF" << "sunset.jpg" << "#0a00ff" << "#dce4ee";
    }
    void colours()
    {
        QFETCH(QString, textColor);
        QFETCH(QString, background);
        QFETCH(QString, shownText);
        QFETCH(QString, shownBackground);
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document, [&](const QString &dir) {
            ini::writeProfileString(dir + "/access-config.ini", "Other", "REGULAR_TEXT_COLOR", textColor);
        }));
        if (!background.isEmpty()) {
            GeneralSettings settings = document.settings();
            settings.menuBackgrounds[0] = background;
            document.setSettings(settings);
        }
        const preview::Scene scene = preview::layoutScene(document, 0, nullptr, screen);
        QCOMPARE(scene.textColor.name(), shownText);
        QCOMPARE(scene.backgroundColor.name(), shownBackground);
        // Each main menu has its own background.
        QCOMPARE(preview::layoutScene(document, 1, nullptr, screen).backgroundColor.name(), QString("#dce4ee"));
    }

    void entriesAndDescription_data()
    {
        QTest::addColumn<int>("menu");          // as setMenu takes it
        QTest::addColumn<QString>("pointed");   // a node's path, "-" none, "gone" an entry taken out
        QTest::addColumn<int>("shown");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("description");

        const QStringList learn{"Take the tour", "Getting started", "Keyboard shortcuts", "Online tutorials", "Tips and tricks"};
        const QStringList configure{"Back up your files", "Display settings", "Accessories", "Printer setup", "Network connections"};
        const QStringList opened{"Back up your files", "Display settings", "Accessories", "Calculator", "Text editor",
                                 "Drawing", "Printer setup", "Network connections"};
        QTest::newRow("nothing pointed") << 0 << "-" << 0 << learn << "Learn how to use your computer";
        QTest::newRow("second menu") << 1 << "-" << 1 << configure << "Set up your computer the way you like it";
        QTest::newRow("menu out of range") << 7 << "-" << 0 << learn << "Learn how to use your computer";
        QTest::newRow("entry") << 0 << "1/2" << 0 << learn << "The first steps after you switch on.";
        QTest::newRow("entry without description") << 0 << "1/3" << 0 << learn << "";
        QTest::newRow("entry of another menu") << 0 << "2/1" << 1 << configure
                                               << "Keep copies of your documents, photos and music.";
        QTest::newRow("sub-menu opens") << 0 << "2/3" << 1 << opened << "Small programs that come with your computer.";
        QTest::newRow("sub-entry") << 0 << "2/3/1" << 1 << opened << "Add, subtract, multiply and divide.";
        QTest::newRow("main menu") << 0 << "3" << 2 << QStringList{"System information", "Support website", "Frequently asked questions",
                                                                   "Troubleshooting", "Contact us"}
                                   << "Find answers and get support";
        QTest::newRow("entry gone") << 1 << "gone" << 1 << QStringList{"Back up your files", "Display settings", "Printer setup",
                                                                      "Network connections"}
                                    << "Set up your computer the way you like it";
    }
    void entriesAndDescription()
    {
        QFETCH(int, menu);
        QFETCH(QString, pointed);
        QFETCH(int, shown);
        QFETCH(QStringList, titles);
        QFETCH(QString, description);
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        preview::Preview preview(document);
        preview.setMenu(menu);
        if (pointed == "gone") {
            preview.setPointed(nodeAt(document, "2/3/2"));
            nodeAt(document, "2")->entries().take(2).reset();   // the sub-menu and its sub-entries
        } else {
            preview.setPointed(nodeAt(document, pointed));
        }

        const preview::Scene scene = preview.scene(screen);
        QStringList shownTitles;
        for (const preview::SceneEntry &entry : scene.entries) {
            shownTitles << entry.title;
            QCOMPARE(entry.pointed, entry.item == preview.pointed());
            QVERIFY(scene.menuRect.contains(entry.rect));
            QCOMPARE(preview.nodeAt(entry.rect.center(), screen), entry.item);
        }
        QCOMPARE(shownTitles, titles);
        QCOMPARE(scene.description, description);
        for (int i = 0; i < scene.tabs.size(); ++i) {
            QCOMPARE(scene.tabs[i].current, i == shown);
            QCOMPARE(preview.nodeAt(scene.tabs[i].rect.center(), screen), document.menus().mainMenus().at(i));
        }
        QCOMPARE(preview.nodeAt(scene.titleBarRect.center(), screen), nullptr);
    }

    // A tab chosen after an entry of another main menu was pointed at shows its own menu.
    void menuChosenAfterPointing()
    {
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        preview::Preview preview(document);
        preview.setPointed(nodeAt(document, "2/1"));
        preview.setMenu(2);
        QCOMPARE(preview.pointed(), nullptr);
        QVERIFY(preview.scene(screen).tabs.at(2).current);
        preview.setPointed(nodeAt(document, "3/2"));
        preview.setMenu(2);
        QCOMPARE(preview.pointed(), nodeAt(document, "3/2"));
    }

    // The rows that do not fit are left out, never drawn over the line below.
    void entriesStopAtTheBottom()
    {
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        CItem *learn = nodeAt(document, "1");
        for (int i = 0; i < 40; ++i)
            learn->entries().append(learn->entries().at(0)->clone());
        const preview::Scene scene = preview::layoutScene(document, 0, nullptr, QRect(0, 0, 400, 300));
        QVERIFY(scene.entries.size() > 5 && scene.entries.size() < 45);
        for (const preview::SceneEntry &entry : scene.entries)
            QVERIFY(entry.rect.bottom() < scene.noteRect.top());
    }

    void aspect_data()
    {
        QTest::addColumn<int>("resolution");
        QTest::addColumn<QSize>("size");
        QTest::newRow("800x600") << 0 << QSize(1000, 750);
        QTest::newRow("1024x768") << 1 << QSize(1000, 750);
        QTest::newRow("1280x1024") << 2 << QSize(1000, 800);
        QTest::newRow("beyond") << 3 << QSize(1000, 750);
        QTest::newRow("negative") << -1 << QSize(1000, 750);
    }
    void aspect()
    {
        QFETCH(int, resolution);
        QFETCH(QSize, size);
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        GeneralSettings settings = document.settings();
        settings.resolutionIndex = resolution;
        document.setSettings(settings);
        QCOMPARE(preview::Preview(document).sizeForWidth(1000), size);
    }
};
KAVO_TEST(PreviewSceneTest)

// The painting: colours where the scene puts them, and an edit that shows and is undone.
class PreviewRenderTest : public QObject {
    Q_OBJECT
private slots:
    void coloursWhereTheSceneSaysSo_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("background");
        QTest::newRow("default, 1024x768") << QSize(1024, 768) << "";
        QTest::newRow("white, 640x480") << QSize(640, 480) << "bg-white.jpg";
        QTest::newRow("black, wide") << QSize(1200, 500) << "bg-black.jpg";
    }
    void coloursWhereTheSceneSaysSo()
    {
        QFETCH(QSize, size);
        QFETCH(QString, background);
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        if (!background.isEmpty()) {
            GeneralSettings settings = document.settings();
            settings.menuBackgrounds.fill(background);
            document.setSettings(settings);
        }
        preview::Preview preview(document);
        const QImage image = preview.render(size);
        QCOMPARE(image.size(), size);
        const preview::Scene scene = preview.scene(image.rect());
        QCOMPARE(scene.tabs.size(), 3);
        for (const preview::SceneTab &tab : scene.tabs)
            QCOMPARE(image.pixelColor(tab.barRect.center()).name(), tab.barColor.name());
        // Below the entries and the description, only the background.
        const QPoint free(scene.menuRect.right() - 2, scene.menuRect.bottom() - 2);
        QCOMPARE(image.pixelColor(free).name(), scene.backgroundColor.name());
    }

    void editShowsAndUndoRestores()
    {
        PackageFixture world;
        PackageDocument document;
        QVERIFY(openSample(world, document));
        preview::Preview preview(document);
        const QImage before = preview.render(QSize(800, 600));
        CItem *entry = nodeAt(document, "1/2");
        EntryProperties properties = entry->properties();
        properties.title = "Getting going";
        document.undoStack().push(new EditEntryCommand(document, entry, properties));
        const QImage edited = preview.render(QSize(800, 600));
        QVERIFY(edited != before);
        document.undoStack().undo();
        QCOMPARE(preview.render(QSize(800, 600)), before);
    }
};
KAVO_TEST(PreviewRenderTest)
#include "test_preview.moc"
