#pragma once
// New, Open, Save, Save As and Exit on the package document, with the questions about unsaved
// changes and an empty company name. Saving is building: Save and Save As end by building the
// package behind a small progress dialog and reporting what could not be written.
#include <QString>

class QWidget;

namespace document { class PackageDocument; }
namespace packages { struct PackageState; }

namespace app {

class FileCommands {
public:
    FileCommands(document::PackageDocument &document, QWidget *parent);

    void newCommand();
    void openCommand();
    bool savePackage();     // true when the package was built with every file written
    bool savePackageAs();   // true when the package was built with every file written
    // Exit or the window's close box: true when the window may close.
    bool exitCommand();
    // Escape: closes at once unless there are unsaved changes, which are not dropped without asking.
    bool escapeCommand();

    // A new untitled package, read into the document.
    void newPackage();

private:
    // Before a command gives up the package: unsaved changes are saved (Yes), dropped (No) or
    // kept with the command stopped (Cancel). False when the command must stop, which a save
    // that was refused, cancelled or failed means too.
    bool settleUnsavedChanges(bool exiting);
    bool refuseEmptyCompanyName();
    bool markerExists() const;
    QString resolveSaveAsDirectory(QString base, const QString &name) const;
    // Builds behind the progress dialog and reports what could not be written; true when all was.
    bool runBuild();
    packages::PackageState &state();

    document::PackageDocument &m_document;
    QWidget *m_parent;
};

} // namespace app
