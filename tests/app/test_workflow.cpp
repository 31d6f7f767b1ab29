#include "installedworld.h"
#include "scriptedmodals.h"
#include "app/maindialog.h"
#include "menutree/menutreepage.h"
#include "packages/build.h"
#include "packages/languagefiles.h"
#include "pages/generalpage.h"
#include "ini/profile.h"
#include "ini/profileencoding.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <QTreeView>

using app::MainDialog;
using testing::readFile;

namespace {

void showActive(MainDialog &dialog)
{
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

void selectTab(MainDialog &dialog, int index)
{
    QTabBar *bar = dialog.findChild<QTabBar *>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

QStringList childLabels(const QModelIndex &index)
{
    QStringList labels;
    for (int row = 0; row < index.model()->rowCount(index); ++row)
        labels << index.model()->index(row, 0, index).data().toString();
    return labels;
}

// The lines of a file that belong to the front-end: comments, the first ten numbered lines of
// each list, and the sections the tool never writes; with the file's encoding.
QStringList frontEndLines(const QByteArray &bytes)
{
    const ini::DecodedProfile decoded = ini::decodeProfileBytes(bytes);
    static const QRegularExpression numbered(QStringLiteral("^(TEXT|OPTION)(\\d+)="));
    static const QStringList untouched{"[WELCOME]", "[Backgrounds]", "[OEM Defaults]"};
    QStringList lines{QString::number(int(decoded.encoding))};
    bool inUntouchedSection = false;
    for (const QString &line : decoded.text.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QLatin1Char('[')))
            inUntouchedSection = untouched.contains(line);
        const QRegularExpressionMatch match = numbered.match(line);
        if (inUntouchedSection || line.startsWith(QLatin1Char(';')) || (match.hasMatch() && match.captured(2).toInt() <= 10))
            lines << line;
    }
    return lines;
}

} // namespace

class WorkflowTest : public QObject {
    Q_OBJECT
private slots:
    void firstStartOpensUntitled1WithTheSampleMenus()
    {
        InstalledWorld world(true);
        ScriptedModals modals;
        MainDialog dialog;
        dialog.initialize();

        QVERIFY2(modals.messages.isEmpty(), "no warning when the installation is complete");
        QCOMPARE(dialog.windowTitle(), QString("Customization Tool for Access Kavo  -  [Untitled1]"));
        const QString defaultDir = world.packagesDir() + "/HarbelDefault";
        for (const QString &dir : packages::languageDirsCreationOrder())
            QCOMPARE(readFile(defaultDir + "/" + dir + "/access-text.ini"), readFile(world.installDir() + "/" + dir + "/access-text.ini"));
        for (const char *seed : {"machine-specifics", "access-text", "access-config"})
            QVERIFY(!QFile::exists(world.programDir() + "/" + seed + ".default"));
        QVERIFY(!QFile::exists(world.installDir() + "/AKVO-moreTxt.ini"));
        QVERIFY(readFile(world.installDir() + "/access-text.ini").contains("WrongPassText="));

        QTreeView *tree = dialog.findChild<QTreeView *>("menuTree");
        QCOMPARE(tree->model()->rowCount(), 1);
        const QModelIndex root = tree->model()->index(0, 0);
        QCOMPARE(root.data().toString(), QString("Help Center"));
        QVERIFY(tree->isExpanded(root));
        QCOMPARE(tree->currentIndex(), root);
        QCOMPARE(childLabels(root), (QStringList{"Learn", "Configure", "Help"}));
        QCOMPARE(dialog.findChild<QLineEdit *>("companyName")->text(), QString("Contoso"));
        QVERIFY(!dialog.isModified());
    }

    void withoutAnInstallationTheToolWarnsAndCreatesNothing()
    {
        InstalledWorld world;
        QFile::remove(world.registryDir() + "/system/Harbel/ZELT.conf");
        ScriptedModals modals;
        MainDialog dialog;
        dialog.initialize();
        QCOMPARE(modals.messages.size(), 1);
        QVERIFY(modals.messages[0].text.contains("not installed"));
        QVERIFY(!QFile::exists(world.packagesDir()));
        QCOMPARE(dialog.windowTitle(), QString("Customization Tool for Access Kavo  -  []"));
    }

