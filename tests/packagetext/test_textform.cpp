#include "testmain.h"
#include "packagetext/packagetext.h"

#include "document/menuitems.h"

#include <QTest>

using namespace packagetext;

namespace {

// A package that uses every value of the form once.
PackageText fullPackage()
{
    EntryText write{document::ApplicationIcon, "Word processor", R"(C:\Programs\write.exe)", "Writes letters", {}, {}};
    EntryText site{document::InternetLinkIcon, "Site", "https://example.com/a?b=c#d", "", {}};
    EntryText tools{document::SubMenuIcon, "Tools", "", "Small tools", {write, site}};
    tools.holdsEntries = false;   // as a file may say of a sub-menu
    MainMenuText learn{"Learn", "L", "Tutorials", "learn.gif", "learn-hot.gif", "#112233", "#445566", "tab1.gif",
                       {tools, EntryText{"odd.GIF", "Odd", "", "", {}}}};
    return {"Contoso Ltd", {1, true, "#000000", 2}, {learn, MainMenuText{}}};
}

const char *const header = "kavo-package: 1\nsettings:\n  resolution: 800x600\n  system-tray: false\n"
                           "  background: default\n";

} // namespace

class TextFormTest : public QObject {
    Q_OBJECT
private slots:
    // Every text comes back exactly, whatever YAML would make of it unquoted.
    void awkwardTextsComeBack_data()
    {
        QTest::addColumn<QString>("text");
        const QStringList texts{
            " leading", "trailing ", "  ", "\"quoted\"", "'single'", "# not a comment", "a # b", "key: value",
            "ends:", "yes", "No", "null", "~", "true", "1.0", "007", "0x1F", ".inf", "-", "- item", "[list]",
            "{map}", "&anchor", "*alias", "!tag", "|", ">", "%x", "@x", "`x", "back\\slash", "\\\"", "tab\there",
            "two\nlines", "crlf\r\n", "Grüße", "日本語のタイトル", "한국어", "Ελληνικά", "emoji 😀", "\u00a0nbsp",
            "\ufeffbom", "c1\u0085next", "line\u2028sep", "application", "sub-menu", "?", ":", ",comma"};
        for (const QString &text : texts)
            QTest::newRow(qPrintable(text.toUtf8().toPercentEncoding())) << text;
    }
    void awkwardTextsComeBack()
    {
        QFETCH(QString, text);
        PackageText package = fullPackage();
        package.companyName = text;
        package.settings.textColor = text;
        package.mainMenus[0].altKey = text;
        package.mainMenus[0].entries[0].entries[1].location = text;
        package.mainMenus[0].entries[1].typeIcon = text;
        const QByteArray written = writePackageText(package);
        const auto read = readPackageText(written);
        QVERIFY2(std::holds_alternative<PackageText>(read), written.constData());
        QVERIFY2(std::get<PackageText>(read) == package, written.constData());
    }

    // The form a person reads: one value per line, types by name, empty values left out.
    void formReadsAsWritten()
    {
        const QByteArray text = writePackageText(fullPackage());
        for (const char *line : {"kavo-package: 1\n", "company: Contoso Ltd\n", "  resolution: 1024x768",
                                 "  system-tray: true\n", "  text-colour: \"#000000\"\n", "  background: black",
                                 "      - type: sub-menu\n", "          - type: application\n",
                                 "            location: C:\\Programs\\write.exe\n", "        holds-entries: false\n",
                                 "      - type: odd.GIF\n", "  - {}\n"})
            QVERIFY2(text.contains(line), line);
        QVERIFY(!text.contains("description: \"\""));
        // Texts another YAML reader (a script's) would take for numbers, truth values or null are quoted.
        for (const char *typed : {"1.0", "007", "Yes", "off", "null", "~", "-.inf"}) {
            PackageText package;
            package.companyName = typed;
            QVERIFY2(writePackageText(package).contains(QByteArray("company: \"") + typed + "\"\n"), typed);
        }
    }

    // Each bad text (a node's when it starts so) gives the line and a word of what goes there.
    void badTextsSayWhereAndWhat_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("word");
        const QByteArray menus = QByteArray(header) + "main-menus:\n  - title: Learn\n    entries:\n";
        QTest::newRow("later version") << QByteArray("kavo-package: 2\nnew-key: 1\n") << 1 << "later version";
        QTest::newRow("no version") << QByteArray("company: X\n") << 1 << "kavo-package";
        QTest::newRow("empty") << QByteArray() << 0 << "kavo-package";
        QTest::newRow("syntax") << QByteArray(header) + "main-menus: [{title: a}\ncompany: B\n" << 7 << "end of";
        QTest::newRow("deep nesting") << QByteArray(header) + "company: " + QByteArray(5000, '[') + QByteArray(5000, ']') << 6
                                      << "nested";
        QTest::newRow("two documents") << QByteArray(header) + "---\ncompany: B\n" << 6 << "one document";
        QTest::newRow("a comma alone") << QByteArray(",") << 0 << "not a package text";   // the parser once looped here
        QTest::newRow("an end and more") << QByteArray(header) + "...\n,\n" << 6 << "one document";
        QTest::newRow("unknown key") << QByteArray(header) + "colour: red\n" << 6 << "\"colour\"";
        QTest::newRow("twice") << QByteArray(header) + "company: A\ncompany: B\n" << 7 << "twice";
        QTest::newRow("background") << QByteArray(header).replace("default", "grey") << 5 << "default, white, black";
        QTest::newRow("resolution") << QByteArray(header).replace("800x600", "800 x 600") << 3 << "resolution";
        QTest::newRow("tray") << QByteArray(header).replace("false", "yes") << 4 << "true or false";
        QTest::newRow("missing setting") << QByteArray(header).replace("  background: default\n", "") << 3
                                         << "background";
        QTest::newRow("settings list") << QByteArray("kavo-package: 1\nsettings:\n  - a\n") << 3 << "mapping";
        QTest::newRow("title list") << QByteArray(header) + "main-menus:\n  - title: [a, b]\n" << 7 << "single text";
        QTest::newRow("no type") << menus + "      - title: x\n" << 9 << "type";
        QTest::newRow("two types") << menus + "      - type: application\n        type-icon: a\n" << 10 << "either";
        QTest::newRow("too deep") << menus + "      - type: sub-menu\n        entries:\n          - type: application\n"
                                             "            entries: []\n"
                                  << 12 << "sub-entry";
        QTest::newRow("node of package") << QByteArray("kavo-node: 1\nsettings: {}\n") << 2 << "\"settings\"";
        QTest::newRow("node of both") << QByteArray("kavo-node: 1\nentry:\n  type: application\nmain-menu: {}\n")
                                      << 4 << "one";
    }
    void badTextsSayWhereAndWhat()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, line);
        QFETCH(QString, word);
        const auto readPackage = readPackageText(text);
        const auto readNode = readNodeText(text);
        const FormError *error = text.startsWith("kavo-node") ? std::get_if<FormError>(&readNode)
                                                             : std::get_if<FormError>(&readPackage);
        QVERIFY(error);
        QVERIFY2(error->message.contains(word), qPrintable(error->message));
        QCOMPARE(error->line, line);
    }
};
KAVO_TEST(TextFormTest)

#include "test_textform.moc"
