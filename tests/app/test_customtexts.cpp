#include "testmain.h"
#include "document/companytitle.h"
#include "ini/profile.h"
#include "ini/profileencoding.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

// The tool's own texts as shipped beside the program, in every language.
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

    // The captions of every menu the tool shows, by key in section TEXT ("SECTION/KEY" in
    // another): the menu bar, the File, Edit, View and Help menus, the tree's context menus (no
    // node, a main menu, an entry with sub-entries, any other node), the menu of a drop with the
    // right button, and the buttons of a question.
    static QList<QStringList> menus()
    {
        return {{"FILE", "EDITMENU", "VIEW/MENU", "HELP"},
                {"NEW", "OPEN", "SAVE", "SAVEAS", "EXIT"},
                {"UNDO", "REDO", "CUT", "COPY", "PASTE", "MOVEUP", "MOVEDOWN"},
                {"VIEW/WINDOW"},
                {"HELP", "ABOUT"},
                {"NEWMENU"},
                {"EDIT", "NEWSUB", "DELETE"},
                {"EDIT", "NEWITEM", "DELETE"},
                {"EDIT", "DELETE"},
                {"WITHIN", "BELOW"},
                {"YES", "NO"}};
    }

    static QString sectionOf(const QString &caption) { return caption.contains(u'/') ? caption.section(u'/', 0, 0) : "TEXT"; }
    static QString keyOf(const QString &caption) { return caption.section(u'/', -1); }

    // The letter after the one "&" that marks a mnemonic ("&&" is a plain "&"); null when the
    // text has none, '&' when it has more than one.
    static QChar mnemonic(const QString &text)
    {
        QChar found;
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text.at(i) != u'&')
                continue;
            if (text.at(i + 1) != u'&')
                found = found.isNull() ? text.at(i + 1).toLower() : QChar(u'&');
            ++i;
        }
        return found;
    }

    struct Line {
        QString section, key, value;
    };
    // The keys of a file in file order, as its decoded text spells them.
    static QList<Line> linesOf(const QString &text, QStringList *sections)
    {
        QList<Line> lines;
        QString section;
        for (const QString &line : text.split(QStringLiteral("\r\n"))) {
            if (line.startsWith(u'[')) {
                section = line.mid(1, line.indexOf(u']') - 1);
                sections->append(section);
            } else if (line.contains(u'=')) {
                lines.append({section, line.section(u'=', 0, 0).trimmed(), line.section(u'=', 1).trimmed()});
            }
        }
        return lines;
    }

