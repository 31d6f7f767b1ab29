#pragma once
// A scratch copy of the sample installation with the program's own data beside a scratch program
// directory, and the registry stand-in pointing at it: the world the tool starts in.
#include "testmain.h"

#include <QProcessEnvironment>
#include <QTemporaryDir>

class InstalledWorld {
public:
    // withDefaultSeeds: the seeds of the default package come as the ".default" trio that the
    // first start consumes, instead of the plain files that stay.
    explicit InstalledWorld(bool withDefaultSeeds = false);
    ~InstalledWorld();

    QString root() const { return m_dir.path(); }
    QString programDir() const { return root() + "/program"; }
    QString installDir() const { return root() + "/install"; }
    QString packagesDir() const { return installDir() + "/Packages"; }
    QString registryDir() const { return root() + "/registry"; }

    // A package made in the packages folder from the installation's own files; built: with its
    // marker, as a build leaves it.
    QString makePackage(const QString &name, bool built = false) const;

    // The environment a child process of the built tool needs to live in this world.
    QProcessEnvironment environment() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_savedRegistry;
};
