#pragma once
// A scratch world for package tests: a program directory, an install directory with its sixteen
// language directories, and the registry stand-in pointing at the install directory.
#include "testmain.h"
#include "packages/packagestate.h"
#include "ini/profile.h"

#include <QStringList>

#include <QTemporaryDir>

class PackageFixture {
public:
    PackageFixture();
    ~PackageFixture();

    QString root() const { return m_dir.path(); }
    QString programDir() const { return root() + "/program"; }
    QString installDir() const { return root() + "/install"; }
    QString packagesDir() const { return installDir() + "/Packages"; }
    QString defaultDir() const { return packagesDir() + "/HarbelDefault"; }

    // Seeds beside the program: the ".default" trio, or the plain csv/ini files.
    void writeDefaultSeeds();
    void writePlainSeeds();
    // The installation's own files: a text file per language saying which language it is.
    void writeInstallation();
    // Points the registry at the install directory, or removes the value.
    void setInstallDir(const QString &directory);
    // The tool's start on this world: installation, seeds, default package, Untitled1 open.
    void startTool(packages::PackageState &state);
    // A complete package with a marker, under the packages directory.
    QString makeBuiltPackage(const QString &name, bool withConfig = true);

private:
    QTemporaryDir m_dir;
    QByteArray m_savedRegistry;
};
