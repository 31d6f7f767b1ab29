// The profile document's memory beside its file's size, for files of one kind of line each
// (blank lines, comments, comments and blank lines in turn, lines that are neither, short keys,
// one key many times, many short sections) and a text file shaped like the front-end's. Each
// benchmark builds the document from the file's bytes, already in memory, and reports:
//   peak_x  the peak heap while building, above what was in use before, over the file's size
//   held_x  the heap the document holds once built, over the file's size
// One more rewrites every key of the text file three times after building it, and reports the
// same once the edits are done.
// The heap is counted by this program's own malloc and free (countingheap.cpp), which see every
// allocation, Qt's included. The time is that of building the document.
#include "countingheap.h"
#include "ini/profiledocument.h"

#include <QByteArray>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

// Lines made by line(n) for n = 0, 1, 2... after head, up to size bytes.
QByteArray fileOf(qsizetype size, const QByteArray &head, const std::function<QByteArray(int)> &line)
{
    QByteArray bytes = head;
    bytes.reserve(size + 256);
    for (int n = 0; bytes.size() < size; ++n)
        bytes += line(n);
    return bytes;
}

QByteArray number(int n)
{
    return QByteArray::number(n);
}

// The front-end's text file: numbered texts under one header, the tool's own sections after it,
// comments and blank lines between groups.
QByteArray textFileLine(int n)
{
    QByteArray line = "TEXT" + number(n) + "=__TEXT" + number(n) + "_TITLE__,\"Text number " + number(n)
                      + " of the help center\"\r\n";
    if (n % 40 == 0)
        line = "\r\n; group " + number(n / 40) + "\r\n" + line;
    if (n % 400 == 0)
        line = "[Access Text " + number(n / 400) + "]\r\nTITLE=\"Help Center\"\r\n" + line;
    return line;
}

void build(benchmark::State &state, const QByteArray &bytes,
           const std::function<void(ini::ProfileDocument &)> &edit = {})
{
    std::size_t peak = 0, held = 0;
    for (auto _ : state) {
        const std::size_t before = countingheap::inUse();
        countingheap::resetPeak();
        {
            ini::ProfileDocument document(bytes);
            if (edit)
                edit(document);
            held = countingheap::inUse() - before;
            peak = countingheap::peak() - before;
            benchmark::DoNotOptimize(&document);
        }
    }
    const double size = double(bytes.size());
    state.counters["file_MB"] = size / 1e6;
    state.counters["peak_x"] = double(peak) / size;
    state.counters["held_x"] = double(held) / size;
}

qsizetype sizeOf(const benchmark::State &state)
{
    return qsizetype(state.range(0)) << 20;
}

void blankLines(benchmark::State &state)
{
    build(state, fileOf(sizeOf(state), {}, [](int) { return QByteArray("\n"); }));
}

void commentLines(benchmark::State &state)
{
    build(state, fileOf(sizeOf(state), "[S]\r\n", [](int n) { return "; comment " + number(n) + "\r\n"; }));
}

void commentsAndBlankLines(benchmark::State &state)
{
    build(state, fileOf(sizeOf(state), "[S]\r\n", [](int n) { return "; comment " + number(n) + "\r\n\r\n"; }));
}

void otherLines(benchmark::State &state)
{
    build(state, fileOf(sizeOf(state), "[S]\r\n", [](int n) { return "neither key nor header " + number(n) + "\r\n"; }));
}

void shortKeys(benchmark::State &state)
{
    build(state, fileOf(sizeOf(state), "[S]\r\n", [](int n) { return "k" + number(n) + "=1\r\n"; }));
}

void duplicateKeys(benchmark::State &state)
{
    build(state, fileOf(sizeOf(state), "[S]\r\n", [](int) { return QByteArray("k=1\r\n"); }));
}

void shortSections(benchmark::State &state)
{
    build(state, fileOf(sizeOf(state), {}, [](int n) { return "[s" + number(n) + "]\r\nk=1\r\n"; }));
}

void textFile(benchmark::State &state)
{
    build(state, fileOf(sizeOf(state), "; Access Kavo texts\r\n", textFileLine));
}

void textFileRewritten(benchmark::State &state)
{
    const QByteArray bytes = fileOf(sizeOf(state), "; Access Kavo texts\r\n", textFileLine);
    const int texts = int(bytes.count("\nTEXT"));
    build(state, bytes, [texts](ini::ProfileDocument &document) {
        for (int round = 1; round <= 3; ++round) {
            for (int n = 0; n < texts; ++n) {
                const QString value = QStringLiteral("__TEXT%1_TITLE__,\"Text %1, edited %2 times\"").arg(n).arg(round);
                document.write(QStringLiteral("Access Text %1").arg(n / 400), QStringLiteral("TEXT%1").arg(n), value);
            }
        }
    });
}

} // namespace

// Files of 16 MiB; the figures hardly change with the size.
BENCHMARK(blankLines)->Arg(16)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(commentLines)->Arg(16)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(commentsAndBlankLines)->Arg(16)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(otherLines)->Arg(16)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(shortKeys)->Arg(16)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(duplicateKeys)->Arg(16)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(shortSections)->Arg(16)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(textFile)->Arg(16)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(textFileRewritten)->Arg(16)->Iterations(2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
