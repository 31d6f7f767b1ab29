#include "testmain.h"
#include "app/qttranslation.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

// Qt's standard buttons speak every language of the tool's texts.
class QtTranslationTest : public QObject {
    Q_OBJECT
private slots:
    void standardButtonsAreTranslated_data()
    {
        QTest::addColumn<QString>("languageDir");
        for (const char *dir : {"0404", "0406", "0407", "040b", "040c", "0410", "0411", "0412", "0413", "0414", "0416",
                                "041d", "0804", "0816", "0c0a"})
            QTest::newRow(dir) << QString(dir);
    }
    void standardButtonsAreTranslated()
    {
        QFETCH(QString, languageDir);
        QTranslator translator;
        QVERIFY(app::loadQtTranslation(translator, languageDir));
        // Swedish comes with Qt's dialogs only; the tool names its buttons itself.
        const QString cancel = languageDir == "041d" ? translator.translate("QFileDialog", "&Open")
                                                     : translator.translate("QPlatformTheme", "Cancel");
        QVERIFY2(!cancel.isEmpty() && cancel != "Cancel", qPrintable(cancel));
    }

    // The buttons Qt names itself carry the tool's own words, in every language it ships; a
    // source text Qt changed would leave them in English without a word.
    void standardButtonsSayTheToolsWords_data() { standardButtonsAreTranslated_data(); QTest::newRow("0409") << "0409"; }
    void standardButtonsSayTheToolsWords()
    {
        QFETCH(QString, languageDir);
        platform::setProgramDirectory(KAVO_SOURCE_DIR "/data/program");
        platform::setUserInterfaceLanguage(languageDir.toUShort(nullptr, 16));
        app::StandardButtonTexts texts;
        QCoreApplication::installTranslator(&texts);
        QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes
                             | QDialogButtonBox::No);
        QCoreApplication::removeTranslator(&texts);
        platform::setUserInterfaceLanguage(std::nullopt);
        platform::setProgramDirectory(QString());

        const QString file = KAVO_SOURCE_DIR "/data/program/" + languageDir + "/custom-text.ini";
        const std::pair<QDialogButtonBox::StandardButton, const char *> buttons[] = {
            {QDialogButtonBox::Ok, "OK"}, {QDialogButtonBox::Cancel, "CANCEL"},
            {QDialogButtonBox::Yes, "YES"}, {QDialogButtonBox::No, "NO"}};
        for (const auto &[button, key] : buttons)
            QCOMPARE(box.button(button)->text(), ini::readProfileString(file, "TEXT", key));
    }

    void englishNeedsNone()
    {
        QTranslator translator;
        QVERIFY(!app::loadQtTranslation(translator, "0409"));
    }
};
KAVO_TEST(QtTranslationTest)
#include "test_qttranslation.moc"
