#include "testmain.h"
#include "scriptedmodals.h"
#include "app/maindialog.h"
#include "menutree/previewview.h"
#include "menutree/previewwindow.h"
#include "document/pagecommands.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include <QApplication>
#include <QPalette>
#include <QDesktopServices>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using app::MainDialog;

// Records what the tool asks the desktop to open.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

namespace {

// Every caption with a text of its own, so a mix-up shows.
const QByteArray distinctTexts =
    "[TEXT]\r\nTITLE=Kavo Tool\r\nCOMPANY=Firm\r\nMENUS=Menu tree\r\nPERSONALIZE=Looks\r\n"
    "FILE=Package\r\nNEW=Fresh\r\nOPEN=Load\r\nSAVE=Keep\r\nSAVEAS=Keep as\r\nEXIT=Quit\r\n"
    "HELP=Assist\r\nABOUT=About Kavo\r\nEDITMENU=Change\r\nUNDO=Take back %1\r\nREDO=Again\r\nCUT=Snip\r\n"
    "COPY=Twin\r\nPASTE=Place\r\nMOVEUP=Lift\r\nMOVEDOWN=Lower\r\n"
    "[VIEW]\r\nMENU=Look\r\nWINDOW=Glimpse window\r\nTITLE=Glimpse\r\n";

// The captions of a menu bar or toolbar in order, "-" for a separator.
QStringList captions(const QList<QAction *> &actions, bool withSubMenus)
{
    QStringList result;
    for (QAction *action : actions) {
        result.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        if (withSubMenus && action->menu())
            result.append(QStringLiteral("[") + captions(action->menu()->actions(), false).join(QLatin1Char('|'))
                          + QStringLiteral("]"));
    }
    return result;
}

QStringList toolTips(QToolBar *toolBar)
{
    QStringList result;
    for (QAction *action : toolBar->actions())
        result.append(action->isSeparator() ? QStringLiteral("-") : toolBar->widgetForAction(action)->toolTip());
    return result;
}

QAction *menuAction(QMenuBar *bar, int menu, int item)
{
    return bar->actions().at(menu)->menu()->actions().at(item);
}

} // namespace

class MainDialogTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    UrlRecorder m_urls;
    ScriptedModals m_modals;   // no installation here: the start-up warning is answered OK

    QString programDir() const { return m_dir.path() + "/program"; }
    QString helpFile() const { return m_dir.path() + "/windows/help/ZELTCust.chm"; }

    void writeTexts(const QByteArray &ini)
    {
        testing::writeFile(programDir() + "/0409/custom-text.ini", ini);
        ini::clearProfileCache();
    }

    static void showActive(MainDialog &dialog)
    {
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }

