#include "testmain.h"
#include "app/qttranslation.h"

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

    void englishNeedsNone()
    {
        QTranslator translator;
        QVERIFY(!app::loadQtTranslation(translator, "0409"));
    }
};
KAVO_TEST(QtTranslationTest)
#include "test_qttranslation.moc"
