#include "testmain.h"
#include "platform/profile.h"

#include <QTest>

// The tool's own texts as shipped beside the program.
class CustomTextsTest : public QObject {
    Q_OBJECT

    static QString shipped(const QString &languageDir)
    {
        return QStringLiteral(KAVO_SOURCE_DIR "/data/program/") + languageDir + QStringLiteral("/custom-text.ini");
    }

    static QStringList languageDirs()
    {
        return {"0c0a", "040b", "041d", "0404", "0412", "0413", "0406", "0407",
                "0409", "040c", "0410", "0411", "0414", "0416", "0816", "0804"};
    }

private slots:
    void everyKeyTheToolLooksUpHasAText_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        const QStringList text = {
            // main window, About box and message captions
            "TITLE", "COMPANY", "MENUS", "PERSONALIZE", "FILE", "NEW", "OPEN", "SAVE", "SAVEAS", "EXIT", "HELP",
            "ABOUT", "COPYRIGHTTEXT", "ABOUTBODYTEXT", "WARNING", "CONFIRMATION", "ERROR",
            // company page
            "CUSTOMIZED", "COMPANY_NAME", "TYPECOMPANY", "REQUIRED", "TEXTFOLLOW",
            // general page
            "RESTITLETEXT", "RES0TEXT", "RES1TEXT", "RES2TEXT", "SYSTRAYTEXT", "ASKPRVINFOTEXT", "TAB3", "TAB2",
            "FONT_COLOR", "BGTEXT",
            // menu tree: context menus and the right-drag menu
            "EDIT", "NEWSUB", "NEWITEM", "NEWMENU", "DELETE", "WITHIN", "BELOW",
            // item and menu properties dialogs
            "PROP", "TYPE", "MENUTITLE", "LAUNCH", "DESC", "BROWSE", "OK", "CANCEL", "APPLNK", "INTERNET", "SUBMENU",
            "SYSINFO", "MENUPROP", "ALTKEY",
            // the Edit menu and the names of the steps it undoes and redoes
            "EDITMENU", "UNDO", "REDO", "STEPCOMPANY", "STEPSETTINGS", "STEPNEWMENU", "STEPNEWSUB", "STEPNEWITEM",
            "STEPEDITMENU", "STEPEDITITEM", "STEPDELETE", "CUT", "COPY", "PASTE", "MOVEUP", "MOVEDOWN", "STEPMOVE",
            "STEPPASTE", "STEPCUT"};
        const QStringList messages = {"NOAKVO", "SAVECHANGE", "COMPANYEMPTY", "FILEXISTS", "BUILDERROR", "BUILDING",
                                      "ADDHEAD", "REMOFEHEAD", "REMOVEITEM", "CHGSUBTYPE", "ERROR", "CONFIRMATION",
                                      "INFORMATION", "WARNING", "QUOTEDTEXT"};
        const QStringList backgrounds = {"DEFAULT_BACKGROUND", "WHITE_BACKGROUND", "BLACK_BACKGROUND"};
        for (const auto &[section, keys] : {std::pair{QString("TEXT"), text}, std::pair{QString("MESSAGES"), messages},
                                            std::pair{QString("Backgrounds"), backgrounds}})
            for (const QString &key : keys)
                QTest::addRow("%s %s", qPrintable(section), qPrintable(key)) << section << key;
    }
    void everyKeyTheToolLooksUpHasAText()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QVERIFY(!platform::readProfileString(shipped("0409"), section, key).isEmpty());
    }

    void aboutBodyHasOneVersionMark()
    {
        QCOMPARE(platform::readProfileString(shipped("0409"), "TEXT", "ABOUTBODYTEXT").count(QLatin1Char('#')), 1);
    }

    // Windows INI files: Windows-1252 text with CR LF line endings, and no last built package.
    void everyLanguageShipsAWindowsTextFile_data()
    {
        QTest::addColumn<QString>("languageDir");
        for (const QString &dir : languageDirs())
            QTest::newRow(qPrintable(dir)) << dir;
    }
    void everyLanguageShipsAWindowsTextFile()
    {
        QFETCH(QString, languageDir);
        const QByteArray bytes = testing::readFile(shipped(languageDir));
        QVERIFY(!bytes.isEmpty());
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QVERIFY(!bytes.startsWith("\xEF\xBB\xBF") && !bytes.startsWith("\xFF\xFE"));
        QVERIFY(!platform::readProfileString(shipped(languageDir), "TEXT", "TITLE").isEmpty());
        QVERIFY(platform::readProfileString(shipped(languageDir), "OTHER", "LASTCONFIG").isEmpty());
    }
};
KAVO_TEST(CustomTextsTest)
#include "test_customtexts.moc"
