#include "testmain.h"
#include "document/menucommands.h"
#include "document/packagedocument.h"
#include "menutree/filterbar.h"
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
#include <QTest>

using namespace document;

namespace {

// Learn{Calculator, Tools{More tools, Tool help}, Notepad}, Help{Calendar}: Tool help has a
// description, the applications their locations.
const QByteArray menuFile = "[Menu1]\nMenu1Info=,,TRUE\n"
                            "SubMenu1=,,FALSE,__1-SUBMENU1__,,Application-link.gif,,,\"C:\\calc.exe\"\n"
                            "SubMenu2=,,TRUE,__1-SUBMENU2__,,UpArrow.gif,,,\"\"\n"
                            "SubMenu2.item1=,,FALSE,,__1-SUBMENU2-1__,Application-link.gif,,,\"more.exe\"\n"
                            "SubMenu2.item2=,,FALSE,,__1-SUBMENU2-2__,topic-link.gif,,,\"t.htm\",,,,__1-SUBMENU2-2-A__\n"
                            "SubMenu3=,,FALSE,__1-SUBMENU3__,,Application-link.gif,,,\"C:\\notes.exe\"\n"
                            "[Menu3]\nMenu3Info=,,TRUE\n"
                            "SubMenu1=,,FALSE,__3-SUBMENU1__,,Application-link.gif,,,\"D:\\CALENDAR.exe\"\n";
const QByteArray textFile = "[Access Text]\nTEXT1=__MENU1_CONTENT_TITLE__,\"Learn\"\nTEXT2=__MENU3_CONTENT_TITLE__,\"Help\"\n"
                            "TEXT3=__1-SUBMENU1__,\"Calculator\"\nTEXT4=__1-SUBMENU2__,\"Tools\"\n"
                            "TEXT5=__1-SUBMENU2-1__,\"More tools\"\nTEXT6=__1-SUBMENU2-2__,\"Tool help\"\n"
                            "TEXT7=__1-SUBMENU2-2-A__,\"Read about the tools\"\nTEXT8=__1-SUBMENU3__,\"Notepad\"\n"
                            "TEXT9=__3-SUBMENU1__,\"Calendar\"\n";
const QString wholeTree = "Help Center{Learn{Calculator,Tools{More tools,Tool help},Notepad},Help{Calendar}}";

// Every node's label with its children in braces. Through the page, as the tree shows it: the
// marked parts of the labels in brackets, and a closed node's children left out.
QString shapeOf(const QAbstractItemModel &model, const menutree::MenuTreePage *page = nullptr,
                const QModelIndex &parent = QModelIndex())
{
    QStringList children;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        QString label = child.data().toString();
        const QList<int> marks = page ? page->filter()->matchesInLabel(child) : QList<int>();
        for (auto mark = marks.rbegin(); mark != marks.rend(); ++mark)
            label.insert(*mark + page->filter()->filterText().size(), ']').insert(*mark, '[');
        const QString below = !page || page->tree()->isExpanded(child) ? shapeOf(model, page, child) : QString();
        children << label + (below.isEmpty() ? QString() : "{" + below + "}");
    }
    return children.join(',');
}

QModelIndex find(const QAbstractItemModel &model, const QString &label)
{
    return model.match(model.index(0, 0), Qt::DisplayRole, label, 1, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

} // namespace

// The filter above the MENUS tree: what it shows, the count, the keys that step through the
// matches, and the commands, which act on the document's nodes whatever the filter hides.
class MenuFilterTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    PackageDocument m_document;
    std::unique_ptr<menutree::MenuTreePage> m_page;

    menutree::MenuTreeView *tree() const { return m_page->tree(); }
    QLineEdit *field() const { return m_page->filterBar()->field(); }
    QString shown() const { return shapeOf(*tree()->model(), m_page.get()); }
    QString count() const
    {
        const QLabel *count = m_page->filterBar()->countLabel();
        return count->isVisible() ? count->text() : QString();
    }
    // Typed as the user types, over the field's text, which Ctrl+F selects.
    void typeFilter(const QString &text)
    {
        m_page->focusFilter();
        QTest::keyClicks(field(), text);
    }
    // The tree's current node, shown and selected, is the document's, and bears this label.
    void verifyCurrent(const QString &label)
    {
        QCOMPARE(tree()->currentIndex().data().toString(), label);
        QCOMPARE(tree()->selectionModel()->selectedIndexes(), QModelIndexList{m_page->treeIndexOf(m_document.currentItem())});
    }
    void click(const QString &label)
    {
        const QModelIndex index = find(*tree()->model(), label);
        tree()->scrollTo(index);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, tree()->visualRect(index).center());
    }

