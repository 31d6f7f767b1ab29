#pragma once
// Where the open package lives: its folder, its name, the paths of its three files, and whether
// it is untitled. The package document owns the one instance; the package store fills it.
#include <QString>
#include <QStringList>

namespace packages {

// The names of a package's files in its folder; the text file stands in every language folder.
inline const QString MenuFileName = QStringLiteral("machine-specifics.csv");
inline const QString ConfigFileName = QStringLiteral("access-config.ini");
inline const QString TextFileName = QStringLiteral("access-text.ini");
inline const QString BatchFileName = QStringLiteral("custom.bat");

struct PackageState {
    PackageState();

    QString packageDir;       // the open package's directory, no trailing separator
    QString packageName;      // marker file name ("Sales.pkg"), directory name, or "Untitled" + N
    QString titleBase;        // the window title's own text (TITLE)
    QString uiTextPath;       // the tool's custom-text.ini of the current language
    QString textFilePath;     // packageDir/<language>/access-text.ini
    QString configFilePath;   // packageDir/access-config.ini
    QString machineFilePath;  // packageDir/machine-specifics.csv
    bool isUntitled = false;  // made by createUntitledPackage and never built

    // The package a path names. A marker file ("…/Sales/Sales.pkg") names the folder it stands
    // in and gives the package its own name; a folder names itself. A relative path is taken
    // from the working directory. The file paths follow.
    void setLocation(const QString &path);
    // Derives the three file paths from packageDir (and the current language).
    void setPackagePaths();
    // The menu file, the current language's text file and the configuration file all exist.
    bool packageIsComplete() const;
    // Those of the three that do not, in that order, with native separators.
    QStringList missingFiles() const;
    // packageDir + "/" + packageName with ".pkg" appended when it lacks it (any case).
    QString markerPath() const;
    // packageDir + "/custom.bat": what installs the package.
    QString batchFilePath() const;

    // titleBase + "  -  [" + packageName + "]", or "*]" while modified.
    QString windowTitle(bool modified) const;
};

} // namespace packages
