#pragma once
// Saving is building: the pages are written into the package's files, the version is raised
// above the installed front-end's, "custom.bat" is written, the package is recorded as the last
// one built, the edited language text is copied to all sixteen languages and the marker file
// is written. Every file is replaced atomically, so an interrupted build leaves each file either
// as it was or as it should be.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace packages {

class PackagePages;
class PackageState;

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
    bool succeeded() const { return failures.isEmpty(); }
};

// The build, in its fixed order; the flags are cleared even when something failed.
BuildResult buildPackage(PackageState &state, PackagePages &pages);

} // namespace packages
