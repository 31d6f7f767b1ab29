// The package check as the window runs it after every edit: the whole check of a package of 5
// main menus of N menu entries with 5 sub-entries each (N = 50, 100, 200) from
// scripts/make-large-package, once one entry's title was changed. A frame is 16 ms.
#include "document/menucommands.h"
#include "document/packagecheck.h"
#include "document/packagedocument.h"
#include "largepackage.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void checkAfterEdit(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("Large"));
    const int entries = int(state.range(0));
    if (!makeLargePackage(folder, {QStringLiteral("--menus"), QStringLiteral("5"), QStringLiteral("--entries"),
                                   QString::number(entries), QStringLiteral("--subentries"), QStringLiteral("5")})) {
        state.SkipWithError("scripts/make-large-package could not generate the package");
        return;
    }
    document::PackageDocument document;
    document.state().setLocation(folder);
    document.load();
    document::CItem *entry = document.menus().mainMenus().at(2)->entries().at(entries / 2);
    qsizetype findings = 0;
    int edits = 0;
    for (auto _ : state) {
        state.PauseTiming();
        document::EntryProperties properties = entry->properties();
        properties.title = QStringLiteral("Edited %1").arg(++edits);
        document.undoStack().push(new document::EditEntryCommand(document, entry, properties));
        state.ResumeTiming();
        findings = document::checkPackage(document).size();
    }
    state.counters["nodes"] = 5 + 5 * entries * 6;
    state.counters["findings"] = double(findings);
    state.SetComplexityN(entries);
}

} // namespace

BENCHMARK(checkAfterEdit)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity();

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
