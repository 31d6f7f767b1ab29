#include "testmain.h"
#include "document/menucommands.h"
#include "document/packagedocument.h"
#include "menutree/menutreepage.h"
#include "menutree/menutreeview.h"
#include "menutree/problemlist.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

using namespace document;
using menutree::MenuTreePage;
using menutree::MenuTreeView;

namespace {

// Learn: Calculator, Tools {More tools, Tool help}.
const QByteArray menuFile = "[Menu1]\nMenu1Info=,,TRUE,,,,,,,,,,,,,\n"
                            "SubMenu1=,,FALSE,__1-SUBMENU1__,,Application-link.gif,,,\"C:\\calc.exe\",,,,,,,\n"
                            "SubMenu2=,,TRUE,__1-SUBMENU2__,,UpArrow.gif,,,\"\",,,,,,,\n"
                            "SubMenu2.item1=,,FALSE,,__1-SUBMENU2-1__,UpArrow.gif,,,\"\",,,,,,,\n"
                            "SubMenu2.item2=,,FALSE,,__1-SUBMENU2-2__,topic-link.gif,,,\"t.htm\",,,,,,,\n";
const QByteArray textFile = "[Access Text]\nTEXT1=__MENU1_CONTENT_TITLE__,\"Learn\"\nTEXT2=__1-SUBMENU1__,\"Calculator\"\n"
                            "TEXT3=__1-SUBMENU2__,\"Tools\"\nTEXT4=__1-SUBMENU2-1__,\"More tools\"\n"
                            "TEXT5=__1-SUBMENU2-2__,\"Tool help\"\n";

// The tree's index of an object, through whatever model the view shows.
QModelIndex viewIndexOf(const QAbstractItemModel &model, const CItem *item, const QModelIndex &parent = {})
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        const QModelIndex found = MenuItemModel::itemAt(child) == item ? child : viewIndexOf(model, item, child);
        if (found.isValid())
            return found;
    }
    return {};
}

} // namespace

// The problems list and the tree's marks, as the user edits, undoes and redoes.
class ProblemListTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    PackageDocument m_document;

    CItem *entry(int index)   // in tree order: Calculator, Tools, More tools, Tool help
    {
        CItem *learn = m_document.menus().mainMenus().at(0);
        CItem *tools = learn->entries().at(1);
        return index < 2 ? learn->entries().at(index) : tools->entries().at(index - 2);
    }
    void clearTitle(CItem *item)
    {
        EntryProperties properties = item->properties();
        properties.title.clear();
        m_document.undoStack().push(new EditEntryCommand(m_document, item, properties));
    }

private slots:
    void initTestCase()
    {
        testing::writeFile(m_dir.path() + "/program/0409/custom-text.ini",
                           "[CHECK]\nNOTITLE=The entry has no title.\nNOTITLE_FIX=Type a title.\n"
                           "[PROBLEMS]\nCAPTION=Problems (%1)\nLISTNAME=Problems in the package\n");
        platform::setProgramDirectory(m_dir.path() + "/program");
        platform::setUserInterfaceLanguage(0x0409);
    }
    void cleanupTestCase()
    {
        platform::setProgramDirectory(QString());
        platform::setUserInterfaceLanguage(std::nullopt);
    }
    void init()
    {
        m_document.state().setLocation(m_dir.path() + "/Small");
        testing::writeFile(m_document.state().machineFilePath, menuFile);
        testing::writeFile(m_document.state().textFilePath, textFile);
        ini::clearProfileCache();
        m_document.load();
    }

    void followsEditUndoAndRedo()
    {
        MenuTreePage page(m_document);
        page.resize(300, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        MenuTreeView *tree = page.tree();
        tree->expandAll();
        const QModelIndex calculator = viewIndexOf(*tree->model(), entry(0));
        QVERIFY(!page.problems()->isVisibleTo(&page));
        // The icon's part of the row, where the mark goes (the label changes with the title).
        const QRect row = tree->visualRect(calculator);
        const QRect icon(row.topLeft(), QSize(tree->iconSize().width() + 2, row.height()));
        const QImage unmarked = tree->viewport()->grab(icon).toImage();

        const auto checkShown = [&](bool shown) {
            QTRY_COMPARE(page.problems()->isVisibleTo(&page), shown);
            QCOMPARE(page.problems()->lines()->count(), shown ? 1 : 0);
            QCOMPARE(tree->problemMarkAt(calculator) != nullptr, shown);
            for (int other = 1; other < 4; ++other)
                QVERIFY(!tree->problemMarkAt(viewIndexOf(*tree->model(), entry(other))));
        };
        clearTitle(entry(0));
        checkShown(true);
        if (QTest::currentTestFailed())
            return;
        QListWidgetItem *line = page.problems()->lines()->item(0);
        QCOMPARE(line->text(), "The entry has no title.");
        QCOMPARE(line->toolTip(), "Type a title.");
        QCOMPARE(page.problems()->caption()->text(), "Problems (1)");
        // The node's icon carries the mark; its tooltip names the problem.
        QTRY_VERIFY(tree->viewport()->grab(icon).toImage() != unmarked);
        const QPoint over = tree->visualRect(calculator).center();
        QHelpEvent help(QEvent::ToolTip, over, tree->viewport()->mapToGlobal(over));
        QApplication::sendEvent(tree->viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), "The entry has no title.");

        m_document.undoStack().undo();
        checkShown(false);
        if (QTest::currentTestFailed())
            return;
        m_document.undoStack().redo();
        checkShown(true);
    }

    // Tab goes from the tree to the list; a line chosen there makes its node current in the tree.
    void choosingALineShowsItsNode_data()
    {
        QTest::addColumn<bool>("withReturn");
        QTest::newRow("Return") << true;
        QTest::newRow("double click") << false;
    }
    void choosingALineShowsItsNode()
    {
        QFETCH(bool, withReturn);
        clearTitle(entry(3));
        MenuTreePage page(m_document);
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        m_document.setCurrentItem(nullptr);
        page.tree()->setFocus();
        QTest::keyClick(page.tree(), Qt::Key_Tab);
        QListWidget *lines = page.problems()->lines();
        QCOMPARE(QApplication::focusWidget(), lines);
        lines->setCurrentRow(0);
        if (withReturn) {
            QTest::keyClick(lines, Qt::Key_Return);
        } else {
            // The first click as the desktop sends it, the second as a double click.
            const QPoint point = lines->visualItemRect(lines->item(0)).center();
            QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, point);
            QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, point);
        }
        QCOMPARE(m_document.currentItem(), entry(3));
        QCOMPARE(QApplication::focusWidget(), page.tree());
    }

    void currentLineStaysOnItsFinding()
    {
        MenuTreePage page(m_document);
        for (int index : {3, 2, 0})
            clearTitle(entry(index));
        QTRY_COMPARE(page.problems()->lines()->count(), 3);
        page.problems()->lines()->setCurrentRow(1);   // More tools
        m_document.undoStack().undo();
        QTRY_COMPARE(page.problems()->lines()->count(), 2);
        QCOMPARE(page.problems()->findings().at(page.problems()->lines()->currentRow()).item, entry(2));
    }
};
KAVO_TEST(ProblemListTest)
#include "test_problemlist.moc"
