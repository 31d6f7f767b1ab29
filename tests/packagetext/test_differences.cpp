#include "testmain.h"
#include "packagetext/packagetext.h"

#include <QTest>

#include <functional>

using namespace packagetext;
using Edit = std::function<void(PackageText &)>;
Q_DECLARE_METATYPE(Edit)

namespace {

EntryText entry(const QString &type, const QString &title, QList<EntryText> entries = {})
{
    return {type, title, title.toLower() + ".exe", "", entries};
}

MainMenuText mainMenu(const QString &title, QList<EntryText> entries)
{
    return {title, title.left(1), title + " tab", title + ".gif", title + "-hover.gif", "#" + title, title + "-bar.gif",
            title + "-tab.gif", entries};
}

const QString App = "Application-link.gif", Sub = "UpArrow.gif";

// Learn: Tools (Calculator, Notepad), Atlas, Dictionary; Help: Manual, About; Play: Chess.
PackageText sample()
{
    return {"Harbel Learning", {0, false, "#000000", 0},
            {mainMenu("Learn", {entry(Sub, "Tools", {entry(App, "Calculator"), entry(App, "Notepad")}),
                                entry("Internet-link.gif", "Atlas"), entry(App, "Dictionary")}),
             mainMenu("Help", {entry("topic-link.gif", "Manual"), entry("System-Info-link.gif", "About")}),
             mainMenu("Play", {entry(App, "Chess")})}};
}

QList<EntryText> &learn(PackageText &p) { return p.mainMenus[0].entries; }
QList<EntryText> &help(PackageText &p) { return p.mainMenus[1].entries; }

// The sample with a second Atlas, in Help at position 2.
PackageText sampleWithTwoAtlases()
{
    PackageText package = sample();
    help(package).insert(1, learn(package)[1]);
    return package;
}

void addColumns()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<QStringList>("expected");
}

// The expected lines quote with ' for ".
void row(const char *name, Edit edit, QStringList expected)
{
    QTest::newRow(name) << edit << expected.replaceInStrings(QStringLiteral("'"), QStringLiteral("\""));
}

} // namespace

