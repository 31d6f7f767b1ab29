#include "testmain.h"
#include "platform/uilanguage.h"

#include <QTest>

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void directoryForIdentifier_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("dir");
        QTest::newRow("English US") << 0x0409 << "0409";
        QTest::newRow("English UK") << 0x0809 << "0409";
        QTest::newRow("Spanish modern sort") << 0x0C0A << "0c0a";
        QTest::newRow("Spanish traditional sort") << 0x040A << "0c0a";
        QTest::newRow("Chinese Taiwan") << 0x0404 << "0404";
        QTest::newRow("Chinese PRC") << 0x0804 << "0804";
        QTest::newRow("Chinese Hong Kong") << 0x0C04 << "0804";
        QTest::newRow("Chinese Singapore") << 0x1004 << "0804";
        QTest::newRow("Portuguese Brazil") << 0x0416 << "0416";
        QTest::newRow("Portuguese Portugal") << 0x0816 << "0816";
        QTest::newRow("German Switzerland") << 0x0807 << "0407";
        QTest::newRow("French Belgium") << 0x080C << "040c";
        QTest::newRow("Swedish Finland") << 0x081D << "041d";
        QTest::newRow("Norwegian Nynorsk") << 0x0814 << "0414";
        QTest::newRow("Russian") << 0x0419 << "0409";
        QTest::newRow("Czech") << 0x0405 << "0409";
        QTest::newRow("neutral") << 0x0000 << "0409";
        QTest::newRow("Thai, first primary after Swedish") << 0x041E << "0409";
    }
    void directoryForIdentifier()
    {
        QFETCH(int, id);
        QFETCH(QString, dir);
        QCOMPARE(platform::languageDirForId(quint16(id)), dir);
    }

    void identifierForLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("id");
        QTest::newRow("en_US") << "en_US" << 0x0409;
        QTest::newRow("en_GB") << "en_GB" << 0x0809;
        QTest::newRow("de_DE") << "de_DE" << 0x0407;
        QTest::newRow("de_CH") << "de_CH" << 0x0807;
        QTest::newRow("zh_TW") << "zh_TW" << 0x0404;
        QTest::newRow("zh_CN") << "zh_CN" << 0x0804;
        QTest::newRow("pt_BR") << "pt_BR" << 0x0416;
        QTest::newRow("pt_PT") << "pt_PT" << 0x0816;
        QTest::newRow("es_ES") << "es_ES" << 0x0C0A;
        QTest::newRow("ja_JP") << "ja_JP" << 0x0411;
        QTest::newRow("nb_NO") << "nb_NO" << 0x0414;
        QTest::newRow("C") << "C" << 0x0409;
    }
    void identifierForLocale()
    {
        QFETCH(QString, locale);
        QFETCH(int, id);
        QCOMPARE(int(platform::languageIdForLocale(QLocale(locale))), id);
    }

    void overrideTakesEffectAtOnce()
    {
        platform::setUserInterfaceLanguage(0x040C);
        QCOMPARE(platform::currentLanguageDir(), QStringLiteral("040c"));
        platform::setUserInterfaceLanguage(0x0411);
        QCOMPARE(platform::currentLanguageDir(), QStringLiteral("0411"));
        platform::setUserInterfaceLanguage(std::nullopt);
    }
};
KAVO_TEST(LanguageTest)
#include "test_language.moc"
