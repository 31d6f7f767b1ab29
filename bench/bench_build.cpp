// One build (what Save does) of large generated packages: 5 main menus of N menu entries with 5
// sub-entries each (N = 50, 100, 200), beside a plain `cp -r` of the same package in the same
// run, so the two can be compared on whatever machine runs it.
#include "document/packagedocument.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"
#include "largepackage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <map>
#include <memory>

#include <benchmark/benchmark.h>

namespace {

// An installation with one generated package in it, read into a document.
struct LargeInstallation {
    QTemporaryDir dir;
    QString package = dir.filePath(QStringLiteral("install/Packages/Large"));
    document::PackageDocument document;
    bool generated = false;

    explicit LargeInstallation(int entries)
    {
        generated = makeLargePackage(package, {QStringLiteral("--entries"), QString::number(entries)});

        const QString install = dir.filePath(QStringLiteral("install"));
        QFile::copy(package + QStringLiteral("/access-config.ini"), install + QStringLiteral("/access-config.ini"));
        QDir().mkpath(dir.filePath(QStringLiteral("registry/system/Harbel")));
        QSettings(dir.filePath(QStringLiteral("registry/system/Harbel/ZELT.conf")), QSettings::IniFormat)
            .setValue(QStringLiteral("InstallDir"), install);
        qputenv("AKVO_REGISTRY", dir.filePath(QStringLiteral("registry")).toLocal8Bit());
        QDir().mkpath(dir.filePath(QStringLiteral("program/0409")));
        platform::setProgramDirectory(dir.filePath(QStringLiteral("program")));

        document.state().setLocation(package);
        document.load();
    }
};

// Made once per size; the documents go before the application object does.
std::map<int, std::unique_ptr<LargeInstallation>> installations;

LargeInstallation *installation(benchmark::State &state)
{
    auto &one = installations[int(state.range(0))];
    if (!one)
        one = std::make_unique<LargeInstallation>(int(state.range(0)));
    if (!one->generated) {
        state.SkipWithError("scripts/make-large-package could not generate the package");
        return nullptr;
    }
    state.SetComplexityN(state.range(0));
    return one.get();
}

void build(benchmark::State &state)
{
    LargeInstallation *large = installation(state);
    if (!large)
        return;
    for (auto _ : state) {
        const packages::BuildResult result = large->document.build();
        if (!result.succeeded())
            state.SkipWithError("the build failed");
    }
}
BENCHMARK(build)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime()->Complexity();

void copyWithCp(benchmark::State &state)
{
    LargeInstallation *large = installation(state);
    if (!large)
        return;
    const QString copy = large->dir.filePath(QStringLiteral("copy"));
    for (auto _ : state) {
        state.PauseTiming();
        QDir(copy).removeRecursively();
        state.ResumeTiming();
        QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), large->package, copy});
    }
}
BENCHMARK(copyWithCp)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime()->Complexity();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);   // building needs no window
    platform::setUserInterfaceLanguage(0x0409);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    installations.clear();
    return 0;
}
