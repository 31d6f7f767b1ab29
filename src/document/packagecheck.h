#pragma once
// Mistakes in a package that its build does not refuse but the front-end would show wrong: a
// main menu whose Alt key is not in its title, an entry without a title, a link that is no
// address. The check reads a document and returns its findings; the window lists them as the
// user works and the command line prints them. It reads only: nothing is written.
#include <QList>
#include <QString>
#include <QStringList>

namespace document {

class CItem;
class PackageDocument;

struct Finding {
    // A warning leaves a package the front-end accepts; an error loses or garbles data.
    enum class Severity { Warning, Error };
    // The value a finding is about, so that it can be pointed to: in the window, the node's
    // property; on the command line, the line of the file that holds it.
    // Text: a text of the text or configuration file that no node holds (textKey names it).
    enum class Subject { Title, AltKey, Location, Description, Entries, CompanyName, TextColor, File, LanguageFolder, Text };

    Severity severity = Severity::Warning;
    Subject subject = Subject::Title;
    // The node the finding is about; none for the package, its company name or its settings.
    const CItem *item = nullptr;
    // The key of the finding's text in section "CHECK" of the tool's text file, and the values
    // for its placeholders (%1, %2, ...).
    QString key;
    QStringList arguments;
    // The file or folder a finding about the package names; for a Text, the file that holds it.
    QString path;
    // For a Text: its key in that file ("__WELCOME_TITLE__").
    QString textKey;

    // The finding's text in the user-interface language, for the window.
    QString text() const;
    // The same text in English, for the command line, which scripts read.
    QString englishText() const;
    // How to mend it, in the user-interface language; empty when there is no suggestion.
    QString fix() const;
};

// Every finding of the document, package-wide ones first, then the nodes' in tree order.
QList<Finding> checkPackage(const PackageDocument &document);

// Where a finding's value stands in the package's files: the file, and the 1-based line that
// holds it (0 for a file or a folder). A title, description or Alt key is the line of its text in
// the text file (or, when the file holds no text for it, its entry's line in the menu file); a
// location, type or sub-menu the entry's line; a setting its line of the configuration file.
// Right while the document is as it was read: the command line reads a package and checks it.
struct FindingPlace {
    QString file;
    int line = 0;
};
FindingPlace placeOf(const PackageDocument &document, const Finding &finding);

} // namespace document
