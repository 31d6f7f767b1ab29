#pragma once
// Large packages for the benchmarks, made by scripts/make-large-package.
#include "document/menucommands.h"
#include "document/packagedocument.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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

// The package of 5 main menus of state.range(0) menu entries with 5 sub-entries each, made in dir
// and read into document; false, the benchmark skipped, when the generator failed.
inline bool readLargePackage(benchmark::State &state, const QTemporaryDir &dir, document::PackageDocument &document)
{
    const QString folder = dir.filePath(QStringLiteral("Large"));
    const QString entries = QString::number(state.range(0));
    if (!makeLargePackage(folder, {QStringLiteral("--menus"), QStringLiteral("5"), QStringLiteral("--entries"), entries,
                                   QStringLiteral("--subentries"), QStringLiteral("5")})) {
        state.SkipWithError("scripts/make-large-package could not generate the package");
        return false;
    }
    document.state().setLocation(folder);
    document.load();
    state.SetComplexityN(state.range(0));
    state.counters["nodes"] = double(5 + 5 * state.range(0) * 6);
    return true;
}

// One edit as the user makes it, outside the time measured: the entry gets a title it never had.
inline void retitleUntimed(benchmark::State &state, document::PackageDocument &document, document::CItem *entry)
{
    static int edits = 0;
    state.PauseTiming();
    document::EntryProperties properties = entry->properties();
    properties.title = QStringLiteral("Edited %1").arg(++edits);
    document.undoStack().push(new document::EditEntryCommand(document, entry, properties));
    state.ResumeTiming();
}
