#include "packagefixture.h"
#include "app/filecommands.h"
#include "document/packagedocument.h"
#include "document/pagecommands.h"
#include "packages/languagefiles.h"
#include "packages/packagestore.h"
#include "scriptedmodals.h"
#include "ini/confinedfolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace packages;
using ui::MessageButton;
using testing::readFile;
using testing::writeFile;

// A started tool: the default package made and an untitled package open in the document.
struct Session {
    PackageFixture world;
    document::PackageDocument document;
    PackageState &state = document.state();
    ScriptedModals modals;
    app::FileCommands commands{document, nullptr};

    Session()
    {
        writeFile(world.programDir() + "/0409/custom-text.ini",
                  "[TEXT]\r\nCONFIRMATION=Confirm\r\n[MESSAGES]\r\nERROR=Oops\r\nSAVECHANGE=Save changes?\r\n"
                  "COMPANYEMPTY=Type a company name.\r\nFILEXISTS=already exists.\r\n[OTHER]\r\n");
        world.startTool(state);
        document.load();
    }
    QString packages() const { return world.packagesDir(); }
    // The user types a company name: an unsaved change.
    void typeCompanyName(const QString &name = "Contoso")
    {
        document.undoStack().push(new document::SetCompanyNameCommand(document, name));
    }
    bool untitledWasBuilt() const { return QFile::exists(packages() + "/Untitled1/Untitled1.pkg"); }
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
        QVERIFY(!s.untitledWasBuilt());
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
        QVERIFY(s.document.windowTitle().endsWith("[Sales.pkg]"));
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

    // Save As over a package whose files lead elsewhere: nothing is copied or built through a
    // link, and the message says which files were not written.
    void saveAsOverAPackageOfLinksWritesNothingThroughThem()
    {
        Session s;
        s.typeCompanyName();
        const QString sales = s.world.makeBuiltPackage("Sales"), usersOwn = s.world.root() + "/users-own";
        writeFile(usersOwn + "/settings.ini", "the user's settings");
        writeFile(usersOwn + "/access-text.ini", "the user's text");
        QFile::remove(sales + "/access-config.ini");
        QVERIFY(QFile::link(usersOwn + "/settings.ini", sales + "/access-config.ini"));
        QDir(sales + "/0411").removeRecursively();
        QVERIFY(QFile::link(usersOwn, sales + "/0411"));
        const QMap<QString, QByteArray> before = testing::treeContents(usersOwn);
        s.modals.fileAnswers.push_back(s.state.packageDir + "/Sales");
        s.modals.messageAnswers.push_back(MessageButton::Ok);   // replace it

        QVERIFY(!s.commands.savePackageAs());
        QCOMPARE(testing::treeContents(usersOwn), before);
        QCOMPARE(s.modals.messages.size(), 2);
        QVERIFY2(s.modals.messages[1].text.contains("Sales/access-config.ini (a symbolic link: not written)"),
                 qPrintable(s.modals.messages[1].text));
        QVERIFY(QFileInfo(sales + "/access-config.ini").isSymLink() && QFileInfo(sales + "/0411").isSymLink());
        QVERIFY(s.document.isModified());
    }

    void emptyCompanyNameRefusesToSave()
    {
        Session s;
        s.typeCompanyName("");
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
        QCOMPARE(s.modals.messages[0].text, "Configuration files are corrupted.\n\n" + broken + "/access-config.ini");
        QCOMPARE(s.modals.messages[0].caption, QString("Error"));
        QCOMPARE(s.state.packageDir, untitled);
        QCOMPARE(s.state.packageName, QString("Untitled1"));
        QVERIFY(s.state.isUntitled);
        QVERIFY(QFile::exists(untitled + "/access-config.ini"));
    }

    void openReplacesTheUntitledPackage()
    {
        Session s;
        const QString untitled = s.state.packageDir;
        const QString sales = s.world.makeBuiltPackage("Sales");
        s.typeCompanyName();
        s.modals.messageAnswers.push_back(MessageButton::No);   // the changes are dropped
        s.modals.fileAnswers.push_back(sales + "/Sales.pkg");
        s.commands.openCommand();
        QCOMPARE(s.modals.messages.size(), 1);
        QCOMPARE(s.modals.messages[0].text, QString("Save changes?"));
        QCOMPARE(s.state.packageDir, sales);
        QCOMPARE(s.state.packageName, QString("Sales.pkg"));
        QVERIFY(!s.state.isUntitled);
        QVERIFY(!s.document.isModified());
        QVERIFY(s.document.companyName().isEmpty());   // read from the package now open
        QVERIFY(!QFile::exists(untitled));
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
            s.typeCompanyName();
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
        s.typeCompanyName("");
        s.modals.messageAnswers.push_back(MessageButton::Yes);
        QVERIFY(!s.commands.exitCommand());
        QCOMPARE(s.modals.messages.size(), 2);
        QVERIFY(!s.untitledWasBuilt());
    }

