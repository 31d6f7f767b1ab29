#pragma once
#include <QString>
#include <QStringList>
#include <QVarLengthArray>
#include <optional>

namespace records {

// Appends the comma-separated fields of text to fields. A comma inside a pair of double quotes
// (quotes pair up from the left) does not separate; when the text holds such a pair, every field
// loses the quotes at its beginning and end. n separating commas always give n + 1 fields, the
// text after the last comma included, so a line joined with "," reads back as the same fields.
void splitFields(const QString &text, QStringList *fields);

// Convenience form of splitFields that returns a new list.
QStringList splitFields(const QString &text);

// The same fields as views into text, for readers that keep only some of them: thousands of
// lines split without a string for every field. The views point into text, which must outlive them.
using FieldViews = QVarLengthArray<QStringView, 16>;
FieldViews splitFieldViews(QStringView text);

// How a value is written as a field after others so that splitFields gives it back unchanged:
// in double quotes, as the front-end writes its fields (so a comma in it does not separate), or,
// for a value whose own quotes would pair up differently, as it stands (unless it ends in a
// blank or a line break, which reading the line it ends would trim). Nothing when no form gives
// it back: a value that begins or ends with a double quote, or whose commas would stand outside
// its quote pairs.
std::optional<QString> fieldFor(const QString &value);
// Whether fieldFor gives a field, without making it for the common value that holds no quote.
bool isStorable(const QString &value);

} // namespace records
