// The preview as the window redraws it after every edit: the scene laid out and painted into a
// 1024x768 image, for a package of 5 main menus of N menu entries with 5 sub-entries each
// (N = 50, 100, 200) from scripts/make-large-package, once one entry's title was changed. The
// entry pointed at is a sub-entry of the middle main menu, so its sub-menu stands open. A frame
// is 16 ms.
#include "document/menucommands.h"
#include "document/packagedocument.h"
#include "largepackage.h"
#include "preview/preview.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void redrawAfterEdit(benchmark::State &state)
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
    document::CItem *entry = document.menus().mainMenus().at(2)->entries().at(0);
    preview::Preview preview(document);
    preview.setPointed(entry->entries().at(0));
    QImage image(1024, 768, QImage::Format_ARGB32_Premultiplied);
    int edits = 0;
    for (auto _ : state) {
        state.PauseTiming();
        document::EntryProperties properties = entry->properties();
        properties.title = QStringLiteral("Edited %1").arg(++edits);
        document.undoStack().push(new document::EditEntryCommand(document, entry, properties));
        state.ResumeTiming();
        QPainter painter(&image);
        preview.paint(painter, image.rect());
    }
    state.counters["nodes"] = 5 + 5 * entries * 6;
    state.SetComplexityN(entries);
}

} // namespace

BENCHMARK(redrawAfterEdit)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity();

int main(int argc, char **argv)
{
    // Painting text takes a graphical application; it needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
