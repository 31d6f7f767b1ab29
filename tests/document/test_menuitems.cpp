#include "testmain.h"
#include "artwork/itemtypeimages.h"
#include "records/fields.h"
#include "document/menuitems.h"

#include <QTest>

using namespace document;

namespace {

// An object whose every field holds a marker, so a test sees which fields a read left alone.
template <typename T>
std::unique_ptr<T> markedObject()
{
    auto object = std::make_unique<T>();
    object->setName(QStringLiteral("old-name"));
    object->setTypeIcon(QStringLiteral("old.gif"));
    object->setLocation(QStringLiteral("old-location"));
    object->setDescriptionKey(QStringLiteral("__OLD-A__"));
    object->setHasEntries(true);
    return object;
}

} // namespace

class MenuItemsTest : public QObject {
    Q_OBJECT
private slots:
    // ---- Reading an entry line

    void fromLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("hasEntries");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typeIcon");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("descriptionKey");

        QTest::newRow("menu entry, all fields")
            << ",,TRUE,__1-SUBMENU1__,,UpArrow.gif,,,\"C:\\a,b.exe\",,,,__1-SUBMENU1-A__,,,"
            << true << "__1-SUBMENU1__" << "UpArrow.gif" << "C:\\a,b.exe" << "__1-SUBMENU1-A__";
        QTest::newRow("sub-entry keeps its name in field 4")
            << ",,FALSE,,__1-SUBMENU1-2__,topic-link.gif,,,\"t.htm\",,,,,,,"
            << false << "__1-SUBMENU1-2__" << "topic-link.gif" << "t.htm" << "";
        QTest::newRow("True") << ",,True" << true << "old-name" << "old.gif" << "old-location" << "__OLD-A__";
        QTest::newRow("true") << ",,true" << true << "old-name" << "old.gif" << "old-location" << "__OLD-A__";
        QTest::newRow("yes is not true") << ",,yes" << false << "old-name" << "old.gif" << "old-location" << "__OLD-A__";
        QTest::newRow("two fields leave the flag") << ",FALSE" << true << "old-name" << "old.gif" << "old-location"
                                                   << "__OLD-A__";
        QTest::newRow("4 fields, empty field 3: no field 4 to fall back on")
            << ",,FALSE," << false << "" << "old.gif" << "old-location" << "__OLD-A__";
        QTest::newRow("12 fields keep the description key")
            << ",,FALSE,N,,x.gif,,,\"L\",,," << false << "N" << "x.gif" << "L" << "__OLD-A__";
        QTest::newRow("13 fields read it") << ",,FALSE,N,,x.gif,,,\"L\",,,,__N-A__" << false << "N" << "x.gif" << "L"
                                          << "__N-A__";
    }
    void fromLine()
    {
        QFETCH(QString, line);
        auto item = markedObject<CItem>();
        item->fromLine(records::splitFieldViews(line), QStringLiteral("Title"), QStringLiteral("About it"), 7);

        QTEST(item->hasEntries(), "hasEntries");
        QTEST(item->name(), "name");
        QTEST(item->typeIcon(), "typeIcon");
        QTEST(item->location(), "location");
        QTEST(item->descriptionKey(), "descriptionKey");
        QCOMPARE(item->title(), QStringLiteral("Title"));
        QCOMPARE(item->description(), QStringLiteral("About it"));
        QCOMPARE(item->position(), 7);
    }

    void mainLineReadsOnlyTheFlag()
    {
        CItem menu(ItemKind::MainMenu);
        menu.setName(QStringLiteral("kept"));
        menu.fromMainLine(records::splitFields(QStringLiteral(",,true,N,,x.gif,,,\"L\",,,,K,,,")), QStringLiteral("Learn"),
                          QStringLiteral("e"), QStringLiteral("Learn how"));
        QVERIFY(menu.hasEntries());
        QCOMPARE(menu.name(), QStringLiteral("kept"));
        QVERIFY(menu.typeIcon().isEmpty());
        QCOMPARE(menu.contentTitle(), QStringLiteral("Learn"));
        QCOMPARE(menu.altKey(), QStringLiteral("e"));
        QCOMPARE(menu.tabDescription(), QStringLiteral("Learn how"));

        menu.fromMainLine(QStringList{"", "FALSE"}, QString(), QString(), QString());
        QVERIFY(menu.hasEntries());  // fewer than 3 fields leave the flag alone
    }

    // ---- Writing an entry line

    void toLineOfAPlainMenuEntry()
    {
        CItem entry(ItemKind::SubMenu);
        entry.setProperties(QStringLiteral("Calc"), ApplicationIcon, QString(), QStringLiteral("C:\\x.exe"));
        entry.setName(QStringLiteral("__1-SUBMENU2__"));
        const QString line = entry.toLine();
        QCOMPARE(line, QStringLiteral(",,FALSE,__1-SUBMENU2__,,Application-link.gif,,,\"C:\\x.exe\",,,,,,,"));
        const QStringList fields = line.split(QLatin1Char(','));
        QCOMPARE(fields.size(), 16);
        QCOMPARE(fields.at(8), QStringLiteral("\"C:\\x.exe\""));
    }

    void lineRoundTrip_data()
    {
        QTest::addColumn<bool>("menuEntry");
        QTest::addColumn<QString>("typeIcon");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("descriptionKey");
        QTest::newRow("sub-menu with description") << true << SubMenuIcon << "" << "__2-SUBMENU3-A__";
        QTest::newRow("menu entry, comma in location") << true << ApplicationIcon << "C:\\a,b\\c.exe" << "";
        QTest::newRow("sub-entry") << false << InternetLinkIcon << "https://example.com/?a=1,2" << "__1-SUBMENU1-1-A__";
        QTest::newRow("sub-entry, system information") << false << SystemInfoIcon << "#SystemInfo" << "";
    }
    void lineRoundTrip()
    {
        QFETCH(bool, menuEntry);
        QFETCH(QString, typeIcon);
        QFETCH(QString, location);
        QFETCH(QString, descriptionKey);
        std::unique_ptr<CItem> written = std::make_unique<CItem>(menuEntry ? ItemKind::SubMenu : ItemKind::Item);
        written->setProperties(QStringLiteral("T"), typeIcon, QStringLiteral("D"), location);
        written->setName(QStringLiteral("__1-SUBMENU3__"));
        written->setDescriptionKey(descriptionKey);

        const QString line = written->toLine();
        const QStringList fields = records::splitFields(line);
        QCOMPARE(fields.size(), 16);
        QCOMPARE(fields.at(menuEntry ? 3 : 4), written->name());
        QVERIFY(fields.at(menuEntry ? 4 : 3).isEmpty());

        std::unique_ptr<CItem> read = std::make_unique<CItem>(menuEntry ? ItemKind::SubMenu : ItemKind::Item);
        read->fromLine(records::splitFieldViews(line), QStringLiteral("T"), QStringLiteral("D"), 3);
        QCOMPARE(read->name(), written->name());
        QCOMPARE(read->typeIcon(), typeIcon);
        QCOMPARE(read->location(), location);
        QCOMPARE(read->descriptionKey(), descriptionKey);
        // Only a menu entry writes its flag; a sub-entry always says FALSE.
        QCOMPARE(read->hasEntries(), menuEntry && written->hasEntries());
    }

    // ---- Types and images

    void typeImages_data()
    {
        QTest::addColumn<QString>("typeIcon");
        QTest::addColumn<int>("image");
        QTest::addColumn<bool>("containerBySetProperties");
        QTest::newRow("help topic") << "topic-link.gif" << 5 << false;
        QTest::newRow("help topic, other case") << "Topic-link.gif" << 5 << false;
        QTest::newRow("internet") << "Internet-link.gif" << 6 << false;
        QTest::newRow("application") << "APPLICATION-LINK.GIF" << 7 << false;
        QTest::newRow("system information") << "system-info-link.gif" << 8 << false;
        QTest::newRow("sub-menu") << "UpArrow.gif" << 9 << true;
        QTest::newRow("sub-menu, other case") << "uparrow.gif" << 9 << false;
        QTest::newRow("unknown") << "picture.png" << 0 << false;
        QTest::newRow("none") << "" << 0 << false;
    }
    void typeImages()
    {
        QFETCH(QString, typeIcon);
        QTEST(typeImage(typeIcon), "image");
        CItem entry(ItemKind::SubMenu);
        entry.setHasEntries(true);
        entry.setProperties(QStringLiteral("t"), typeIcon, QStringLiteral("d"), QStringLiteral("l"));
        QTEST(entry.hasEntries(), "containerBySetProperties");
        QCOMPARE(entry.isSystemInfo(), typeImage(typeIcon) == artwork::SystemInfoImage);
    }

    void categories_data()
    {
        QTest::addColumn<QString>("mainIcon");
        QTest::addColumn<int>("category");
        QTest::newRow("learn") << "U-Learn-icon.png" << 0;
        QTest::newRow("configure") << "U-Configure-icon.png" << 1;
        QTest::newRow("protect") << "U-Protect-icon.png" << 2;
        QTest::newRow("help") << "U-Help-icon.png" << 3;
        QTest::newRow("stay current") << "U-Stay-Current-icon.png" << 4;
        QTest::newRow("other") << "Other.png" << 0;
        QTest::newRow("none") << "" << 0;
    }
    void categories()
    {
        QFETCH(QString, mainIcon);
        CItem menu(ItemKind::MainMenu);
        menu.setLooks(mainIcon, QStringLiteral("hover.png"), QStringLiteral("#1"), QStringLiteral("#2"),
                      QStringLiteral("tab.png"));
        QTEST(menu.category(), "category");
    }

    void displayTitle_data()
    {
        QTest::addColumn<QString>("contentTitle");
        QTest::addColumn<QString>("altKey");
        QTest::addColumn<QString>("displayTitle");
        QTest::newRow("lower-case key") << "Learn" << "e" << "L<u>e</u>arn";
        QTest::newRow("upper-case key") << "Learn" << "E" << "L<u>e</u>arn";
        QTest::newRow("first letter keeps its case") << "Learn" << "l" << "<u>L</u>earn";
        QTest::newRow("only the first occurrence") << "Stay current" << "t" << "S<u>t</u>ay current";
        QTest::newRow("last letter") << "Help" << "P" << "Hel<u>p</u>";
        QTest::newRow("key not in title") << "Learn" << "z" << "Learn";
        QTest::newRow("no key") << "Learn" << "" << "Learn";
        QTest::newRow("no title") << "" << "e" << "";
    }
    void displayTitle()
    {
        QFETCH(QString, contentTitle);
        QFETCH(QString, altKey);
        CItem menu(ItemKind::MainMenu);
        menu.setTexts(contentTitle, altKey);
        QTEST(menu.displayTitle(), "displayTitle");
    }

    // ---- Copying and keys

    void copyFromTakesTheEditedValuesOnly()
    {
        CItem source(ItemKind::SubMenu);
        source.setProperties(QStringLiteral("Tools"), SubMenuIcon, QStringLiteral("All tools"), QStringLiteral("loc"));
        source.setName(QStringLiteral("__1-SUBMENU4__"));
        source.setDescriptionKey(QStringLiteral("__1-SUBMENU4-A__"));
        source.setPosition(4);
        auto copy = markedObject<CItem>();
        copy->setPosition(2);
        copy->copyFrom(source);
        QCOMPARE(copy->title(), QStringLiteral("Tools"));
        QCOMPARE(copy->typeIcon(), SubMenuIcon);
        QCOMPARE(copy->description(), QStringLiteral("All tools"));
        QCOMPARE(copy->location(), QStringLiteral("loc"));
        QVERIFY(!copy->hasEntries());
        QCOMPARE(copy->position(), 2);
        QCOMPARE(copy->name(), QStringLiteral("old-name"));
        QCOMPARE(copy->descriptionKey(), QStringLiteral("__OLD-A__"));
    }

    void makeDescriptionKey_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("key");
        QTest::newRow("sub-entry") << "__1-SUBMENU3-2__" << "__1-SUBMENU3-2-A__";
        QTest::newRow("new entry with three underscores") << "__2-SUBMENU4___" << "__2-SUBMENU4_-A__";
    }
    void makeDescriptionKey()
    {
        QFETCH(QString, name);
        CItem item;
        item.setName(name);
        QFETCH(QString, key);
        QCOMPARE(item.makeDescriptionKey(), key);
        QCOMPARE(item.descriptionKey(), key);
    }

    // ---- Owned lists

    void listInsertTakeAndRenumber()
    {
        CItem subMenu(ItemKind::SubMenu);
        ItemList &list = subMenu.entries();
        for (const char *title : {"a", "b", "c"}) {
            auto item = std::make_unique<CItem>();
            item->setTitle(QString::fromLatin1(title));
            list.append(std::move(item));
        }
        std::unique_ptr<CItem> b = list.take(1);
        QCOMPARE(b->title(), QStringLiteral("b"));
        QVERIFY(!b->parent());
        CItem *moved = list.insert(0, std::move(b));
        list.insert(list.size(), std::make_unique<CItem>());
        list.renumber();

        QStringList order;
        for (CItem *item : list) {
            order << item->title() + QString::number(item->position());
            QCOMPARE(item->parent(), &subMenu);
        }
        QCOMPARE(order, (QStringList{"b1", "a2", "c3", "4"}));
        QCOMPARE(list.indexOf(moved), 0);
        QCOMPARE(list.indexOf(nullptr), -1);
    }

    // An entry that changes level keeps what the user edited, as a copy would.
    void convertToKeepsTheEditedValues()
    {
        auto entry = markedObject<CItem>();
        entry->setProperties(QStringLiteral("Tools"), SubMenuIcon, QStringLiteral("All"), QStringLiteral("loc"));
        entry->convertTo(ItemKind::SubMenu);
        QCOMPARE(entry->kind(), ItemKind::SubMenu);
        QCOMPARE(entry->title() + entry->typeIcon() + entry->description() + entry->location(),
                 QStringLiteral("ToolsUpArrow.gifAllloc"));
        QVERIFY(!entry->hasEntries());
        QVERIFY(entry->name().isEmpty() && entry->descriptionKey().isEmpty());
        QCOMPARE(records::splitFields(entry->toLine()).value(2), QStringLiteral("FALSE"));
    }
};
KAVO_TEST(MenuItemsTest)
#include "test_menuitems.moc"
