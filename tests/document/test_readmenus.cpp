#include "testmain.h"
#include "records/configrecord.h"
#include "document/menus.h"
#include "ini/profile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace document;

namespace {

// The model in one line: each main menu as position, flag (+ or -) and its entries in braces;
// each entry and sub-entry as title, position and flag, sub-entries in parentheses.
QString shapeOf(const Menus &model)
{
    QStringList menus;
    for (const CItem *menu : model.mainMenus()) {
        QStringList entries;
        for (const CItem *entry : menu->entries()) {
            QStringList subEntries;
            for (const CItem *subEntry : entry->entries())
                subEntries << subEntry->title() + QString::number(subEntry->position())
                                  + (subEntry->hasEntries() ? "+" : "-");
            entries << entry->title() + QString::number(entry->position()) + (entry->hasEntries() ? "+" : "-")
                    + (subEntries.isEmpty() ? QString() : "(" + subEntries.join(',') + ")");
        }
        menus << QString::number(menu->position()) + (menu->hasEntries() ? "+" : "-") + "{" + entries.join(',') + "}";
    }
    return menus.join(' ');
}

// An entry line named name; the text file gives it the title in upper case.
QByteArray line(const char *flag, const char *name, bool subEntry = false)
{
    const QByteArray nameFields = subEntry ? QByteArray(",") + name : QByteArray(name) + ",";
    return QByteArray(",,") + flag + "," + nameFields + ",Application-link.gif,,,\"x.exe\",,,,,,,";
}

const QByteArray textFile = "[Access Text]\n"
                            "TEXT1=a,A\nTEXT2=b,B\nTEXT3=c,C\nTEXT4=d,D\nTEXT5=x,X\nTEXT6=y,Y\n";

} // namespace

class ReadMenusTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString path(const char *name) const { return m_dir.path() + "/" + name; }

    std::unique_ptr<Menus> read(const QByteArray &menuFile, const QByteArray &texts = textFile,
                   const QByteArray &options = "[Global Options]\n")
    {
        testing::writeFile(path("machine-specifics.csv"), menuFile);
        testing::writeFile(path("access-text.ini"), texts);
        testing::writeFile(path("access-config.ini"), options);
        ini::clearProfileCache();
        records::ConfigRecord textRecord(path("access-text.ini"));
        textRecord.loadTexts();
        records::ConfigRecord configRecord(path("access-config.ini"));
        configRecord.loadOptions();
        auto model = std::make_unique<Menus>();
        model->read(path("machine-specifics.csv"), textRecord, configRecord);
        return model;
    }

