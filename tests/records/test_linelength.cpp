#include "testmain.h"
#include "records/linelength.h"
#include "ini/profile.h"

#include <QTest>

using records::EntryPlace;
Q_DECLARE_METATYPE(EntryPlace)

class LineLengthTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    // The profile engine reads a line as the front-end does.
    bool readsBackWhole(const QString &line)
    {
        ini::writeProfileString(m_dir.path() + "/lines.ini", "Lines", "Line", line);
        return ini::readProfileString(m_dir.path() + "/lines.ini", "Lines", "Line", 2048) == line;
    }

private slots:
    // Each field of an entry filled until its line, built as the files hold it, reaches the
    // capacity or one unit more, ending in a surrogate pair that the buffer would cut in half.
    void linesAtTheirLimit_data()
    {
        QTest::addColumn<EntryPlace>("place");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("filler");
        QTest::addColumn<int>("over");
        for (const EntryPlace &place : {EntryPlace{1, 1, 0}, EntryPlace{5, 10, 12}})
            for (const char *field : {"title", "description", "location", "location, no description", "icon"})
                for (const QString &filler : {QString("x"), QString::fromUcs4(U"\U0001F600")})
                    for (int over : {0, 1})
                        QTest::addRow("%d-%d-%d %s, %s, %d over", place.menu, place.entry, place.subEntry, field,
                                      filler.size() == 2 ? "pair" : "ascii", over)
                            << place << QString(field) << filler << over;
    }
    void linesAtTheirLimit()
    {
        QFETCH(EntryPlace, place);
        QFETCH(QString, field);
        QFETCH(QString, filler);
        QFETCH(int, over);
        const QString body = QString("%1-SUBMENU%2").arg(place.menu).arg(place.entry)
                           + (place.subEntry ? "-" + QString::number(place.subEntry) : "");
        QMap<QString, QString> values{{"title", "T"}, {"description", field.contains("no") ? "" : "D"},
                                      {"location", "/x"}, {"icon", "Application-link.gif"}};
        const QString filled = field.section(',', 0, 0);
        const int line = filled == "title" ? 0 : filled == "description" ? 1 : 2;
        const auto lines = [&] {
            QStringList entry(16);
            entry[2] = "FALSE";
            entry[place.subEntry ? 4 : 3] = "__" + body + "__";
            entry[5] = values["icon"];
            entry[8] = '"' + values["location"] + '"';
            entry[12] = values["description"].isEmpty() ? "" : "__" + body + "-A__";
            return QStringList{"__" + body + "__,\"" + values["title"] + '"',
                               "__" + body + "-A__,\"" + values["description"] + '"', entry.join(',')};
        };
        const qsizetype units = values[filled].size() + records::LineCapacity + over - lines()[line].size();
        values[filled] = (units % filler.size() ? "x" : "") + filler.repeated(units / filler.size());
        QCOMPARE(lines()[line].size(), records::LineCapacity + over);

        const records::EntryLineRoom room =
            records::entryLineRoom(place, values["icon"], values["title"], values["description"], values["location"]);
        QCOMPARE((QList<qsizetype>{room.title, room.description, room.entryLine}[line]), qsizetype(-over));
        QCOMPARE(room.fits(), over == 0);
        QCOMPARE(readsBackWhole(lines()[line]), over == 0);
    }
};
KAVO_TEST(LineLengthTest)
#include "test_linelength.moc"