private slots:
    void initTestCase()
    {
        testing::writeFile(m_dir.path() + "/program/0409/custom-text.ini",
                           "[FILTER]\nCOUNT=%1 of %2 entries\n");
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
        testing::writeFile(m_document.state().machineFilePath, menuFile);
        testing::writeFile(m_document.state().textFilePath, textFile);
        testing::writeFile(m_document.state().configFilePath, "[Global Options]\n");
        ini::clearProfileCache();
        m_document.load();
        m_page = std::make_unique<menutree::MenuTreePage>(m_document);
        m_page->resize(300, 90);
        m_page->show();
        m_page->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
    }
    void cleanup() { m_page.reset(); }

    // The nodes holding the text in their title, description or location, whatever the case, show
    // with the menus above them, open; the count is of the entries and sub-entries among them.
    void whatAFilterShows_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QString>("count");
        QTest::newRow("title") << "Calcu" << "Help Center{Learn{[Calcu]lator}}" << "1 of 6 entries";
        QTest::newRow("other case, a sub-menu and its sub-entries")
            << "TOOL" << "Help Center{Learn{[Tool]s{More [tool]s,[Tool] help}}}" << "3 of 6 entries";
        QTest::newRow("description") << "read about" << "Help Center{Learn{Tools{Tool help}}}" << "1 of 6 entries";
        QTest::newRow("location") << "calendar.EXE" << "Help Center{Help{Calendar}}" << "1 of 6 entries";
        QTest::newRow("two main menus") << "cal" << "Help Center{Learn{[Cal]culator},Help{[Cal]endar}}" << "2 of 6 entries";
        QTest::newRow("a main menu, not counted") << "lear" << "Help Center{[Lear]n}" << "0 of 6 entries";
        QTest::newRow("no match: the root alone") << "zebra" << "Help Center" << "0 of 6 entries";
    }
    void whatAFilterShows()
    {
        QFETCH(QString, text);
        typeFilter(text);
        QTEST(shown(), "shape");
        QTEST(count(), "count");
        verifyCurrent("Help Center");
        m_page->focusFilter();
        QTest::keyClick(field(), Qt::Key_Backspace);
        QCOMPARE(shapeOf(*tree()->model()), wholeTree);
        QCOMPARE(count(), QString());

        m_page->filterBar()->showCount(1234, 12000);   // the locale groups the digits
        QCOMPARE(m_page->filterBar()->countLabel()->text(), "1,234 of 12,000 entries");
    }

    // Return makes the first match current and hands the keys to the tree; F3 and Shift+F3 go to
    // the next and previous match, round the end, in the tree and in the field. Escape empties the
    // field: the whole tree shows, the current node current and in sight.
    void returnF3AndEscape()
    {
        tree()->collapseAll();
        typeFilter("to");
        QTest::keyClick(field(), Qt::Key_Return);
        verifyCurrent("Calculator");
        QCOMPARE(QApplication::focusWidget(), tree());
        for (const char *label : {"Tools", "More tools", "Tool help", "Calculator"}) {
            QTest::keyClick(tree(), Qt::Key_F3);
            verifyCurrent(label);
        }
        QTest::keyClick(tree(), Qt::Key_F3, Qt::ShiftModifier);
        verifyCurrent("Tool help");
        m_page->focusFilter();
        QTest::keyClick(field(), Qt::Key_F3, Qt::ShiftModifier);
        verifyCurrent("More tools");

        QTest::keyClick(field(), Qt::Key_Escape);
        QCOMPARE(shapeOf(*tree()->model()), wholeTree);
        verifyCurrent("More tools");
        QVERIFY(tree()->viewport()->rect().contains(tree()->visualRect(tree()->currentIndex())));
        QTest::keyClick(field(), Qt::Key_Escape);   // the field already empty
        QCOMPARE(QApplication::focusWidget(), tree());
    }

    // Under the filter "c", Tools hides between Calculator and Notepad. Each command acts on the
    // document's nodes and their real neighbours, as do its undo and redo, and the tree's current
    // node is the document's throughout, shown even when the filter does not hold it.
    void commandsUnderAFilter_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("current");   // before the command
        QTest::addColumn<QString>("learn");     // the document's Learn menu afterwards
        QTest::addColumn<QString>("currentAfter");
        QTest::newRow("delete") << "delete" << "Calculator" << "Tools{More tools,Tool help},Notepad" << "Tools";
        QTest::newRow("move up") << "move up" << "Notepad" << "Calculator,Notepad,Tools{More tools,Tool help}" << "Notepad";
        QTest::newRow("new entry") << "new entry" << "Learn" << "Calculator,Tools{More tools,Tool help},Notepad,Zed" << "Zed";
        QTest::newRow("paste") << "paste" << "Notepad" << "Calculator,Tools{More tools,Tool help},Notepad,Calculator"
                               << "Calculator";
    }
    void commandsUnderAFilter()
    {
        QFETCH(QString, command);
        QFETCH(QString, current);
        QFETCH(QString, currentAfter);
        QAbstractItemModelTester tester(m_page->filter(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        const MenuItemModel &menus = m_document.itemModel();
        const auto learn = [&] { return shapeOf(menus, nullptr, menus.index(0, 0, menus.rootIndex())); };
        const QString learnBefore = learn();
        m_document.setCurrentItem(m_document.menus().mainMenus().at(0)->entries().at(0));
        m_page->copyCurrent();   // Calculator
        typeFilter("c");
        QCOMPARE(shapeOf(*tree()->model()), "Help Center{Learn{Calculator,Notepad},Help{Calendar}}");
        click(current);
        if (command == "delete")
            QTest::keyClick(tree(), Qt::Key_Delete);
        else if (command == "move up")
            m_page->moveCurrentUp();
        else if (command == "new entry")
            m_document.undoStack().push(new NewEntryCommand(m_document, m_document.currentItem(), {ApplicationIcon, "Zed", {}, {}}));
        else
            m_page->pasteOnCurrent();
        QTEST(learn(), "learn");
        verifyCurrent(currentAfter);
        m_document.undoStack().undo();
        QCOMPARE(learn(), learnBefore);
        verifyCurrent(current);
        m_document.undoStack().redo();
        QTEST(learn(), "learn");
        verifyCurrent(currentAfter);
        QTest::keyClick(field(), Qt::Key_Escape);
        QCOMPARE(shapeOf(*tree()->model()), shapeOf(menus));
    }

    // A session by the keys under a filter (an edit, a move and a delete of matches), all of it
    // undone and the filter cleared: the tree is as it was, open where it was open.
    void aSessionUndoneLeavesTheTreeAsItWas()
    {
        QAbstractItemModelTester tester(m_page->filter(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        tree()->collapseAll();
        tree()->expand(find(*tree()->model(), "Help Center"));
        tree()->expand(find(*tree()->model(), "Learn"));
        const QString before = shapeOf(*tree()->model(), m_page.get());
        typeFilter("c");   // Calculator, Notepad and Calendar, by their locations too
        QTest::keyClick(field(), Qt::Key_Return);
        ScriptedModals modals;
        modals.dialogAnswers.push_back([](QDialog &dialog) {
            dialog.findChild<QLineEdit *>("title")->setText("Adder");
            return int(QDialog::Accepted);
        });
        QTest::keyClick(tree(), Qt::Key_Return);   // the properties of Calculator
        QTest::keyClick(tree(), Qt::Key_F3);
        m_page->moveCurrentUp();   // Notepad, above Tools, which the filter hides
        QTest::keyClick(tree(), Qt::Key_F3);
        QTest::keyClick(tree(), Qt::Key_Delete);   // Calendar
        QCOMPARE(shapeOf(m_document.itemModel()), "Help Center{Learn{Adder,Notepad,Tools{More tools,Tool help}},Help}");
        while (m_document.undoStack().canUndo())
            m_document.undoStack().undo();
        QTest::keyClick(field(), Qt::Key_Escape);
        QCOMPARE(shapeOf(*tree()->model(), m_page.get()), before);
        QCOMPARE(shapeOf(m_document.itemModel()), wholeTree);
    }

    // An edit that takes the text out of a node leaves it shown, unmarked and not counted, until
    // the text changes; the node current when it changed stays too.
    void nodesStayUntilTheTextChanges()
    {
        QAbstractItemModelTester tester(m_page->filter(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        typeFilter("calc");
        QTest::keyClick(field(), Qt::Key_Return);
        EntryProperties properties = m_document.currentItem()->properties();
        properties.title = "Adder";
        properties.location = "C:\\add.exe";
        m_document.undoStack().push(new EditEntryCommand(m_document, m_document.currentItem(), properties));
        QCOMPARE(shown(), "Help Center{Learn{Adder}}");
        QCOMPARE(count(), "0 of 6 entries");
        click("Help Center");
        QTest::keyClick(field(), Qt::Key_Backspace);
        QCOMPARE(shown(), "Help Center{Help{[Cal]endar}}");

        click("Calendar");
        typeFilter("tool");
        QCOMPARE(shown(), "Help Center{Learn{[Tool]s{More [tool]s,[Tool] help}},Help{Calendar}}");
    }

    // The marks are painted over the matching part of the label.
    void marksArePainted()
    {
        const auto toolHelp = [this] {
            click("Tool help");   // the same row, selected both times
            return tree()->viewport()->grab(tree()->visualRect(tree()->currentIndex())).toImage();
        };
        typeFilter("tool");
        const QImage markedAtStart = toolHelp();
        typeFilter("help");
        QVERIFY(markedAtStart != toolHelp());
    }
};
KAVO_TEST(MenuFilterTest)
#include "test_menufilter.moc"
