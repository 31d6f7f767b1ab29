// Whole processes, each timed in the same run beside its anchor:
//  - `kavo-custom --build` of generated packages (5 main menus of N menu entries with 5
//    sub-entries each, N = 50, 100, 200) and of a package made of the sample installation's
//    files, beside `cp -r` of the same package followed by `sync`; and of the large one (N = 200)
//    after one of its texts was edited, so that the text of every language changes;
//  - `kavo-custom --version` and the build of the sample package beside `/bin/true` and a bare Qt
//    Core program printing its version (version-bare), in turns;
//  - the tool started until its window is on screen with the large package (N = 200) or the
//    sample package open, beside a bare Qt dialog holding a tab widget (window-shown-bare), each
//    on its own and the two in turns.
// The window benchmarks need a display: xvfb-run -a build/bench/bench_processes.
#include "ini/profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <benchmark/benchmark.h>

extern char **environ;

namespace {

// Runs a program to its end, its output thrown away; its exit status, or -1. cpuSeconds, when
// given, receives the processor time it took (user and system, all its threads).
int runProcess(const QStringList &arguments, double *cpuSeconds = nullptr)
{
    QList<QByteArray> bytes;
    for (const QString &argument : arguments)
        bytes << QFile::encodeName(argument);
    std::vector<char *> argv;
    for (QByteArray &argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    struct rusage usage {};
    if (spawned != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status))
        return -1;
    if (cpuSeconds)
        *cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
                      + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return WEXITSTATUS(status);
}

// An installation copied from the sample one, its packages, the program's data beside a scratch
// program folder, and the registry stand-in naming the installation; the environment of the
// processes started points at them.
class World {
public:
    World()
    {
        const QString data = QStringLiteral(KAVO_SOURCE_DIR "/data");
        m_ready = runProcess({"cp", "-r", data + "/sample-installation", install()}) == 0
                  && runProcess({"cp", "-r", data + "/program", program()}) == 0;
        QSettings(m_dir.filePath("registry/system/Harbel/ZELT.conf"), QSettings::IniFormat).setValue("InstallDir", install());
        QSettings(m_dir.filePath("registry/system/Harbel/DUVA.conf"), QSettings::IniFormat).setValue("Version", "4.1");
        QFile runa(m_dir.filePath("registry/system/Harbel/RUNA.conf"));
        m_ready = runa.open(QIODevice::WriteOnly) && m_ready;
        QDir().mkpath(m_dir.filePath("tmp"));
        qputenv("AKVO_REGISTRY", m_dir.filePath("registry").toLocal8Bit());
        qputenv("AKVO_PROGRAM_DIR", program().toLocal8Bit());
        qputenv("TMPDIR", m_dir.filePath("tmp").toLocal8Bit());   // the single-instance lock and socket
        qputenv("LANGUAGE", "en_US");
        qputenv("LC_ALL", "en_US.UTF-8");
    }

    QString install() const { return m_dir.filePath("install"); }
    QString program() const { return m_dir.filePath("program"); }
    QString scratch() const { return m_dir.filePath("copy"); }

    // A package by name, made once and built once, so that every timed build rebuilds it.
    QString package(const QString &name)
    {
        const QString folder = install() + "/Packages/" + name;
        if (!m_packages.contains(name)) {
            const bool made = name.startsWith("Large") ? generate(folder, name.mid(5).toInt()) : copySample(folder);
            m_packages[name] = m_ready && made && runProcess({KAVO_PROGRAM_DIR "/kavo-custom", "--build", folder}) == 0;
        }
        return m_packages[name] ? folder : QString();
    }

private:
    static bool generate(const QString &folder, int entries)
    {
        return runProcess({"python3", KAVO_SOURCE_DIR "/scripts/make-large-package", folder, "--menus", "5",
                           "--entries", QString::number(entries), "--subentries", "5"})
               == 0;
    }

    // The sample installation's own menus and texts, as a new package holds them.
    bool copySample(const QString &folder) const
    {
        bool copied = QDir().mkpath(folder);
        for (const char *file : {"machine-specifics.csv", "access-config.ini"})
            copied = QFile::copy(install() + "/" + file, folder + "/" + file) && copied;
        static const QRegularExpression languageDir(QStringLiteral("^[0-9a-f]{4}$"));
        for (const QString &language : QDir(install()).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (!languageDir.match(language).hasMatch())
                continue;
            copied = QDir().mkpath(folder + "/" + language)
                     && QFile::copy(install() + "/" + language + "/access-text.ini", folder + "/" + language + "/access-text.ini")
                     && copied;
        }
        return copied;
    }