private slots:
    void everyLanguageHoldsEveryTextInItsEncoding_data()
    {
        QTest::addColumn<QString>("languageDir");
        for (const QString &dir : languageDirs())
            QTest::newRow(qPrintable(dir)) << dir;
    }
    void everyLanguageHoldsEveryTextInItsEncoding()
    {
        QFETCH(QString, languageDir);
        const QByteArray bytes = testing::readFile(shipped(languageDir));
        const ini::DecodedProfile file = ini::decodeProfileBytes(bytes);
        // Windows-1252 without a BOM when every character fits it, UTF-16LE with a BOM otherwise.
        const bool fits = ini::fitsWindows1252(file.text);
        QCOMPARE(file.encoding, fits ? ini::ProfileEncoding::Windows1252 : ini::ProfileEncoding::Utf16LE);
        QVERIFY(fits || bytes.startsWith("\xFF\xFE"));
        QVERIFY(file.text.endsWith(QStringLiteral("\r\n")));
        QCOMPARE(file.text.count(u'\n'), file.text.count(QStringLiteral("\r\n")));
        QCOMPARE(file.text.count(u'\r'), file.text.count(QStringLiteral("\r\n")));

        QStringList englishSections, sections;
        const QList<Line> english =
            linesOf(ini::decodeProfileBytes(testing::readFile(shipped("0409"))).text, &englishSections);
        const QList<Line> lines = linesOf(file.text, &sections);
        QCOMPARE(sections, englishSections);
        QCOMPARE(sections.last(), QString("OTHER"));   // where the tool writes LASTCONFIG
        QCOMPARE(lines.size(), english.size());
        QSet<QString> captions;
        for (const QStringList &menu : menus())
            captions.unite(QSet<QString>(menu.begin(), menu.end()));

        for (qsizetype i = 0; i < lines.size(); ++i) {
            const Line &line = lines[i];
            const QString where = line.section + u' ' + line.key;
            QCOMPARE(line.section + u' ' + line.key, english[i].section + u' ' + english[i].key);
            QVERIFY2(line.section != "OTHER", qPrintable(where));
            // The engine reads every text back as written: no quotes dropped, nothing cut.
            const QString text = ini::readProfileString(shipped(languageDir), line.section, line.key);
            QCOMPARE(text, line.value);
            QVERIFY2(text.isEmpty() == english[i].value.isEmpty(), qPrintable(where));
            for (const QString &placeholder : {QStringLiteral("#"), QStringLiteral("%1")})
                QVERIFY2(text.count(placeholder) == english[i].value.count(placeholder), qPrintable(where));
            // Menu captions have a mnemonic, the other texts none.
            const bool caption = captions.contains(line.section == "TEXT" ? line.key : line.section + u'/' + line.key);
            QVERIFY2(mnemonic(text) != u'&' && mnemonic(text).isNull() != caption, qPrintable(where));
        }
    }

    void everyMenuCaptionHasAMnemonicOfItsOwnInItsMenu_data() { everyLanguageHoldsEveryTextInItsEncoding_data(); }
    void everyMenuCaptionHasAMnemonicOfItsOwnInItsMenu()
    {
        QFETCH(QString, languageDir);
        for (const QStringList &menu : menus()) {
            QSet<QChar> letters;
            for (const QString &key : menu) {
                const QString caption = ini::readProfileString(shipped(languageDir), sectionOf(key), keyOf(key));
                const QChar letter = mnemonic(caption);
                QVERIFY2(!letter.isNull() && letter != u'&', qPrintable(key + ": " + caption));
                QVERIFY2(!letters.contains(letter), qPrintable(key + ": " + caption + " in " + menu.join(u' ')));
                letters.insert(letter);
            }
        }
    }

    // The sample installation's title in a language holds that language's customized word, so the
    // company page shows the name alone, and a save stores the title unchanged.
    void sampleTitleSplitsAtTheCustomizedWord_data() { everyLanguageHoldsEveryTextInItsEncoding_data(); }
    void sampleTitleSplitsAtTheCustomizedWord()
    {
        QFETCH(QString, languageDir);
        const QString word = ini::readProfileString(shipped(languageDir), "TEXT", "CUSTOMIZED");
        const QString title = ini::readProfileString(
            QStringLiteral(KAVO_SOURCE_DIR "/data/sample-installation/") + languageDir + "/access-text.ini",
            "Access Text", "TITLE");
        const document::CompanyTitle parts = document::splitCompanyTitle(title, word);
        QCOMPARE(parts.prefix, "Help Center " + word);
        QCOMPARE(parts.name, QString("Contoso"));
        QCOMPARE(document::joinCompanyTitle(parts.prefix, parts.name, word), u'"' + title + u'"');
    }

    void aboutBodyHasOneVersionMark()
    {
        QCOMPARE(ini::readProfileString(shipped("0409"), "TEXT", "ABOUTBODYTEXT").count(QLatin1Char('#')), 1);
    }

    // A key missing from the file shows as an empty caption, silently. A source file that looks
    // texts up (it calls lookupText or showTextMessage) names its keys as string literals: in the
    // calls themselves, in tables, or through local helpers (text("KEY"), stepName("KEY"),
    // MenuCommand(document, "KEY")). Every literal of such a file shaped like a key ("DELETE",
    // "RES%1TEXT") must have an English text in one of the sections the file names.
    void everyKeyTheSourcesLookUpHasAnEnglishText()
    {
        QStringList sections;
        const QList<Line> english =
            linesOf(ini::decodeProfileBytes(testing::readFile(shipped("0409"))).text, &sections);
        const auto hasText = [&](const QString &section, const QString &key) {
            return std::any_of(english.begin(), english.end(), [&](const Line &line) {
                return line.section == section && line.key == key && !line.value.isEmpty();
            });
        };
        const QSet<QString> notKeys = {"PATH"};   // the argument name in the command-line help
        static const QRegularExpression looksUp(QStringLiteral(R"(\b(lookupText|showTextMessage)\s*\()"));
        static const QRegularExpression keyLiteral(QStringLiteral(R"re("([A-Z][A-Z0-9_]*(%1[A-Z0-9_]*)?)")re"));

        QSet<QString> found;
        QDirIterator it(QStringLiteral(KAVO_SOURCE_DIR "/src"), {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString source = QString::fromUtf8(testing::readFile(path));
            if (!source.contains(looksUp))
                continue;
            QStringList read;
            for (const QString &section : sections)
                if (source.contains(u'"' + section + u'"'))
                    read.append(section);
            for (const QRegularExpressionMatch &match : keyLiteral.globalMatch(source)) {
                const QString key = match.captured(1);
                if (sections.contains(key) || notKeys.contains(key))
                    continue;
                const QString firstKey = QString(key).replace(QStringLiteral("%1"), QStringLiteral("0"));
                const bool known = std::any_of(read.begin(), read.end(),
                                               [&](const QString &section) { return hasText(section, firstKey); });
                QVERIFY2(known, qPrintable(path + ": " + key + " has no text in " + read.join(u',')));
                found.insert(key);
            }
        }
        // The scan sees the keys it must see: every menu caption is looked up somewhere.
        for (const QStringList &menu : menus())
            for (const QString &key : menu)
                QVERIFY2(found.contains(keyOf(key)), qPrintable(key));
    }
};
KAVO_TEST(CustomTextsTest)
#include "test_customtexts.moc"
