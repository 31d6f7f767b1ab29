#include "testmain.h"
#include "scriptedmodals.h"
#include "texts/texts.h"
#include "ui/textmessage.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include <QTest>
#include <memory>

class TextsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    QString programDir() const { return testing::scratchPath(*m_dir); }
    QString englishTextFile() const { return programDir() + "/0409/custom-text.ini"; }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        platform::setProgramDirectory(programDir());
        platform::setUserInterfaceLanguage(0x0409);
        ini::clearProfileCache();
    }
    void cleanup()
    {
        platform::setProgramDirectory(QString());
        platform::setUserInterfaceLanguage(std::nullopt);
    }

    void fileFollowsTheLanguageAtEveryLookup()
    {
        testing::writeFile(englishTextFile(), "[TEXT]\r\nABOUT=About\r\n");
        testing::writeFile(programDir() + "/0407/custom-text.ini", "[TEXT]\r\nABOUT=Info\r\n");
        QCOMPARE(texts::uiTextFilePath(), englishTextFile());
        QCOMPARE(texts::lookupText("TEXT", "ABOUT"), QString("About"));
        platform::setUserInterfaceLanguage(0x0807);
        QCOMPARE(texts::uiTextFilePath(), programDir() + "/0407/custom-text.ini");
        QCOMPARE(texts::lookupText("TEXT", "ABOUT"), QString("Info"));
    }

    void lookup_data()
    {
        QTest::addColumn<QByteArray>("contents");   // null: no file at all
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        const QByteArray file = "[TEXT]\r\nABOUT=About this tool\r\nEMPTY=\r\nQUOTED=\"  Quoted, with blanks  \"\r\n"
                                "LONG=" + QByteArray(3000, 'x') + "\r\n";
        QTest::newRow("found") << file << "TEXT" << "ABOUT" << "About this tool";
        QTest::newRow("names without regard to case") << file << "text" << "about" << "About this tool";
        QTest::newRow("missing file") << QByteArray() << "TEXT" << "ABOUT" << "";
        QTest::newRow("missing section") << file << "MESSAGES" << "ABOUT" << "";
        QTest::newRow("missing key") << file << "TEXT" << "NEWMENU" << "";
        QTest::newRow("empty value") << file << "TEXT" << "EMPTY" << "";
        QTest::newRow("quotes removed") << file << "TEXT" << "QUOTED" << "  Quoted, with blanks  ";
        QTest::newRow("cut to 2047 characters") << file << "TEXT" << "LONG" << QString(2047, 'x');
    }
    void lookup()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, text);
        if (!contents.isNull())
            testing::writeFile(englishTextFile(), contents);
        QCOMPARE(texts::lookupText(section, key), text);
    }

    void messageBoxShowsTheLookedUpTexts()
    {
        testing::writeFile(englishTextFile(),
                           "[MESSAGES]\r\nREMOVEITEM=Remove this menu?\r\nCONFIRMATION=Please confirm\r\n");
        ScriptedModals modals;
        modals.messageAnswers = {ui::MessageButton::Cancel, ui::MessageButton::Ok};

        QVERIFY(ui::showTextMessage(nullptr, "MESSAGES", "REMOVEITEM", "MESSAGES", "CONFIRMATION",
                                        ui::MessageStyle::OkCancelQuestion)
                == ui::MessageButton::Cancel);
        // A missing text still shows the box, empty, and still returns the answer.
        QVERIFY(ui::showTextMessage(nullptr, "MESSAGES", "MISSING", "TEXT", "ERROR",
                                        ui::MessageStyle::Ok)
                == ui::MessageButton::Ok);

        QCOMPARE(modals.messages.size(), 2);
        QCOMPARE(modals.messages[0].text, QString("Remove this menu?"));
        QCOMPARE(modals.messages[0].caption, QString("Please confirm"));
        QVERIFY(modals.messages[0].style == ui::MessageStyle::OkCancelQuestion);
        QVERIFY(modals.messages[1].text.isEmpty() && modals.messages[1].caption.isEmpty());
    }

    void captionsWithoutTheirAccelerator_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("plain");
        QTest::newRow("marked in the text") << "&Help" << "Help";
        QTest::newRow("inside a word") << "Save &As..." << "Save As...";
        QTest::newRow("after the text") << QString::fromUtf8("ヘルプ(&H)") << QString::fromUtf8("ヘルプ");
        QTest::newRow("after a blank") << QString::fromUtf8("도움말 (&H)") << QString::fromUtf8("도움말");
        QTest::newRow("an ampersand of its own") << "Tips && &Tricks" << "Tips & Tricks";
        QTest::newRow("none") << "Help" << "Help";
    }
    void captionsWithoutTheirAccelerator()
    {
        QFETCH(QString, caption);
        QTEST(texts::withoutMnemonic(caption), "plain");
    }
};
KAVO_TEST(TextsTest)
#include "test_texts.moc"
