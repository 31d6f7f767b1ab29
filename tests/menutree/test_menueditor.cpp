#include "scriptedmodals.h"
#include "testmain.h"
#include "document/packagedocument.h"
#include "menutree/menueditor.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace document;
using menutree::MenuEditor;
using menutree::TreeCommand;
using ui::MessageButton;

namespace {

// Learn (0) with a plain entry and a sub-menu of two sub-entries; Help (3) with one entry.
const QByteArray menuFile =
    "[Menu1]\nMenu1Info=,,TRUE,,,,,,,,,,,,,\n"
    "SubMenu1=,,FALSE,__1-SUBMENU1__,,Application-link.gif,,,\"calc.exe\",,,,,,,\n"
    "SubMenu2=,,TRUE,__1-SUBMENU2__,,UpArrow.gif,,,\"\",,,,,,,\n"
    "SubMenu2.item1=,,FALSE,,__1-SUBMENU2-1__,Application-link.gif,,,\"a.exe\",,,,,,,\n"
    "SubMenu2.item2=,,FALSE,,__1-SUBMENU2-2__,topic-link.gif,,,\"t.htm\",,,,,,,\n"
    "SubMenu3=,,TRUE,__1-SUBMENU3__,,UpArrow.gif,,,\"\",,,,,,,\n"
    "[Menu4]\nMenu4Info=,,TRUE,,,,,,,,,,,,,\n"
    "SubMenu1=,,FALSE,__4-SUBMENU1__,,System-Info-link.gif,,,\"#SystemInfo\",,,,,,,\n";
const QByteArray textFile = "[Access Text]\n"
                            "TEXT1=__MENU1_CONTENT_TITLE__,\"Learn\"\n"
                            "TEXT2=__MENU4_CONTENT_TITLE__,\"Help\"\n"
                            "TEXT3=__1-SUBMENU1__,\"Calc\"\n"
                            "TEXT4=__1-SUBMENU2__,\"Tools\"\n"
                            "TEXT5=__1-SUBMENU2-1__,\"A\"\n"
                            "TEXT6=__1-SUBMENU2-2__,\"T\"\n"
                            "TEXT7=__1-SUBMENU3__,\"Empty\"\n"
                            "TEXT8=__4-SUBMENU1__,\"About\"\n"
                            "TEXT9=__TAB2_DESCRIPTION__,\"Second tab\"\n";
const QByteArray configFile = "[Global Options]\n"
                              "OPTION1=__MENU1ICON__,\"U-Learn-icon.png\"\n"
                              "OPTION2=__MENU2ICON__,\"U-Configure-icon.png\"\n"
                              "OPTION3=__MENU3ICON__,\"U-Protect-icon.png\"\n"
                              "OPTION4=__MENU4ICON__,\"U-Help-icon.png\"\n";
// The looks a new main menu starts with, by menu number.
const QByteArray defaultConfigFile = "[Global Options]\n"
                                     "OPTION1=__MENU1ICON__,\"U-Learn-icon.png\"\n"
                                     "OPTION2=__MENU4ICON__,\"U-Help-icon.png\"\n"
                                     "OPTION3=__MENU5ICON__,\"U-Stay-Current-icon.png\"\n"
                                     "OPTION4=__MENU5_COLOR__,\"#123456\"\n";
// Every message's text is its own key, so a test sees which question was asked.
const QByteArray customTexts = "[TEXT]\nAPPLNK=Application\nSUBMENU=Sub-menu\n"
                               "[MESSAGES]\nADDHEAD=ADDHEAD\nREMOFEHEAD=REMOFEHEAD\nREMOVEITEM=REMOVEITEM\n"
                               "CHGSUBTYPE=CHGSUBTYPE\nINFORMATION=INFORMATION\nCONFIRMATION=CONFIRMATION\n"
                               "WARNING=WARNING\n";

// The messages shown, each as its text key and how it was shown: its caption key and its style.
QStringList shownMessages(const ScriptedModals &modals)
{
    static const QMap<ui::MessageStyle, QString> styles = {
        {ui::MessageStyle::OkInformation, "information"},
        {ui::MessageStyle::OkCancelQuestion, "OK/Cancel question"},
        {ui::MessageStyle::OkCancelWarning, "OK/Cancel warning"},
    };
    QStringList shown;
    for (const ui::MessageRequest &message : modals.messages)
        shown << message.text + " " + message.caption + " " + styles.value(message.style, "other");
    return shown;
}
// How each question is shown, by its text key.
const QMap<QString, QString> howShown = {{"ADDHEAD", "INFORMATION information"},
                                         {"REMOFEHEAD", "INFORMATION information"},
                                         {"REMOVEITEM", "CONFIRMATION OK/Cancel question"},
                                         {"CHGSUBTYPE", "WARNING OK/Cancel warning"}};

// The menus as the tree shows them, in one line: each main menu as title[category], its
// entries in braces, a sub-menu's sub-entries in parentheses.
QString shapeOf(PackageDocument &document)
{
    const MenuItemModel &model = document.itemModel();
    const auto childrenOf = [&model](const QModelIndex &parent) {
        QList<QModelIndex> children;
        for (int row = 0; row < model.rowCount(parent); ++row)
            children << model.index(row, 0, parent);
        return children;
    };
    QStringList menus;
    for (const QModelIndex &menu : childrenOf(model.rootIndex())) {
        QStringList entries;
        for (const QModelIndex &entry : childrenOf(menu)) {
            QStringList subEntries;
            for (const QModelIndex &subEntry : childrenOf(entry))
                subEntries << subEntry.data().toString();
            const bool subMenu = MenuItemModel::itemAt(entry)->hasEntries();
            entries << entry.data().toString() + (subMenu ? "(" + subEntries.join(',') + ")" : QString());
        }
        menus << QStringLiteral("%1[%2]{%3}")
                     .arg(menu.data().toString())
                     .arg(MenuItemModel::itemAt(menu)->category())
                     .arg(entries.join(','));
    }
    return menus.join(' ');
}

// The node at a path of rows below the root ("" is the root, "0/1" the second entry of the
// first main menu).
CItem *nodeAt(PackageDocument &document, const QString &path)
{
    QModelIndex index = document.itemModel().rootIndex();
    for (const QString &row : path.split('/', Qt::SkipEmptyParts))
        index = document.itemModel().index(row.toInt(), 0, index);
    return MenuItemModel::itemAt(index);
}

// A dialog the user fills in and confirms: "title" or "title|type label"; empty cancels.
std::function<int(QDialog &)> dialogAnswer(const QString &answer)
{
    return [answer](QDialog &dialog) {
        if (answer.isEmpty())
            return int(QDialog::Rejected);
        const QStringList parts = answer.split('|');
        dialog.findChild<QLineEdit *>("title")->setText(parts.at(0));
        if (auto *types = dialog.findChild<QComboBox *>("typeList"); types && parts.size() > 1)
            types->setCurrentIndex(types->findText(parts.at(1)));
        if (auto *altKey = dialog.findChild<QLineEdit *>("altKey"))
            altKey->setText(parts.value(1));
        return int(QDialog::Accepted);
    };
}

} // namespace