    void escapeAsksOnlyWhenThereAreChanges()
    {
        Session s;
        QVERIFY(s.commands.escapeCommand());
        QVERIFY(QFile::exists(s.packages() + "/Untitled1"));   // Escape removes nothing
        s.typeCompanyName();
        s.modals.messageAnswers.push_back(MessageButton::Cancel);
        QVERIFY(!s.commands.escapeCommand());
        QCOMPARE(s.modals.messages.size(), 1);
    }

    // New, Open and Exit give the package up only when its changes are saved or dropped: a
    // save that is refused, cancelled or fails stops them, and the changes stay.
    void unsavedChangesAreNeverLost_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("save");   // how the save the user asked for goes
        QTest::newRow("new, Save As cancelled") << "new" << "cancelled";
        QTest::newRow("new, no company name") << "new" << "refused";
        QTest::newRow("open, Save As cancelled") << "open" << "cancelled";
        QTest::newRow("open, question cancelled") << "open" << "question cancelled";
        QTest::newRow("exit, build failed") << "exit" << "failed";
        QTest::newRow("exit, no company name") << "exit" << "refused";
    }
    void unsavedChangesAreNeverLost()
    {
        QFETCH(QString, command);
        QFETCH(QString, save);
        Session s;
        const QString untitled = s.state.packageDir;
        const QString sales = s.world.makeBuiltPackage("Sales");
        s.typeCompanyName(save == "refused" ? "" : "Contoso");
        s.modals.messageAnswers.push_back(save == "question cancelled" ? MessageButton::Cancel : MessageButton::Yes);
        if (save == "cancelled")
            s.modals.fileAnswers.push_back(std::nullopt);
        if (save == "failed")
            QDir().mkpath(untitled + "/custom.bat");   // a folder in its place: no write can replace it
        if (command == "open")
            s.modals.fileAnswers.push_back(sales + "/Sales.pkg");

        bool closes = false;
        if (command == "new")
            s.commands.newCommand();
        else if (command == "open")
            s.commands.openCommand();
        else
            closes = s.commands.exitCommand();
        QVERIFY(!closes);
        QVERIFY(s.document.isModified());
        QCOMPARE(s.state.packageDir, untitled);
        QCOMPARE(s.document.companyName(), QString(save == "refused" ? "" : "Contoso"));
    }

    // The untitled package gives way without taking a package saved inside it along, whichever
    // command gives it up.
    void untitledPackageKeepsAPackageSavedInsideIt_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("open") << "open";
        QTest::newRow("exit") << "exit";
    }
    void untitledPackageKeepsAPackageSavedInsideIt()
    {
        QFETCH(QString, command);
        Session s;
        const QString untitled = s.state.packageDir;
        const QString inside = untitled + "/Inner";
        QDir().mkpath(inside);
        ini::ConfinedFolder insideFolder(inside);
        createLanguageDirs(insideFolder);
        copyPackageFiles(untitled, insideFolder);
        writeFile(inside + "/Inner.pkg", "marker");
        const QString sales = s.world.makeBuiltPackage("Sales");
        if (command == "open") {
            s.modals.fileAnswers.push_back(sales + "/Sales.pkg");
            s.commands.openCommand();
        } else {
            QVERIFY(s.commands.exitCommand());
        }
        QVERIFY(QFile::exists(inside + "/Inner.pkg"));
        QVERIFY(QFile::exists(inside + "/access-config.ini"));
    }

    // Nor does it go when the package taking its place is the untitled package itself, or lies
    // inside its folder.
    void untitledPackageStaysForItselfAndWhatLiesInIt()
    {
        Session s;
        const QString untitled = s.state.packageDir;
        s.modals.fileAnswers.push_back(untitled);   // Open: its own folder
        s.commands.openCommand();
        QCOMPARE(s.state.packageDir, untitled);
        QVERIFY(QFile::exists(untitled + "/access-config.ini"));

        Session t;
        t.modals.fileAnswers.push_back(t.state.packageDir + "/Sub/Deeper/Sales");   // Save As inside it
        QVERIFY(t.commands.savePackageAs());
        QCOMPARE(t.state.packageDir, t.packages() + "/Untitled1/Sub/Sales");
        QVERIFY(QFile::exists(t.state.packageDir + "/Sales.pkg"));
        QVERIFY(QFile::exists(t.state.packageDir + "/access-config.ini"));
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
