// The package check as the window runs it after every edit: the whole check of a package of 5
// main menus of N menu entries with 5 sub-entries each (N = 50, 100, 200) from
// scripts/make-large-package, once one entry's title was changed. A frame is 16 ms.
#include "document/packagecheck.h"
#include "largepackage.h"

#include <QCoreApplication>

namespace {

void checkAfterEdit(benchmark::State &state)
{
    QTemporaryDir dir;
    document::PackageDocument document;
    if (!readLargePackage(state, dir, document))
        return;
    document::CItem *entry = document.menus().mainMenus().at(2)->entries().at(int(state.range(0)) / 2);
    qsizetype findings = 0;
    for (auto _ : state) {
        retitleUntimed(state, document, entry);
        findings = document::checkPackage(document).size();
    }
    state.counters["findings"] = double(findings);
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
