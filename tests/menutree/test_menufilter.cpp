#include "testmain.h"
#include "document/menucommands.h"
#include "document/packagedocument.h"
#include "menutree/filterbar.h"
#include "menutree/matchdelegate.h"
#include "menutree/menufiltermodel.h"
#include "menutree/menutreepage.h"
#include "menutree/menutreeview.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include "scriptedmodals.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

using namespace document;
using menutree::MenuTreePage;
using menutree::MenuTreeView;

namespace {

// Learn{Calculator, Tools{More tools, Tool help}, Notepad}, Help{About this computer, Calendar}:
// Tool help has a description, the applications their locations.
const QByteArray menuFile =
    "[Menu1]\nMenu1Info=,,TRUE,,,,,,,,,,,,,\n"
    "SubMenu1=,,FALSE,__1-SUBMENU1__,,Application-link.gif,,,\"C:\\calc.exe\",,,,,,,\n"
    "SubMenu2=,,TRUE,__1-SUBMENU2__,,UpArrow.gif,,,\"\",,,,,,,\n"
    "SubMenu2.item1=,,FALSE,,__1-SUBMENU2-1__,Application-link.gif,,,\"more.exe\",,,,,,,\n"
    "SubMenu2.item2=,,FALSE,,__1-SUBMENU2-2__,topic-link.gif,,,\"t.htm\",,,,__1-SUBMENU2-2-A__,,,\n"
    "SubMenu3=,,FALSE,__1-SUBMENU3__,,Application-link.gif,,,\"C:\\notes.exe\",,,,,,,\n"
    "[Menu3]\nMenu3Info=,,TRUE,,,,,,,,,,,,,\n"
    "SubMenu1=,,FALSE,__3-SUBMENU1__,,System-Info-link.gif,,,\"#SystemInfo\",,,,,,,\n"
    "SubMenu2=,,FALSE,__3-SUBMENU2__,,Application-link.gif,,,\"D:\\CALENDAR.exe\",,,,,,,\n";

const QByteArray textFile = "[Access Text]\n"
                            "TEXT1=__MENU1_CONTENT_TITLE__,\"Learn\"\n"
                            "TEXT2=__MENU3_CONTENT_TITLE__,\"Help\"\n"
                            "TEXT3=__1-SUBMENU1__,\"Calculator\"\n"
                            "TEXT4=__1-SUBMENU2__,\"Tools\"\n"
                            "TEXT5=__1-SUBMENU2-1__,\"More tools\"\n"
                            "TEXT6=__1-SUBMENU2-2__,\"Tool help\"\n"
                            "TEXT7=__1-SUBMENU2-2-A__,\"Read about the tools\"\n"
                            "TEXT8=__1-SUBMENU3__,\"Notepad\"\n"
                            "TEXT9=__3-SUBMENU1__,\"About this computer\"\n"
                            "TEXT10=__3-SUBMENU2__,\"Calendar\"\n";

const QString wholeTree = "Help Center{Learn{Calculator,Tools{More tools,Tool help},Notepad},"
                          "Help{About this computer,Calendar}}";

// Every node's label with its children in braces.
QString shapeOf(const QAbstractItemModel &model, const QModelIndex &parent = QModelIndex())
{
    QStringList children;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        const QString below = shapeOf(model, child);
        children << child.data().toString() + (below.isEmpty() ? QString() : "{" + below + "}");
    }
    return children.join(',');
}

QModelIndex find(const QAbstractItemModel &model, const QString &label)
{
    return model.match(model.index(0, 0), Qt::DisplayRole, label, 1, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

// The nodes with children the tree shows closed, and each mark in a label ("Tools@0").
QStringList closedNodes(const QTreeView &tree, const QModelIndex &parent = QModelIndex())
{
    QStringList closed;
    const QAbstractItemModel &model = *tree.model();
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        if (model.hasChildren(child) && !tree.isExpanded(child))
            closed << child.data().toString();
        closed << closedNodes(tree, child);
    }
    return closed;
}

QStringList marksOf(const menutree::MenuFilterModel &filter, const QModelIndex &parent = QModelIndex())
{
    QStringList marks;
    for (int row = 0; row < filter.rowCount(parent); ++row) {
        const QModelIndex child = filter.index(row, 0, parent);
        for (const int start : filter.matchesInLabel(child))
            marks << child.data().toString() + "@" + QString::number(start);
        marks << marksOf(filter, child);
    }
    return marks;
}

QString titleOf(const CItem *node)
{
    return !node ? "Help Center" : isMainMenu(node) ? node->contentTitle() : node->title();
}

} // namespace

