#include "testmain.h"
#include "packages/languagefiles.h"
#include "artwork/itemtypeimages.h"
#include "document/packagedocument.h"
#include "menutree/menueditor.h"
#include "menutree/menutreepage.h"
#include "menutree/menutreeview.h"
#include "menutree/filterbar.h"
#include "menutree/previewview.h"
#include "menutree/problemlist.h"
#include "document/menucommands.h"
#include "ini/profile.h"
#include "records/fields.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include "scriptedmodals.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QRegularExpression>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

using namespace document;
using menutree::MenuTreePage;
using menutree::MenuTreeView;

namespace {

const QByteArray smallMenuFile =
    "[Menu1]\nMenu1Info=,,TRUE,,,,,,,,,,,,,\n"
    "SubMenu1=,,FALSE,__1-SUBMENU1__,,Application-link.gif,,,\"C:\\calc.exe\",,,,,,,\n"
    "SubMenu2=,,TRUE,__1-SUBMENU2__,,UpArrow.gif,,,\"\",,,,,,,\n"
    "SubMenu2.item1=,,FALSE,,__1-SUBMENU2-1__,UpArrow.gif,,,\"\",,,,,,,\n"
    "SubMenu2.item2=,,FALSE,,__1-SUBMENU2-2__,topic-link.gif,,,\"t.htm\",,,,,,,\n"
    "[Menu3]\nMenu3Info=,,TRUE,,,,,,,,,,,,,\n"
    "SubMenu1=,,FALSE,__3-SUBMENU1__,,System-Info-link.gif,,,\"#SystemInfo\",,,,,,,\n";

const QByteArray smallTextFile = "[Access Text]\n"
                                 "TEXT1=__MENU1_CONTENT_TITLE__,\"Learn\"\n"
                                 "TEXT2=__MENU3_CONTENT_TITLE__,\"Help\"\n"
                                 "TEXT3=__1-SUBMENU1__,\"Calculator\"\n"
                                 "TEXT4=__1-SUBMENU2__,\"Tools\"\n"
                                 "TEXT5=__1-SUBMENU2-1__,\"More tools\"\n"
                                 "TEXT6=__1-SUBMENU2-2__,\"Tool help\"\n"
                                 "TEXT7=__3-SUBMENU1__,\"About this computer\"\n";

// The small package with a third entry of Learn: the sub-menu Games with one sub-entry.
const QByteArray gamesMenuFile = QByteArray(smallMenuFile).replace(
    "[Menu3]", "SubMenu3=,,TRUE,__1-SUBMENU3__,,UpArrow.gif,,,\"\",,,,,,,\n"
               "SubMenu3.item1=,,FALSE,,__1-SUBMENU3-1__,Application-link.gif,,,\"chess.exe\",,,,,,,\n[Menu3]");
const QByteArray gamesTextFile = smallTextFile + "TEXT8=__1-SUBMENU3__,\"Games\"\nTEXT9=__1-SUBMENU3-1__,\"Chess\"\n";
// The small package with a third entry of Learn: the empty sub-menu Empty.
const QByteArray emptyMenuFile =
    QByteArray(smallMenuFile).replace("[Menu3]", "SubMenu3=,,TRUE,__1-SUBMENU3__,,UpArrow.gif,,,\"\",,,,,,,\n[Menu3]");
const QByteArray emptyTextFile = smallTextFile + "TEXT8=__1-SUBMENU3__,\"Empty\"\n";

// Games with a description for Chess.
const QByteArray describedGamesMenuFile =
    QByteArray(gamesMenuFile).replace("\"chess.exe\",,,,,,,", "\"chess.exe\",,,,__1-SUBMENU3-1-A__,,,");
const QByteArray describedGamesTextFile = gamesTextFile + "TEXT10=__1-SUBMENU3-1-A__,\"Against the computer\"\n";
// Games and a third main menu, Tips: as many main menus as the front-end takes.
const QByteArray threeMenusFile = gamesMenuFile + "[Menu2]\nMenu2Info=,,TRUE,,,,,,,,,,,,,\n"
                                                  "SubMenu1=,,FALSE,__2-SUBMENU1__,,topic-link.gif,,,\"tip.htm\",,,,,,,\n";
const QByteArray threeMenusTextFile =
    gamesTextFile + "TEXT10=__MENU2_CONTENT_TITLE__,\"Tips\"\nTEXT11=__2-SUBMENU1__,\"Tip of the day\"\n";

// The menus as the tree shows them, every node's label with its children in braces.
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

// Where a drag holds an item: its label.
QPoint labelOf(const MenuTreeView *tree, const QModelIndex &index)
{
    const QRect rect = tree->visualRect(index);
    return QPoint(rect.left() + tree->iconSize().width() + 10, rect.center().y());
}

// The image of a drag cursor: what is drawn in the resource, at the screen's pixel ratio.
QImage imageOf(const QString &resource)
{
    return artwork::svgPixmap(resource).toImage();
}

// The labels of the nodes with children that the tree shows open, in tree order.
QStringList openNodes(const QTreeView &tree, const QModelIndex &parent = QModelIndex())
{
    QStringList open;
    const QAbstractItemModel &model = *tree.model();
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        if (model.hasChildren(child) && tree.isExpanded(child))
            open << child.data().toString();
        open << openNodes(tree, child);
    }
    return open;
}

