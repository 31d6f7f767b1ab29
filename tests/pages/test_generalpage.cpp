#include "pagefixture.h"
#include "scriptedmodals.h"
#include "pages/colorswatchbutton.h"
#include "pages/generalpage.h"
#include "platform/registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

using pages::GeneralPage;
using document::GeneralSettings;

namespace {

const QByteArray texts =
    "[TEXT]\r\nRES0TEXT=800 x 600\r\nRES1TEXT=1024 x 768\r\nRES2TEXT=1280 x 1024\r\n"
    "SYSTRAYTEXT=Show the tray icon\r\nASKPRVINFOTEXT=Always show the privacy information\r\n"
    "[Backgrounds]\r\nDEFAULT_BACKGROUND=Default\r\nWHITE_BACKGROUND=White\r\nBLACK_BACKGROUND=Black\r\n";
const QByteArray textsWithoutPrivacy = "[TEXT]\r\nRES0TEXT=800 x 600\r\n";

const QByteArray oemDefaults =
    "[OEM Defaults]\r\nTAB1_DEFAULT=t1.jpg\r\nTAB2_DEFAULT=t2.jpg\r\nTAB3_DEFAULT=t3.jpg\r\n"
    "TAB4_DEFAULT=t4.jpg\r\nTAB5_DEFAULT=t5.jpg\r\nRESOLUTION=2\r\nSHOW_SYSTRAY=true\r\nSPLASH=true\r\n"
    "REGULAR_TEXT_COLOR=#FF8000\r\n";

QString registryFile(const char *scope, const char *key)
{
    return qEnvironmentVariable("AKVO_REGISTRY") + "/" + scope + "/Harbel/" + key + ".conf";
}

std::optional<quint32> privacyValue()
{
    return platform::readRegistryNumber(platform::RegistryScope::User, "Software\\Harbel\\ZELT", "ShowPrivacyDlg");
}

} // namespace

class GeneralPageTest : public QObject {
    Q_OBJECT

    static QString saved(const PageFixture &fixture, const char *section, const char *key)
    {
        return ini::readProfileString(fixture.state->configFilePath, section, key);
    }

private slots:
    void backgroundChoice_data()
    {
        QTest::addColumn<QByteArray>("menu1");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QStringList>("backgrounds");
        QTest::addColumn<QString>("cycle");
        const QStringList defaults{"t1.jpg", "t2.jpg", "t3.jpg", "t4.jpg", "t5.jpg"};
        QTest::newRow("white in another case") << QByteArray("WHITE.JPG") << 1 << QStringList(5, "white.jpg") << "false";
        QTest::newRow("neither white nor black") << QByteArray("sunset.jpg") << 0 << defaults << "true";
        QTest::newRow("black") << QByteArray("black.jpg") << 2 << QStringList(5, "black.jpg") << "false";
    }
    void backgroundChoice()
    {
        QFETCH(QByteArray, menu1);
        QFETCH(int, entry);
        QFETCH(QStringList, backgrounds);
        QFETCH(QString, cycle);

        PageFixture fixture(texts);
        PageFixture::write(fixture.state->configFilePath, "[OTHER]\r\nWHITE_BACKGROUND=white.jpg\r\nBLACK_BACKGROUND=black.jpg\r\n"
                                                          "MENU1_BACKGROUND=" + menu1 + "\r\n" + oemDefaults);
        fixture.document->load();
        GeneralPage page(*fixture.document);
        QCOMPARE(page.findChild<QComboBox *>("background")->currentIndex(), entry);
        QVERIFY(fixture.document->writeSettings().fileWritten);
        const QStringList keys{"MENU1_BACKGROUND", "MENU2_BACKGROUND", "MENU3_BACKGROUND", "MENU4_BACKGROUND", "MENU5_BACKGROUND1"};
        for (int menu = 0; menu < 5; ++menu)
            QCOMPARE(saved(fixture, "OTHER", keys[menu].toLatin1()), backgrounds[menu]);
        QCOMPARE(saved(fixture, "OTHER", "MENU5_CYCLE_ON"), cycle);
    }

    void pickingABackgroundIsAChange()
    {
        PageFixture fixture(texts);
        PageFixture::write(fixture.state->configFilePath, "[OTHER]\r\nMENU1_BACKGROUND=t1.jpg\r\n"
                                                          "WHITE_BACKGROUND=white.jpg\r\nBLACK_BACKGROUND=black.jpg\r\n" + oemDefaults);
        fixture.document->load();
        GeneralPage page(*fixture.document);
        QCOMPARE(fixture.document->settings().background, GeneralSettings::DefaultBackground);
        QVERIFY(!fixture.document->isModified());
        QTest::keyClick(page.findChild<QComboBox *>("background"), Qt::Key_Down);
        QCOMPARE(fixture.document->settings().background, GeneralSettings::WhiteBackground);
        QCOMPARE(fixture.document->settings().menuBackgrounds[4], QString("white.jpg"));
        QCOMPARE(fixture.document->settings().cycleValue, QString("false"));
        QVERIFY(fixture.document->isModified());
    }