    QTemporaryDir m_dir;
    bool m_ready = false;
    QMap<QString, bool> m_packages;
};

World &world()
{
    static World instance;
    return instance;
}

QString packageName(const benchmark::State &state)
{
    return state.range(0) == 0 ? QStringLiteral("Sample") : QStringLiteral("Large%1").arg(state.range(0));
}

void buildProcess(benchmark::State &state)
{
    const QString package = world().package(packageName(state));
    if (package.isEmpty())
        return state.SkipWithError("the package could not be made");
    for (auto _ : state) {
        if (runProcess({KAVO_PROGRAM_DIR "/kavo-custom", "--build", package}) != 0)
            return state.SkipWithError("the build failed");
    }
}

// A build after a text was edited, as after renaming a menu: the text of every language changes.
// (Rebuilding an unchanged package leaves the files that would not change as they are.)
void buildProcessAfterTextEdit(benchmark::State &state)
{
    const QString package = world().package(packageName(state));
    if (package.isEmpty())
        return state.SkipWithError("the package could not be made");
    const QString text = package + "/0409/access-text.ini";
    for (auto _ : state) {
        state.PauseTiming();
        QString line = ini::readProfileString(text, "Access Text", "TEXT11");   // KEY,"title"
        if (line.size() < 2)
            return state.SkipWithError("the text to edit is missing");
        line[line.size() - 2] = line[line.size() - 2] == u'x' ? u'y' : u'x';
        if (!ini::writeProfileString(text, "Access Text", "TEXT11", line))
            return state.SkipWithError("the text could not be edited");
        state.ResumeTiming();
        if (runProcess({KAVO_PROGRAM_DIR "/kavo-custom", "--build", package}) != 0)
            return state.SkipWithError("the build failed");
    }
}

void copyAndSync(benchmark::State &state)
{
    const QString package = world().package(packageName(state));
    if (package.isEmpty())
        return state.SkipWithError("the package could not be made");
    for (auto _ : state) {
        state.PauseTiming();
        QDir(world().scratch()).removeRecursively();
        state.ResumeTiming();
        if (runProcess({"cp", "-r", package, world().scratch()}) != 0 || runProcess({"sync"}) != 0)
            return state.SkipWithError("cp or sync failed");
    }
}

// 0 is the sample package; otherwise the number of entries of each main menu.
void sizes(benchmark::internal::Benchmark *benchmark)
{
    benchmark->Arg(0)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(buildProcess)->Apply(sizes);
BENCHMARK(buildProcessAfterTextEdit)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(copyAndSync)->Apply(sizes);

// Runs in turns, so that all meet the machine in the same state. The time is the timed run's;
// <run>_ms and <run>_cpu_ms are each run's real and processor time (user and system), which a busy
// machine blurs less.
using Runs = std::vector<std::pair<std::string, QStringList>>;
void runInTurns(benchmark::State &state, const Runs &runs, const std::string &timed)
{
    using Clock = std::chrono::steady_clock;
    std::map<std::string, double> real, cpu;
    for (auto _ : state) {
        for (const auto &[name, arguments] : runs) {
            double cpuSeconds = 0;
            const Clock::time_point start = Clock::now();
            if (runProcess(arguments, &cpuSeconds) != 0)
                return state.SkipWithError((name + " failed").c_str());
            const std::chrono::duration<double> time = Clock::now() - start;
            real[name] += time.count();
            cpu[name] += cpuSeconds;
            if (name == timed)
                state.SetIterationTime(time.count());
        }
    }
    for (const auto &run : runs) {
        const std::string &name = run.first;
        state.counters[name + "_ms"] = benchmark::Counter(real[name] * 1000, benchmark::Counter::kAvgIterations);
        state.counters[name + "_cpu_ms"] = benchmark::Counter(cpu[name] * 1000, benchmark::Counter::kAvgIterations);
    }
}

// Short command-line runs: `/bin/true`, a bare Qt Core program printing its version,
// `kavo-custom --version`, and a build of the sample package (timed).
void commandLineBesideAnchors(benchmark::State &state)
{
    const QString package = world().package(QStringLiteral("Sample"));
    if (package.isEmpty())
        return state.SkipWithError("the package could not be made");
    const QString bare = QCoreApplication::applicationDirPath() + QStringLiteral("/version-bare");
    runInTurns(state,
               {{"true", {"/bin/true"}},
                {"bare", {bare, "--version"}},
                {"version", {KAVO_PROGRAM_DIR "/kavo-custom", "--version"}},
                {"build", {KAVO_PROGRAM_DIR "/kavo-custom", "--build", package}}},
               "build");
}
BENCHMARK(commandLineBesideAnchors)->Unit(benchmark::kMillisecond)->UseManualTime();

// The package as text beside its build: --export into a file beside the package, --import of that
// file (which applies it and builds the package) and --build; the time is the import's.
void textBesideBuild(benchmark::State &state)
{
    const QString package = world().package(packageName(state));
    if (package.isEmpty())
        return state.SkipWithError("the package could not be made");
    const QString text = package + ".yaml";
    const QString tool = QStringLiteral(KAVO_PROGRAM_DIR "/kavo-custom");
    runInTurns(state,
               {{"export", {tool, "--export", package, "-o", text}},
                {"import", {tool, "--import", text, package}},
                {"build", {tool, "--build", package}}},
               "import");
}
BENCHMARK(textBesideBuild)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond)->UseManualTime();

bool hasDisplay(benchmark::State &state)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        state.SkipWithError("no display: run under xvfb-run -a");
        return false;
    }
    return true;
}