// The preview with what lies under its points set by the test (one spot holds one node), which
// counts its paintings.
class SpotPreview : public menutree::PreviewView {
public:
    using PreviewView::PreviewView;
    QRect spot;
    const CItem *spotNode = nullptr;
    int paints = 0;

protected:
    const CItem *nodeAt(const QPoint &position) const override { return spot.contains(position) ? spotNode : nullptr; }
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        PreviewView::paintEvent(event);
    }
};

} // namespace

// The MENUS page as a view of the document's menus.
class MenuTreePageTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    PackageDocument m_document;

    void writeSmallPackage(const QByteArray &menuFile, const QByteArray &textFile = smallTextFile)
    {
        const packages::PackageState &state = m_document.state();
        testing::writeFile(state.machineFilePath, menuFile);
        testing::writeFile(state.textFilePath, textFile);
        testing::writeFile(state.configFilePath, "[Global Options]\nOPTION1=__MENU3ICON__,\"U-Help-icon.png\"\n");
        for (const QString &language : packages::languageDirsCreationOrder())   // a package the check finds whole
            QDir().mkpath(state.packageDir + "/" + language);
        ini::clearProfileCache();
        m_document.load();
    }
    // The small package with everything the package check asks for: a company name, Alt keys
    // in the titles, a text colour.
    void writeSoundPackage()
    {
        writeSmallPackage(smallMenuFile, smallTextFile + "TITLE=\"Contoso\"\nTEXT8=__MENU1_ALT_KEY__,\"L\"\n"
                                                         "TEXT9=__MENU3_ALT_KEY__,\"H\"\n");
        testing::writeFile(m_document.state().configFilePath, "[OTHER]\nREGULAR_TEXT_COLOR=#000000\n");
        ini::clearProfileCache();
        m_document.load();
    }
    CItem *clearTitle(const QString &title)
    {
        CItem *item = MenuItemModel::itemAt(find(m_document.itemModel(), title));
        EntryProperties properties = item->properties();
        properties.title.clear();
        m_document.undoStack().push(new EditEntryCommand(m_document, item, properties));
        return item;
    }

