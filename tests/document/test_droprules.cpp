#include "testmain.h"
#include "document/droprules.h"

#include <QTest>

using namespace document;

namespace {

// One node of each kind the rules tell apart, in a tree: a main menu holding a sub-menu (with a
// sub-entry), a plain menu entry and a system-information entry; a second main menu.
struct Tree {
    ItemList mainMenus;
    CItem *mainMenu = nullptr;
    CItem *otherMainMenu = nullptr;
    CItem *subMenu = nullptr;
    CItem *plainEntry = nullptr;
    CItem *systemInfo = nullptr;
    CItem *subEntry = nullptr;

    Tree()
    {
        mainMenu = mainMenus.append(std::make_unique<CItem>(ItemKind::MainMenu));
        otherMainMenu = mainMenus.append(std::make_unique<CItem>(ItemKind::MainMenu));
        mainMenu->setHasEntries(true);
        const auto entry = [this](const QString &typeIcon) {
            CItem *item = mainMenu->entries().append(std::make_unique<CItem>(ItemKind::SubMenu));
            item->setProperties("entry", typeIcon, QString(), QString());
            return item;
        };
        subMenu = entry(SubMenuIcon);
        plainEntry = entry(ApplicationIcon);
        systemInfo = entry(SystemInfoIcon);
        subEntry = subMenu->entries().append(std::make_unique<CItem>(ItemKind::Item));
        subEntry->setProperties("sub-entry", HelpTopicIcon, QString(), QString());
    }

    // "root", "main menu", "sub-menu", "entry", "system information", "sub-entry"
    CItem *node(const QString &kind) const
    {
        if (kind == "root")
            return nullptr;
        if (kind == "main menu")
            return otherMainMenu;
        return kind == "sub-menu" ? subMenu : kind == "entry" ? plainEntry : kind == "system information" ? systemInfo : subEntry;
    }
};

const QStringList kinds{"root", "main menu", "sub-menu", "entry", "system information", "sub-entry"};

QString placementText(Placement placement)
{
    return placement == Placement::Within ? "W" : "B";
}

} // namespace

// Every pair of dragged and target kinds: whether a drop with the left button is allowed and
// where it puts the node (W within, B below, - refused), and what a drop with the right button
// offers (the choices not greyed, - when the drop is refused).
class DropRulesTest : public QObject {
    Q_OBJECT
private slots:
    void everyPairOfKinds_data()
    {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        // For each dragged kind, left and right for the targets in the order of `kinds`.
        const QList<std::pair<QString, QStringList>> table{
            {"main menu", {"W W", "B B", "- -", "- -", "- -", "- -"}},
            {"sub-menu", {"- -", "W W", "B B", "B B", "B B", "- -"}},
            {"entry", {"- -", "W W", "W WB", "B B", "B B", "B B"}},
            {"system information", {"- -", "W W", "- B", "B B", "B B", "- -"}},
            {"sub-entry", {"- -", "W W", "W WB", "B B", "B B", "B B"}},
        };
        for (const auto &[dragged, results] : table) {
            for (int target = 0; target < kinds.size(); ++target) {
                const QStringList result = results.at(target).split(' ');
                QTest::addRow("%s onto %s", qPrintable(dragged), qPrintable(kinds.at(target)))
                    << dragged << kinds.at(target) << result.at(0) << result.at(1);
            }
        }
    }
    void everyPairOfKinds()
    {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        const Tree draggedTree;
        const Tree targetTree;   // another node of the same kind, not the dragged one
        const CItem *from = draggedTree.node(dragged);
        const CItem *onto = targetTree.node(target);

        const QString left = canDrop(from, onto) ? placementText(leftDropPlacement(from, onto)) : "-";
        QTEST(left, "left");
        QCOMPARE(dropPossible(from, onto, false), left != "-");
        QString right = "-";
        if (canRightDrop(from, onto)) {
            const DropChoices choices = rightDropChoices(from, onto);
            right = QString(choices.within ? "W" : "") + (choices.below ? "B" : "");
        }
        QTEST(right, "right");
    }

    // A node never lands on itself or below itself, whatever the rules of its kinds say.
    void notOntoItselfNorItsOwnSubtree()
    {
        const Tree tree;
        for (bool rightButton : {false, true}) {
            QVERIFY(!dropPossible(tree.subMenu, tree.subMenu, rightButton));
            QVERIFY(!dropPossible(tree.subMenu, tree.subEntry, rightButton));
            QVERIFY(!dropPossible(tree.mainMenu, tree.mainMenu, rightButton));
            QVERIFY(!dropPossible(tree.plainEntry, tree.plainEntry, rightButton));
        }
        QVERIFY(dropPossible(tree.otherMainMenu, tree.mainMenu, false));
    }

    // The kind a node takes where it lands, and where a placement puts it.
    void destinationsAndKinds()
    {
        const Tree tree;
        QCOMPARE(kindWithin(tree.mainMenu, tree.subEntry), ItemKind::SubMenu);
        QCOMPARE(kindWithin(tree.subMenu, tree.plainEntry), ItemKind::Item);
        QCOMPARE(kindWithin(nullptr, tree.otherMainMenu), ItemKind::MainMenu);
        const Destination within = destinationOf(tree.subEntry, tree.mainMenu, Placement::Within);
        QCOMPARE(within.parent, tree.mainMenu);
        QCOMPARE(within.after, nullptr);
        const Destination below = destinationOf(tree.subEntry, tree.plainEntry, Placement::Below);
        QCOMPARE(below.parent, tree.mainMenu);
        QCOMPARE(below.after, tree.plainEntry);
        const Destination first = destinationOf(tree.otherMainMenu, nullptr, Placement::Within);
        QCOMPARE(first.parent, nullptr);
        QCOMPARE(first.after, nullptr);
    }
};
KAVO_TEST(DropRulesTest)
#include "test_droprules.moc"
