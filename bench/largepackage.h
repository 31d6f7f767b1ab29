#pragma once
// Large packages for the benchmarks, made by scripts/make-large-package.
#include <QProcess>
#include <QStringList>

// Makes a package in folder with the generator's options (--menus, --entries, --subentries);
// true when the generator made it.
inline bool makeLargePackage(const QString &folder, const QStringList &options)
{
    QProcess generator;
    generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    generator.setStandardOutputFile(QProcess::nullDevice());
    generator.start(QStringLiteral("python3"),
                    QStringList{QStringLiteral(KAVO_SOURCE_DIR "/scripts/make-large-package"), folder} + options);
    return generator.waitForFinished(120000) && generator.exitStatus() == QProcess::NormalExit
           && generator.exitCode() == 0;
}
