#include "installedworld.h"
#include "scriptedmodals.h"
#include "app/maindialog.h"
#include "records/fields.h"
#include "document/packagedocument.h"
#include "menutree/menutreepage.h"
#include "menutree/menutreeview.h"
#include "ini/profile.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>

using app::MainDialog;
using ui::MessageButton;
using testing::readFile;

namespace {

// The tree in one line: every node's label, children in braces.
QString treeOf(const QAbstractItemModel *model, const QModelIndex &index = QModelIndex())
{
    QStringList children;
    for (int row = 0; row < model->rowCount(index); ++row) {
        const QModelIndex child = model->index(row, 0, index);
        const QString below = treeOf(model, child);
        children << child.data().toString() + (below.isEmpty() ? QString() : "{" + below + "}");
    }
    return children.join(',');
}

// The node with this label, searched through the whole tree.
QModelIndex find(const QAbstractItemModel *model, const QString &label)
{
    const QModelIndexList found = model->match(model->index(0, 0), Qt::DisplayRole, label, 1,
                                               Qt::MatchExactly | Qt::MatchRecursive);
    return found.value(0);
}

// The user fills a property dialog in with the keyboard and presses Return: each field is
// reached with Tab from the first, typed over, and a type is chosen with the arrow keys.
std::function<int(QDialog &)> typeInto(const QStringList &fields, int typeSteps = 0)
{
    return [fields, typeSteps](QDialog &dialog) {
        dialog.show();
        if (auto *types = dialog.findChild<QComboBox *>("typeList")) {
            types->setFocus();
            for (int step = 0; step < typeSteps; ++step)
                QTest::keyClick(types, Qt::Key_Down);
        }
        const char *names[] = {"title", "altKey", "location", "description"};
        for (int field = 0; field < fields.size(); ++field) {
            QWidget *edit = dialog.findChild<QWidget *>(names[field]);
            if (!edit || fields[field].isNull())
                continue;
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, fields[field]);
        }
        QTest::keyClick(dialog.findChild<QLineEdit *>("title"), Qt::Key_Return);
        return dialog.result();
    };
}

} // namespace

// Editing the menus as a user does, from the keyboard and the mouse, then Save As and a new start.
class MenuEditingTest : public QObject {
    Q_OBJECT

    MainDialog *m_dialog = nullptr;
    menutree::MenuTreeView *m_tree = nullptr;

    void select(const QString &label)
    {
        const QModelIndex index = find(m_tree->model(), label);
        QVERIFY2(index.isValid(), qPrintable(label));
        m_tree->scrollTo(index);
        QTest::mouseClick(m_tree->viewport(), Qt::LeftButton, {}, m_tree->visualRect(index).center());
        QCOMPARE(m_tree->currentIndex(), index);
    }

