// The profile engine under the load of a build: N numbered keys written one by one into a text
// file that already holds 200, then read back one by one. Inside a batch the whole round must
// grow linearly with N; written one at a time, each write replaces the file.
#include "ini/profile.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QString textSection = QStringLiteral("Access Text");

// 200 numbered lines, then another section, so that new keys land in the middle of the file.
QByteArray twoHundredKeyFile()
{
    QByteArray bytes = "; the front-end's texts\r\n[Access Text]\r\nTITLE=Access Kavo\r\n";
    for (int i = 1; i <= 200; ++i) {
        const QByteArray n = QByteArray::number(i);
        bytes += "TEXT" + n + "=__OLD" + n + "__,\"Old text number " + n + "\"\r\n";
    }
    return bytes + "\r\n[WELCOME]\r\nLINE1=Welcome\r\n";
}

struct Round {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("access-text.ini"));
    QStringList keys, values;

    explicit Round(int n)
    {
        for (int i = 1; i <= n; ++i) {
            keys.append(QStringLiteral("TEXT%1").arg(i));
            values.append(QStringLiteral("__TEXT%1__,\"New text number %1\"").arg(i));
        }
    }
    // The file as it was before the build, not yet seen by the engine.
    void reset() const
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(twoHundredKeyFile());
        ini::clearProfileCache();
    }
    bool writeAll() const
    {
        bool written = true;
        for (int i = 0; i < keys.size(); ++i)
            written &= ini::writeProfileString(path, textSection, keys[i], values[i]);
        return written;
    }
    void readAll() const
    {
        for (const QString &key : keys)
            benchmark::DoNotOptimize(ini::readProfileString(path, textSection, key));
    }
};

// The build's path: every write in one batch, one commit, then every key read back.
void batchedWritesThenReads(benchmark::State &state)
{
    const Round round(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        round.reset();
        state.ResumeTiming();
        ini::ProfileBatch batch;
        if (!round.writeAll() || !batch.commit())
            state.SkipWithError("the batch could not be written");
        round.readAll();
    }
    state.SetComplexityN(state.range(0));
}

// Reading alone, from a file the engine has not seen yet (one parse, then look-ups).
void readsAfterWrites(benchmark::State &state)
{
    const Round round(int(state.range(0)));
    round.reset();
    {
        ini::ProfileBatch batch;
        round.writeAll();
    }
    for (auto _ : state) {
        ini::clearProfileCache();
        round.readAll();
    }
    state.SetComplexityN(state.range(0));
}

// Without a batch: each write replaces the file atomically, so the round grows with N times
// the file's size.
void unbatchedWrites(benchmark::State &state)
{
    const Round round(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        round.reset();
        state.ResumeTiming();
        if (!round.writeAll())
            state.SkipWithError("a write failed");
    }
    state.SetComplexityN(state.range(0));
}

} // namespace

BENCHMARK(batchedWritesThenReads)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(readsAfterWrites)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
BENCHMARK(unbatchedWrites)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(3)->Complexity(benchmark::oNSquared);

BENCHMARK_MAIN();
