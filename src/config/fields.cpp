#include "fields.h"

namespace config {
namespace {

const QLatin1Char Quote('"');

QString stripQuotes(QString field)
{
    int begin = 0;
    int end = int(field.size());
    while (begin < end && field.at(begin) == Quote)
        ++begin;
    while (end > begin && field.at(end - 1) == Quote)
        --end;
    return field.mid(begin, end - begin);
}

// The text with one field: a key first, the value after it, as a numbered line holds them.
QString lineWith(const QString &field)
{
    return QStringLiteral("K,") + field;
}

} // namespace

void splitFields(const QString &text, QStringList *fields)
{
    if (!fields)
        return;
    const int firstQuote = int(text.indexOf(Quote));
    const int pairCloser = firstQuote >= 0 ? int(text.indexOf(Quote, firstQuote + 1)) : -1;
    if (pairCloser < 0) {
        fields->append(text.split(QLatin1Char(',')));
        return;
    }
    // Quotes pair up from the left; with an odd count the last one has no partner and opens
    // nothing, so the commas after it separate as any other.
    const int unpairedQuote = text.count(Quote) % 2 == 1 ? int(text.lastIndexOf(Quote)) : -1;
    bool insidePair = false;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == Quote && i != unpairedQuote) {
            insidePair = !insidePair;
        } else if (c == QLatin1Char(',') && !insidePair) {
            fields->append(stripQuotes(text.mid(start, i - start)));
            start = i + 1;
        }
    }
    fields->append(stripQuotes(text.mid(start)));
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
        return QString(Quote) + value + Quote;
    // Quoted as the front-end writes its fields; a value that does not survive that is tried
    // as it stands, which is how a value with quotes of its own may have come in.
    for (const QString &field : {QString(Quote) + value + Quote, value}) {
        if (splitFields(lineWith(field)) == QStringList{QStringLiteral("K"), value})
            return field;
    }
    return std::nullopt;
}

} // namespace config
