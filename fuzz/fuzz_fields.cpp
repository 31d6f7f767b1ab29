// Field lists: splitting random text, and writing random values as the record writes its lines.
//
// Input: UTF-8 text (invalid sequences read as U+FFFD). The whole text is split; then the text is
// cut at each U+001F into values, each of which is split too and written as a field.
//
// Invariants (a violation aborts):
// - splitFields appends to the list it is given (and does nothing without one); it gives one
//   field more than the text has separating commas, the commas outside the pairs of double quotes
//   (quotes pair up from the left; of an odd count the last one pairs with nothing); splitting
//   only cuts at commas and drops quotes: the fields joined with "," are the text once every
//   double quote is taken out of both; without a pair of quotes the fields joined with "," are
//   the text itself; with one, no field begins or ends with a double quote.
// - For a value that fieldFor gives a form: the record's line "key," + form splits back into
//   exactly the key and the value, whatever the key (without commas or quotes); and so does an
//   entry line holding the form as its location between empty fields (as the menu writer writes
//   it): 16 fields, the location being the value. A value without quotes takes the quoted form.
// - No form ends in a blank (reading a line trims its end). For a value that fieldFor gives no
//   form: neither the quoted form nor the value as it stands (unless it ends in a blank or a line
//   break, written as a blank) splits
//   back into key and value, so fieldFor refuses only what cannot be stored.
// - Through the record and the profile engine: texts set in a record, saved and read by a fresh
//   record come back as they were set (with line breaks as spaces, the engine's rule for every
//   value), unless unstorableEntries() names them.
// - Nothing crashes, overflows, leaks or hits undefined behaviour (the sanitizers).
#include "fuzzsupport.h"

#include "records/configrecord.h"
#include "records/fields.h"
#include "ini/profile.h"

#include <QFile>

using records::fieldFor;
using records::splitFields;
using fuzzing::check;
using fuzzing::visible;

namespace {

const QChar Quote = u'"';

// The commas outside the pairs of quotes.
int separatingCommas(const QString &text)
{
    const qsizetype quotes = text.count(Quote);
    const qsizetype unpaired = quotes % 2 ? text.lastIndexOf(Quote) : -1;
    if (quotes < 2)
        return int(text.count(u','));
    bool inside = false;
    int commas = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == Quote && i != unpaired)
            inside = !inside;
        else if (text[i] == u',' && !inside)
            ++commas;
    }
    return commas;
}

QString withoutQuotes(QString text)
{
    return text.remove(Quote);
}

void checkSplit(const QString &text)
{
    QStringList fields{QStringLiteral("kept")};
    splitFields(text, &fields);
    splitFields(text, nullptr);
    check(!fields.isEmpty() && fields.takeFirst() == QLatin1String("kept"), "the list lost what it held: " + visible(text));
    check(fields == splitFields(text), "the two forms of splitFields differ: " + visible(text));
    check(fields.size() == separatingCommas(text) + 1,
          QStringLiteral("%1 fields for %2 separating commas: ").arg(fields.size()).arg(separatingCommas(text)) + visible(text));
    check(withoutQuotes(fields.join(u',')) == withoutQuotes(text), "the fields are not the text's: " + visible(text));
    if (text.count(Quote) < 2) {
        check(fields.join(u',') == text, "without a pair of quotes the fields are not the text: " + visible(text));
    } else {
        for (const QString &field : std::as_const(fields))
            check(!field.startsWith(Quote) && !field.endsWith(Quote), "a field keeps a quote: " + visible(text));
    }
}

void checkField(const QString &value)
{
    const std::optional<QString> form = fieldFor(value);
    if (!value.contains(Quote))
        check(form == Quote + value + Quote, "a value without quotes is not quoted: " + visible(value));
    const QStringList keyAndValue{QStringLiteral("K"), value};
    if (!form) {
        const bool blankAtEnd = !value.isEmpty() && QStringView(u" \t\r\n").contains(value.back());
        check(splitFields(QStringLiteral("K,\"") + value + Quote) != keyAndValue
                  && (blankAtEnd || splitFields(QStringLiteral("K,") + value) != keyAndValue),
              "fieldFor refuses a value that a form stores: " + visible(value));
        return;
    }
    check(form->isEmpty() || !QStringView(u" \t\r\n").contains(form->back()), "a form ends in a blank: " + visible(*form));
    for (const QString &key : {QStringLiteral("K"), QStringLiteral("__MENU1_TITLE__"), QString()})
        check(splitFields(key + QLatin1Char(',') + *form) == QStringList{key, value},
              "the line does not split back into key and value: " + visible(value) + " as " + visible(*form));
    const QStringList entry = splitFields(QStringLiteral(",,FALSE,__1-SUBMENU1__,,Application-link.gif,,,") + *form
                                          + QStringLiteral(",,,,__1-SUBMENU1-A__,,,"));
    check(entry.size() == 16 && entry.value(8) == value && entry.value(12) == QLatin1String("__1-SUBMENU1-A__"),
          "an entry line does not give the location back: " + visible(value) + " as " + visible(*form));
}

// The values as texts of a record, saved and read again by a fresh record.
void checkRecord(const QStringList &values)
{
    static const QString folder = fuzzing::scratchFolder();
    const QString path = folder + QStringLiteral("/access-text.ini");
    QByteArray start = "[Access Text]\r\n";
    for (int n = 1; n <= 10; ++n) // the front-end's own lines, never rewritten
        start += "TEXT" + QByteArray::number(n) + "=__OWN" + QByteArray::number(n) + "__,\"own\"\r\n";
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(start) == start.size(), "cannot write " + path);
    file.close();
    ini::clearProfileCache();

    const auto keyOf = [](qsizetype i) { return QStringLiteral("__F%1__").arg(i); };
    records::ConfigRecord record(path);
    record.loadTexts();
    for (qsizetype i = 0; i < values.size(); ++i)
        record.setText(keyOf(i), values[i]);
    check(record.save(path), "the record could not be saved");
    QStringList unstorable;
    for (const records::ConfigEntry &entry : record.unstorableEntries())
        unstorable << entry.key;

    ini::clearProfileCache();
    records::ConfigRecord again(path);
    again.loadTexts();
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (unstorable.contains(keyOf(i)))
            continue;
        const QString value = again.getValue(keyOf(i));
        QString expected = values[i];
        expected.replace(QLatin1String("\r\n"), QLatin1String(" ")).replace(u'\r', u' ').replace(u'\n', u' ');
        check(value == expected, "a text reads back as " + visible(value) + ", not as " + visible(values[i]));
    }
    ini::clearProfileCache();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    checkSplit(text);
    const QStringList values = text.split(QChar(0x1F));
    for (const QString &value : values) {
        checkSplit(value);
        checkField(value);
    }
    // A line longer than the engine reads (2047 code units) is cut: values stay well inside it.
    if (values.size() <= 32 && std::all_of(values.begin(), values.end(), [](const QString &v) { return v.size() <= 256; }))
        checkRecord(values);
    return 0;
}
