#pragma once
// Saving is building: the pages are written into the package's files, the version is raised
// above the installed front-end's, "custom.bat" is written, the package is recorded as the last
// one built, the edited language text is copied to all sixteen languages and the marker file
// is written. The files are written as one transaction: a build writes all of them or none, and
// an interrupted build leaves each file either as it was or as it should be.
#include "ini/confinedfolder.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace packages {

struct PackageState;

// The version one step above installed ("1.0.5" gives "1.0.6", "1.0.998" gives "1.1.0",
// "998.998" gives "1.0", an empty text gives "1").
QString nextVersion(const QString &installed);

// The bytes of "custom.bat" for an install directory: two CR LF lines in Windows-1252. A
// directory with blanks or characters the command interpreter treats specially is quoted (and its
// percent signs doubled) so it can neither break the line nor run a command. Nothing when the
// directory cannot be written safely (a character outside Windows-1252, a quote, a line break).
std::optional<QByteArray> installBatchBytes(const QString &installDir);

// The marker file's bytes: the five paths as UTF-16LE, every 0x0A byte written as 0x0D 0x0A.
QByteArray markerBytes(const PackageState &state);

struct BuildResult {
    QStringList failures;   // what could not be written, and why, for the user
    QStringList written;    // the files the build wrote
    int registryError = 0;  // an errno value when the privacy option could not be stored
    bool succeeded() const { return failures.isEmpty(); }
};

// The failure a file of the package that was not written is reported as.
QString notWrittenFailure(const QString &file, const QString &reason);

// Raises the version in the package's configuration file, one step above the installed
// front-end's (an edit of the profile batch the caller holds open). False when the file refused it.
bool raiseVersion(const PackageState &state);

// Writes every file of a build into the package folder as one transaction, with the bytes the
// profile batch the caller holds open gives them, in this order: the package's three files (all
// of them, changed or not, so that each is checked; each must still be there), the text file's
// copies for every other language, "custom.bat", and last the marker file, which makes the
// package count as built. True when all were written; otherwise none was, and result says why.
// changed are the files the batch changed, which must be among the three.
bool writeBuildFiles(const PackageState &state, ini::ConfinedFolder &package,
                     const QList<ini::FileBytes> &changed, BuildResult &result);

// After the files were written: the package is recorded as the last one built, and every
// language's text file is made writable (copies take the attributes of the files they replace).
void finishBuild(const PackageState &state, ini::ConfinedFolder &package);

} // namespace packages
