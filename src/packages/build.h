#pragma once
// Saving is building: the pages are written into the package's files, the version is raised
// above the installed front-end's, "custom.bat" is written, the package is recorded as the last
// one built, the edited language text is copied to all sixteen languages and the marker file
// is written. Every file is replaced atomically, so an interrupted build leaves each file either
// as it was or as it should be.
#include "platform/files.h"

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
    QStringList failures;   // what could not be written, for the user
    QStringList written;    // the files the build wrote
    bool batchFailed = false;
    bool markerFailed = false;
    int registryError = 0;  // an errno value when the privacy option could not be stored
    bool succeeded() const { return failures.isEmpty(); }
};

// The failure every unwritten settings file of the package is reported as.
QString settingsFilesFailure();

// The files a build writes into the package that would land outside its folder through a
// symbolic link (the file itself or a folder on its way). The build writes none of them.
QStringList filesLeavingPackage(const PackageState &state);
// The failure such a file is reported as.
QString leavesPackageFailure(const QString &file);

// The edited text file's copies for every other language, with the bytes the profile batch the
// caller holds open will give it, to be written with it. Refused files (filesLeavingPackage) are
// left as they are; a copy that cannot be made is recorded as a failure.
QList<platform::FileBytes> textCopies(const PackageState &state, const QStringList &refused, BuildResult &result);
// The steps of a build that follow the package's own contents, written into the batch: the
// version one step above the installed front-end's and the package recorded as the last one
// built. Then the files the batch is to write alongside its own: "custom.bat" and the marker
// file, refused or failed as the copies are.
QList<platform::FileBytes> prepareBuildFiles(const PackageState &state, const QStringList &refused, BuildResult &result);
// After the batch: reports what it wrote and what it could not. The program's own text file may
// lie in a read-only folder, which is not the package's fault.
void reportBuildFiles(const PackageState &state, const QList<platform::FileBytes> &alongside,
                      const QStringList &failedFiles, BuildResult &result);

} // namespace packages