// Makes the package of the benchmark's size the one the tool opens; false (the benchmark
// skipped) when there is no display or no package.
bool openedAtStart(benchmark::State &state)
{
    const QString package = world().package(packageName(state));
    if (package.isEmpty()) {
        state.SkipWithError("the package could not be made");
        return false;
    }
    if (!hasDisplay(state))
        return false;
    // The tool opens the package built last.
    ini::writeProfileString(world().program() + "/0409/custom-text.ini", "OTHER", "LASTCONFIG",
                                 package + "/" + packageName(state) + ".pkg");
    return true;
}

const QString toolProbe = QStringLiteral("/window-shown-tool");
const QString bareProbe = QStringLiteral("/window-shown-bare");

void windowShown(benchmark::State &state)
{
    if (!openedAtStart(state))
        return;
    const QString probe = QCoreApplication::applicationDirPath() + toolProbe;
    for (auto _ : state) {
        if (runProcess({probe}) != 0)
            return state.SkipWithError("the tool did not show its window");
    }
}
BENCHMARK(windowShown)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

void bareDialogShown(benchmark::State &state)
{
    if (!hasDisplay(state))
        return;
    const QString probe = QCoreApplication::applicationDirPath() + bareProbe;
    for (auto _ : state) {
        if (runProcess({probe}) != 0)
            return state.SkipWithError("the dialog was not shown");
    }
}
BENCHMARK(bareDialogShown)->Unit(benchmark::kMillisecond)->UseRealTime();

// The two in turns, so that both meet the machine in the same state (its speed drifts within
// minutes): the time is the tool's, bare_ms the bare dialog's, ratio the one over the other.
void windowShownBesideBare(benchmark::State &state)
{
    if (!openedAtStart(state))
        return;
    const QString tool = QCoreApplication::applicationDirPath() + toolProbe;
    const QString bare = QCoreApplication::applicationDirPath() + bareProbe;
    using Clock = std::chrono::steady_clock;
    std::chrono::duration<double> toolTotal{}, bareTotal{};
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        if (runProcess({bare}) != 0)
            return state.SkipWithError("the dialog was not shown");
        const Clock::time_point between = Clock::now();
        if (runProcess({tool}) != 0)
            return state.SkipWithError("the tool did not show its window");
        const std::chrono::duration<double> toolTime = Clock::now() - between;
        state.SetIterationTime(toolTime.count());
        toolTotal += toolTime;
        bareTotal += between - start;
    }
    state.counters["bare_ms"] = benchmark::Counter(bareTotal.count() * 1000, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = toolTotal / bareTotal;
}
BENCHMARK(windowShownBesideBare)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