    void saveAsKeepsEveryValueAndTheNextStartOpensIt()
    {
        InstalledWorld world;
        ScriptedModals modals;
        QString salesDir;
        {
            MainDialog dialog;
            dialog.initialize();
            showActive(dialog);

            QLineEdit *company = dialog.findChild<QLineEdit *>("companyName");
            company->setFocus();
            QTest::keyClick(company, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(company, "Fabrikam");
            QVERIFY(dialog.isModified());
            QVERIFY(dialog.windowTitle().endsWith("[Untitled1*]"));

            selectTab(dialog, 2);
            auto *resolution = dialog.findChild<QComboBox *>("resolution");
            auto *background = dialog.findChild<QComboBox *>("background");
            QCOMPARE(resolution->currentIndex(), 1);
            QCOMPARE(background->currentIndex(), 0);
            resolution->setFocus();
            QTest::keyClick(resolution, Qt::Key_Down);
            background->setFocus();
            QTest::keyClick(background, Qt::Key_Down);
            modals.colorAnswers.push_back(QColor(0x12, 0x34, 0xAB));
            QTest::mouseClick(dialog.findChild<QPushButton *>("colorSwatch"), Qt::LeftButton);

            modals.fileAnswers.push_back(world.packagesDir() + "/Untitled1/Sales");
            QTest::keyClick(&dialog, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
            QVERIFY2(modals.messages.isEmpty(), modals.messages.isEmpty() ? "" : qPrintable(modals.messages[0].text));

            salesDir = world.packagesDir() + "/Sales";
            packages::PackageState &state = dialog.document().state();
            QCOMPARE(state.packageDir, salesDir);
            QCOMPARE(dialog.windowTitle(), QString("Customization Tool for Access Kavo  -  [Sales.pkg]"));
            QVERIFY(!QFile::exists(world.packagesDir() + "/Untitled1"));
            QCOMPARE(readFile(salesDir + "/Sales.pkg"), packages::markerBytes(state));
            QCOMPARE(readFile(salesDir + "/custom.bat"), "@ECHO OFF\r\nxcopy *.* " + world.installDir().toUtf8() + "/U /S /Y\r\n");
            const QByteArray text = readFile(state.textFilePath);
            QVERIFY(text.contains("TITLE=\"Help Center customized by Fabrikam\""));
            for (const QString &dir : packages::languageDirsCopyOrder())
                QCOMPARE(readFile(salesDir + "/" + dir + "/access-text.ini"), text);
            QCOMPARE(ini::readProfileString(world.programDir() + "/0409/custom-text.ini", "OTHER", "LASTCONFIG"),
                     salesDir + "/Sales.pkg");
            QCOMPARE(ini::readProfileString(state.configFilePath, "OTHER", "VERSION"), QString("4.1.21"));

            // A second save without changes writes the same files.
            const QByteArray menus = readFile(state.machineFilePath);
            const QByteArray config = readFile(state.configFilePath);
            QVERIFY(dialog.commands().savePackage());
            QCOMPARE(readFile(state.machineFilePath), menus);
            QCOMPARE(readFile(state.configFilePath), config);
            QCOMPARE(readFile(state.textFilePath), text);

            // The front-end's own lines are exactly as installed.
            QCOMPARE(frontEndLines(text), frontEndLines(readFile(world.installDir() + "/0409/access-text.ini")));
            QCOMPARE(frontEndLines(config), frontEndLines(readFile(world.installDir() + "/access-config.ini")));
            QCOMPARE(frontEndLines(menus), frontEndLines(readFile(world.installDir() + "/machine-specifics.csv")));

            dialog.close();
            QVERIFY(!dialog.isVisible());
        }

        MainDialog next;
        next.initialize();
        QCOMPARE(next.document().state().packageDir, salesDir);
        QCOMPARE(next.windowTitle(), QString("Customization Tool for Access Kavo  -  [Sales.pkg]"));
        QCOMPARE(next.findChild<QLineEdit *>("companyName")->text(), QString("Fabrikam"));
        QCOMPARE(next.findChild<QComboBox *>("resolution")->currentIndex(), 2);
        QCOMPARE(next.findChild<QComboBox *>("background")->currentIndex(), 1);
        QCOMPARE(next.document().settings().color, QColor(0x12, 0x34, 0xAB));
        QCOMPARE(ini::readProfileString(next.document().state().configFilePath, "OTHER", "REGULAR_TEXT_COLOR"), QString("#1234AB"));
        QCOMPARE(childLabels(next.findChild<QTreeView *>("menuTree")->model()->index(0, 0)), (QStringList{"Learn", "Configure", "Help"}));
        QVERIFY(!next.isModified());
    }

    void exitOnAnUntouchedUntitledPackageRemovesIt()
    {
        InstalledWorld world;
        ScriptedModals modals;
        MainDialog dialog;
        dialog.initialize();
        showActive(dialog);
        QVERIFY(QFile::exists(world.packagesDir() + "/Untitled1"));
        dialog.close();
        QVERIFY(!dialog.isVisible());
        QVERIFY(!QFile::exists(world.packagesDir() + "/Untitled1"));
        QVERIFY(modals.messages.isEmpty());
    }
};
KAVO_TEST(WorkflowTest)
#include "test_workflow.moc"