// The filter above the MENUS tree: what it shows, the count, the keys that step through the
// matches, and the commands, which act on the document's nodes whatever the filter hides.
class MenuFilterTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    PackageDocument m_document;
    std::unique_ptr<MenuTreePage> m_page;

    MenuTreeView *tree() const { return m_page->tree(); }
    QLineEdit *field() const { return m_page->filterBar()->field(); }
    QString countShown() const
    {
        const QLabel *count = m_page->filterBar()->countLabel();
        return count->isVisible() ? count->text() : QString();
    }
    // Typed as the user types, after the field's text is selected (Ctrl+F selects it).
    void typeFilter(const QString &text)
    {
        m_page->focusFilter();
        if (text.isEmpty())
            QTest::keyClick(field(), Qt::Key_Backspace);
        else
            QTest::keyClicks(field(), text);
    }
    // The tree's current node is the document's, and both say this label.
    void verifyCurrent(const QString &label)
    {
        QCOMPARE(titleOf(m_document.currentItem()), label);
        QVERIFY(tree()->currentIndex().isValid());
        QCOMPARE(tree()->currentIndex(), m_page->treeIndexOf(m_document.currentItem()));
        QCOMPARE(tree()->selectionModel()->selectedIndexes(), QModelIndexList{tree()->currentIndex()});
    }
    void click(const QString &label)
    {
        const QModelIndex index = find(*tree()->model(), label);
        QVERIFY2(index.isValid(), qPrintable(label));
        tree()->scrollTo(index);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualRect(index).center());
    }

