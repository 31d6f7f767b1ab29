#include "fields.h"

#include <QStringBuilder>

namespace config {
namespace {

const QLatin1Char Quote('"');

QString stripQuotes(QStringView field)
{
    qsizetype begin = 0;
    qsizetype end = field.size();
    while (begin < end && field.at(begin) == Quote)
        ++begin;
    while (end > begin && field.at(end - 1) == Quote)
        --end;
    return field.sliced(begin, end - begin).toString();
}

// The text with one field: a key first, the value after it, as a numbered line holds them.
QString lineWith(const QString &field)
{
    return QStringLiteral("K,") % field;
}

} // namespace

void splitFields(const QString &text, QStringList *fields)
{
    if (!fields)
        return;
    qsizetype quotes = 0, lastQuote = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == Quote) {
            ++quotes;
            lastQuote = i;
        }
    }
    if (quotes < 2) {
        fields->append(text.split(QLatin1Char(',')));
        return;
    }
    // Quotes pair up from the left; with an odd count the last one has no partner and opens
    // nothing, so the commas after it separate as any other.
    const qsizetype unpairedQuote = quotes % 2 == 1 ? lastQuote : -1;
    bool insidePair = false;
    qsizetype start = 0;
    fields->reserve(fields->size() + 16);   // the lines of a menu have sixteen fields
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == Quote && i != unpairedQuote) {
            insidePair = !insidePair;
        } else if (c == QLatin1Char(',') && !insidePair) {
            fields->append(stripQuotes(QStringView(text).sliced(start, i - start)));
            start = i + 1;
        }
    }
    fields->append(stripQuotes(QStringView(text).sliced(start)));
}

QStringList splitFields(const QString &text)
{
    QStringList fields;
    splitFields(text, &fields);
    return fields;
}

std::optional<QString> fieldFor(const QString &value)
{
    // Without quotes of its own, a value in quotes always reads back as it is.
    if (!value.contains(Quote))
        return QString(Quote % value % Quote);
    // Quoted as the front-end writes its fields; a value that does not survive that is tried
    // as it stands, which is how a value with quotes of its own may have come in. That form may
    // end its line, and reading a line trims its end: ending in a blank, it would lose it (a line
    // break is written as a blank).
    const QStringList keyAndValue{QStringLiteral("K"), value};
    const QString quoted = QString(Quote) + value + Quote;
    if (splitFields(lineWith(quoted)) == keyAndValue)
        return quoted;
    const bool blankAtEnd = QStringView(u" \t\r\n").contains(value.back());
    if (!blankAtEnd && splitFields(lineWith(value)) == keyAndValue)
        return value;
    return std::nullopt;
}

} // namespace config
