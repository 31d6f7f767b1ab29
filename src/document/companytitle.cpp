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

} // namespace

CompanyTitle splitCompanyTitle(const QString &title, const QString &customizedWord)
{
    if (!title.contains(standardStart))
        return {freshPrefix + customizedWord, title};

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

QString joinCompanyTitle(const QString &prefix, const QString &name, const QString &customizedWord)
{
    QString usedPrefix = prefix;
    if (name.isEmpty() && !customizedWord.isEmpty())
        usedPrefix.remove(customizedWord);

    if (name.contains(trimmedEnd(usedPrefix)))
        return name;
    return u'"' + trimmedStart(trimmedEnd(usedPrefix + u' ' + name)) + u'"';
}

} // namespace document