private slots:
    void initTestCase()
    {
        platform::setProgramDirectory(programDir());
        qputenv("AKVO_WINDOWS_DIR", (m_dir.path() + "/windows").toLocal8Bit());
        QDesktopServices::setUrlHandler("file", &m_urls, "open");
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler("file");
        qunsetenv("AKVO_WINDOWS_DIR");
        platform::setProgramDirectory(QString());
        platform::setUserInterfaceLanguage(std::nullopt);
    }
    void init()
    {
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        platform::setUserInterfaceLanguage(0x0409);
        m_urls.opened.clear();
    }

    void titleIsTheTitleTextAndThePackage_data()
    {
        QTest::addColumn<QByteArray>("texts");
        QTest::addColumn<QString>("title");
        QTest::newRow("title text") << QByteArray("[TEXT]\r\nTITLE=Kavo Tool\r\n") << "Kavo Tool  -  []";
        QTest::newRow("empty title text") << QByteArray("[TEXT]\r\nTITLE=\r\n") << "  -  []";
        QTest::newRow("no title key") << QByteArray("[TEXT]\r\nCOMPANY=Firm\r\n") << "  -  []";
    }
    void titleIsTheTitleTextAndThePackage()
    {
        QFETCH(QByteArray, texts);
        QFETCH(QString, title);
        writeTexts(texts);
        MainDialog dialog;
        dialog.initialize();
        QCOMPARE(dialog.windowTitle(), title);
        QCOMPARE(app::mainDialog, &dialog);
    }

    void modifiedTitleEndsWithAStar()
    {
        writeTexts(distinctTexts);
        MainDialog dialog;
        dialog.initialize();
        QVERIFY(!dialog.isModified());
        QUndoStack &steps = dialog.document().undoStack();
        steps.push(new document::SetCompanyNameCommand(dialog.document(), "Contoso"));
        QCOMPARE(dialog.windowTitle(), QString("Kavo Tool  -  [*]"));
        steps.undo();
        QCOMPARE(dialog.windowTitle(), QString("Kavo Tool  -  []"));
    }

    void tabsMenusAndToolbarTakeTheirTexts()
    {
        writeTexts(distinctTexts);
        MainDialog dialog;
        dialog.initialize();

        QTabWidget *tabs = dialog.findChild<QTabWidget *>();
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(QStringList({tabs->tabText(0), tabs->tabText(1), tabs->tabText(2)}),
                 QStringList({"Firm", "Menu tree", "Looks"}));

        QCOMPARE(captions(dialog.findChild<QMenuBar *>()->actions(), true),
                 QStringList({"Package", "[Fresh|Load|-|Keep|Keep as|-|Quit]", "Change", "[Take back|Again|-|Snip|Twin|Place|-|Lift|Lower]",
                             "Look", "[Glimpse window]", "Assist",
                             "[Assist|-|About Kavo]"}));
        QCOMPARE(toolTips(dialog.findChild<QToolBar *>()),
                 QStringList({"Fresh", "Load", "-", "Keep", "Keep as", "-", "Assist"}));
    }

    void languageWithoutTextFileGivesEmptyCaptionsAndStillWorks()
    {
        writeTexts(distinctTexts);                      // English only
        platform::setUserInterfaceLanguage(0x0407);     // German: no text file
        testing::writeFile(helpFile(), "help");
        MainDialog dialog;
        dialog.initialize();

        QCOMPARE(dialog.windowTitle(), QString("  -  []"));
        QTabWidget *tabs = dialog.findChild<QTabWidget *>();
        QCOMPARE(QStringList({tabs->tabText(0), tabs->tabText(1), tabs->tabText(2)}), QStringList({"", "", ""}));
        QCOMPARE(captions(dialog.findChild<QMenuBar *>()->actions(), true),
                 QStringList({"", "[||-|||-|]", "", "[||-||||-||]", "", "[]", "", "[|-|]"}));

        showActive(dialog);
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(m_urls.opened.size(), 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

    void exactlyOnePageIsVisible()
    {
        writeTexts(distinctTexts);
        MainDialog dialog;
        dialog.initialize();
        showActive(dialog);
        auto visiblePages = [&dialog] {
            QList<int> visible;
            for (int i = 0; i < 3; ++i)
                if (dialog.page(i)->isVisible())
                    visible.append(i);
            return visible;
        };
        QCOMPARE(visiblePages(), QList<int>({0}));

        QTabBar *bar = dialog.findChild<QTabBar *>();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
        QCOMPARE(visiblePages(), QList<int>({2}));
        dialog.selectPage(MainDialog::CompanyPage);
        QCOMPARE(visiblePages(), QList<int>({0}));
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(visiblePages(), QList<int>({1}));
    }

    void enterNeverClosesTheWindowEscapeDoes()
    {
        writeTexts(distinctTexts);
        MainDialog dialog;
        dialog.initialize();
        showActive(dialog);

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(dialog.isVisible());

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    // Ctrl+F from another page brings the MENUS page forward with the cursor in its filter, its
    // text selected; Escape there, or in the tree, empties the field and leaves the window open.
    void ctrlFFindsInTheMenusFromAnyPage()
    {
        writeTexts(distinctTexts);
        MainDialog dialog;
        dialog.initialize();
        showActive(dialog);
        auto *filter = dialog.findChild<QLineEdit *>("menuFilter");
        for (const char *typed : {"Learn", "Help"}) {
            dialog.selectPage(MainDialog::CompanyPage);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
            QVERIFY(dialog.page(MainDialog::MenuTreePage)->isVisible());
            QCOMPARE(QApplication::focusWidget(), filter);
            QTest::keyClicks(filter, typed);
            QCOMPARE(filter->text(), typed);
        }
        QTest::keyClick(filter, Qt::Key_Escape);
        QCOMPARE(filter->text(), QString());
        QVERIFY(dialog.isVisible());
        // From the tree, Escape ends a filter first; only then does it end the window.
        QTest::keyClicks(filter, "Help");
        QWidget *tree = dialog.findChild<QWidget *>("menuTree");
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Escape);
        QCOMPARE(filter->text(), QString());
        QVERIFY(dialog.isVisible());
        QTest::keyClick(tree, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

    void helpCommandsOpenTheHelpFile()
    {
        writeTexts(distinctTexts);
        MainDialog dialog;
        dialog.initialize();
        showActive(dialog);
        QToolBar *toolBar = dialog.findChild<QToolBar *>();
        QWidget *helpButton = toolBar->widgetForAction(toolBar->actions().last());

        QTest::mouseClick(helpButton, Qt::LeftButton);   // no help file, no guide: nothing happens
        QVERIFY(m_urls.opened.isEmpty());

        // Without a help file, the user's guide in the tool's language, or else in English.
        testing::writeFile(programDir() + "/guide/en/index.html", "guide");
        QTest::mouseClick(helpButton, Qt::LeftButton);
        testing::writeFile(programDir() + "/guide/de/index.html", "Handbuch");
        platform::setUserInterfaceLanguage(0x0407);
        QTest::mouseClick(helpButton, Qt::LeftButton);
        platform::setUserInterfaceLanguage(0x0409);
        QCOMPARE(m_urls.opened, QList<QUrl>({QUrl::fromLocalFile(programDir() + "/guide/en/index.html"),
                                             QUrl::fromLocalFile(programDir() + "/guide/de/index.html")}));
        m_urls.opened.clear();

        testing::writeFile(helpFile(), "help");
        QTest::mouseClick(helpButton, Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_F1);
        QCOMPARE(m_urls.opened, QList<QUrl>({QUrl::fromLocalFile(helpFile()), QUrl::fromLocalFile(helpFile())}));
    }

    void helpFileDefaultsToTheProgramsWindowsFolder()
    {
        qunsetenv("AKVO_WINDOWS_DIR");
        testing::writeFile(programDir() + "/windows/help/ZELTCust.chm", "help");
        writeTexts(distinctTexts);
        MainDialog dialog;
        dialog.initialize();
        dialog.showHelp();
        qputenv("AKVO_WINDOWS_DIR", (m_dir.path() + "/windows").toLocal8Bit());
        QCOMPARE(m_urls.opened, QList<QUrl>({QUrl::fromLocalFile(programDir() + "/windows/help/ZELTCust.chm")}));
    }

    void aboutItemRunsTheAboutBox()
    {
        writeTexts(distinctTexts);
        ScriptedModals modals;
        modals.dialogAnswers.push_back([](QDialog &) { return int(QDialog::Accepted); });
        MainDialog dialog;
        dialog.initialize();
        showActive(dialog);

        QMenuBar *bar = dialog.findChild<QMenuBar *>();
        QAction *helpMenu = bar->actions().at(3);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(helpMenu).center());
        QVERIFY(QTest::qWaitForWindowExposed(helpMenu->menu()));
        QAction *about = menuAction(bar, 3, 2);
        QTest::mouseClick(helpMenu->menu(), Qt::LeftButton, {}, helpMenu->menu()->actionGeometry(about).center());
        QCOMPARE(modals.dialogTitles, QStringList({"About Kavo"}));
        QVERIFY(dialog.isVisible());
    }

    void requestFromAnotherInstanceMinimisesOrRaises()
    {
        writeTexts(distinctTexts);
        MainDialog dialog;
        dialog.initialize();
        showActive(dialog);

        dialog.comeForward();   // active: it steps aside
        QTRY_VERIFY(dialog.isMinimized());
        dialog.comeForward();   // not active: it comes back
        QTRY_VERIFY(!dialog.isMinimized());
        QVERIFY(dialog.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }

    void closingTheWindowRunsExit()
    {
        writeTexts(distinctTexts);
        MainDialog dialog;
        dialog.initialize();
        showActive(dialog);
        dialog.close();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // The window takes the desktop's palette, a dark one too: nothing in it paints its own light
    // background.
    void windowFollowsTheDesktopPalette()
    {
        writeTexts(distinctTexts);
        const QPalette light = QApplication::palette();
        QPalette dark = light;
        dark.setColor(QPalette::Window, QColor(0x20, 0x22, 0x26));
        dark.setColor(QPalette::Base, QColor(0x18, 0x19, 0x1c));
        dark.setColor(QPalette::WindowText, Qt::white);
        QApplication::setPalette(dark);
        MainDialog dialog;
        dialog.initialize();
        showActive(dialog);
        QWidget *page = dialog.page(MainDialog::CompanyPage);
        const QImage shot = page->grab().toImage();
        QApplication::setPalette(light);
        QCOMPARE(shot.pixelColor(page->width() / 2, page->height() - 5), dark.color(QPalette::Window));
    }

    // The window grows with its pages, and opens the next time as large as it was left.
    void windowGrowsAndRemembersItsSize()
    {
        writeTexts(distinctTexts);
        QSize pageSize;
        {
            MainDialog dialog;
            dialog.initialize();
            showActive(dialog);
            pageSize = dialog.page(MainDialog::CompanyPage)->size();
            dialog.resize(dialog.size() + QSize(200, 150));
            QTRY_COMPARE(dialog.page(MainDialog::CompanyPage)->size(), pageSize + QSize(200, 150));
            dialog.close();
        }
        MainDialog next;
        next.initialize();
        showActive(next);
        QCOMPARE(next.page(MainDialog::CompanyPage)->size(), pageSize + QSize(200, 150));
    }

    // F9 and the View menu's item show and hide the preview window; closing the window unchecks
    // the item.
    void viewMenuShowsAndHidesThePreviewWindow()
    {
        writeTexts(distinctTexts);
        MainDialog dialog;
        dialog.initialize();
        showActive(dialog);
        QAction *item = dialog.previewAction();
        QCOMPARE(item->shortcut(), QKeySequence(Qt::Key_F9));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);
        menutree::PreviewWindow *window = dialog.previewWindow();
        QVERIFY(window && window->isVisible() && item->isChecked());
        QCOMPARE(window->windowTitle(), QString("Glimpse"));
        QTRY_COMPARE(QApplication::activeWindow(), window);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F9);   // from the preview window itself
        QVERIFY(!window->isVisible() && !item->isChecked());

        QMenuBar *bar = dialog.findChild<QMenuBar *>();
        QAction *viewMenu = bar->actions().at(2);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(viewMenu).center());
        QVERIFY(QTest::qWaitForWindowExposed(viewMenu->menu()));
        QTest::mouseClick(viewMenu->menu(), Qt::LeftButton, {}, viewMenu->menu()->actionGeometry(item).center());
        QVERIFY(window->isVisible() && item->isChecked());
        QTRY_COMPARE(QApplication::activeWindow(), window);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!window->isVisible() && !item->isChecked() && dialog.isVisible());
    }

    // The line between the tree and the preview is where the user left it, the preview closed
    // against the edge included.
    void previewSplitterIsRemembered_data()
    {
        QTest::addColumn<int>("previewWidth");
        QTest::newRow("closed") << 0;
        QTest::newRow("dragged") << 150;
    }
    void previewSplitterIsRemembered()
    {
        QFETCH(int, previewWidth);
        writeTexts(distinctTexts);
        QList<int> sizes;
        {
            MainDialog dialog;
            dialog.initialize();
            dialog.selectPage(MainDialog::MenuTreePage);
            showActive(dialog);
            auto *splitter = dialog.findChild<QSplitter *>("previewSplitter");
            splitter->setSizes({1, 1});   // halves, whatever the last run left
            // The handle moves with the mouse: the points are the splitter's.
            QSplitterHandle *handle = splitter->handle(1);
            const QPoint grip = handle->geometry().center();
            const int move = splitter->width() - handle->width() - previewWidth - handle->x();
            QTest::mousePress(handle, Qt::LeftButton, {}, handle->rect().center());
            for (int step = 1; step <= 4; ++step)
                QTest::mouseMove(handle, handle->mapFrom(splitter, grip + QPoint(move * step / 4, 0)));
            QTest::mouseRelease(handle, Qt::LeftButton, {}, handle->mapFrom(splitter, grip + QPoint(move, 0)));
            sizes = splitter->sizes();
            QVERIFY2(previewWidth ? qAbs(sizes.at(1) - previewWidth) < 10 : sizes.at(1) == 0, qPrintable(QString::number(sizes.at(1))));
            dialog.close();
        }
        MainDialog next;
        next.initialize();
        next.selectPage(MainDialog::MenuTreePage);
        showActive(next);
        QCOMPARE(next.findChild<QSplitter *>("previewSplitter")->sizes(), sizes);
    }
};
KAVO_TEST(MainDialogTest)
#include "test_maindialog.moc"