private slots:
    void initTestCase()
    {
        testing::writeFile(m_dir.path() + "/program/0409/custom-text.ini", "[TEXT]\nWITHIN=Move Into\nBELOW=Move Below\n"
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
        m_document.state().setLocation(m_dir.path() + QStringLiteral("/Small"));
        writeSmallPackage(smallMenuFile);
    }

    // A drag with either button, held by the mouse as a user holds it: pressed on an item's
    // label, moved in steps onto the target, released there.
    void drags_data()
    {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("choice");   // the drop menu's, for the right button ("" dismisses it)
        QTest::addColumn<QString>("shape");    // the tree afterwards; empty: as before
        QTest::newRow("sub-entry onto a main menu becomes its first entry")
            << "Tool help" << "Help" << Qt::LeftButton << QString()
            << "Help Center{Learn{Calculator,Tools{More tools}},Help{Tool help,About this computer}}";
        QTest::newRow("main menu onto the root comes first")
            << "Help" << "Help Center" << Qt::LeftButton << QString()
            << "Help Center{Help{About this computer},Learn{Calculator,Tools{More tools,Tool help}}}";
        QTest::newRow("main menu onto a main menu goes after it")
            << "Learn" << "Help" << Qt::LeftButton << QString()
            << "Help Center{Help{About this computer},Learn{Calculator,Tools{More tools,Tool help}}}";
        QTest::newRow("plain entry onto a sub-entry goes after it, as a sub-entry")
            << "Calculator" << "More tools" << Qt::LeftButton << QString()
            << "Help Center{Learn{Tools{More tools,Calculator,Tool help}},Help{About this computer}}";
        QTest::newRow("onto itself: nothing") << "Tools" << "Tools" << Qt::LeftButton << QString() << QString();
        QTest::newRow("onto its own sub-entry: nothing") << "Tools" << "Tool help" << Qt::LeftButton << QString() << QString();
        QTest::newRow("sub-menu onto an entry of another main menu goes after it")
            << "Tools" << "About this computer" << Qt::LeftButton << QString()
            << "Help Center{Learn{Calculator},Help{About this computer,Tools{More tools,Tool help}}}";
        QTest::newRow("main menu onto an entry is refused") << "Help" << "Calculator" << Qt::LeftButton << QString()
                                                            << QString();
        QTest::newRow("right drop, into") << "Calculator" << "Tools" << Qt::RightButton << "Move Into"
                                          << "Help Center{Learn{Tools{Calculator,More tools,Tool help}},Help{About this computer}}";
        QTest::newRow("right drop, below") << "Calculator" << "Tools" << Qt::RightButton << "Move Below"
                                           << "Help Center{Learn{Tools{More tools,Tool help},Calculator},Help{About this computer}}";
        QTest::newRow("right drop menu dismissed") << "Calculator" << "Tools" << Qt::RightButton << "" << QString();
    }
    void drags()
    {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QString, choice);
        QFETCH(QString, shape);
        MenuTreePage page(m_document);
        page.resize(300, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        MenuTreeView *tree = page.tree();
        const QAbstractItemModel &model = *tree->model();
        tree->expandAll();
        const QString before = shapeOf(model);
        const QModelIndex currentBefore = tree->currentIndex();
        ScriptedModals modals;
        if (button == Qt::RightButton)
            modals.menuAnswers.push_back(choice.isEmpty() ? [](QMenu &) -> QAction * { return nullptr; }
                                                          : ScriptedModals::pick(choice));

        const QPoint from = labelOf(tree, find(model, dragged));
        const QPoint to = labelOf(tree, find(model, target));
        // Away far enough to start a drag, then on to the target in steps.
        QTest::mousePress(tree->viewport(), button, {}, from);
        QTest::mouseMove(tree->viewport(), from + QPoint(30, 0));
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(tree->viewport(), from + (to - from) * step / 4);
        QVERIFY(tree->draggedItem().isValid());
        QTest::mouseRelease(tree->viewport(), button, {}, to);
        QVERIFY(!tree->draggedItem().isValid());   // any release ends the drag
        QTest::mouseMove(tree->viewport(), from);
        QVERIFY(!tree->draggedItem().isValid());

        QCOMPARE(shapeOf(model), shape.isEmpty() ? before : shape);
        QCOMPARE(m_document.undoStack().count(), shape.isEmpty() ? 0 : 1);
        if (shape.isEmpty()) {
            // A press of the left button selects what it presses; the right button selects nothing.
            QCOMPARE(tree->currentIndex(), button == Qt::LeftButton ? find(model, dragged) : currentBefore);
        } else {
            QCOMPARE(tree->currentIndex(), find(model, dragged));   // the moved entry is selected
            m_document.undoStack().undo();
            QCOMPARE(shapeOf(model), before);
        }
        if (button == Qt::RightButton)
            QCOMPARE(modals.menus.size(), 1);
    }

    // Every node kind dragged with each button over every node: the cursor says whether the
    // drop is possible ('+') or not ('-'), targets in tree order, and the release agrees with
    // it: the left button moves the node, the right one asks where.
    void dropCursorOverEveryNode_data()
    {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("cursors");   // over Help Center, Learn, Calculator, Tools, More tools,
                                                // Tool help, Empty, Help, About this computer
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            const char *with = button == Qt::LeftButton ? ", left" : ", right";
            QTest::addRow("main menu%s", with) << "Learn" << button << "+------+-";
            QTest::addRow("application entry%s", with) << "Calculator" << button << "-+-++++++";
            QTest::addRow("sub-menu%s", with) << "Tools" << button << "-++---+++";
            QTest::addRow("empty sub-menu%s", with) << "Empty" << button << "-+++---++";
            QTest::addRow("sub-entry%s", with) << "Tool help" << button << "-++++-+++";
        }
        // Only the right button drops a system-information entry on a sub-menu.
        QTest::newRow("system information, left") << "About this computer" << Qt::LeftButton << "-++----+-";
        QTest::newRow("system information, right") << "About this computer" << Qt::RightButton << "-+++--++-";
    }
    void dropCursorOverEveryNode()
    {
        QFETCH(QString, dragged);
        QFETCH(Qt::MouseButton, button);
        writeSmallPackage(emptyMenuFile, emptyTextFile);
        MenuTreePage page(m_document);
        page.resize(300, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        MenuTreeView *tree = page.tree();
        const QAbstractItemModel &model = *tree->model();
        tree->expandAll();
        const QString before = shapeOf(model);
        ScriptedModals modals;
        QString cursors;
        for (const QString target : {"Help Center", "Learn", "Calculator", "Tools", "More tools", "Tool help", "Empty",
                                     "Help", "About this computer"}) {
            const QPoint from = labelOf(tree, find(model, dragged));
            QTest::mousePress(tree->viewport(), button, {}, from);
            QTest::mouseMove(tree->viewport(), from + QPoint(30, 0));
            QTest::mouseMove(tree->viewport(), labelOf(tree, find(model, target)));
            const bool allowed = tree->viewport()->cursor().pixmap().toImage() == imageOf(":/images/drop-allowed.svg");
            cursors += allowed ? '+' : '-';
            modals.menuAnswers.assign(1, [](QMenu &) -> QAction * { return nullptr; });   // dismissed
            const qsizetype menus = modals.menus.size();
            QTest::mouseRelease(tree->viewport(), button, {}, labelOf(tree, find(model, target)));
            const bool dropped = button == Qt::LeftButton ? m_document.undoStack().canUndo() : modals.menus.size() > menus;
            QVERIFY2(dropped == allowed, qPrintable(target));
            if (m_document.undoStack().canUndo())
                m_document.undoStack().undo();
            QCOMPARE(shapeOf(model), before);
        }
        QTEST(cursors, "cursors");
    }

    // During a drag the cursor tells whether a drop is possible; a collapsed item held still for
    // a second opens; near the bottom edge every move scrolls a line.
    void dragCursorHoverAndScrolling()
    {
        MenuTreePage page(m_document);
        page.resize(300, 120);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        MenuTreeView *tree = page.tree();
        const QAbstractItemModel &model = *tree->model();
        const QModelIndex tools = find(model, "Tools");
        tree->scrollTo(tools);
        QVERIFY(!tree->isExpanded(tools));

        QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, labelOf(tree, find(model, "Calculator")));
        QTest::mouseMove(tree->viewport(), labelOf(tree, tools) + QPoint(0, -2));
        QTest::mouseMove(tree->viewport(), labelOf(tree, tools));
        QCOMPARE(tree->viewport()->cursor().pixmap().toImage(), imageOf(":/images/drop-allowed.svg"));
        QCOMPARE(tree->viewport()->cursor().hotSpot(), QPoint(0, 0));   // the arrow's tip
        QTRY_VERIFY_WITH_TIMEOUT(tree->isExpanded(tools), 3000);

        QTest::mouseMove(tree->viewport(), labelOf(tree, find(model, "Help Center")));
        QCOMPARE(tree->viewport()->cursor().pixmap().toImage(), imageOf(":/images/drop-refused.svg"));

        QScrollBar *scroll = tree->verticalScrollBar();
        scroll->setValue(0);
        const QPoint nearBottom(40, tree->viewport()->height() - 3);
        QVERIFY(scroll->maximum() >= 2);
        QTest::mouseMove(tree->viewport(), nearBottom);
        QCOMPARE(scroll->value(), 1);
        QTest::mouseMove(tree->viewport(), nearBottom + QPoint(1, 0));
        QCOMPARE(scroll->value(), 2);
        QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, nearBottom);
        QVERIFY(tree->viewport()->cursor().shape() == Qt::ArrowCursor);

        // Escape ends a drag without a drop, and so does a release the tree never saw.
        const QPoint calculator = labelOf(tree, find(model, "Calculator"));
        const int steps = m_document.undoStack().count();
        for (bool escape : {true, false}) {
            QTest::mousePress(tree->viewport(), Qt::RightButton, {}, calculator);
            QTest::mouseMove(tree->viewport(), calculator + QPoint(0, 30));
            QVERIFY(tree->draggedItem().isValid());
            if (escape) {
                QTest::keyClick(tree, Qt::Key_Escape);
            } else {
                QMouseEvent moved(QEvent::MouseMove, QPointF(calculator), tree->viewport()->mapToGlobal(QPointF(calculator)),
                                  Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(tree->viewport(), &moved);
            }
            QVERIFY2(!tree->draggedItem().isValid(), escape ? "escape" : "missed release");
            QTest::mouseRelease(tree->viewport(), Qt::RightButton, {}, calculator + QPoint(0, 30));
        }
        QCOMPARE(m_document.undoStack().count(), steps);
    }

    // A drag ends with Escape or with the first button to come up, which decides: the left one
    // drops at once, the right one asks where. A second button pressed meanwhile selects nothing
    // and brings the right button's rule in for the cursor. A button still held after the end
    // changes nothing, wherever it goes and comes up.
    void endingADrag_data()
    {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("leftShape");    // after a left drop; empty: as before, the drop refused
        QTest::addColumn<QString>("choice");       // in the menu of a right drop
        QTest::addColumn<QString>("rightShape");   // after it
        const QString helpFirst = "Help Center{Help{About this computer},Learn{Calculator,Tools{More tools,Tool help}}}";
        const QString toolsInHelp = "Help Center{Learn{Calculator},Help{About this computer,Tools{More tools,Tool help}}}";
        QTest::newRow("main menu") << "Help" << "Help Center" << helpFirst << "Move Into" << helpFirst;
        QTest::newRow("menu entry")
            << "Calculator" << "Tools" << "Help Center{Learn{Tools{Calculator,More tools,Tool help}},Help{About this computer}}"
            << "Move Below" << "Help Center{Learn{Tools{More tools,Tool help},Calculator},Help{About this computer}}";
        QTest::newRow("sub-menu") << "Tools" << "About this computer" << toolsInHelp << "Move Below" << toolsInHelp;
        QTest::newRow("sub-entry")
            << "Tool help" << "Tools" << "Help Center{Learn{Calculator,Tools{Tool help,More tools}},Help{About this computer}}"
            << "Move Below" << "Help Center{Learn{Calculator,Tools{More tools},Tool help},Help{About this computer}}";
        QTest::newRow("system information, which only the right button drops on a sub-menu")
            << "About this computer" << "Tools" << QString() << "Move Below"
            << "Help Center{Learn{Calculator,Tools{More tools,Tool help},About this computer},Help}";
    }
    void endingADrag()
    {
        QFETCH(QString, dragged);
        QFETCH(QString, target);
        QFETCH(QString, leftShape);
        QFETCH(QString, choice);
        QFETCH(QString, rightShape);
        MenuTreePage page(m_document);
        page.resize(300, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        MenuTreeView *tree = page.tree();
        const QAbstractItemModel &model = *tree->model();
        const auto cursorAllows = [tree] {
            return tree->viewport()->cursor().pixmap().toImage() == imageOf(":/images/drop-allowed.svg");
        };
        for (const Qt::MouseButton first : {Qt::LeftButton, Qt::RightButton}) {
            const Qt::MouseButton second = first == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
            for (const Qt::MouseButton ending : {Qt::NoButton, first, second}) {   // none: Escape
                const QByteArray step = "drag with " + QByteArray::number(first) + ", ended by " + QByteArray::number(ending);
                writeSmallPackage(smallMenuFile);
                tree->expandAll();
                const QString before = shapeOf(model);
                ScriptedModals modals;
                if (ending == Qt::RightButton)
                    modals.menuAnswers.push_back(ScriptedModals::pick(choice));
                const QPoint from = labelOf(tree, find(model, dragged));
                const QPoint to = labelOf(tree, find(model, target));
                QTest::mousePress(tree->viewport(), first, {}, from);
                QTest::mouseMove(tree->viewport(), from + QPoint(30, 0));
                QTest::mouseMove(tree->viewport(), to);
                QVERIFY2(cursorAllows() == (first == Qt::RightButton || !leftShape.isEmpty()), step);
                const QModelIndex current = tree->currentIndex();
                if (ending == Qt::NoButton) {
                    QTest::keyClick(tree, Qt::Key_Escape);
                } else {
                    QTest::mousePress(tree->viewport(), second, {}, to);
                    QVERIFY2(tree->currentIndex() == current && cursorAllows(), step);
                    QTest::mouseRelease(tree->viewport(), ending, {}, to);
                }
                const QString expected = ending == Qt::LeftButton ? leftShape : ending == Qt::RightButton ? rightShape : "";
                const QString ended = shapeOf(model);
                QVERIFY2(ended == (expected.isEmpty() ? before : expected), step);
                const int menusShown = ending == Qt::RightButton ? 1 : 0;
                QVERIFY2(modals.menus.size() == menusShown, step);
                const QModelIndex currentAfterEnd = tree->currentIndex();
                const int steps = m_document.undoStack().count();

                for (QModelIndex index = model.index(0, 0); index.isValid(); index = tree->indexBelow(index))
                    QTest::mouseMove(tree->viewport(), labelOf(tree, index));
                QVERIFY2(tree->viewport()->cursor().shape() == Qt::ArrowCursor, step);
                QTest::mouseRelease(tree->viewport(), ending == first ? second : first, {}, from);
                QVERIFY2(shapeOf(model) == ended && tree->currentIndex() == currentAfterEnd, step);
                QVERIFY2(m_document.undoStack().count() == steps && modals.menus.size() == menusShown, step);
            }
        }
    }

    // Delete makes the next sibling current, else the one before, else the parent. Undo brings
    // the node back open or closed as it was, and so everything below it.
    void deleteAndUndo_data()
    {
        QTest::addColumn<QString>("deleted");
        QTest::addColumn<QString>("current");    // afterwards
        QTest::addColumn<QString>("collapsed");  // before; everything else is open
        QTest::newRow("main menu before another") << "Learn" << "Help" << "Games";
        QTest::newRow("last main menu") << "Help" << "Learn" << "Games";
        QTest::newRow("first menu entry") << "Calculator" << "Tools" << "Games";
        QTest::newRow("sub-menu between two entries") << "Tools" << "Games" << "Games";
        QTest::newRow("closed sub-menu, the last entry") << "Games" << "Tools" << "Games";
        QTest::newRow("only menu entry") << "About this computer" << "Help" << "Games";
        QTest::newRow("last sub-entry") << "Tool help" << "More tools" << "Games";
        QTest::newRow("only sub-entry") << "Chess" << "Games" << "Tools";
    }
    void deleteAndUndo()
    {
        QFETCH(QString, deleted);
        QFETCH(QString, current);
        QFETCH(QString, collapsed);
        writeSmallPackage(gamesMenuFile, gamesTextFile);
        MenuTreePage page(m_document);
        QAction *undo = m_document.undoStack().createUndoAction(&page);
        undo->setShortcut(QKeySequence::Undo);
        page.addAction(undo);
        page.resize(300, 400);
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        MenuTreeView *tree = page.tree();
        const QAbstractItemModel &model = *tree->model();
        tree->expandAll();
        tree->collapse(find(model, collapsed));
        const QStringList open = openNodes(*tree);
        ScriptedModals modals;   // a question is answered OK

        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, labelOf(tree, find(model, deleted)));
        QTest::keyClick(tree, Qt::Key_Delete);
        QVERIFY(!find(model, deleted).isValid());
        QCOMPARE(tree->currentIndex().data().toString(), current);
        QCOMPARE(tree->selectionModel()->selectedIndexes(), QModelIndexList{tree->currentIndex()});

        QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(tree->currentIndex(), find(model, deleted));
        QCOMPARE(openNodes(*tree), open);
    }

    // A sub-menu copied with Ctrl+C outlives its package: pasted with Ctrl+V into another package
    // opened into the same document, it is in that package's files once built.
    void copiedSubMenuPastesIntoAnotherPackage()
    {
        writeSmallPackage(describedGamesMenuFile, describedGamesTextFile);
        MenuTreePage page(m_document);
        page.show();
        MenuTreeView *tree = page.tree();
        tree->expandAll();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, labelOf(tree, find(*tree->model(), "Games")));
        QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
        m_document.state().setLocation(m_dir.path() + QStringLiteral("/Other"));
        writeSoundPackage();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, labelOf(tree, find(*tree->model(), "Help")));
        QTest::keyClick(tree, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(shapeOf(*tree->model()), "Help Center{Learn{Calculator,Tools{More tools,Tool help}},Help{Games{Chess},About this computer}}");
        const packages::BuildResult built = m_document.build();
        QVERIFY2(built.succeeded(), qPrintable(built.failures.join(", ")));

        // The menu file's lines name their texts by key (the sub-menu's, then its sub-entry's);
        // the text file holds them.
        const auto match = [](const QString &pattern, const QString &path) {
            return QRegularExpression(pattern, QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption)
                .match(QString::fromLatin1(testing::readFile(path)));
        };
        const QRegularExpressionMatch lines =
            match(R"(^(submenu\d+)=(.*)\r?\n\1\.item1=(.*"chess\.exe".*)$)", m_document.state().machineFilePath);
        const auto text = [&](const QString &key) {
            return match("^TEXT\\d+=" + QRegularExpression::escape(key) + ",\"(.*)\"", m_document.state().textFilePath).captured(1);
        };
        const QStringList chess = records::splitFields(lines.captured(3));
        QCOMPARE(text(records::splitFields(lines.captured(2)).value(3)), "Games");
        QCOMPARE(text(chess.value(4)), "Chess");
        QCOMPARE(text(chess.value(12)), "Against the computer");
    }

    // What Ctrl+V meets on the clipboard: what Ctrl+C put there under the tool's type or as text,
    // or anything else; what is not a node text this version reads, or would not fit, changes nothing.
    void pasteTakesOnlyNodeTexts_data()
    {
        QTest::addColumn<QString>("format");     // what is put on the clipboard
        QTest::addColumn<QString>("copied");     // with Ctrl+C, its text then taken in that format; none: "words"
        QTest::addColumn<bool>("later");         // the text's form made later than this version's
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("shape");      // afterwards; empty: refused
        const QString own = menutree::MenuEditor::NodeMimeType;
        const QString pasted = "Help Center{Learn{Calculator,Tools{More tools,Tool help},Games{Chess}},"
                               "Tips{Tip of the day},Help{Games{Chess},About this computer}}";
        QTest::newRow("own type") << own << "Games" << false << "Help" << pasted;
        QTest::newRow("plain text") << "text/plain" << "Games" << false << "Help" << pasted;
        QTest::newRow("words") << "text/plain" << "" << false << "Help" << QString();
        QTest::newRow("a later form") << own << "Games" << true << "Help" << QString();
        QTest::newRow("a fourth main menu") << own << "Tips" << false << "Help Center" << QString();
    }
    void pasteTakesOnlyNodeTexts()
    {
        QFETCH(QString, format);
        QFETCH(QString, copied);
        QFETCH(bool, later);
        QFETCH(QString, target);
        QFETCH(QString, shape);
        writeSmallPackage(threeMenusFile, threeMenusTextFile);
        MenuTreePage page(m_document);
        page.show();
        MenuTreeView *tree = page.tree();
        const QAbstractItemModel &model = *tree->model();
        tree->expandAll();
        const QString before = shapeOf(model);
        QByteArray text = "words";
        if (!copied.isEmpty()) {
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, labelOf(tree, find(model, copied)));
            QTest::keyClick(tree, Qt::Key_C, Qt::ControlModifier);
            QVERIFY(page.canPasteOnCurrent());   // read now, as the window's Paste is, and replaced below
            text = QGuiApplication::clipboard()->mimeData()->data(format);
        }
        if (later)   // the form's version: its first number
            text = QString::fromUtf8(text).replace(QRegularExpression("^(\\D*)\\d+"), "\\1999").toUtf8();
        auto *data = new QMimeData;
        data->setData(format, text);
        QGuiApplication::clipboard()->setMimeData(data);

        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, labelOf(tree, find(model, target)));
        const bool tooMany = copied == "Tips";
        ScriptedModals modals;
        if (tooMany)
            modals.messageAnswers.push_back(ui::MessageButton::Ok);
        QCOMPARE(page.canPasteOnCurrent(), !shape.isEmpty() || tooMany);
        QTest::keyClick(tree, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(shapeOf(model), shape.isEmpty() ? before : shape);
        QCOMPARE(m_document.undoStack().count(), shape.isEmpty() ? 0 : 1);
        QCOMPARE(modals.messages.size(), tooMany ? 1 : 0);
    }

    void clickedSubMenuShowsItsSelectedImage()
    {
        MenuTreePage page(m_document);
        page.resize(300, 300);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTreeView *tree = page.tree();
        const QAbstractItemModel &model = *tree->model();
        const QModelIndex learn = model.index(0, 0, model.index(0, 0));
        const QModelIndex tools = model.index(1, 0, learn);
        QCOMPARE(tools.data().toString(), QStringLiteral("Tools"));
        tree->expand(learn);

        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(tools).center());
        QCOMPARE(m_document.currentItem(), m_document.menus().mainMenus().at(0)->entries().at(1));
        const artwork::ItemTypeImages images;
        const QIcon icon = tools.data(Qt::DecorationRole).value<QIcon>();
        for (qreal ratio : {1.0, 2.0}) {   // sharp on a high-density screen too
            QVERIFY(images.pixmap(artwork::SubMenuImage, ratio).toImage() != images.pixmap(artwork::SubMenuSelectedImage, ratio).toImage());
            const QPixmap selected = icon.pixmap(QSize(16, 16), ratio, QIcon::Selected);
            QCOMPARE(selected.devicePixelRatio(), ratio);
            QCOMPARE(selected.toImage(), images.pixmap(artwork::SubMenuSelectedImage, ratio).toImage());
            QCOMPARE(icon.pixmap(QSize(16, 16), ratio, QIcon::Normal).toImage(), images.pixmap(artwork::SubMenuImage, ratio).toImage());
        }
    }

    // Another package read into the document shows at once, the root current and open.
    void readingAgainShowsTheRootOpen()
    {
        MenuTreePage page(m_document);
        QVERIFY(page.tree()->isExpanded(page.treeIndexOf(nullptr)));
        page.tree()->collapse(page.treeIndexOf(nullptr));
        writeSmallPackage("[Menu3]\nMenu3Info=,,TRUE\n");
        const QModelIndex root = page.treeIndexOf(nullptr);
        QVERIFY(page.tree()->isExpanded(root));
        QCOMPARE(page.tree()->currentIndex(), root);
        QCOMPARE(page.tree()->model()->rowCount(root), 1);
        QCOMPARE(page.tree()->model()->index(0, 0, root).data().toString(), QStringLiteral("Help"));
    }

    // An entry's title cleared, the undo, the redo: the problems list and the node's mark follow.
    void problemsFollowEditUndoAndRedo()
    {
        writeSoundPackage();
        MenuTreePage page(m_document);
        page.resize(300, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        MenuTreeView *tree = page.tree();
        tree->expandAll();
        const QPersistentModelIndex calculator = find(*tree->model(), "Calculator");
        QVERIFY(!page.problems()->isVisibleTo(&page));
        // The icon's part of the row, where the mark goes (the label changes with the title).
        const QRect row = tree->visualRect(calculator);
        const QRect icon(row.topLeft(), QSize(tree->iconSize().width() + 2, row.height()));
        const QImage unmarked = tree->viewport()->grab(icon).toImage();

        clearTitle("Calculator");
        QTRY_VERIFY(page.problems()->isVisibleTo(&page));
        QCOMPARE(page.problems()->lines()->count(), 1);
        QCOMPARE(page.problems()->caption()->text(), "Problems (1)");
        QCOMPARE(page.problems()->lines()->item(0)->toolTip(), "Type a title.");
        QVERIFY(tree->problemMarkAt(calculator));
        QVERIFY(!tree->problemMarkAt(calculator.parent()));
        QTRY_VERIFY(tree->viewport()->grab(icon).toImage() != unmarked);
        QHelpEvent help(QEvent::ToolTip, row.center(), tree->viewport()->mapToGlobal(row.center()));
        QApplication::sendEvent(tree->viewport(), &help);
        QTRY_COMPARE(QToolTip::text(), "The entry has no title.");

        m_document.undoStack().undo();
        QTRY_VERIFY(!page.problems()->isVisibleTo(&page));
        QVERIFY(!tree->problemMarkAt(calculator));
        m_document.undoStack().redo();
        QTRY_VERIFY(page.problems()->isVisibleTo(&page));
        QVERIFY(tree->problemMarkAt(calculator));
    }

    // Tab goes from the tree to the problems list; a line chosen there makes its node current.
    void choosingAProblemShowsItsNode_data()
    {
        QTest::addColumn<bool>("withReturn");
        QTest::newRow("Return") << true;
        QTest::newRow("double click") << false;
    }
    void choosingAProblemShowsItsNode()
    {
        QFETCH(bool, withReturn);
        writeSoundPackage();
        const CItem *toolHelp = clearTitle("Tool help");
        MenuTreePage page(m_document);
        page.show();
        page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&page));
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
        QCOMPARE(m_document.currentItem(), toolHelp);
        QCOMPARE(QApplication::focusWidget(), page.tree());
    }

    // The problem mended before the current line's: the current line stays on its problem.
    void currentProblemStaysCurrent()
    {
        writeSoundPackage();
        MenuTreePage page(m_document);
        clearTitle("Tool help");
        const CItem *moreTools = clearTitle("More tools");
        clearTitle("Calculator");
        QTRY_COMPARE(page.problems()->lines()->count(), 3);
        page.problems()->lines()->setCurrentRow(1);
        m_document.undoStack().undo();
        QTRY_COMPARE(page.problems()->lines()->count(), 2);
        QCOMPARE(page.problems()->findings().at(page.problems()->lines()->currentRow()).item, moreTools);
    }

    // Beside the tree (its filter and problems with it) the preview, which alone may be closed:
    // a click in the tree shows that node there; the arrow keys in the preview make another node
    // current, in the tree as well.
    void previewKeysStepThroughTheMenus_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("keys");   // Left, Right, Up, Down
        QTest::addColumn<QString>("current");
        QTest::newRow("from the root, the main menu shown") << "Help Center" << "D" << "Learn";
        QTest::newRow("right, to the next main menu") << "Calculator" << "R" << "Help";
        QTest::newRow("right stops at the last main menu") << "About this computer" << "RR" << "Help";
        QTest::newRow("left, from a sub-entry") << "Tool help" << "L" << "Learn";
        QTest::newRow("down through entries and sub-entries") << "Learn" << "DDDD" << "Tool help";
        QTest::newRow("down stops at the last") << "Tool help" << "D" << "Tool help";
        QTest::newRow("up, to the main menu and no further") << "Calculator" << "UU" << "Learn";
    }
    void previewKeysStepThroughTheMenus()
    {
        QFETCH(QString, start);
        QFETCH(QString, keys);
        QFETCH(QString, current);
        MenuTreePage page(m_document);
        page.resize(600, 400);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QCOMPARE(page.splitter()->widget(1), page.preview());
        QVERIFY(page.splitter()->widget(0)->isAncestorOf(page.problems()) && !page.splitter()->isCollapsible(0));
        MenuTreeView *tree = page.tree();
        tree->expandAll();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, labelOf(tree, find(*tree->model(), start)));
        QCOMPARE(page.preview()->preview().pointed(), m_document.currentItem());

        const QMap<QChar, Qt::Key> arrows{{u'L', Qt::Key_Left}, {u'R', Qt::Key_Right}, {u'U', Qt::Key_Up}, {u'D', Qt::Key_Down}};
        for (const QChar key : keys)
            QTest::keyClick(page.preview(), arrows.value(key));
        QCOMPARE(tree->currentIndex().data().toString(), current);
        QCOMPARE(page.preview()->preview().pointed(), m_document.currentItem());
    }

    // The mouse over a node shows it until the mouse goes elsewhere; a click makes it current,
    // in the tree as well. Nothing under the mouse changes nothing.
    void previewPointsAndClicks()
    {
        MenuTreePage page(m_document);
        SpotPreview view(m_document);
        view.resize(400, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const CItem *tools = MenuItemModel::itemAt(find(m_document.itemModel(), "Tools"));
        view.spot = QRect(10, 10, 50, 20);
        view.spotNode = tools;
        const QPoint onTools(30, 20), onNothing(200, 200);

        QTest::mouseMove(&view, onTools);
        QCOMPARE(view.preview().pointed(), tools);
        QTest::mouseMove(&view, onNothing);
        QCOMPARE(view.preview().pointed(), nullptr);
        QTest::mouseMove(&view, onTools);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&view, &leave);
        QCOMPARE(view.preview().pointed(), nullptr);

        QTest::mouseClick(&view, Qt::LeftButton, {}, onNothing);
        QCOMPARE(m_document.currentItem(), nullptr);
        QTest::mouseClick(&view, Qt::RightButton, {}, onTools);
        QCOMPARE(m_document.currentItem(), nullptr);
        QTest::mouseClick(&view, Qt::LeftButton, {}, onTools);
        QCOMPARE(m_document.currentItem(), tools);
        QCOMPARE(page.tree()->currentIndex().data().toString(), QString("Tools"));
        QCOMPARE(view.preview().pointed(), tools);
    }

    void previewRepaintsAfterEveryChange_data()
    {
        QTest::addColumn<QString>("change");
        for (const char *change : {"edit", "undo", "redo", "reading", "company name", "settings", "current node"})
            QTest::newRow(change) << change;
    }
    void previewRepaintsAfterEveryChange()
    {
        QFETCH(QString, change);
        SpotPreview view(m_document);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QUndoStack &steps = m_document.undoStack();
        if (change == "undo" || change == "redo")
            clearTitle("Tools");
        if (change == "redo")
            steps.undo();
        QCoreApplication::processEvents();
        const int before = view.paints;
        if (change == "edit")
            clearTitle("Tools");
        else if (change == "undo" || change == "redo")
            change == "undo" ? steps.undo() : steps.redo();
        else if (change == "reading")
            m_document.load();
        else if (change == "company name")
            m_document.setCompanyName("Fabrikam");
        else if (change == "settings")
            m_document.setSettings(m_document.settings());
        else
            m_document.setCurrentItem(MenuItemModel::itemAt(find(m_document.itemModel(), "Help")));
        QTRY_VERIFY(view.paints > before);
        QCOMPARE(view.preview().pointed(), m_document.currentItem());
    }

    // The preview is as large as the widget allows in its own aspect, centred; the rest is a
    // neutral colour.
    void previewKeepsItsAspectCentred_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("wide") << QSize(400, 100);
        QTest::newRow("tall") << QSize(200, 400);
    }
    void previewKeepsItsAspectCentred()
    {
        QFETCH(QSize, size);
        menutree::PreviewView view(m_document);
        view.resize(size);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        const QRect target = view.previewRect();
        QCOMPARE(target.size(), view.preview().sizeForWidth(target.width()));
        QVERIFY(view.rect().contains(target));
        QVERIFY(target.width() == size.width() || qAbs(target.height() - size.height()) <= 2);
        QVERIFY((target.center() - view.rect().center()).manhattanLength() <= 2);
        QCOMPARE(view.grab().toImage().pixel(0, 0), view.palette().color(QPalette::Mid).rgb());
    }
};
KAVO_TEST(MenuTreePageTest)
#include "test_menutreepage.moc"
