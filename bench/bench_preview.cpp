// The preview as the window redraws it after every edit: the scene laid out and painted into a
// 1024x768 image, for a package of 5 main menus of N menu entries with 5 sub-entries each
// (N = 50, 100, 200) from scripts/make-large-package, once one entry's title was changed. The
// entry pointed at is a sub-entry of the middle main menu, so its sub-menu stands open. A frame
// is 16 ms.
#include "largepackage.h"
#include "preview/preview.h"

#include <QGuiApplication>
#include <QPainter>

namespace {

void redrawAfterEdit(benchmark::State &state)
{
    QTemporaryDir dir;
    document::PackageDocument document;
    if (!readLargePackage(state, dir, document))
        return;
    document::CItem *entry = document.menus().mainMenus().at(2)->entries().at(0);
    preview::Preview preview(document);
    preview.setPointed(entry->entries().at(0));
    QImage image(1024, 768, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        retitleUntimed(state, document, entry);
        QPainter painter(&image);
        preview.paint(painter, image.rect());
    }
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