private slots:
    void initTestCase()
    {
        testing::writeFile(m_dir.path() + "/program/0409/custom-text.ini",
                           "[TEXT]\nNEWSUB=New Entry\nEDIT=Edit\nDELETE=Delete\n"
                           "[FILTER]\nPLACEHOLDER=Find entries\nACCESSIBLENAME=Filter the menus\nCOUNT=%1 of %2 entries\n");
        platform::setProgramDirectory(m_dir.path() + "/program");
        platform::setUserInterfaceLanguage(0x0409);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void cleanupTestCase()
    {
        QLocale::setDefault(QLocale::system());
        platform::setProgramDirectory(QString());
        platform::setUserInterfaceLanguage(std::nullopt);
    }
    void init()
    {
        m_document.state().setLocation(m_dir.path() + QStringLiteral("/Small"));
        const packages::PackageState &state = m_document.state();
        testing::writeFile(state.machineFilePath, menuFile);
        testing::writeFile(state.textFilePath, textFile);
        testing::writeFile(state.configFilePath, "[Global Options]\n");
        ini::clearProfileCache();
        m_document.load();
        m_page = std::make_unique<MenuTreePage>(m_document);
        m_page->resize(300, 400);
        m_page->show();
        m_page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
        tree()->expandAll();
    }
    void cleanup() { m_page.reset(); }

    void fieldTakesItsTexts()
    {
        QCOMPARE(field()->placeholderText(), "Find entries");
        QCOMPARE(field()->accessibleName(), "Filter the menus");
        QCOMPARE(countShown(), QString());   // no filter, no count
    }

    // What a text shows: the nodes holding it, ignoring case, and the menus above them, open;
    // the count of entries and sub-entries holding it; the marks in the labels.
    void whatAFilterShows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QStringList>("marks");
        QTest::newRow("title") << "Calcu" << "Help Center{Learn{Calculator}}" << "1 of 7 entries" << QStringList{"Calculator@0"};
        QTest::newRow("title, other case, a sub-menu and its sub-entries")
            << "TOOL" << "Help Center{Learn{Tools{More tools,Tool help}}}" << "3 of 7 entries"
            << QStringList{"Tools@0", "More tools@5", "Tool help@0"};
        QTest::newRow("description") << "read about" << "Help Center{Learn{Tools{Tool help}}}" << "1 of 7 entries"
                                     << QStringList();
        QTest::newRow("location, other case") << "calendar.EXE" << "Help Center{Help{Calendar}}" << "1 of 7 entries"
                                              << QStringList();
        QTest::newRow("in several main menus") << "cal" << "Help Center{Learn{Calculator},Help{Calendar}}"
                                               << "2 of 7 entries" << QStringList{"Calculator@0", "Calendar@0"};
        QTest::newRow("every occurrence marked") << "o" << "Help Center{Learn{Calculator,Tools{More tools,Tool help},Notepad},"
                                                           "Help{About this computer}}"
                                                 << "6 of 7 entries"
                                                 << QStringList{"Calculator@8", "Tools@1", "Tools@2", "More tools@1", "More tools@6",
                                                                "More tools@7", "Tool help@1", "Tool help@2", "Notepad@1",
                                                                "About this computer@2", "About this computer@12"};
        QTest::newRow("a main menu's title, not counted") << "lear" << "Help Center{Learn}" << "0 of 7 entries"
                                                          << QStringList{"Learn@0"};
        QTest::newRow("no match: the root alone") << "zebra" << "Help Center" << "0 of 7 entries" << QStringList();
    }
    void whatAFilterShows()
    {
        QFETCH(QString, text);
        tree()->collapseAll();
        typeFilter(text);
        QTEST(shapeOf(*tree()->model()), "shape");
        QCOMPARE(closedNodes(*tree()), QStringList());
        QTEST(countShown(), "count");
        QTEST(marksOf(*m_page->filter()), "marks");
        verifyCurrent("Help Center");

        // Emptying the field shows the whole tree again.
        typeFilter(QString());
        QCOMPARE(shapeOf(*tree()->model()), wholeTree);
        QCOMPARE(countShown(), QString());
    }

    // The count groups its digits as the locale does.
    void countGroupsDigits_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("count");
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << "1,234 of 12,000 entries";
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "1.234 of 12.000 entries";
    }
    void countGroupsDigits()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        m_page->filterBar()->showCount(1234, 12000);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QTEST(m_page->filterBar()->countLabel()->text(), "count");
    }

    // Return makes the first match current and hands the keys to the tree; F3 and Shift+F3 go to
    // the next and previous match, round the end, from the tree and from the field.
    void returnAndF3StepThroughTheMatches()
    {
        typeFilter("tool");
        QTest::keyClick(field(), Qt::Key_Return);
        verifyCurrent("Tools");
        QCOMPARE(QApplication::focusWidget(), tree());
        const std::pair<Qt::KeyboardModifiers, const char *> steps[] = {
            {Qt::NoModifier, "More tools"}, {Qt::NoModifier, "Tool help"}, {Qt::NoModifier, "Tools"},
            {Qt::ShiftModifier, "Tool help"}, {Qt::ShiftModifier, "More tools"}};
        for (const auto &[modifiers, label] : steps) {
            QTest::keyClick(tree(), Qt::Key_F3, modifiers);
            verifyCurrent(label);
        }
        m_page->focusFilter();
        QTest::keyClick(field(), Qt::Key_F3);
        verifyCurrent("Tool help");
        QCOMPARE(QApplication::focusWidget(), field());
    }

    // Escape empties the field: the whole tree shows, the current node stays current and in sight.
    // A second Escape hands the keys to the tree.
    void escapeKeepsTheCurrentNode()
    {
        m_page->resize(300, 90);
        tree()->collapseAll();
        typeFilter("calendar");
        QTest::keyClick(field(), Qt::Key_Return);
        m_page->focusFilter();
        QTest::keyClick(field(), Qt::Key_Escape);
        QCOMPARE(field()->text(), QString());
        QCOMPARE(shapeOf(*tree()->model()), wholeTree);
        verifyCurrent("Calendar");
        QVERIFY(tree()->viewport()->rect().contains(tree()->visualRect(tree()->currentIndex())));
        QCOMPARE(QApplication::focusWidget(), field());
        QTest::keyClick(field(), Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), tree());
    }

    // Under the filter "c" (Calculator and Notepad of Learn show, Tools between them does not),
    // each command acts on the document's nodes and their real neighbours, and its undo and redo
    // as without a filter; the tree's current node is the document's throughout.
    void commandsUnderAFilter_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("current");   // before the command
        QTest::addColumn<QString>("after");     // the document's Learn menu afterwards
        QTest::addColumn<QString>("currentAfter");
        QTest::newRow("delete") << "delete" << "Calculator" << "Tools{More tools,Tool help},Notepad" << "Tools";
        QTest::newRow("move up past a hidden entry") << "move up" << "Notepad"
                                                     << "Calculator,Notepad,Tools{More tools,Tool help}" << "Notepad";
        QTest::newRow("move down past a hidden entry") << "move down" << "Calculator"
                                                       << "Tools{More tools,Tool help},Calculator,Notepad" << "Calculator";
        QTest::newRow("new entry, which the filter does not hold")
            << "new entry" << "Learn" << "Calculator,Tools{More tools,Tool help},Notepad,Zed" << "Zed";
        QTest::newRow("paste after the current node")
            << "paste" << "Notepad" << "Calculator,Tools{More tools,Tool help},Notepad,Calculator" << "Calculator";
        QTest::newRow("cut") << "cut" << "Notepad" << "Calculator,Tools{More tools,Tool help}" << "Tools";
    }
    void commandsUnderAFilter()
    {
        QFETCH(QString, command);
        QFETCH(QString, current);
        QFETCH(QString, after);
        QFETCH(QString, currentAfter);
        QAbstractItemModelTester tester(m_page->filter(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const MenuItemModel &menus = m_document.itemModel();
        const auto learn = [&] { return shapeOf(menus, menus.index(0, 0, menus.rootIndex())); };
        const QString learnBefore = learn();
        ScriptedModals modals;
        if (command == "paste") {
            click("Calculator");
            m_page->copyCurrent();
        }
        typeFilter("c");
        QCOMPARE(shapeOf(*tree()->model()), "Help Center{Learn{Calculator,Notepad},Help{About this computer,Calendar}}");
        click(current);
        verifyCurrent(current);

        if (command == "delete") {
            QTest::keyClick(tree(), Qt::Key_Delete);
        } else if (command == "move up" || command == "move down") {
            m_page->moveCurrent(command == "move up" ? -1 : +1);
        } else if (command == "new entry") {
            modals.menuAnswers.push_back(ScriptedModals::pick("New Entry"));
            modals.dialogAnswers.push_back([](QDialog &dialog) {
                dialog.findChild<QLineEdit *>("title")->setText("Zed");
                return int(QDialog::Accepted);
            });
            QTest::keyClick(tree(), Qt::Key_Menu);
        } else if (command == "paste") {
            m_page->pasteOnCurrent();
        } else if (command == "cut") {
            m_page->cutCurrent();
        }
        QCOMPARE(learn(), after);
        verifyCurrent(currentAfter);
        QCOMPARE(field()->text(), "c");

        m_document.undoStack().undo();
        QCOMPARE(learn(), learnBefore);
        verifyCurrent(current);
        m_document.undoStack().redo();
        QCOMPARE(learn(), after);
        verifyCurrent(currentAfter);

        // Without the filter, the tree shows the document as it is.
        QTest::keyClick(field(), Qt::Key_Escape);
        QCOMPARE(shapeOf(*tree()->model()), shapeOf(menus));
        verifyCurrent(currentAfter);
    }

    // An edit that takes the text out of a node leaves it shown, unmarked and no longer counted,
    // until the filter's text changes; so does a node current when the text changed, once the
    // user leaves it.
    void nodesStayUntilTheTextChanges()
    {
        QAbstractItemModelTester tester(m_page->filter(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        typeFilter("calc");
        QTest::keyClick(field(), Qt::Key_Return);
        verifyCurrent("Calculator");
        CItem *calculator = m_document.currentItem();
        EntryProperties properties = calculator->properties();
        properties.title = "Adder";
        properties.location = "C:\\add.exe";
        m_document.undoStack().push(new EditEntryCommand(m_document, calculator, properties));
        QCOMPARE(shapeOf(*tree()->model()), "Help Center{Learn{Adder}}");
        QCOMPARE(countShown(), "0 of 7 entries");
        QCOMPARE(marksOf(*m_page->filter()), QStringList());

        click("Help Center");   // the current node would stay shown
        QTest::keyClick(field(), Qt::Key_Backspace);
        QCOMPARE(field()->text(), "cal");
        QCOMPARE(shapeOf(*tree()->model()), "Help Center{Help{Calendar}}");

        QTest::keyClick(field(), Qt::Key_Escape);
        click("Notepad");
        typeFilter("calendar");
        QTest::keyClick(field(), Qt::Key_Return);
        QCOMPARE(shapeOf(*tree()->model()), "Help Center{Learn{Notepad},Help{Calendar}}");
        QTest::keyClick(tree(), Qt::Key_Delete);   // the next current node, hidden so far, shows
        verifyCurrent("About this computer");
        QCOMPARE(shapeOf(*tree()->model()), "Help Center{Learn{Notepad},Help{About this computer}}");
    }

    // The marks are painted over the matching part of the label.
    void matchIsMarkedInTheTree()
    {
        const auto rowImage = [this] {
            return tree()->viewport()->grab(tree()->visualRect(find(*tree()->model(), "Tool help"))).toImage();
        };
        typeFilter("tool");
        const QImage markedAtStart = rowImage();
        typeFilter("help");   // the same label, marked at its end
        QVERIFY(markedAtStart != rowImage());
    }
};
KAVO_TEST(MenuFilterTest)
#include "test_menufilter.moc"
