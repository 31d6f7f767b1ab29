#include "packagefixture.h"
#include "packages/build.h"
#include "packages/filecommands.h"
#include "packages/languagefiles.h"
#include "packages/packagestore.h"
#include "scriptedmodals.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace packages;
using platform::MessageButton;
using testing::readFile;
using testing::writeFile;

// A started tool: the default package made and an untitled package open, pages that record.
struct Session {
    PackageFixture world;
    PackageState state;
    RecordingPages pages{state};
    ScriptedModals modals;
    int builds = 0;
    FileCommands commands{state, pages, nullptr, [this] { ++builds; buildPackage(state, pages); }};

    Session()
    {
        writeFile(world.programDir() + "/0409/custom-text.ini",
                  "[TEXT]\r\nCONFIRMATION=Confirm\r\n[MESSAGES]\r\nERROR=Oops\r\nSAVECHANGE=Save changes?\r\n"
                  "COMPANYEMPTY=Type a company name.\r\nFILEXISTS=already exists.\r\n[OTHER]\r\n");
        world.startTool(state);
    }
    QString packages() const { return world.packagesDir(); }
};

class FileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void saveOfANewPackageTurnsIntoSaveAs()
    {
        Session s;
        s.modals.fileAnswers.push_back(std::nullopt);   // the user cancels the Save As dialog
        QVERIFY(!s.commands.savePackage());
        QCOMPARE(s.modals.fileDialogs.size(), 1);
        QCOMPARE(s.modals.fileDialogs[0].filters, QStringList{"Customized Files (*.pkg)"});
        QCOMPARE(s.modals.fileDialogs[0].fileName, QString("*.pkg"));
        QCOMPARE(s.state.packageName, QString("Untitled1.pkg"));   // the extension stays, cancelled or not
        QCOMPARE(s.builds, 0);
    }

    void saveAsResolvesThePackageDirectory_data()
    {
        QTest::addColumn<QString>("chosen");   // relative to the packages directory
        QTest::newRow("in the untitled package's folder") << "Untitled1/Sales";
        QTest::newRow("in one of its language folders") << "Untitled1/0409/Sales";
        QTest::newRow("typed with the extension") << "Untitled1/Sales.pkg";
    }
    void saveAsResolvesThePackageDirectory()
    {
        QFETCH(QString, chosen);
        Session s;
        s.modals.fileAnswers.push_back(s.packages() + "/" + chosen);
        QVERIFY(s.commands.savePackageAs());
        const QString sales = s.packages() + "/Sales";
        QCOMPARE(s.state.packageDir, sales);
        QCOMPARE(s.state.packageName, QString("Sales.pkg"));
        QVERIFY(s.state.windowTitle().endsWith("[Sales.pkg]"));
        for (const QString &dir : languageDirsCreationOrder())
            QVERIFY(QFile::exists(sales + "/" + dir + "/access-text.ini"));
        QVERIFY(QFile::exists(sales + "/Sales.pkg"));
        QVERIFY(!QFile::exists(s.packages() + "/Untitled1"));
        QVERIFY(s.modals.messages.isEmpty());
    }

    void saveAsOverAnotherPackageAsksFirst_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<MessageButton>("answer");
        QTest::newRow("typed as a name, cancelled") << "Sales" << MessageButton::Cancel;
        QTest::newRow("typed as a name, confirmed") << "Sales" << MessageButton::Ok;
        QTest::newRow("typed with the extension, cancelled") << "Sales.pkg" << MessageButton::Cancel;
    }
    void saveAsOverAnotherPackageAsksFirst()
    {
        QFETCH(QString, typed);
        QFETCH(MessageButton, answer);
        Session s;
        const QString sales = s.world.makeBuiltPackage("Sales");
        const QByteArray before = readFile(sales + "/access-config.ini");
        s.modals.fileAnswers.push_back(s.state.packageDir + "/" + typed);
        s.modals.messageAnswers.push_back(answer);

        QCOMPARE(s.commands.savePackageAs(), answer == MessageButton::Ok);
        QCOMPARE(s.modals.messages.size(), 1);
        QCOMPARE(s.modals.messages[0].text, QString("Sales.pkg already exists."));
        QCOMPARE(s.modals.messages[0].caption, QString("Save as"));
        if (answer == MessageButton::Ok) {
            QCOMPARE(s.state.packageDir, sales);
            QVERIFY(readFile(sales + "/access-config.ini") != before);
        } else {
            QCOMPARE(readFile(sales + "/access-config.ini"), before);
            QVERIFY(QFile::exists(s.packages() + "/Untitled1"));
        }
    }

    void emptyCompanyNameRefusesToSave()
    {
        Session s;
        s.pages.name.clear();
        QVERIFY(!s.commands.savePackage());
        QVERIFY(!s.commands.savePackageAs());
        QCOMPARE(s.modals.messages.size(), 2);
        QCOMPARE(s.modals.messages[0].text, QString("Type a company name."));
        QCOMPARE(s.modals.messages[0].caption, QString("Oops"));
        QVERIFY(s.modals.fileDialogs.isEmpty());
    }

    void openRejectsAnIncompletePackageAndKeepsTheOpenOne()
    {
        Session s;
        const QString broken = s.world.makeBuiltPackage("Broken", false);
        const QString untitled = s.state.packageDir;
        s.modals.fileAnswers.push_back(broken + "/Broken.pkg");
        s.commands.openCommand();
        QCOMPARE(s.modals.messages.size(), 1);
        QCOMPARE(s.modals.messages[0].text, QString("Configuration files are corrupted."));
        QCOMPARE(s.modals.messages[0].caption, QString("Error"));
        QCOMPARE(s.state.packageDir, untitled);
        QCOMPARE(s.state.packageName, QString("Untitled1"));
        QVERIFY(s.state.isUntitled);
        QVERIFY(QFile::exists(untitled + "/access-config.ini"));
        QVERIFY(s.pages.calls.isEmpty());
    }

    void openReplacesTheUntitledPackage()
    {
        Session s;
        const QString untitled = s.state.packageDir;
        const QString sales = s.world.makeBuiltPackage("Sales");
        s.state.markModified();
        s.modals.fileAnswers.push_back(sales + "/Sales.pkg");
        s.commands.openCommand();
        QCOMPARE(s.state.packageDir, sales);
        QCOMPARE(s.state.packageName, QString("Sales.pkg"));
        QVERIFY(!s.state.isUntitled);
        QVERIFY(!s.state.isModified);
        QVERIFY(!QFile::exists(untitled));
        QCOMPARE(s.pages.calls, (QStringList{"reloadCompany", "reloadMenus", "reloadSettings"}));
        QCOMPARE(s.modals.fileDialogs[0].filters, (QStringList{"Customized Files (*.pkg)", "All Files (*.*)"}));
    }

    void exitOnAnUntitledPackage_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<MessageButton>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("directoryStays");
        QTest::addColumn<bool>("built");
        QTest::newRow("no changes") << false << MessageButton::Ok << true << false << false;
        QTest::newRow("changes, saved") << true << MessageButton::Yes << true << true << true;
        QTest::newRow("changes, dropped") << true << MessageButton::No << true << true << false;
        QTest::newRow("changes, cancelled") << true << MessageButton::Cancel << false << true << false;
    }
    void exitOnAnUntitledPackage()
    {
        QFETCH(bool, modified);
        QFETCH(MessageButton, answer);
        QFETCH(bool, closes);
        QFETCH(bool, directoryStays);
        QFETCH(bool, built);
        Session s;
        if (modified) {
            s.state.markModified();
            s.modals.messageAnswers.push_back(answer);
        }
        QCOMPARE(s.commands.exitCommand(), closes);
        QCOMPARE(QFile::exists(s.packages() + "/Untitled1"), directoryStays);
        QCOMPARE(QFile::exists(s.packages() + "/Untitled1/Untitled1.pkg"), built);
        QCOMPARE(s.modals.messages.size(), modified ? 1 : 0);
    }

    void exitWithAnEmptyCompanyNameStaysOpen()
    {
        Session s;
        s.state.markModified();
        s.pages.name.clear();
        s.modals.messageAnswers.push_back(MessageButton::Yes);
        QVERIFY(!s.commands.exitCommand());
        QCOMPARE(s.modals.messages.size(), 2);
        QCOMPARE(s.builds, 0);
    }

    void escapeAsksOnlyWhenThereAreChanges()
    {
        Session s;
        QVERIFY(s.commands.escapeCommand());
        QVERIFY(QFile::exists(s.packages() + "/Untitled1"));   // Escape removes nothing
        s.state.markModified();
        s.modals.messageAnswers.push_back(MessageButton::Cancel);
        QVERIFY(!s.commands.escapeCommand());
        QCOMPARE(s.modals.messages.size(), 1);
    }

    void newAfterACancelledSaveAsDropsTheChanges()
    {
        Session s;
        s.state.markModified();
        s.modals.messageAnswers.push_back(MessageButton::Yes);
        s.modals.fileAnswers.push_back(std::nullopt);
        s.commands.newCommand();
        QCOMPARE(s.builds, 0);
        QVERIFY(!s.state.isModified);
        QVERIFY(s.state.isUntitled);
        QCOMPARE(s.state.packageName, QString("Untitled1"));
        QCOMPARE(s.state.windowTitle(), QString("  -  [Untitled1]"));
        QCOMPARE(s.pages.calls, (QStringList{"clear", "reloadMenus", "oem"}));
    }

    void newAfterABuiltPackageStartsTheNextUntitled()
    {
        Session s;
        s.modals.fileAnswers.push_back(s.packages() + "/Untitled1/Sales");
        QVERIFY(s.commands.savePackageAs());
        s.commands.newCommand();
        QCOMPARE(s.state.packageDir, s.packages() + "/Untitled1");
        QVERIFY(s.state.isUntitled);
        QVERIFY(QFile::exists(s.packages() + "/Sales/Sales.pkg"));
    }
};
KAVO_TEST(FileCommandsTest)
#include "test_filecommands.moc"