    void colourText_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QColor>("shown");
        QTest::addColumn<QString>("written");
        QTest::newRow("hash and six digits") << QByteArray("#0A00FF") << QColor(10, 0, 255) << "#0A00FF";
        QTest::newRow("later characters ignored") << QByteArray("#0a00ffee") << QColor(10, 0, 255) << "#0a00ffee";
        QTest::newRow("six characters ignored") << QByteArray("0A00FF") << QColor(Qt::black) << "";
        QTest::newRow("missing") << QByteArray() << QColor(Qt::black) << "";
    }
    void colourText()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QColor, shown);
        QFETCH(QString, written);

        PageFixture fixture(texts);
        PageFixture::write(fixture.state->configFilePath, "[OTHER]\r\nREGULAR_TEXT_COLOR=" + stored + "\r\n");
        fixture.document->load();
        GeneralPage page(*fixture.document);
        QCOMPARE(page.findChild<pages::ColorSwatchButton *>("colorSwatch")->color(), shown);
        QVERIFY(fixture.document->writeSettings().fileWritten);
        QCOMPARE(saved(fixture, "OTHER", "REGULAR_TEXT_COLOR"), written);
    }

    void choosingAColour_data()
    {
        QTest::addColumn<std::optional<QColor>>("answer");
        QTest::addColumn<QColor>("shown");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("modified");
        QTest::newRow("OK") << std::optional<QColor>(QColor(10, 0, 255)) << QColor(10, 0, 255) << "#0A00FF" << true;
        QTest::newRow("Cancel") << std::optional<QColor>() << QColor(1, 2, 3) << "#010203" << false;
    }
    void choosingAColour()
    {
        QFETCH(std::optional<QColor>, answer);
        QFETCH(QColor, shown);
        QFETCH(QString, written);
        QFETCH(bool, modified);

        PageFixture fixture(texts);
        PageFixture::write(fixture.state->configFilePath, "[OTHER]\r\nREGULAR_TEXT_COLOR=#010203\r\n");
        ScriptedModals modals;
        modals.colorAnswers.push_back(answer);
        fixture.document->load();
        GeneralPage page(*fixture.document);
        page.show();
        auto *swatch = page.findChild<pages::ColorSwatchButton *>("colorSwatch");
        QTest::mouseClick(swatch, Qt::LeftButton);
        QCOMPARE(modals.colorsOffered, QList<QColor>{QColor(1, 2, 3)});   // the current colour
        QCOMPARE(swatch->color(), shown);
        QCOMPARE(swatch->grab().toImage().pixelColor(swatch->rect().center()), shown);
        QCOMPARE(fixture.document->isModified(), modified);
        QVERIFY(fixture.document->writeSettings().fileWritten);
        QCOMPARE(saved(fixture, "OTHER", "REGULAR_TEXT_COLOR"), written);
    }

    void trayOption_data()
    {
        QTest::addColumn<bool>("trayInstalled");
        QTest::addColumn<QString>("written");
        QTest::newRow("tray component installed") << true << "false";
        QTest::newRow("no tray component") << false << "TRUE";
    }
    void trayOption()
    {
        QFETCH(bool, trayInstalled);
        QFETCH(QString, written);

        PageFixture fixture(texts);
        if (trayInstalled)
            testing::writeFile(registryFile("system", "RUNA"), "");
        PageFixture::write(fixture.state->configFilePath, "[Other]\r\nSHOW_SYSTRAY=TRUE\r\n");
        fixture.document->load();
        GeneralPage page(*fixture.document);
        auto *box = page.findChild<QCheckBox *>("systemTray");
        QCOMPARE(box->isHidden(), !trayInstalled);
        QVERIFY(box->isChecked());
        if (trayInstalled) {
            page.show();
            QTest::mouseClick(box, Qt::LeftButton);
            QVERIFY(fixture.document->isModified());
        }
        QVERIFY(fixture.document->writeSettings().fileWritten);
        QCOMPARE(saved(fixture, "Other", "SHOW_SYSTRAY"), written);
    }

    // The animation and sound options belong to the front-end's own set-up, not to this page.
    void splashAndSoundAreNeverWritten()
    {
        PageFixture fixture(texts);
        PageFixture::write(fixture.state->configFilePath, "[Other]\r\nSHOW_SPLASH=TRUE\r\n" + oemDefaults);
        fixture.document->load();
        GeneralPage page(*fixture.document);
        QVERIFY(page.findChild<QCheckBox *>("animation")->isHidden());
        fixture.document->loadNewPackage();
        QVERIFY(fixture.document->writeSettings().fileWritten);
        const QByteArray file = testing::readFile(fixture.state->configFilePath);
        QVERIFY(file.contains("SHOW_SPLASH=TRUE\r\n"));
        QVERIFY(!file.contains("PLAY_SOUND"));
        QVERIFY(!file.contains("\nSOUND"));
    }

    void privacyOption_data()
    {
        QTest::addColumn<QByteArray>("customText");
        QTest::addColumn<QByteArray>("registry");   // user-scope ZELT; null: the key does not exist
        QTest::addColumn<bool>("checked");
        QTest::addColumn<std::optional<quint32>>("afterOpening");
        QTest::addColumn<std::optional<quint32>>("afterSaving");
        using Value = std::optional<quint32>;
        QTest::newRow("value missing is created as 1") << texts << QByteArray("") << false << Value(1) << Value(0);
        QTest::newRow("value set") << texts << QByteArray("[General]\nShowPrivacyDlg=5\n") << true << Value(5) << Value(1);
        QTest::newRow("value off") << texts << QByteArray("[General]\nShowPrivacyDlg=0\n") << false << Value(0) << Value(0);
        QTest::newRow("no key: nothing written") << texts << QByteArray() << false << Value() << Value();
        QTest::newRow("box hidden: not read, still saved")
            << textsWithoutPrivacy << QByteArray("[General]\nShowPrivacyDlg=1\n") << false << Value(1) << Value(0);
    }
    void privacyOption()
    {
        QFETCH(QByteArray, customText);
        QFETCH(QByteArray, registry);
        QFETCH(bool, checked);
        QFETCH(std::optional<quint32>, afterOpening);
        QFETCH(std::optional<quint32>, afterSaving);

        PageFixture fixture(customText);
        if (!registry.isNull())
            testing::writeFile(registryFile("user", "ZELT"), registry);
        fixture.document->load();
        GeneralPage page(*fixture.document);
        auto *box = page.findChild<QCheckBox *>("privacy");
        QCOMPARE(box->isHidden(), customText == textsWithoutPrivacy);
        QCOMPARE(box->isChecked(), checked);
        QCOMPARE(privacyValue(), afterOpening);
        QVERIFY(fixture.document->writeSettings().fileWritten);
        QCOMPARE(privacyValue(), afterSaving);
    }

    void refusedRegistryWriteIsReportedAndTheFileStillWritten()
    {
        PageFixture fixture(texts);
        QDir().mkpath(registryFile("user", "ZELT"));   // the key exists, but cannot be written
        fixture.document->load();
        const GeneralSettings::SaveOutcome outcome = fixture.document->writeSettings();
        QVERIFY(outcome.fileWritten);
        QCOMPARE(outcome.registryError, EACCES);
        QCOMPARE(saved(fixture, "Other", "RESOLUTION"), QString("0"));
    }

    void unwritableConfigurationFileIsReported()
    {
        PageFixture fixture(texts);
        QDir().mkpath(fixture.state->configFilePath);
        fixture.document->load();
        GeneralPage page(*fixture.document);
        QVERIFY(!fixture.document->writeSettings().fileWritten);
    }

    void resolutionFollowsEachPackage()
    {
        PageFixture fixture(texts);
        PageFixture::write(fixture.state->configFilePath, "[Other]\r\nRESOLUTION=1\r\n");
        fixture.document->load();
        GeneralPage page(*fixture.document);
        auto *list = page.findChild<QComboBox *>("resolution");
        for (const QByteArray resolution : {"2", "0", "7", "x", "1"}) {
            PageFixture::write(fixture.state->configFilePath, "[Other]\r\nRESOLUTION=" + resolution + "\r\n");
            fixture.document->load();
            QCOMPARE(list->count(), 3);
            QCOMPARE(list->currentIndex(), resolution == "7" ? -1 : resolution.toInt());
        }
        QVERIFY(!fixture.document->isModified());
    }

    void resolutionOutsideTheListIsKept()
    {
        PageFixture fixture(texts);
        PageFixture::write(fixture.state->configFilePath, "[Other]\r\nRESOLUTION=7\r\n");
        fixture.document->load();
        GeneralPage page(*fixture.document);
        QVERIFY(fixture.document->writeSettings().fileWritten);
        QCOMPARE(saved(fixture, "Other", "RESOLUTION"), QString("7"));

        QTest::keyClick(page.findChild<QComboBox *>("resolution"), Qt::Key_Down);
        QVERIFY(fixture.document->isModified());
        QVERIFY(fixture.document->writeSettings().fileWritten);
        QCOMPARE(saved(fixture, "Other", "RESOLUTION"), QString("0"));
    }

    void oemDefaultsForANewConfiguration()
    {
        PageFixture fixture(texts);
        testing::writeFile(registryFile("user", "ZELT"), "[General]\nShowPrivacyDlg=0\n");
        PageFixture::write(fixture.state->configFilePath, oemDefaults);
        fixture.document->load();
        GeneralPage page(*fixture.document);
        fixture.document->loadNewPackage();
        QCOMPARE(page.findChild<QComboBox *>("resolution")->currentIndex(), 2);
        QCOMPARE(page.findChild<pages::ColorSwatchButton *>("colorSwatch")->color(), QColor(255, 128, 0));
        QCOMPARE(page.findChild<QComboBox *>("background")->currentIndex(), 0);
        QVERIFY(page.findChild<QCheckBox *>("privacy")->isChecked());
        QVERIFY(fixture.document->writeSettings().fileWritten);
        QCOMPARE(saved(fixture, "OTHER", "MENU3_BACKGROUND"), QString("t3.jpg"));
        QCOMPARE(privacyValue(), std::optional<quint32>(1));
    }
};
KAVO_TEST(GeneralPageTest)
#include "test_generalpage.moc"