// The rules of the tree's editing commands: limits, questions, the category of a new main menu,
// and that each accepted command is one step whose undo restores menus and texts.
class MenuEditorTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    void load(PackageDocument &document, const QByteArray &menus)
    {
        document.state().setLocation(m_dir.path() + "/install/Packages/Small");
        testing::writeFile(document.state().machineFilePath, menus);
        testing::writeFile(document.state().textFilePath, textFile);
        testing::writeFile(document.state().configFilePath, configFile);
        ini::clearProfileCache();
        document.load();
    }

private slots:
    void initTestCase()
    {
        const QString root = m_dir.path();
        testing::writeFile(root + "/program/0409/custom-text.ini", customTexts);
        platform::setProgramDirectory(root + "/program");
        platform::setUserInterfaceLanguage(0x0409);
        testing::writeSettingsValue(qEnvironmentVariable("AKVO_REGISTRY") + "/system/Harbel/ZELT.conf", "InstallDir",
                                    root + "/install");
        testing::writeFile(root + "/install/Packages/HarbelDefault/access-config.ini", defaultConfigFile);
    }
    void cleanupTestCase()
    {
        platform::setProgramDirectory(QString());
        platform::setUserInterfaceLanguage(std::nullopt);
    }

    void commands_data()
    {
        QTest::addColumn<QByteArray>("menus");         // the menu file; empty: the one above
        QTest::addColumn<QString>("node");             // path of the node the command runs on
        QTest::addColumn<TreeCommand>("command");
        QTest::addColumn<QString>("dialog");           // the dialog's answer (null: no dialog)
        QTest::addColumn<QList<MessageButton>>("answers");
        QTest::addColumn<QStringList>("messages");     // the messages shown, in order
        QTest::addColumn<QString>("shape");            // the menus afterwards; empty: unchanged

        const QString none;
        const QList<MessageButton> noAnswers;
        const QString before = "Learn[0]{Calc,Tools(A,T),Empty()} Help[3]{About}";
        QTest::newRow("new main menu after learn and help takes the last slot")
            << QByteArray() << "" << TreeCommand::NewMainMenu << "Stay|s" << noAnswers << QStringList()
            << before + " Stay[4]{}";
        QTest::newRow("new main menu cancelled") << QByteArray() << "" << TreeCommand::NewMainMenu << "" << noAnswers
                                                 << QStringList() << "";
        QTest::newRow("new main menu after configure and protect takes the first slot")
            << QByteArray("[Menu2]\nMenu2Info=,,TRUE\n[Menu3]\nMenu3Info=,,TRUE\n") << "" << TreeCommand::NewMainMenu
            << "Learn more|l" << noAnswers << QStringList() << "[1]{} [2]{} Learn more[0]{}";
        QTest::newRow("no fourth main menu")
            << QByteArray("[Menu1]\nMenu1Info=,,TRUE\n[Menu2]\nMenu2Info=,,TRUE\n[Menu3]\nMenu3Info=,,TRUE\n") << ""
            << TreeCommand::NewMainMenu << none << noAnswers << QStringList{"ADDHEAD"} << "";
        QTest::newRow("the last main menu stays") << QByteArray("[Menu1]\nMenu1Info=,,TRUE\n") << "0"
                                                  << TreeCommand::DeleteMainMenu << none << noAnswers
                                                  << QStringList{"REMOFEHEAD"} << "";
        QTest::newRow("main menu deleted after a question")
            << QByteArray() << "0" << TreeCommand::DeleteMainMenu << none << noAnswers << QStringList{"REMOVEITEM"}
            << "Help[3]{About}";
        QTest::newRow("main menu kept when the question is cancelled")
            << QByteArray() << "0" << TreeCommand::DeleteMainMenu << none << QList{MessageButton::Cancel}
            << QStringList{"REMOVEITEM"} << "";
        QTest::newRow("plain entry deleted without a question")
            << QByteArray() << "0/0" << TreeCommand::DeleteEntry << none << noAnswers << QStringList()
            << "Learn[0]{Tools(A,T),Empty()} Help[3]{About}";
        QTest::newRow("sub-menu deleted after a question")
            << QByteArray() << "0/1" << TreeCommand::DeleteEntry << none << noAnswers << QStringList{"REMOVEITEM"}
            << "Learn[0]{Calc,Empty()} Help[3]{About}";
        QTest::newRow("sub-entry deleted without a question")
            << QByteArray() << "0/1/0" << TreeCommand::DeleteEntry << none << noAnswers << QStringList()
            << "Learn[0]{Calc,Tools(T),Empty()} Help[3]{About}";
        QTest::newRow("sub-menu made an application loses its sub-entries after a warning")
            << QByteArray() << "0/1" << TreeCommand::EditEntry << "Tools|Application" << noAnswers
            << QStringList{"CHGSUBTYPE"} << "Learn[0]{Calc,Tools,Empty()} Help[3]{About}";
        QTest::newRow("the warning cancelled changes nothing")
            << QByteArray() << "0/1" << TreeCommand::EditEntry << "Tools|Application" << QList{MessageButton::Cancel}
            << QStringList{"CHGSUBTYPE"} << "";
        QTest::newRow("an empty sub-menu changes type without a question")
            << QByteArray() << "0/2" << TreeCommand::EditEntry << "Full|Application" << noAnswers << QStringList()
            << "Learn[0]{Calc,Tools(A,T),Full} Help[3]{About}";
        QTest::newRow("plain entry made a sub-menu") << QByteArray() << "0/0" << TreeCommand::EditEntry
                                                     << "Calc|Sub-menu" << noAnswers << QStringList()
                                                     << "Learn[0]{Calc(),Tools(A,T),Empty()} Help[3]{About}";
        QTest::newRow("new menu entry") << QByteArray() << "1" << TreeCommand::NewMenuEntry << "Web" << noAnswers
                                        << QStringList() << "Learn[0]{Calc,Tools(A,T),Empty()} Help[3]{About,Web}";
        QTest::newRow("new menu entry of a main menu read as holding none")
            << QByteArray("[Menu1]\nMenu1Info=,,FALSE\n") << "0" << TreeCommand::NewMenuEntry << "Web" << noAnswers
            << QStringList() << "Learn[0]{Web}";
        QTest::newRow("new sub-entry") << QByteArray() << "0/2" << TreeCommand::NewSubEntry << "Inside" << noAnswers
                                       << QStringList() << "Learn[0]{Calc,Tools(A,T),Empty(Inside)} Help[3]{About}";
        QTest::newRow("main menu renamed") << QByteArray() << "1" << TreeCommand::EditMainMenu << "Support|u"
                                           << noAnswers << QStringList()
                                           << "Learn[0]{Calc,Tools(A,T),Empty()} Support[3]{About}";
    }
    void commands()
    {
        QFETCH(QByteArray, menus);
        QFETCH(QString, node);
        QFETCH(TreeCommand, command);
        QFETCH(QString, dialog);
        QFETCH(QList<MessageButton>, answers);

        PackageDocument document;
        load(document, menus.isEmpty() ? menuFile : menus);
        const QString shapeBefore = shapeOf(document);
        const QList<records::ConfigEntry> textsBefore = document.textRecord().textEntries();

        ScriptedModals modals;
        if (!dialog.isNull())
            modals.dialogAnswers.push_back(dialogAnswer(dialog));
        modals.messageAnswers.assign(answers.begin(), answers.end());
        MenuEditor editor(document, nullptr);
        CItem *target = nodeAt(document, node);
        document.setCurrentItem(target);
        editor.run(command, target);

        QFETCH(QStringList, messages);
        for (QString &message : messages)
            message += " " + howShown.value(message);
        QCOMPARE(shownMessages(modals), messages);
        QVERIFY(modals.dialogAnswers.empty());
        QFETCH(QString, shape);
        QCOMPARE(shapeOf(document), shape.isEmpty() ? shapeBefore : shape);
        QCOMPARE(document.undoStack().count(), shape.isEmpty() ? 0 : 1);
        QCOMPARE(document.isModified(), !shape.isEmpty());
        for (const ItemList *list : {&document.menus().mainMenus(), &document.menus().mainMenus().at(0)->entries()})
            for (int row = 0; row < list->size(); ++row)
                QCOMPARE(list->at(row)->position(), row + 1);

        document.undoStack().undo();
        QCOMPARE(shapeOf(document), shapeBefore);
        QCOMPARE(document.textRecord().textEntries(), textsBefore);
        QCOMPARE(document.currentItem(), target);
    }

    // Every kind of node deleted from its context menu and with the Delete key, the question
    // answered Cancel and then OK: only a main menu and a sub-menu, empty or not, are asked about.
    void deletes_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<bool>("asks");
        QTest::addColumn<QString>("shape");   // once deleted
        QTest::newRow("main menu") << "0" << true << "Help[3]{About}";
        QTest::newRow("application entry") << "0/0" << false << "Learn[0]{Tools(A,T),Empty()} Help[3]{About}";
        QTest::newRow("system-information entry") << "1/0" << false << "Learn[0]{Calc,Tools(A,T),Empty()} Help[3]{}";
        QTest::newRow("sub-menu with sub-entries") << "0/1" << true << "Learn[0]{Calc,Empty()} Help[3]{About}";
        QTest::newRow("empty sub-menu") << "0/2" << true << "Learn[0]{Calc,Tools(A,T)} Help[3]{About}";
        QTest::newRow("sub-entry") << "0/1/1" << false << "Learn[0]{Calc,Tools(A),Empty()} Help[3]{About}";
    }
    void deletes()
    {
        QFETCH(QString, node);
        QFETCH(bool, asks);
        QFETCH(QString, shape);
        for (const bool byKey : {false, true}) {
            for (const MessageButton answer : {MessageButton::Cancel, MessageButton::Ok}) {
                const QByteArray step = byKey ? "Delete key, " : "context menu, ";
                PackageDocument document;
                load(document, menuFile);
                const QString before = shapeOf(document);
                ScriptedModals modals;
                modals.messageAnswers.push_back(answer);
                MenuEditor editor(document, nullptr);
                CItem *target = nodeAt(document, node);
                if (byKey)
                    editor.remove(target);
                else
                    editor.run(MenuEditor::commandsFor(target).constLast().command, target);
                const QStringList question{"REMOVEITEM " + howShown.value("REMOVEITEM")};
                QVERIFY2(shownMessages(modals) == (asks ? question : QStringList()), step + "question");
                const bool deleted = !asks || answer == MessageButton::Ok;
                QVERIFY2(shapeOf(document) == (deleted ? shape : before), step + "shape");
            }
        }
    }

    // An entry that changed its level, or came to be, is edited before the next build: its title
    // and description go under keys made from a name of its own, never from an empty one.
    void editedEntryIsKeyedByAName_data()
    {
        QTest::addColumn<QByteArray>("menus");   // the menu file; empty: the one above
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("node");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("edited");     // where the entry stands afterwards
        const QByteArray file;
        QTest::newRow("sub-entry dropped into a main menu") << file << "into" << "0/1/0" << "1" << "1/0";
        QTest::newRow("sub-entry dropped below a menu entry") << file << "below" << "0/1/1" << "1/0" << "1/1";
        QTest::newRow("menu entry dropped into a sub-menu") << file << "into" << "0/0" << "0/1" << "0/0/0";
        QTest::newRow("menu entry dropped below a sub-entry") << file << "below" << "0/0" << "0/1/1" << "0/0/2";
        QTest::newRow("move undone") << file << "into, undone" << "0/1/0" << "1" << "0/1/0";
        QTest::newRow("sub-entry pasted into a main menu") << file << "paste" << "0/1/0" << "1" << "1/0";
        QTest::newRow("new sub-entry") << file << "new" << "0/2" << "" << "0/2/0";
        QTest::newRow("entry read from a line without a name")
            << QByteArray("[Menu1]\nMenu1Info=,,TRUE\nSubMenu1=,,FALSE,,,Application-link.gif\n") << "" << "" << ""
            << "0/0";
    }
    void editedEntryIsKeyedByAName()
    {
        QFETCH(QByteArray, menus);
        QFETCH(QString, action);
        QFETCH(QString, node);
        QFETCH(QString, target);
        PackageDocument document;
        load(document, menus.isEmpty() ? menuFile : menus);
        ScriptedModals modals;
        MenuEditor editor(document, nullptr);
        if (action.startsWith("into") || action == "below")
            editor.drop(nodeAt(document, node), nodeAt(document, target),
                        action == "below" ? Placement::Below : Placement::Within, false);
        if (action.endsWith("undone"))
            document.undoStack().undo();
        if (action == "paste") {
            editor.copy(nodeAt(document, node));
            editor.paste(nodeAt(document, target));
        }
        if (action == "new") {
            modals.dialogAnswers.push_back(dialogAnswer("Inside"));
            editor.run(TreeCommand::NewSubEntry, nodeAt(document, node));
        }
        QFETCH(QString, edited);
        CItem *entry = nodeAt(document, edited);
        // Whatever put the entry there named it; only a line read without a name gives none.
        QCOMPARE(entry->name().isEmpty(), action.isEmpty());
        modals.dialogAnswers.push_back([](QDialog &dialog) {
            dialog.findChild<QPlainTextEdit *>("description")->setPlainText("Described");
            return int(QDialog::Accepted);
        });
        editor.run(TreeCommand::EditEntry, entry);

        const records::ConfigRecord &texts = document.textRecord();
        QCOMPARE(texts.getValue(entry->descriptionKey()), QString("Described"));
        for (const records::ConfigEntry &text : texts.textEntries())
            QVERIFY2(!text.key.startsWith("__-"), qPrintable(text.key));
    }

    // What each command leaves in the text record and the objects' names until the next build.
    void textsAndNamesOfNewAndEditedNodes()
    {
        PackageDocument document;
        load(document, menuFile);
        ScriptedModals modals;
        MenuEditor editor(document, nullptr);
        const records::ConfigRecord &texts = document.textRecord();

        modals.dialogAnswers.push_back(dialogAnswer("Stay|s"));
        editor.run(TreeCommand::NewMainMenu, nullptr);
        const CItem *stay = document.menus().mainMenus().at(2);
        QCOMPARE(stay->mainIcon(), QString("U-Stay-Current-icon.png"));
        QCOMPARE(stay->color(), QString("#123456"));
        QCOMPARE(texts.getValue("__MENU3_TITLE__"), QString("<u>S</u>tay"));
        QCOMPARE(texts.getValue("__MENU3_ALT_KEY__"), QString("s"));

        modals.dialogAnswers.push_back(dialogAnswer("Web"));
        editor.run(TreeCommand::NewMenuEntry, document.menus().mainMenus().at(1));
        QCOMPARE(document.menus().mainMenus().at(1)->entries().at(1)->name(), QString("__2-SUBMENU2___"));
        modals.dialogAnswers.push_back(dialogAnswer("Inside"));
        editor.run(TreeCommand::NewSubEntry, document.menus().mainMenus().at(0)->entries().at(1));
        QCOMPARE(document.menus().mainMenus().at(0)->entries().at(1)->entries().at(2)->name(), QString("__1-SUBMENU2-3__"));

        // An edited entry's texts go under its keys; a description makes a key first.
        modals.dialogAnswers.push_back([](QDialog &dialog) {
            dialog.findChild<QLineEdit *>("title")->setText("Calculator");
            dialog.findChild<QPlainTextEdit *>("description")->setPlainText("Adds up");
            return int(QDialog::Accepted);
        });
        CItem *calc = document.menus().mainMenus().at(0)->entries().at(0);
        editor.run(TreeCommand::EditEntry, calc);
        QCOMPARE(calc->descriptionKey(), QString("__1-SUBMENU1-A__"));
        QCOMPARE(texts.getValue("__1-SUBMENU1__"), QString("Calculator"));
        QCOMPARE(texts.getValue("__1-SUBMENU1-A__"), QString("Adds up"));

        // Deleting the first main menu moves the texts of every later number down one.
        editor.run(TreeCommand::DeleteMainMenu, document.menus().mainMenus().at(0));
        QCOMPARE(texts.getValue("__MENU1_CONTENT_TITLE__"), QString());
        QCOMPARE(texts.getValue("__TAB1_DESCRIPTION__"), QString("Second tab"));
        QCOMPARE(texts.getValue("__MENU2_TITLE__"), QString("<u>S</u>tay"));
        QCOMPARE(texts.getValue("__MENU3_CONTENT_TITLE__"), QString("Help"));
        QCOMPARE(document.menus().mainMenus().at(1)->position(), 2);

        document.undoStack().setIndex(0);
        QVERIFY(!document.isModified());
        QCOMPARE(texts.getValue("__MENU3_TITLE__"), QString());
        QVERIFY(calc->descriptionKey().isEmpty());
    }
};
KAVO_TEST(MenuEditorTest)
#include "test_menueditor.moc"
