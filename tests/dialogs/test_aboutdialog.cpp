#include "testmain.h"
#include "dialogs/aboutdialog.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/registry.h"
#include "platform/uilanguage.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

using namespace dialogs;

class AboutDialogTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QByteArray m_savedRegistry;

    QString registryDir() const { return m_dir.path() + "/registry"; }

private slots:
    void initTestCase()
    {
        platform::setProgramDirectory(m_dir.path() + "/program");
        platform::setUserInterfaceLanguage(0x0409);
        testing::writeFile(m_dir.path() + "/program/0409/custom-text.ini",
                           "[TEXT]\r\nABOUT=About Kavo\r\nCOPYRIGHTTEXT=(C) Harbel\r\nABOUTBODYTEXT=Kavo # ready (#)\r\n");
        ini::clearProfileCache();
        m_savedRegistry = qgetenv("AKVO_REGISTRY");
        qputenv("AKVO_REGISTRY", registryDir().toLocal8Bit());
    }
    void cleanupTestCase()
    {
        qputenv("AKVO_REGISTRY", m_savedRegistry);
        platform::setProgramDirectory(QString());
        platform::setUserInterfaceLanguage(std::nullopt);
    }
    void cleanup() { QDir(registryDir()).removeRecursively(); }

    void everyMarkBecomesTheVersion_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no mark") << "Kavo tool" << "3.1" << "Kavo tool";
        QTest::newRow("one mark") << "Kavo tool, version #." << "3.1" << "Kavo tool, version 3.1.";
        QTest::newRow("two marks") << "# and #" << "3.1" << "3.1 and 3.1";
        QTest::newRow("no version: marks vanish") << "version # (#)" << "" << "version  ()";
        QTest::newRow("empty body") << "" << "3.1" << "";
    }
    void everyMarkBecomesTheVersion()
    {
        QFETCH(QString, body);
        QFETCH(QString, version);
        QFETCH(QString, expected);
        QCOMPARE(aboutBodyText(body, version), expected);
    }

    void boxShowsTheTextsWithTheInstalledVersion_data()
    {
        QTest::addColumn<QString>("registryFile");   // DUVA's key; empty: no key at all
        QTest::addColumn<QString>("expectedBody");
        QTest::newRow("version recorded") << "[General]\nVersion=3.1\n" << "Kavo 3.1 ready (3.1)";
        QTest::newRow("key without the value") << "[General]\nOther=1\n" << "Kavo  ready ()";
        QTest::newRow("no key") << "" << "Kavo  ready ()";
        QTest::newRow("value too long to read")
            << "[General]\nVersion=" + QString(600, QLatin1Char('9')) + "\n" << "Kavo  ready ()";
    }
    void boxShowsTheTextsWithTheInstalledVersion()
    {
        QFETCH(QString, registryFile);
        QFETCH(QString, expectedBody);
        if (!registryFile.isEmpty())
            testing::writeFile(registryDir() + "/system/Harbel/DUVA.conf", registryFile.toUtf8());

        AboutDialog about;
        QCOMPARE(about.windowTitle(), QString("About Kavo"));
        QCOMPARE(about.copyrightText(), QString("(C) Harbel"));
        QCOMPARE(about.bodyText(), expectedBody);
    }

    void okClosesTheBox()
    {
        AboutDialog about;
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QPushButton *ok = about.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!about.isVisible());
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }
};
KAVO_TEST(AboutDialogTest)
#include "test_aboutdialog.moc"
