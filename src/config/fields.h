#pragma once
#include <QString>
#include <QStringList>

namespace config {

// Appends the comma-separated fields of text to fields. A comma inside a pair of double quotes
// (quotes pair up from the left) does not separate; when the text holds such a pair, every field
// loses the quotes at its beginning and end. n separating commas always give n + 1 fields, the
// text after the last comma included, so a line joined with "," reads back as the same fields.
void splitFields(const QString &text, QStringList *fields);

// Convenience form of splitFields that returns a new list.
QStringList splitFields(const QString &text);

} // namespace config
