#include "testmain.h"
#include "ini/profiledocument.h"

#include <QTest>

using namespace ini;

// The document on its own: what a read returns, and edits that bring records together in ways
// the vectors do not reach.
class ProfileDocumentTest : public QObject {
    Q_OBJECT

private slots:
    // A cut never splits a surrogate pair: half a character cannot be written to any file.
    void readsCutBeforeASurrogatePair_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("bufferSize");
        QTest::addColumn<QString>("read");
        const QString face = QString::fromUtf8("😀");
        const QString a2046(2046, u'a');
        QTest::newRow("the limit falls inside the pair") << a2046 + face << 2048 << a2046;
        QTest::newRow("the limit falls after the pair") << a2046.left(2045) + face + "b" << 2048 << a2046.left(2045) + face;
        QTest::newRow("quoted, inside the second pair") << '"' + face + face + '"' << 4 << face;
        QTest::newRow("room for half of the first pair") << face + "x" << 2 << QString();
        QTest::newRow("room for the first pair") << face + "x" << 3 << face;
        QTest::newRow("a lone high surrogate is kept") << QString(2046, u'a') + QChar(0xD83D) + "bc" << 2048
                                                        << QString(2046, u'a') + QChar(0xD83D);
    }
    void readsCutBeforeASurrogatePair()
    {
        QFETCH(QString, value);
        QFETCH(int, bufferSize);
        ProfileDocument document;
        QVERIFY(document.write(u"S", u"k", value));
        QTEST(document.read(u"S", u"k", bufferSize), "read");
    }

    // kk1xaf, kofh97 and kr17fa share their hash in the document's index, sections and keys
    // alike: lines of one hash are told apart by name, and edits keep each chain whole. The
    // filler keeps the edits from outweighing the file, which would lay the document out anew.
    void namesSharingAHashStayApart()
    {
        QByteArray filler = "[filler]\r\n";
        for (int i = 0; i < 40; ++i)
            filler += "f" + QByteArray::number(i) + "=1\r\n";
        ProfileDocument document(filler + "[kk1xaf]\r\nkk1xaf=1\r\nkofh97=2\r\n; note\r\n\r\n"
                                          "[kofh97]\r\nkk1xaf=3\r\n; note\r\n\r\n");
        const auto sameAsItsBytes = [&] { return document == ProfileDocument(document.toBytes()); };
        QCOMPARE(document.read(u"KOFH97", u"kk1xaf", 2048), QString("3"));
        QCOMPARE(document.read(u"kk1xaf", u"KOFH97", 2048), QString("2"));
        QVERIFY(document.deleteKey(u"kk1xaf", u"kofh97")); // the last of its hash, not the first
        QVERIFY(document.write(u"kk1xaf", u"kr17fa", u"4"));
        QVERIFY(document.write(u"kofh97", u"kr17fa", u"5")); // in the second section of that hash
        QVERIFY(document.write(u"kr17fa", u"k", u"6"));
        QVERIFY(sameAsItsBytes());
        QVERIFY(document.deleteSection(u"kr17fa")); // the last section of that hash
        QVERIFY(document.write(u"kr17fa", u"k", u"7"));
        QVERIFY(sameAsItsBytes());
        QCOMPARE(document.read(u"kk1xaf", u"kr17fa", 2048), QString("4"));
        QCOMPARE(document.read(u"kr17fa", u"k", 2048), QString("7"));
        QCOMPARE(document.toBytes(), filler + "[kk1xaf]\r\nkk1xaf=1\r\n; note\r\nkr17fa=4\r\n\r\n"
                                              "[kofh97]\r\nkk1xaf=3\r\n; note\r\nkr17fa=5\r\n\r\n[kr17fa]\r\nk=7\r\n");
    }
};
KAVO_TEST(ProfileDocumentTest)
#include "test_profile_document.moc"
