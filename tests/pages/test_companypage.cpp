#include "pagefixture.h"
#include "pages/companypage.h"
#include "document/companytitle.h"

#include <QLineEdit>
#include <QTest>

using pages::CompanyPage;

namespace {
const QByteArray texts = "[TEXT]\r\nCOMPANY_NAME=Company name\r\nCUSTOMIZED=Customized\r\n";
const QByteArray textsWithoutWord = "[TEXT]\r\nCOMPANY_NAME=Company name\r\n";
} // namespace

class CompanyPageTest : public QObject {
    Q_OBJECT
private slots:
    // The stored title is shown as the name alone and joined again on save.
    void titleRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("titleLine");   // the line in access-text.ini, empty: no TITLE key
        QTest::addColumn<bool>("hasWord");           // "CUSTOMIZED" present in the tool's texts
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("typed");          // null: saved as loaded
        QTest::addColumn<QByteArray>("savedLine");

        QTest::newRow("prefix, word and name in quotes")
            << QByteArray("TITLE=\"Help Center Customized Contoso\"") << true << "Contoso" << QString()
            << QByteArray("TITLE=\"Help Center Customized Contoso\"");
        QTest::newRow("title without the standard start")
            << QByteArray("TITLE=Contoso Support") << true << "Contoso Support" << QString()
            << QByteArray("TITLE=\"Help Center Customized Contoso Support\"");
        QTest::newRow("empty name keeps the prefix without the word")
            << QByteArray("TITLE=\"Help Center Customized Contoso\"") << true << "Contoso" << ""
            << QByteArray("TITLE=\"Help Center\"");
        QTest::newRow("name holding the prefix is written as typed")
            << QByteArray("TITLE=\"Help Center Customized Contoso\"") << true << "Contoso"
            << "Help Center Customized Contoso" << QByteArray("TITLE=\"Help Center Customized Contoso\"");
        QTest::newRow("missing CUSTOMIZED")
            << QByteArray("TITLE=Help Center Contoso") << false << "Contoso" << QString()
            << QByteArray("TITLE=\"Help Center  Contoso\"");
        QTest::newRow("tabs around the word are trimmed")
            << QByteArray("TITLE=Help Center\tCustomized\t Contoso") << true << "Contoso" << QString()
            << QByteArray("TITLE=\"Help Center Customized Contoso\"");
        QTest::newRow("missing TITLE")
            << QByteArray() << true << "" << "Fabrikam" << QByteArray("TITLE=\"Help Center Customized Fabrikam\"");
        QTest::newRow("standard start inside the title: kept whole")
            << QByteArray("TITLE=\"Acme Help Center Customized Foo\"") << true << "Acme Help Center Customized Foo"
            << QString() << QByteArray("TITLE=\"Acme Help Center Customized Foo\"");
        QTest::newRow("standard start in the name too")
            << QByteArray("TITLE=Help Center Customized Help Center Fans") << true
            << "Help Center Customized Help Center Fans" << QString()
            << QByteArray("TITLE=\"Help Center Customized Help Center Fans\"");
        QTest::newRow("word after the name: kept whole")
            << QByteArray("TITLE=Help Center Contoso Customized") << true << "Help Center Contoso Customized" << QString()
            << QByteArray("TITLE=\"Help Center Contoso Customized\"");
        QTest::newRow("a name in quotes keeps them")
            << QByteArray("TITLE=Help Center Customized Contoso") << true << "Contoso"
            << "\"Help Center Customized\"" << QByteArray("TITLE=\"\"Help Center Customized\"\"");
    }
    void titleRoundTrip()
    {
        QFETCH(QByteArray, titleLine);
        QFETCH(bool, hasWord);
        QFETCH(QString, shown);
        QFETCH(QString, typed);
        QFETCH(QByteArray, savedLine);

        PageFixture fixture(hasWord ? texts : textsWithoutWord);
        PageFixture::write(fixture.state->textFilePath, "[Access Text]\r\n" + titleLine + "\r\n");
        fixture.document->load();
        CompanyPage page(*fixture.document);
        auto *edit = page.findChild<QLineEdit *>("companyName");
        QCOMPARE(edit->text(), shown);

        if (typed.isEmpty() && !typed.isNull()) {
            fixture.document->loadNewPackage();
        } else if (!typed.isNull()) {
            edit->selectAll();
            QTest::keyClicks(edit, typed);
        }
        QVERIFY(fixture.document->writeCompanyName());
        QVERIFY(testing::readFile(fixture.state->textFilePath).contains(savedLine + "\r\n"));
        QCOMPARE(fixture.document->companyName(), typed.isNull() ? shown : typed);

        // Read again and saved again without an edit: the same title.
        const QByteArray saved = testing::readFile(fixture.state->textFilePath);
        fixture.document->load();
        QVERIFY(fixture.document->writeCompanyName());
        QCOMPARE(testing::readFile(fixture.state->textFilePath), saved);
    }

    void joiningNeedsNoPage_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stored");
        QTest::newRow("joined and quoted") << "Help Center Customized" << "Contoso" << "\"Help Center Customized Contoso\"";
        QTest::newRow("prefix with trailing blanks") << "Help Center Customized \t" << "Help Center Customized" << "\"Help Center Customized\"";
        QTest::newRow("outer white space trimmed") << "Help Center Customized" << "Contoso\r\n" << "\"Help Center Customized Contoso\"";
    }
    void joiningNeedsNoPage()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, name);
        QFETCH(QString, stored);
        QCOMPARE(document::joinCompanyTitle(prefix, name, "Customized"), stored);
    }

    void typingStopsAtThirtyCharacters()
    {
        PageFixture fixture(texts);
        fixture.document->load();
        CompanyPage page(*fixture.document);
        auto *edit = page.findChild<QLineEdit *>("companyName");
        const QString thirtyOne = "Contoso Pharmaceuticals Europe!";
        QCOMPARE(thirtyOne.size(), 31);
        QTest::keyClicks(edit, thirtyOne);
        QCOMPARE(edit->text(), thirtyOne.left(30));
        QCOMPARE(fixture.document->companyName(), thirtyOne.left(30));
    }

    void longerStoredNameIsNotCut()
    {
        PageFixture fixture(texts);
        const QByteArray name = "Contoso Pharmaceuticals Europe and Asia";
        PageFixture::write(fixture.state->textFilePath, "[Access Text]\r\nTITLE=" + name + "\r\n");
        fixture.document->load();
        CompanyPage page(*fixture.document);
        QCOMPARE(page.findChild<QLineEdit *>("companyName")->text(), QString(name));
        QCOMPARE(fixture.document->companyName(), QString(name));
    }

    void onlyTheUsersChangesMarkTheConfiguration()
    {
        PageFixture fixture(texts);
        PageFixture::write(fixture.state->textFilePath, "[Access Text]\r\nTITLE=Help Center Customized Contoso\r\n");
        fixture.document->load();
        CompanyPage page(*fixture.document);
        QVERIFY(!fixture.document->isModified());
        fixture.document->load();
        fixture.document->loadNewPackage();
        QVERIFY(!fixture.document->isModified());

        QTest::keyClick(page.findChild<QLineEdit *>("companyName"), Qt::Key_A);
        QVERIFY(fixture.document->isModified());
        QCOMPARE(fixture.document->companyName(), QString("a"));
    }
};
KAVO_TEST(CompanyPageTest)
#include "test_companypage.moc"
