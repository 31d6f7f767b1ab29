#include "testmain.h"
#include "scriptedmodals.h"
#include "dialogs/itempropertiesdialog.h"
#include "dialogs/menupropertiesdialog.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace dialogs;
using records::EntryPlace;
using Enabled = std::pair<bool, bool>;   // the location edit, BROWSE
Q_DECLARE_METATYPE(EntryPlace)

namespace {
template <typename T> T *child(QDialog &dialog, const char *name) { return dialog.findChild<T *>(name); }

bool showActive(QDialog &dialog)
{
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}
} // namespace

class PropertyDialogsTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        platform::setProgramDirectory(m_dir.path() + "/program");
        platform::setUserInterfaceLanguage(0x0409);
        testing::writeFile(m_dir.path() + "/program/0409/custom-text.ini",
                           "[TEXT]\r\nPROP=Item Properties\r\nMENUPROP=Menu Properties\r\nHELP=Help topic\r\n"
                           "BROWSE=&Browse...\r\n[MESSAGES]\r\nERROR=Error\r\n");
        ini::clearProfileCache();
    }
    void cleanupTestCase()
    {
        platform::setProgramDirectory(QString());
        platform::setUserInterfaceLanguage(std::nullopt);
    }

    void typeFollowsIconAndList_data()
    {
        QTest::addColumn<QString>("icon");
        QTest::addColumn<bool>("offerSubMenu");
        QTest::addColumn<int>("moves");   // Down key presses in the type list; negative: Up
        QTest::addColumn<QString>("returnedIcon");
        QTest::addColumn<QString>("location");
        QTest::addColumn<Enabled>("enabled");
        const QString app = "Application-link.gif", up = "UpArrow.gif", info = "System-Info-link.gif";
        const QString old = "/opt/app", sysInfo = "#SystemInfo";
        QTest::newRow("application") << app << false << 0 << app << old << Enabled{true, true};
        QTest::newRow("help topic in capitals") << "TOPIC-LINK.GIF" << true << 0 << "Topic-link.gif" << old
                                                << Enabled{true, false};
        QTest::newRow("internet link") << "internet-LINK.gif" << false << 0 << "Internet-link.gif" << old
                                       << Enabled{true, false};
        QTest::newRow("sub-menu offered") << "uparrow.gif" << true << 0 << up << old << Enabled{false, false};
        QTest::newRow("sub-menu not offered") << up << false << 0 << app << old << Enabled{true, true};
        QTest::newRow("unknown name") << "Folder.gif" << true << 0 << app << old << Enabled{true, true};
        QTest::newRow("system information, five types") << info << true << 0 << info << sysInfo << Enabled{};
        QTest::newRow("system information, four types") << info << false << 0 << info << sysInfo << Enabled{};
        QTest::newRow("last of four chosen") << app << false << 3 << info << sysInfo << Enabled{false, false};
        QTest::newRow("fourth of five chosen") << app << true << 3 << up << old << Enabled{false, false};
        QTest::newRow("application chosen") << up << true << -3 << app << old << Enabled{true, true};
        QTest::newRow("system information left") << info << false << -1 << "Internet-link.gif" << sysInfo
                                                 << Enabled{true, false};
    }
    void typeFollowsIconAndList()
    {
        QFETCH(QString, icon);
        QFETCH(bool, offerSubMenu);
        QFETCH(int, moves);
        ItemPropertiesDialog dialog(nullptr, {icon, "Notes", "Takes notes", "/opt/app"}, {1, 1, offerSubMenu ? 0 : 1});
        QVERIFY(showActive(dialog));
        for (int i = 0; i < qAbs(moves); ++i)
            QTest::keyClick(child<QComboBox>(dialog, "typeList"), moves > 0 ? Qt::Key_Down : Qt::Key_Up);

        const EntryProperties result = dialog.properties();
        QTEST(result.typeIcon, "returnedIcon");
        QTEST(result.location, "location");
        QTEST(Enabled(child<QLineEdit>(dialog, "location")->isEnabled(),
                      child<QPushButton>(dialog, "browse")->isEnabled()), "enabled");
    }

    void itemDialogReturnsWhatWasTypedAndNothingOnEscape()
    {
        ScriptedModals modals;
        modals.pathAnswers = {QString("/opt/tools"), std::nullopt};   // chosen, then cancelled
        QString chosenType;
        bool openAfterReturnInDescription = false;
        modals.dialogAnswers.push_back([&](QDialog &dialog) {
            if (!showActive(dialog))
                return int(QDialog::Rejected);
            QTest::mouseClick(child<QPushButton>(dialog, "browse"), Qt::LeftButton);
            QTest::keyClicks(child<QLineEdit>(dialog, "location"), "/manual.chm");
            QTest::mouseClick(child<QPushButton>(dialog, "browse"), Qt::LeftButton);
            QTest::keyClick(child<QComboBox>(dialog, "typeList"), Qt::Key_Down);
            chosenType = child<QComboBox>(dialog, "typeList")->currentText();
            auto *description = child<QPlainTextEdit>(dialog, "description");
            QTest::keyClicks(description, "How to");
            QTest::keyClick(description, Qt::Key_Return);
            QTest::keyClicks(description, "use it");
            openAfterReturnInDescription = dialog.isVisible();
            // Quotes around the whole title would not come back from the file: OK is refused.
            QTest::keyClicks(child<QLineEdit>(dialog, "title"), "\"Manual\"");
            QTest::keyClick(child<QLineEdit>(dialog, "title"), Qt::Key_Return);
            if (!dialog.isVisible() || QApplication::focusWidget() != child<QLineEdit>(dialog, "title"))
                return int(QDialog::Rejected);
            child<QLineEdit>(dialog, "title")->clear();
            QTest::keyClicks(child<QLineEdit>(dialog, "title"), "Manual");
            QTest::keyClick(child<QLineEdit>(dialog, "title"), Qt::Key_Return);   // the default button, OK
            return dialog.result();
        });
        // The line break shows as the blank the file stores for it.
        QCOMPARE(editEntryProperties(nullptr, {"", "", "", "old.exe"}, {}),
                 (EntryProperties{"Topic-link.gif", "Manual", "How to use it", "/opt/tools/manual.chm"}));
        QCOMPARE(modals.dialogTitles, QStringList{"Item Properties"});
        QCOMPARE(chosenType, QString("Help topic"));
        QVERIFY(openAfterReturnInDescription);
        QCOMPARE(modals.messages.size(), 1);
        QCOMPARE(modals.messages[0].style, ui::MessageStyle::OkExclamation);

        modals.dialogAnswers.push_back([](QDialog &dialog) {
            QTest::keyClicks(child<QLineEdit>(dialog, "title"), "Changed");
            QTest::keyClick(&dialog, Qt::Key_Escape);
            return dialog.result();
        });
        QCOMPARE(editEntryProperties(nullptr, {}, {1, 1, 1}), std::nullopt);
    }

    void altKeyHoldsOneCharacter_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");      // at the end of the Alt key edit
        QTest::addColumn<QString>("shown");      // the edit's text after typing
        QTest::addColumn<int>("messages");       // after typing and pressing OK
        QTest::newRow("stored key upper-cased") << "f" << "" << "F" << 0;
        QTest::newRow("typed key returned as typed") << "" << "x" << "x" << 0;
        QTest::newRow("second character refused") << "" << "xy" << "x" << 0;
        QTest::newRow("character after a stored key refused") << "F" << "g" << "F" << 0;
        QTest::newRow("empty key") << "" << "" << "" << 0;
        QTest::newRow("two stored characters: OK refused") << "ab" << "" << "AB" << 1;
        QTest::newRow("change that leaves three") << "ab" << "c" << "ABc" << 2;
    }
    void altKeyHoldsOneCharacter()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(int, messages);
        ScriptedModals modals;
        QString shown;
        bool refusedWithFocusOnAltKey = false;
        modals.dialogAnswers.push_back([&](QDialog &dialog) {
            if (!showActive(dialog))
                return int(QDialog::Rejected);
            auto *altKey = child<QLineEdit>(dialog, "altKey");
            altKey->setFocus();
            QTest::keyClick(altKey, Qt::Key_End);
            QTest::keyClicks(altKey, typed);
            shown = altKey->text();
            QTest::mouseClick(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
            refusedWithFocusOnAltKey = dialog.isVisible() && altKey->hasFocus();
            if (dialog.isVisible())
                QTest::keyClick(altKey, Qt::Key_Escape);
            return dialog.result();
        });
        const std::optional<MenuProperties> result = editMenuProperties(nullptr, {"Files", stored});

        QCOMPARE(modals.dialogTitles, QStringList{"Menu Properties"});
        QTEST(shown, "shown");
        QTEST(int(modals.messages.size()), "messages");
        for (const ui::MessageRequest &message : modals.messages) {
            QCOMPARE(message.text, QString("Please enter no more than 1 characters."));
            QCOMPARE(message.caption, QString("Error"));
            QCOMPARE(message.style, ui::MessageStyle::OkExclamation);
        }
        QCOMPARE(refusedWithFocusOnAltKey, messages > 0);
        QCOMPARE(result, messages > 0 ? std::nullopt : std::optional(MenuProperties{"Files", shown}));
    }

    void placeFollowsTheTree()
    {
        document::CItem menu(document::ItemKind::MainMenu);
        menu.setPosition(2);
        for (int i = 0; i < 3; ++i)
            menu.entries().append(std::make_unique<document::CItem>(document::ItemKind::SubMenu));
        QCOMPARE(entryPlace(menu, 3), (EntryPlace{2, 4, 0}));
        QCOMPARE(entryPlace(*menu.entries().at(2), 1), (EntryPlace{2, 3, 2}));
    }

    // A text that its line cannot hold is refused with the length it may have, and what does
    // not fit is selected, a surrogate pair whole. Lines: __1-SUBMENU1__,"title";
    // __2-SUBMENU12-3-A__,"description"; the entry line, 72 units besides its location;
    // __MENU1_CONTENT_TITLE__,"title".
    void textsMustFitTheirLines_data()
    {
        QTest::addColumn<EntryPlace>("place");   // main menu 0: the menu properties dialog
        QTest::addColumn<QString>("edit");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("typed");      // last, after a text that fills the rest
        QTest::addColumn<int>("over");
        for (int over : {0, 1}) {
            const auto row = [over](const char *name) { return std::ref(QTest::addRow("%s, %d over", name, over)); };
            row("title") << EntryPlace{1, 1, 0} << "title" << 2030 << "y" << over;
            row("title ending in a pair") << EntryPlace{1, 1, 0} << "title" << 2030 << QString::fromUcs4(U"\U0001F600") << over;
            row("description") << EntryPlace{2, 12, 3} << "description" << 2025 << "y" << over;
            row("location") << EntryPlace{1, 1, 0} << "location" << 1975 << "y" << over;
            row("main-menu title") << EntryPlace{0, 0, 0} << "title" << 2021 << "y" << over;
        }
    }
    void textsMustFitTheirLines()
    {
        QFETCH(EntryPlace, place);
        QFETCH(QString, typed);
        QFETCH(int, limit);
        QFETCH(int, over);
        ScriptedModals modals;
        std::unique_ptr<QDialog> dialog;
        if (place.menu == 0)
            dialog = std::make_unique<MenuPropertiesDialog>(nullptr, MenuProperties{"", "E"});
        else
            dialog = std::make_unique<ItemPropertiesDialog>(nullptr, EntryProperties{"", "", "d", ""}, place);
        QVERIFY(showActive(*dialog));
        QFETCH(QString, edit);
        auto *line = child<QLineEdit>(*dialog, qPrintable(edit));
        auto *lines = child<QPlainTextEdit>(*dialog, qPrintable(edit));
        const QString filled(limit + over - typed.size(), QLatin1Char('x'));
        line ? line->setText(filled) : lines->setPlainText(filled);
        QWidget *field = dialog->findChild<QWidget *>(edit);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_End, Qt::ControlModifier);
        QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, typed, Qt::NoModifier);
        QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);

        QCOMPARE(dialog->isVisible(), bool(over));
        QCOMPARE(modals.messages.size(), over);
        if (over) {
            QCOMPARE(modals.messages[0].text, QString("Please enter no more than %1 characters.").arg(limit));
            QCOMPARE(modals.messages[0].caption, QString("Error"));
            QVERIFY(field->hasFocus());
            QCOMPARE(line ? line->selectedText() : lines->textCursor().selectedText(), typed);
        }
    }

    // Shift+Return and pasted breaks show as blanks too, one for each character of a break in a
    // line edit.
    void pastedBreaksShowAsStored()
    {
        ItemPropertiesDialog dialog(nullptr, {}, {});
        QVERIFY(showActive(dialog));
        QApplication::clipboard()->setText("b\r\nc");
        QTest::keyClick(child<QPlainTextEdit>(dialog, "description"), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keySequence(child<QPlainTextEdit>(dialog, "description"), QKeySequence::Paste);
        QTest::keySequence(child<QLineEdit>(dialog, "title"), QKeySequence::Paste);
        QCOMPARE(dialog.properties(), (EntryProperties{"Application-link.gif", "b  c", " b c", ""}));
    }

    // BROWSE opens the default chooser, which takes a folder as well as a file.
    void browseChoosesFolderOrFile_data()
    {
        QTest::addColumn<QString>("typed");      // into the chooser's edit, in the scratch folder
        QTest::addColumn<QString>("location");   // afterwards, in the scratch folder; empty: as it was
        QTest::newRow("folder") << "tools/" << "tools";
        QTest::newRow("file") << "tools/app.exe" << "tools/app.exe";
        QTest::newRow("nothing there: OK refused") << "none" << "";
    }
    void browseChoosesFolderOrFile()
    {
        QFETCH(QString, typed);
        QFETCH(QString, location);
        const QString scratch = testing::scratchPath(m_dir);
        testing::writeFile(scratch + "/tools/app.exe", "");
        ItemPropertiesDialog dialog(nullptr, {"", "", "", "/old"}, {});
        QVERIFY(showActive(dialog));
        QString caption;
        QTimer::singleShot(0, &dialog, [&] {
            auto *chooser = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!chooser)
                return;
            caption = chooser->windowTitle();
            auto *path = chooser->findChild<QLineEdit *>();
            path->clear();
            QTest::keyClicks(path, scratch + "/" + typed);
            QTest::keyClick(path, Qt::Key_Return);
            if (chooser->isVisible())
                chooser->reject();
        });
        QTest::mouseClick(child<QPushButton>(dialog, "browse"), Qt::LeftButton);
        QCOMPARE(caption, QString("Browse"));
        QCOMPARE(child<QLineEdit>(dialog, "location")->text(), location.isEmpty() ? "/old" : scratch + "/" + location);
    }
};
KAVO_TEST(PropertyDialogsTest)
#include "test_propertydialogs.moc"
