#pragma once
// The front-end keeps its whole title in one text: a fixed start ("Help Center"), the word of the
// tool's own "CUSTOMIZED" text, then the company name. The company page shows the name alone and
// joins the parts again when the package is built.
#include <QString>

namespace document {

struct CompanyTitle {
    QString prefix;   // everything in front of the company name
    QString name;     // the company name alone
};

// Splits a stored title (as read, without its enclosing quotes) into prefix and name. A title
// that holds the standard start but would not join back from its parts is the name alone, with
// an empty prefix, so that it is stored again as it was read.
CompanyTitle splitCompanyTitle(const QString &title, const QString &customizedWord);

// The title to store for a prefix and a name, in double quotes. A name that already holds the
// trimmed prefix is stored as typed; otherwise prefix and name are joined and trimmed.
// An empty name stores the prefix without the customized word.
QString joinCompanyTitle(const QString &prefix, const QString &name, const QString &customizedWord);

} // namespace document
