#pragma once
// New, Open, Save, Save As and Exit on packages, with the questions about unsaved changes and an
// empty company name. Saving is building: Save and Save As end by running the build.
#include <QString>
#include <functional>

class QWidget;

namespace packages {

class PackagePages;
class PackageState;

class FileCommands {
public:
    // runBuild builds the open package (the main window shows a progress dialog meanwhile).
    FileCommands(PackageState &state, PackagePages &pages, QWidget *parent, std::function<void()> runBuild);

    void newCommand();
    void openCommand();
    bool savePackage();     // true when the build ran
    bool savePackageAs();   // true when the build ran
    // Exit or the window's close box: true when the window may close.
    bool exitCommand();
    // Escape: closes at once unless there are unsaved changes, which are not dropped without asking.
    bool escapeCommand();

    // The page resets after New and Open.
    void newPackage();
    void reloadPages();

private:
    bool refuseEmptyCompanyName();
    bool markerExists() const;
    QString resolveSaveAsDirectory(QString base, const QString &name) const;

    PackageState &m_state;
    PackagePages &m_pages;
    QWidget *m_parent;
    std::function<void()> m_runBuild;
};

} // namespace packages
