#pragma once
// Where packages live and the start-up steps that make sure a default package exists and some
// package is open. Packages live in <install dir>/Packages; "HarbelDefault" there is the
// read-only starting point of every new package.
#include <QString>

namespace ini { class ConfinedFolder; }

namespace packages {

struct PackageState;

// The front-end's install directory from the registry: an absolute path to an existing folder;
// empty when the value is missing, unreadable, relative, or names no folder.
QString getInstallDir();
// Why getInstallDir() gives nothing, in English for the command line: the file that was read,
// what it held, and how to set the value.
QString installDirProblem();
// Records directory as the front-end's install directory, where getInstallDir() reads it, for a
// machine where the front-end's own setup did not (this platform, a test machine). It must be an
// existing folder that holds the front-end's configuration file; a relative path is taken from
// the current folder. Empty when done; otherwise why not, in English for the command line.
QString setInstallDir(const QString &directory);
// <install dir>/Packages, or empty when the install directory is unknown.
QString packagesDir();
// <install dir>/Packages/HarbelDefault, or empty when the install directory is unknown.
QString defaultPackageDir();

// True when directory is the default package (links resolved): the read-only source of every
// new package, which is never built.
bool isDefaultPackage(const QString &directory);
// True when directory is the install directory itself (links resolved): it holds every file a
// package has, but a build would overwrite the front-end's sixteen texts with one. Never built.
bool isInstallDirectory(const QString &directory);

// The program directory followed by name ("/seed.ini", or empty for the directory itself).
QString programFilePath(const QString &name);


// Merges the texts of the one-time migration file "AKVO-moreTxt.ini" into the installation's
// own "access-text.ini" where they are missing, then deletes the migration file.
void mergeMissingTexts();

// Creates the default package from the seed files, or completes it without overwriting.
// False when a seed file it needed is missing, or when the install directory is unknown
// (nothing is then created anywhere).
bool ensureDefaultPackage();

// Opens the package named by LASTCONFIG when it is complete, otherwise a new untitled one.
void openLastPackage(PackageState &state);
// Only the first half: true, with state located there, when LASTCONFIG names a complete package.
bool findLastPackage(PackageState &state);

// Makes <packages>/Untitled<N> from the default package and opens it as untitled: N is the
// first for which no such folder exists, or one holds only what the tool itself put into an
// untitled package (left by a crash), which is emptied and filled afresh. Anything else of that
// name (a folder of the user's, a built package, a link) is left alone. False, and nothing
// created, when the install directory is unknown or no folder could be made.
bool createUntitledPackage(PackageState &state);

// Copies the menu file, the sixteen language texts and the configuration file of one package
// into another whose language directories exist. The marker and batch file are not copied.
void copyPackageFiles(const QString &sourceDir, ini::ConfinedFolder &destination);

// Removes the untitled package's folder when it gives way to nextDir (another package, or none
// when the tool ends). It stays when nextDir is that folder or lies inside it, and when it holds
// anything but what the tool put there (Save As may have put a package there; the user may have
// put files there). Never follows a link. True when the folder is gone.
bool removeUntitledPackage(const QString &untitledDir, const QString &nextDir = QString());

} // namespace packages
