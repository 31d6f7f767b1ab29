#include "fields.h"

namespace config {
namespace {

QString stripQuotes(QString field)
{
    int begin = 0;
    int end = int(field.size());
    while (begin < end && field.at(begin) == QLatin1Char('"'))
        ++begin;
    while (end > begin && field.at(end - 1) == QLatin1Char('"'))
        --end;
    return field.mid(begin, end - begin);
}

} // namespace

void splitFields(const QString &text, QStringList *fields)
{
    if (!fields)
        return;
    const int firstQuote = int(text.indexOf(QLatin1Char('"')));
    const bool quoted = firstQuote >= 0 && text.indexOf(QLatin1Char('"'), firstQuote + 1) >= 0;
    if (!quoted) {
        fields->append(text.split(QLatin1Char(',')));
        return;
    }
    bool insidePair = false;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"')) {
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

} // namespace config