class DifferencesTest : public QObject {
    Q_OBJECT
private slots:
    void describesEachChange_data()
    {
        addColumns();
        row("the same package", [](auto &) {}, {});
        row("company name", [](auto &p) { p.companyName = "Harbel School"; },
            {"company name changed from 'Harbel Learning' to 'Harbel School'"});
        row("resolution", [](auto &p) { p.settings.resolutionIndex = 2; },
            {"resolution changed from 800x600 to 1280x1024"});
        row("system tray", [](auto &p) { p.settings.systemTray = true; }, {"system tray changed from off to on"});
        row("text colour", [](auto &p) { p.settings.textColor = "#FFFFFF"; },
            {"text colour changed from '#000000' to '#FFFFFF'"});
        row("background", [](auto &p) { p.settings.background = 1; }, {"background changed from default to white"});
        row("main menu added first", [](auto &p) { p.mainMenus.prepend(mainMenu("News", {})); },
            {"main menu 'News' added at position 1"});
        row("main menu removed", [](auto &p) { p.mainMenus.removeAt(1); },
            {"main menu 'Help' removed from position 2"});
        row("main menu moved", [](auto &p) { p.mainMenus.move(2, 0); },
            {"main menu 'Play' moved from position 3 to position 1"});
        row("every value of a main menu", [](auto &p) { p.mainMenus[1] = mainMenu("Aid", help(p)); },
            {"main menu 'Aid': title changed from 'Help' to 'Aid'", "main menu 'Aid': Alt key changed from 'H' to 'A'",
             "main menu 'Aid': tab description changed from 'Help tab' to 'Aid tab'",
             "main menu 'Aid': icon changed from 'Help.gif' to 'Aid.gif'",
             "main menu 'Aid': hover icon changed from 'Help-hover.gif' to 'Aid-hover.gif'",
             "main menu 'Aid': colour changed from '#Help' to '#Aid'",
             "main menu 'Aid': colour bar changed from 'Help-bar.gif' to 'Aid-bar.gif'",
             "main menu 'Aid': tab icon changed from 'Help-tab.gif' to 'Aid-tab.gif'"});
        row("entry inserted before others", [](auto &p) { learn(p).insert(1, entry(App, "Encyclopedia")); },
            {"entry 'Learn > Encyclopedia' added at position 2"});
        row("entry removed", [](auto &p) { learn(p).removeAt(1); }, {"entry 'Learn > Atlas' removed from position 2"});
        row("every value of an entry", [](auto &p) { help(p)[0] = {App, "Guide", "guide.exe", "Read me", {}}; },
            {"entry 'Help > Guide': type changed from 'topic-link.gif' to 'Application-link.gif'",
             "entry 'Help > Guide': title changed from 'Manual' to 'Guide'",
             "entry 'Help > Guide': location changed from 'manual.exe' to 'guide.exe'",
             "entry 'Help > Guide': description changed from '' to 'Read me'"});
        row("move within a menu", [](auto &p) { learn(p).move(2, 0); },
            {"entry 'Learn > Dictionary' moved from position 3 to position 1"});
        row("move to another menu", [](auto &p) { help(p).prepend(learn(p).takeAt(1)); },
            {"entry 'Help > Atlas' moved from 'Learn' position 2 to 'Help' position 1"});
        row("move into a sub-menu", [](auto &p) { learn(p)[0].entries.prepend(learn(p).takeAt(2)); },
            {"sub-entry 'Learn > Tools > Dictionary' moved from 'Learn' position 3 to 'Learn > Tools' position 1"});
        row("move out of a sub-menu", [](auto &p) { help(p).prepend(learn(p)[0].entries.takeAt(1)); },
            {"entry 'Help > Notepad' moved from 'Learn > Tools' position 2 to 'Help' position 1"});
        row("move and edit",
            [](auto &p) { help(p).append(learn(p).takeAt(1)); help(p).last().location = "atlas.url"; },
            {"entry 'Help > Atlas' moved from 'Learn' position 2 to 'Help' position 3",
             "entry 'Help > Atlas': location changed from 'atlas.exe' to 'atlas.url'"});
        row("swapped and edited",
            [](auto &p) { learn(p).move(2, 1); learn(p)[1].location = "a"; learn(p)[2].location = "b"; },
            {"entry 'Learn > Dictionary' moved from position 3 to position 2",
             "entry 'Learn > Dictionary': location changed from 'dictionary.exe' to 'a'",
             "entry 'Learn > Atlas': location changed from 'atlas.exe' to 'b'"});
        row("moved into a new sub-menu", [](auto &p) { learn(p).insert(1, entry(Sub, "Books", {learn(p).takeAt(1)})); },
            {"entry 'Learn > Books' added at position 2",
             "sub-entry 'Learn > Books > Atlas' moved from 'Learn' position 2 to 'Learn > Books' position 1"});
        row("moved out of a removed sub-menu", [](auto &p) { learn(p)[0] = EntryText(learn(p)[0].entries[0]); },
            {"entry 'Learn > Tools' removed from position 1",
             "entry 'Learn > Calculator' moved from 'Learn > Tools' position 1 to 'Learn' position 1"});
        row("package first, then the tree in order",
            [](auto &p) { help(p)[1].description = "x"; p.mainMenus[0].altKey = "E"; p.settings.background = 2; },
            {"background changed from default to black", "main menu 'Learn': Alt key changed from 'L' to 'E'",
             "entry 'Help > About': description changed from '' to 'x'"});
    }
    void describesEachChange()
    {
        QFETCH(Edit, edit);
        QFETCH(QStringList, expected);
        PackageText after = sample();
        edit(after);
        QCOMPARE(describeDifferences(sample(), after), expected);
    }

    // Of equal entries in two menus, the one that stays is kept and the one dragged is moved.
    void equalEntriesInTwoMenus_data()
    {
        addColumns();
        row("one removed", [](auto &p) { learn(p).removeAt(1); }, {"entry 'Learn > Atlas' removed from position 2"});
        row("one dragged next to the other", [](auto &p) { help(p).prepend(learn(p).takeAt(1)); help(p).removeLast(); },
            {"entry 'Help > About' removed from position 3",
             "entry 'Help > Atlas' moved from 'Learn' position 2 to 'Help' position 1"});
        row("both dragged", [](auto &p) { help(p).move(1, 0); p.mainMenus[2].entries.append(learn(p).takeAt(1)); },
            {"entry 'Help > Atlas' moved from position 2 to position 1",
             "entry 'Play > Atlas' moved from 'Learn' position 2 to 'Play' position 2"});
    }
    void equalEntriesInTwoMenus()
    {
        QFETCH(Edit, edit);
        QFETCH(QStringList, expected);
        PackageText after = sampleWithTwoAtlases();
        edit(after);
        QCOMPARE(describeDifferences(sampleWithTwoAtlases(), after), expected);
    }
};
KAVO_TEST(DifferencesTest)

#include "test_differences.moc"