    // A right click on a node's label, through the window as the desktop delivers it.
    void rightClick(const QString &label)
    {
        const QModelIndex index = find(m_tree->model(), label);
        m_tree->scrollTo(index);
        const QRect rect = m_tree->visualRect(index);
        const QPoint onLabel(rect.left() + m_tree->iconSize().width() + 8, rect.center().y());
        QTest::mouseClick(m_dialog->windowHandle(), Qt::RightButton, {}, m_tree->viewport()->mapTo(m_dialog, onLabel));
    }

private slots:
    void editSaveAsAndReopen()
    {
        InstalledWorld world;
        ScriptedModals modals;
        QString salesDir;
        QString editedTree;
        {
            MainDialog dialog;
            m_dialog = &dialog;
            dialog.initialize();
            dialog.show();
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTabBar *tabs = dialog.findChild<QTabBar *>();
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
            m_tree = dialog.findChild<menutree::MenuTreeView *>("menuTree");
            QVERIFY(m_tree->isVisible());
            const QString sample = treeOf(m_tree->model());

            // Three main menus are the most: Help goes first, through its context menu.
            modals.menuAnswers.push_back(ScriptedModals::pick("Delete"));
            modals.messageAnswers.push_back(MessageButton::Ok);
            rightClick("Help");
            QCOMPARE(modals.menus.last(), (QStringList{"Prope&rties...", "&New Menu Entry...", "&Delete"}));
            QCOMPARE(modals.messages.last().text, QString("This deletes the menu and everything in it. Do you want to continue?"));
            QVERIFY(!find(m_tree->model(), "Help").isValid());

            // A right click beside a label shows nothing.
            const QRect learn = m_tree->visualRect(find(m_tree->model(), "Learn"));
            QTest::mouseClick(dialog.windowHandle(), Qt::RightButton, {},
                              m_tree->viewport()->mapTo(&dialog, QPoint(m_tree->viewport()->width() - 4, learn.center().y())));
            QCOMPARE(modals.menus.size(), 1);

            // A new main menu from the root's context menu, then its entries.
            modals.menuAnswers.push_back(ScriptedModals::pick("New Main Menu..."));
            modals.dialogAnswers.push_back(typeInto({"Support", "u"}));
            rightClick("Help Center");
            modals.menuAnswers.push_back(ScriptedModals::pick("New Menu Entry..."));
            modals.dialogAnswers.push_back(typeInto({"Web help", QString(), "https://help.example", "Opens the help site"}, 2));
            rightClick("Support");
            modals.menuAnswers.push_back(ScriptedModals::pick("New Menu Entry..."));
            modals.dialogAnswers.push_back(typeInto({"Tools"}, 3));
            select("Support");
            QTest::keyClick(m_tree, Qt::Key_Menu);
            for (const char *title : {"Calculator", "Notes"}) {
                modals.menuAnswers.push_back(ScriptedModals::pick("New Sub-entry..."));
                modals.dialogAnswers.push_back(typeInto({title, QString(), QString(title).toLower() + ".exe"}));
                select("Tools");
                QTest::keyClick(m_tree, Qt::Key_F10, Qt::ShiftModifier);
            }

            // Another entry deleted with the Delete key: a plain entry goes without a question.
            select("Display settings");
            QTest::keyClick(m_tree, Qt::Key_Delete);

            // A sub-menu made an application loses its sub-entries after a warning; Ctrl+Z brings them back.
            const int questions = modals.messages.size();
            select("Accessories");
            QTest::keyClick(m_tree, Qt::Key_Return);   // a sub-menu opens or closes
            QVERIFY(m_tree->isExpanded(find(m_tree->model(), "Accessories")));
            modals.dialogAnswers.push_back([](QDialog &properties) {
                properties.show();
                auto *types = properties.findChild<QComboBox *>("typeList");
                types->setFocus();
                QTest::keyClick(types, Qt::Key_Home);   // the application type
                QTest::keyClick(properties.findChild<QLineEdit *>("title"), Qt::Key_Return);
                return properties.result();
            });
            modals.messageAnswers.push_back(MessageButton::Ok);
            QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, {},
                               m_tree->visualRect(find(m_tree->model(), "Accessories")).center());
            QCOMPARE(modals.messages.size(), questions + 1);
            QCOMPARE(modals.messages.last().caption, QString("Warning"));
            QVERIFY(!find(m_tree->model(), "Text editor").isValid());
            QCOMPARE(dialog.findChild<QMenuBar *>()->actions().at(1)->menu()->actions().at(0)->text(), QString("&Undo Entry Change"));
            // The window is active again once the dialogs are gone, as the desktop makes it.
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::keyClick(m_tree, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(find(m_tree->model(), "Text editor").parent().data().toString(), QString("Accessories"));
            QCOMPARE(m_tree->currentIndex(), find(m_tree->model(), "Accessories"));

            editedTree = treeOf(m_tree->model());
            QCOMPARE(editedTree, "Help Center{Learn{Take the tour,Getting started,Keyboard shortcuts,Online tutorials,"
                                 "Tips and tricks},Configure{Back up your files,Accessories{Calculator,Text editor,Drawing},"
                                 "Printer setup,Network connections},Support{Web help,Tools{Calculator,Notes}}}");
            QVERIFY(sample != editedTree);

            modals.fileAnswers.push_back(world.packagesDir() + "/Untitled1/Sales");
            QTest::keyClick(&dialog, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
            salesDir = world.packagesDir() + "/Sales";
            QCOMPARE(dialog.document().state().packageDir, salesDir);
            QVERIFY(!dialog.isModified());
            dialog.close();
        }

        // The menu file, the texts and the looks as the front-end reads them.
        const QString menus = salesDir + "/machine-specifics.csv";
        const auto line = [&](const char *section, const char *key) {
            return ini::readProfileString(menus, section, key);
        };
        QCOMPARE(line("Menu3", "Menu3Info"), QString(",,TRUE,,,,,,,,,,,,,"));
        QCOMPARE(line("Menu3", "SubMenu1"),
                 QString(",,FALSE,__3-SUBMENU1__,,Internet-link.gif,,,\"https://help.example\",,,,__3-SUBMENU1-A__,,,"));
        QCOMPARE(line("Menu3", "SubMenu2"), QString(",,TRUE,__3-SUBMENU2__,,UpArrow.gif,,,\"\",,,,,,,"));
        QCOMPARE(line("Menu3", "SubMenu2.item2"),
                 QString(",,FALSE,,__3-SUBMENU2-2__,Application-link.gif,,,\"notes.exe\",,,,,,,"));
        QCOMPARE(records::splitFields(line("Menu2", "SubMenu2")).value(3), QString("__2-SUBMENU2__"));   // Accessories moved up
        QCOMPARE(line("Menu2", "SubMenu2.item3").isEmpty(), false);
        QVERIFY(line("Menu2", "SubMenu5").isEmpty());
        QVERIFY(!readFile(menus).contains("[Menu4]"));

        const QString texts = salesDir + "/0409/access-text.ini";
        records::ConfigRecord record(texts);
        record.loadTexts();
        QCOMPARE(record.getValue("__3-SUBMENU1__"), QString("Web help"));
        QCOMPARE(record.getValue("__3-SUBMENU1-A__"), QString("Opens the help site"));
        QCOMPARE(record.getValue("__3-SUBMENU2-1__"), QString("Calculator"));
        QCOMPARE(record.getValue("__MENU3_CONTENT_TITLE__"), QString("Support"));
        QCOMPARE(record.getValue("__MENU3_TITLE__"), QString("S<u>u</u>pport"));
        QCOMPARE(record.getValue("__MENU3_ALT_KEY__"), QString("u"));
        QCOMPARE(record.getValue("__2-SUBMENU2__"), QString("Accessories"));
        records::ConfigRecord looks(salesDir + "/access-config.ini");
        looks.loadOptions();
        QCOMPARE(looks.getValue("__MENU3ICON__"), QString("U-Stay-Current-icon.png"));   // the free category
        QCOMPARE(looks.getValue("__MENU3_COLOR__"), QString("#339999"));

        MainDialog next;
        next.initialize();
        QCOMPARE(next.document().state().packageDir, salesDir);
        QCOMPARE(treeOf(next.findChild<menutree::MenuTreeView *>("menuTree")->model()), editedTree);
    }

    // Moving with the mouse and the keyboard, and a copy pasted elsewhere, then Save As and a new
    // start: the files hold the moved tree, and a moved main menu keeps its own tab description.
    void moveCopyPasteSaveAsAndReopen()
    {
        InstalledWorld world;
        ScriptedModals modals;
        QString movedDir;
        QString movedTree;
        {
            MainDialog dialog;
            m_dialog = &dialog;
            dialog.initialize();
            dialog.show();
            dialog.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTabBar *tabs = dialog.findChild<QTabBar *>();
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
            m_tree = dialog.findChild<menutree::MenuTreeView *>("menuTree");
            const QAbstractItemModel *model = m_tree->model();

            const auto drag = [&](const QString &from, const QString &to) {
                m_tree->scrollTo(find(model, from));
                const QPoint start = m_tree->visualRect(find(model, from)).topLeft() + QPoint(m_tree->iconSize().width() + 8, 8);
                const QPoint end = m_tree->visualRect(find(model, to)).topLeft() + QPoint(m_tree->iconSize().width() + 8, 8);
                QTest::mousePress(m_tree->viewport(), Qt::LeftButton, {}, start);
                QTest::mouseMove(m_tree->viewport(), start + QPoint(0, 12));
                QTest::mouseMove(m_tree->viewport(), end);
                QTest::mouseRelease(m_tree->viewport(), Qt::LeftButton, {}, end);
            };
            drag("Help", "Help Center");           // the last main menu to the front
            m_tree->expandAll();
            drag("Calculator", "Learn");           // a sub-entry becomes Learn's first entry
            // Edited before the save, it keeps its texts under keys of its own.
            modals.dialogAnswers.push_back(typeInto({QString(), QString(), QString(), "Adds and multiplies"}));
            QTest::mouseDClick(m_tree->viewport(), Qt::LeftButton, {},
                               m_tree->visualRect(find(model, "Calculator")).center());
            select("Getting started");
            QTest::keyClick(m_tree, Qt::Key_Down, Qt::AltModifier);
            // Paste is offered for a node that fits the current one, on this page.
            QAction *paste = nullptr;
            for (QAction *action : dialog.findChildren<QAction *>())
                paste = action->shortcut() == QKeySequence::Paste ? action : paste;
            QGuiApplication::clipboard()->setText("Accessories");
            select("Accessories");
            QVERIFY(!paste->isEnabled());
            QTest::keyClick(m_tree, Qt::Key_C, Qt::ControlModifier);
            QVERIFY(paste->isEnabled());
            select("Text editor");   // a sub-menu does not go among sub-entries
            QVERIFY(!paste->isEnabled());
            select("Help");
            QVERIFY(paste->isEnabled());
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
            QVERIFY(!paste->isEnabled());
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
            QTest::keyClick(m_tree, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(dialog.document().undoStack().count(), 5);

            movedTree = treeOf(model);
            QCOMPARE(movedTree, "Help Center{Help{Accessories{Text editor,Drawing},System information,Support website,"
                                "Frequently asked questions,Troubleshooting,Contact us},Learn{Calculator,Take the tour,Keyboard shortcuts,"
                                "Getting started,Online tutorials,Tips and tricks},Configure{Back up your files,"
                                "Display settings,Accessories{Text editor,Drawing},Printer setup,Network connections}}");

            modals.fileAnswers.push_back(world.packagesDir() + "/Untitled1/Moved");
            QTest::keyClick(&dialog, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
            movedDir = world.packagesDir() + "/Moved";
            QVERIFY(!dialog.isModified());
            dialog.close();
        }

        const QString menus = movedDir + "/machine-specifics.csv";
        const auto line = [&](const char *section, const char *key) {
            return ini::readProfileString(menus, section, key);
        };
        QCOMPARE(line("Menu1", "SubMenu1"), QString(",,TRUE,__1-SUBMENU1__,,UpArrow.gif,,,\"\",,,,__1-SUBMENU1-A__,,,"));
        QCOMPARE(records::splitFields(line("Menu1", "SubMenu1.item2")).value(4), QString("__1-SUBMENU1-2__"));
        QCOMPARE(line("Menu2", "SubMenu1"),   // the sub-entry, now a menu entry: its name in field 3
                 QString(",,FALSE,__2-SUBMENU1__,,Application-link.gif,,,"
                         "\"C:\\Program Files\\Kavo\\Tools\\Calculator.exe\",,,,__2-SUBMENU1-A__,,,"));
        records::ConfigRecord texts(movedDir + "/0409/access-text.ini");
        texts.loadTexts();
        QCOMPARE(texts.getValue("__MENU1_CONTENT_TITLE__"), QString("Help"));
        QCOMPARE(texts.getValue("__TAB1_DESCRIPTION__"), QString("Find answers and get support"));
        QCOMPARE(texts.getValue("__TAB2_DESCRIPTION__"), QString("Learn how to use your computer"));
        QCOMPARE(texts.getValue("__2-SUBMENU1__"), QString("Calculator"));
        QCOMPARE(texts.getValue("__2-SUBMENU1-A__"), QString("Adds and multiplies"));
        QVERIFY(!readFile(movedDir + "/0409/access-text.ini").contains("__-A__"));
        QCOMPARE(texts.getValue("__1-SUBMENU1__"), QString("Accessories"));

        MainDialog next;
        next.initialize();
        QCOMPARE(next.document().state().packageDir, movedDir);
        QCOMPARE(treeOf(next.findChild<menutree::MenuTreeView *>("menuTree")->model()), movedTree);
    }

};
KAVO_TEST(MenuEditingTest)
#include "test_menuediting.moc"
