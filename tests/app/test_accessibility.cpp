#include "installedworld.h"
#include "scriptedmodals.h"
#include "app/maindialog.h"
#include "dialogs/itempropertiesdialog.h"
#include "dialogs/menupropertiesdialog.h"
#include "document/menucommands.h"
#include "menutree/previewview.h"
#include "menutree/previewwindow.h"
#include "menutree/problemlist.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSet>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using app::MainDialog;

namespace {

// The controls a user works with in a window: what takes the focus from the keyboard.
QList<QWidget *> controlsOf(QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget)
            || qobject_cast<QComboBox *>(widget) || qobject_cast<QAbstractItemView *>(widget)
            || qobject_cast<QPlainTextEdit *>(widget) || qobject_cast<QTabBar *>(widget)
            || qobject_cast<menutree::PreviewView *>(widget);
        if (control && widget->isVisibleTo(window) && (widget->focusPolicy() & Qt::TabFocus))
            controls << widget;
    }
    return controls;
}

// What a screen reader calls a control: its name, or for a list (whose name here is the entry
// it shows) the name of the label it is labelled by.
QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    if (!face)
        return QString();
    const auto *list = qobject_cast<QComboBox *>(widget);
    if (!list)
        return face->text(QAccessible::Name);
    for (const auto &[label, relation] : face->relations(QAccessible::Label))
        return label->text(QAccessible::Name);
    return QString();
}

// The widgets Tab visits from the one that has the focus, until it comes round again.
QSet<QWidget *> tabChain(QWidget *window)
{
    QSet<QWidget *> visited;
    QWidget *start = QApplication::focusWidget();
    for (int step = 0; step < 100 && start; ++step) {
        QWidget *focused = QApplication::focusWidget();
        visited << focused;
        QTest::keyClick(focused, Qt::Key_Tab);
        if (QApplication::focusWidget() == start)
            break;
    }
    Q_UNUSED(window);
    return visited;
}

// Every control carries a name a screen reader reads, and Tab reaches every one.
void checkWindow(QWidget *window, const QString &where)
{
    if (!window->isAncestorOf(QApplication::focusWidget()) && !controlsOf(window).isEmpty())
        controlsOf(window).constFirst()->setFocus(Qt::TabFocusReason);
    const QSet<QWidget *> chain = tabChain(window);
    for (QWidget *control : controlsOf(window)) {
        const QString what = where + " " + control->metaObject()->className() + " " + control->objectName();
        QVERIFY2(!accessibleName(control).isEmpty(), qPrintable("no accessible name: " + what));
        QVERIFY2(chain.contains(control), qPrintable("not reached with Tab: " + what));
    }
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void mainWindowAndDialogsCanBeUsedFromTheKeyboard()
    {
        InstalledWorld world;
        ScriptedModals modals;
        MainDialog dialog;
        dialog.initialize();
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // An entry without a title shows the problems list, which is checked with the MENUS page
        // (checked when that page comes forward).
        document::PackageDocument &package = dialog.document();
        document::CItem *entry = package.menus().mainMenus().at(0)->entries().at(0);
        document::EntryProperties untitled = entry->properties();
        untitled.title.clear();
        package.undoStack().push(new document::EditEntryCommand(package, entry, untitled));
        auto *tabs = dialog.findChild<QTabWidget *>();
        tabs->setCurrentIndex(MainDialog::MenuTreePage);
        QTRY_VERIFY(!dialog.findChild<menutree::ProblemList *>()->isHidden());
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            tabs->tabBar()->setFocus();
            checkWindow(&dialog, "page " + QString::number(page));
        }
        dialog.showPreviewWindow(true);
        QTRY_COMPARE(QApplication::activeWindow(), dialog.previewWindow());
        QVERIFY(!dialog.previewWindow()->accessibleName().isEmpty());
        checkWindow(dialog.previewWindow(), "preview window");
        dialog.showPreviewWindow(false);

        const auto checkDialog = [](const char *where) {
            return [where](QDialog &properties) {
                properties.show();
                QApplication::setActiveWindow(&properties);
                if (QTest::qWaitForWindowActive(&properties))
                    checkWindow(&properties, where);
                return int(QDialog::Rejected);
            };
        };
        modals.dialogAnswers.push_back(checkDialog("item properties"));
        dialogs::editEntryProperties(&dialog, {}, {});
        modals.dialogAnswers.push_back(checkDialog("menu properties"));
        dialogs::editMenuProperties(&dialog, {});
    }
};
KAVO_TEST(AccessibilityTest)
#include "test_accessibility.moc"
