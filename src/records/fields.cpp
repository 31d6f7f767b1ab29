#include "fields.h"

#include <QStringBuilder>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace records {
namespace {

const QLatin1Char Quote('"');

QStringView stripQuotes(QStringView field)
{
    qsizetype begin = 0;
    qsizetype end = field.size();
    while (begin < end && field[begin] == Quote)
        ++begin;
    while (end > begin && field[end - 1] == Quote)
        --end;
    return field.sliced(begin, end - begin);
}

// The text with one field: a key first, the value after it, as a numbered line holds them.
QString lineWith(const QString &field)
{
    return QStringLiteral("K,") % field;
}

// The positions of the text's commas and quotes, in order. Thousands of lines are split when a
// package is read: eight characters are looked at in one step where the processor can.
template <typename Found>
void findCommasAndQuotes(QStringView text, Found found)
{
    const char16_t *const chars = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i comma = _mm_set1_epi16(','), quote = _mm_set1_epi16('"');
    for (; i + 8 <= size; i += 8) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(chars + i));
        // Two bits, one per byte, for every character that matches.
        unsigned bits = unsigned(_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(block, comma), _mm_cmpeq_epi16(block, quote))));
        for (; bits != 0; bits &= bits - 1, bits &= bits - 1)
            found(i + __builtin_ctz(bits) / 2);
    }
#endif
    for (; i < size; ++i) {
        if (chars[i] == u',' || chars[i] == u'"')
            found(i);
    }
}

} // namespace

FieldViews splitFieldViews(QStringView text)
{
    // The line's commas and quotes, in order, found in one pass over its characters.
    QVarLengthArray<qsizetype, 64> marks;
    qsizetype quotes = 0, lastQuote = -1;
    const char16_t *const chars = text.utf16();
    findCommasAndQuotes(text, [&](qsizetype i) {
        marks.append(i);
        if (chars[i] == u'"') {
            ++quotes;
            lastQuote = i;
        }
    });
    // Quotes pair up from the left; with an odd count the last one has no partner and opens
    // nothing, so the commas after it separate as any other.
    const qsizetype unpairedQuote = quotes % 2 == 1 ? lastQuote : -1;
    const bool paired = quotes >= 2;
    FieldViews fields;
    qsizetype start = 0;
    const auto field = [&](qsizetype stop) {
        const QStringView view = text.sliced(start, stop - start);
        fields.append(paired ? stripQuotes(view) : view);
    };
    bool insidePair = false;
    for (const qsizetype mark : marks) {
        if (chars[mark] == u'"') {
            if (mark != unpairedQuote)
                insidePair = !insidePair;
        } else if (!insidePair) {
            field(mark);
            start = mark + 1;
        }
    }
    field(text.size());
    return fields;
}

void splitFields(const QString &text, QStringList *fields)
{
    if (!fields)
        return;
    const FieldViews views = splitFieldViews(text);
    fields->reserve(fields->size() + views.size());
    for (const QStringView view : views)
        fields->append(view.toString());
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

bool isStorable(const QString &value)
{
    return !value.contains(Quote) || fieldFor(value).has_value();
}

} // namespace records
