// Start-up of the MENUS page on large packages: loading the three configuration records,
// reading the menu file into the model and filling the tree, for 5 main menus of N menu
// entries with 5 sub-entries each (N = 50, 100, 200). The packages come from
// scripts/make-large-package; every run starts from files the profile engine has not parsed yet.
#include "config/configrecord.h"
#include "menutree/menutreepage.h"
#include "packages/packagestate.h"
#include "platform/profile.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include <benchmark/benchmark.h>

namespace {

// A generated package, made once per size and kept for every benchmark that uses that size.
struct LargePackage {
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("Large"));
    packages::PackageState state;
    bool generated = false;

    explicit LargePackage(int entries)
    {
        QProcess generator;
        generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        generator.setStandardOutputFile(QProcess::nullDevice());
        generator.start(QStringLiteral("python3"),
                        {QStringLiteral(KAVO_SOURCE_DIR "/scripts/make-large-package"), folder,
                         QStringLiteral("--menus"), QStringLiteral("5"), QStringLiteral("--entries"),
                         QString::number(entries), QStringLiteral("--subentries"), QStringLiteral("5")});
        generated = generator.waitForFinished(120000) && generator.exitStatus() == QProcess::NormalExit
            && generator.exitCode() == 0;
        state.packageDir = folder;
        state.machineFilePath = folder + QStringLiteral("/machine-specifics.csv");
        state.textFilePath = folder + QStringLiteral("/0409/access-text.ini");
        state.configFilePath = folder + QStringLiteral("/access-config.ini");
    }
};

LargePackage *largePackage(benchmark::State &state)
{
    static std::map<int, std::unique_ptr<LargePackage>> packages;
    const int entries = int(state.range(0));
    std::unique_ptr<LargePackage> &package = packages[entries];
    if (!package)
        package = std::make_unique<LargePackage>(entries);
    if (!package->generated) {
        state.SkipWithError("scripts/make-large-package could not generate the package");
        return nullptr;
    }
    state.SetComplexityN(entries);
    return package.get();
}

// The number of text lines the page looked titles up in.
void addTextCount(benchmark::State &state, const menutree::MenuTreePage &page)
{
    state.counters["texts"] = double(page.textRecord().textEntries().size());
}

// What the main dialog waits for: the page built from the package, tree filled.
void pageStartUp(benchmark::State &state)
{
    LargePackage *package = largePackage(state);
    if (!package)
        return;
    std::unique_ptr<menutree::MenuTreePage> page;
    for (auto _ : state) {
        state.PauseTiming();
        page.reset();
        platform::clearProfileCache();
        state.ResumeTiming();
        page = std::make_unique<menutree::MenuTreePage>(package->state, package->state.configFilePath);
    }
    addTextCount(state, *page);
}

// One start-up step of a page that is already made, timed from files not parsed yet.
void pageStepFromUnparsedFiles(benchmark::State &state, void (menutree::MenuTreePage::*step)())
{
    LargePackage *package = largePackage(state);
    if (!package)
        return;
    menutree::MenuTreePage page(package->state, package->state.configFilePath);
    for (auto _ : state) {
        state.PauseTiming();
        platform::clearProfileCache();
        state.ResumeTiming();
        (page.*step)();
    }
}

void loadRecords(benchmark::State &state)
{
    pageStepFromUnparsedFiles(state, &menutree::MenuTreePage::loadRecords);
}

void readMenus(benchmark::State &state)
{
    pageStepFromUnparsedFiles(state, &menutree::MenuTreePage::readMenus);
}

void fillTree(benchmark::State &state)
{
    LargePackage *package = largePackage(state);
    if (!package)
        return;
    menutree::MenuTreePage page(package->state, package->state.configFilePath);
    for (auto _ : state)
        page.fillTree();
}

} // namespace

BENCHMARK(pageStartUp)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(loadRecords)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(readMenus)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(fillTree)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity();

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
