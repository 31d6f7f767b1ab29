#include "testmain.h"
#include "records/fields.h"

#include <QTest>

class FieldsTest : public QObject {
    Q_OBJECT
private slots:
    void split_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("key and value") << "KEY,value" << QStringList{"KEY", "value"};
        QTest::newRow("empty fields kept") << "a,,b," << QStringList{"a", "", "b", ""};
        QTest::newRow("empty text") << "" << QStringList{""};
        QTest::newRow("no comma") << "whole" << QStringList{"whole"};
        QTest::newRow("plain keeps blanks") << " a , b " << QStringList{" a ", " b "};
        QTest::newRow("one quoted field with comma") << "\"a,b\"" << QStringList{"a,b"};
        QTest::newRow("quoted then plain") << "\"a,b\",z" << QStringList{"a,b", "z"};
        QTest::newRow("lone quote splits plainly") << "KEY,a\"b,z" << QStringList{"KEY", "a\"b", "z"};
        QTest::newRow("text line as written") << "__MENU1_TITLE__,\"L<u>e</u>arn\"" << QStringList{"__MENU1_TITLE__", "L<u>e</u>arn"};
        QTest::newRow("field after the last separating comma")
            << "KEY,\"a,b\",c,d" << QStringList{"KEY", "a,b", "c", "d"};
        QTest::newRow("a quote without a partner after a pair opens nothing")
            << "K,\"x\",y\"z,w" << QStringList{"K", "x", "y\"z", "w"};
        QTest::newRow("inner quotes stay") << "\"say \"hi\" now\",x" << QStringList{"say \"hi\" now", "x"};
        QTest::newRow("entry line with quoted location")
            << ",,FALSE,__1-SUBMENU2__,,Application-link.gif,,,\"C:\\a,b.exe\",,,,,,,"
            << QStringList{"", "", "FALSE", "__1-SUBMENU2__", "", "Application-link.gif", "", "", "C:\\a,b.exe",
                           "", "", "", "", "", "", ""};
    }
    void split()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, fields);
        QStringList out{"kept"};
        records::splitFields(text, &out);
        QCOMPARE(out, QStringList{"kept"} + fields);
    }

    void missingListDoesNothing()
    {
        records::splitFields("a,b", nullptr);
    }
};
KAVO_TEST(FieldsTest)
#include "test_fields.moc"