private slots:
    void shape_data()
    {
        QTest::addColumn<QByteArray>("menuFile");
        QTest::addColumn<QString>("shape");

        const QByteArray info = ",,TRUE,,,,,,,,,,,,,";
        QTest::newRow("gap between main menus is skipped; menus are numbered in list order")
            << "[Menu1]\nMenu1Info=" + info + "\n[Menu3]\nMenu3Info=" + info + "\nSubMenu1=" + line("FALSE", "a") + "\n"
            << "1+{} 2+{A1-}";
        QTest::newRow("empty info line: menu absent")
            << "[Menu1]\nMenu1Info=\nSubMenu1=" + line("FALSE", "a") + "\n[Menu2]\nMenu2Info=" + info + "\n"
            << "1+{}";
        QTest::newRow("menu 6 is never read") << "[Menu6]\nMenu6Info=" + info + "\n" << "";
        QTest::newRow("info FALSE becomes true with an entry")
            << "[Menu1]\nMenu1Info=,,FALSE\nSubMenu1=" + line("FALSE", "a") + "\n[Menu2]\nMenu2Info=,,FALSE\n"
            << "1+{A1-} 2-{}";
        QTest::newRow("entries stop at the first gap")
            << "[Menu1]\nMenu1Info=" + info + "\nSubMenu1=" + line("FALSE", "a") + "\nSubMenu3=" + line("FALSE", "c") + "\n"
            << "1+{A1-}";
        QTest::newRow("FALSE with sub-entries becomes a sub-menu")
            << "[Menu1]\nMenu1Info=" + info + "\nSubMenu1=" + line("FALSE", "a") + "\nSubMenu1.item1="
                   + line("TRUE", "x", true) + "\nSubMenu1.item2=" + line("FALSE", "y", true) + "\n"
            << "1+{A1+(X1-,Y2-)}";
        QTest::newRow("TRUE without sub-entries stays a sub-menu")
            << "[Menu1]\nMenu1Info=" + info + "\nSubMenu1=" + line("TRUE", "a") + "\nSubMenu2=" + line("FALSE", "b") + "\n"
            << "1+{A1+,B2-}";
        QTest::newRow("sub-entries stop at the first gap")
            << "[Menu1]\nMenu1Info=" + info + "\nSubMenu1=" + line("TRUE", "a") + "\nSubMenu1.item2="
                   + line("FALSE", "y", true) + "\nSubMenu2=" + line("TRUE", "b") + "\nSubMenu2.item1="
                   + line("FALSE", "x", true) + "\nSubMenu2.item3=" + line("FALSE", "y", true) + "\n"
            << "1+{A1+,B2+(X1-)}";
        QTest::newRow("names match without regard to case")
            << "[MENU1]\nmenu1info=" + info + "\nsubmenu1=" + line("FALSE", "a") + "\nsubmenu1.ITEM1="
                   + line("FALSE", "x", true) + "\n"
            << "1+{A1+(X1-)}";
        QTest::newRow("either line finds its title by a name in the other's field")
            << "[Menu1]\nMenu1Info=" + info + "\nSubMenu1=" + line("TRUE", "a", true) + "\nSubMenu1.item1="
                   + line("FALSE", "x") + "\n"
            << "1+{A1+(X1-)}";
        QTest::newRow("other keys and sections are ignored")
            << "[Other]\nMenu1Info=" + info + "\n[Menu1]\nMenu1Info=" + info + "\nSubMenu1=" + line("FALSE", "a")
                   + "\nColour=red\n"
            << "1+{A1-}";
    }
    void shape()
    {
        QFETCH(QByteArray, menuFile);
        QTEST(shapeOf(*read(menuFile)), "shape");
    }

    void absentMenuFileGivesNoMenus()
    {
        records::ConfigRecord empty(path("none.ini"));
        Menus model;
        model.read(path("no-such-file.csv"), empty, empty);
        QCOMPARE(model.mainMenus().size(), 0);
    }

    void textsAndLooksComeFromTheRecords()
    {
        const QByteArray menuFile =
            "[Menu2]\nMenu2Info=,,TRUE,,,,,,,,,,,,,\n"
            "SubMenu1=,,TRUE,__2-SUBMENU1__,,UpArrow.gif,,,\"\",,,,__2-SUBMENU1-A__,,,\n"
            "SubMenu1.item1=,,FALSE,,__2-SUBMENU1-1__,Internet-link.gif,,,\"https://a.example/x,y\",,,,__2-SUBMENU1-1-A__,,,\n"
            "SubMenu1.item2=,,FALSE,__OWN__,__2-SUBMENU1-2__,topic-link.gif,,,\"t.htm\",,,,\n"
            "SubMenu1.item3=,,FALSE,,__2-SUBMENU1-3__,topic-link.gif,,,\"t.htm\",,,,__SHORT-A__\n";
        const QByteArray texts = "[Access Text]\n"
                                 "TEXT1=__MENU2_CONTENT_TITLE__,\"Configure\"\n"
                                 "TEXT2=__MENU2_ALT_KEY__,\"C\"\n"
                                 "TEXT3=__TAB2_DESCRIPTION__,\"Set it up, your way\"\n"
                                 "TEXT4=__2-SUBMENU1__,\"Tools\"\n"
                                 "TEXT5=__2-SUBMENU1-A__,\"All the tools\"\n"
                                 "TEXT6=__2-SUBMENU1-1__,\"Web\"\n"
                                 "TEXT7=__2-SUBMENU1-1-A__,\"On the web\"\n"
                                 "TEXT8=__OWN__,\"Own title\"\n"
                                 "TEXT9=__SHORT-A__,\"Thirteen fields\"\n";
        const QByteArray options = "[Global Options]\n"
                                   "OPTION1=__MENU2ICON__,\"U-Configure-icon.png\"\n"
                                   "OPTION2=__MENU2_HOVER_ICON__,\"hover.png\"\n"
                                   "OPTION3=__MENU2_COLOR__,\"#669933\"\n"
                                   "OPTION4=__MENU2_COLORBAR__,\"#99CC66\"\n"
                                   "OPTION5=__TAB2ICON__,\"tab.png\"\n";
        const std::unique_ptr<Menus> model = read(menuFile, texts, options);
        QCOMPARE(model->mainMenus().size(), 1);

        const CItem *menu = model->mainMenus().at(0);
        QCOMPARE(menu->position(), 1);   // read from section Menu2, numbered as the build writes it
        QCOMPARE(menu->contentTitle(), QStringLiteral("Configure"));
        QCOMPARE(menu->altKey(), QStringLiteral("C"));
        QCOMPARE(menu->tabDescription(), QStringLiteral("Set it up, your way"));
        QCOMPARE(menu->mainIcon(), QStringLiteral("U-Configure-icon.png"));
        QCOMPARE(menu->hoverIcon(), QStringLiteral("hover.png"));
        QCOMPARE(menu->color(), QStringLiteral("#669933"));
        QCOMPARE(menu->colorBar(), QStringLiteral("#99CC66"));
        QCOMPARE(menu->tabIcon(), QStringLiteral("tab.png"));
        QCOMPARE(menu->category(), 1);

        const CItem *tools = menu->entries().at(0);
        QCOMPARE(tools->title(), QStringLiteral("Tools"));
        QCOMPARE(tools->description(), QStringLiteral("All the tools"));
        QCOMPARE(tools->name(), QStringLiteral("__2-SUBMENU1__"));
        QCOMPARE(tools->descriptionKey(), QStringLiteral("__2-SUBMENU1-A__"));

        const CItem *web = tools->entries().at(0);
        QCOMPARE(web->title(), QStringLiteral("Web"));
        QCOMPARE(web->description(), QStringLiteral("On the web"));
        QCOMPARE(web->location(), QStringLiteral("https://a.example/x,y"));
        QVERIFY(!web->hasEntries());

        // Field 3 wins over field 4 for both the name and the title; 13 fields with an empty
        // description key mean no description.
        const CItem *own = tools->entries().at(1);
        QCOMPARE(own->name(), QStringLiteral("__OWN__"));
        QCOMPARE(own->title(), QStringLiteral("Own title"));
        QVERIFY(own->descriptionKey().isEmpty());
        QVERIFY(own->description().isEmpty());
        // A line that ends with its description key, 13 fields, has its description.
        QCOMPARE(tools->entries().at(2)->description(), QStringLiteral("Thirteen fields"));
    }
};
KAVO_TEST(ReadMenusTest)
#include "test_readmenus.moc"
