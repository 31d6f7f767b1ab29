#include "companytitle.h"

namespace document {
namespace {

const QString standardStart = QStringLiteral("Help Center");   // 11 characters
const QString freshPrefix = QStringLiteral("Help Center ");

// The white space the title is trimmed of: spaces, tabs and line breaks.
bool isTitleSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

QString trimmedStart(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && isTitleSpace(text.at(start)))
        ++start;
    return text.mid(start);
}

QString trimmedEnd(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && isTitleSpace(text.at(end - 1)))
        --end;
    return text.left(end);
}

// An empty word is never "contained": without a customized word the prefix is the fresh one.
bool holdsWord(const QString &text, const QString &word)
{
    return !word.isEmpty() && text.contains(word);
}

// The title as the profile reading gives it back: one pair of enclosing quotes dropped.
QString asRead(const QString &stored)
{
    const bool quoted = stored.size() >= 2 && stored.startsWith(u'"') && stored.endsWith(u'"');
    return quoted ? stored.mid(1, stored.size() - 2) : stored;
}

// The title split as the front-end's own titles are made: the standard start, the customized
// word, then the name.
CompanyTitle splitStandardTitle(const QString &title, const QString &customizedWord)
{
    CompanyTitle parts;
    parts.prefix = title.left(standardStart.size());
    QString rest = trimmedStart(QString(title).remove(standardStart));
    if (!holdsWord(rest, customizedWord)) {
        parts.prefix += u' ' + customizedWord;
        parts.name = rest;
        return parts;
    }
    // The word's length of the remaining text joins the prefix, wherever the word itself stands.
    parts.prefix += u' ' + rest.left(customizedWord.size());
    parts.name = trimmedStart(rest.remove(customizedWord));
    return parts;
}

} // namespace

CompanyTitle splitCompanyTitle(const QString &title, const QString &customizedWord)
{
    if (!title.contains(standardStart))
        return {freshPrefix + customizedWord, title};
    // A title that holds the standard start but is not made as the front-end makes its own
    // ("Acme Help Center customized by Foo") would come back mangled from the standard split:
    // it is kept whole as the name, with no prefix, so a save without an edit writes it back.
    // Only the white space between its words may change, as for every title.
    const CompanyTitle parts = splitStandardTitle(title, customizedWord);
    if (asRead(joinCompanyTitle(parts.prefix, parts.name, customizedWord)).simplified() == title.simplified())
        return parts;
    return {QString(), title};
}

QString joinCompanyTitle(const QString &prefix, const QString &name, const QString &customizedWord)
{
    QString usedPrefix = prefix;
    if (name.isEmpty() && !customizedWord.isEmpty())
        usedPrefix.remove(customizedWord);

    // A name that holds the prefix is stored as typed. In quotes, as every title is: the reading
    // drops them, so quotes of the name's own survive, and the next build, which may split the
    // title into prefix and name again, stores the very same bytes.
    if (name.contains(trimmedEnd(usedPrefix)))
        return u'"' + name + u'"';
    return u'"' + trimmedStart(trimmedEnd(usedPrefix + u' ' + name)) + u'"';
}

} // namespace document
