// A package's text written and read back, for packages of five main menus with E entries each,
// every one a sub-menu of five sub-entries: both must grow linearly with the package.
#include "packagetext/packagetext.h"

#include "document/menuitems.h"

#include <benchmark/benchmark.h>

namespace {

using namespace packagetext;

PackageText largePackage(int entryCount)
{
    PackageText package{QStringLiteral("Contoso Ltd"), {1, true, QStringLiteral("#0A00FF"), 0}, {}};
    for (int p = 1; p <= 5; ++p) {
        MainMenuText menu{QStringLiteral("Menu %1").arg(p), QStringLiteral("M"), QStringLiteral("What menu %1 holds").arg(p),
                          QStringLiteral("menu%1.gif").arg(p), QStringLiteral("menu%1-hover.gif").arg(p),
                          QStringLiteral("#336699"), QStringLiteral("#6699CC"), QStringLiteral("tab%1.gif").arg(p), {}};
        for (int q = 1; q <= entryCount; ++q) {
            EntryText entry{document::SubMenuIcon, QStringLiteral("Entry %1: tools").arg(q), QString(),
                            QStringLiteral("What entry %1 does, \"quoted\"").arg(q), {}, {}};
            for (int r = 1; r <= 5; ++r)
                entry.entries << EntryText{document::ApplicationIcon, QStringLiteral("Tool %1").arg(r),
                                           QStringLiteral("C:\\Program Files\\Kavo\\tool%1.exe").arg(r), QString(), {}, {}};
            menu.entries << entry;
        }
        package.mainMenus << menu;
    }
    return package;
}

void writeText(benchmark::State &state)
{
    const PackageText package = largePackage(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(writePackageText(package));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(writeText)->RangeMultiplier(4)->Range(4, 256)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

void readText(benchmark::State &state)
{
    const QByteArray text = writePackageText(largePackage(int(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(readPackageText(text));
    state.SetComplexityN(state.range(0));
    state.counters["bytes"] = double(text.size());
}
BENCHMARK(readText)->RangeMultiplier(4)->Range(4, 256)->Complexity(benchmark::oN)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
