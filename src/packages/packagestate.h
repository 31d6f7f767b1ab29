#pragma once
// The open package: where it lives, what it is called, the paths of its three files, and whether
// it is untitled or has unsaved changes. The main dialog owns the one instance; pages and
// commands are handed a reference to it.
#include <QObject>
#include <QString>

namespace packages {

class PackageState : public QObject {
    Q_OBJECT
public:
    explicit PackageState(QObject *parent = nullptr);

    QString packageDir;       // the open package's directory, no trailing separator
    QString packageName;      // marker file name ("Sales.pkg"), directory name, or "Untitled" + N
    QString titleBase;        // the window title's own text (TITLE)
    QString uiTextPath;       // the tool's custom-text.ini of the current language
    QString textFilePath;     // packageDir/<language>/access-text.ini
    QString configFilePath;   // packageDir/access-config.ini
    QString machineFilePath;  // packageDir/machine-specifics.csv
    bool isUntitled = false;  // made by createUntitledPackage and never built
    bool isModified = false;  // there are unsaved changes

    // Derives the three file paths from packageDir (and the current language).
    void setPackagePaths();
    // The menu file, the current language's text file and the configuration file all exist.
    bool packageIsComplete() const;
    // packageDir + "/" + packageName with ".pkg" appended when it lacks it (any case).
    QString markerPath() const;

    // titleBase + "  -  [" + packageName + "]", or "*]" while modified.
    QString windowTitle() const;
    // Takes a new name when one is given, and shows the title without the modified mark.
    void updateTitle(const QString &name = QString());
    // Records an unsaved change and marks the title.
    void markModified();
    // Clears the modified flag and shows the title without the mark.
    void clearModified();

signals:
    void titleChanged(const QString &title);

private:
    QString titleFor(bool modified) const;
};

} // namespace packages
