// The MENUS page on large packages, 5 main menus of N menu entries with 5 sub-entries each
// (N = 50, 100, 200) from scripts/make-large-package: reading the package into the document
// (records, menu file, settings) from files the profile engine has not parsed yet, and showing
// the document's menus in the page's tree; one edit of the menus and its undo, with no view and
// with the page showing the menu being edited (which checks the package again after each); the
// problems list filled with a finding for every entry (the check alone: bench_check); one
// keystroke in the filter above the tree; a main menu copied to the clipboard and read back.
#include "document/menucommands.h"
#include "document/packagedocument.h"
#include "menutree/filterbar.h"
#include "menutree/menueditor.h"
#include "menutree/menufiltermodel.h"
#include "menutree/menutreepage.h"
#include "menutree/menutreeview.h"
#include "menutree/problemlist.h"
#include "document/packagecheck.h"
#include "ini/profile.h"
#include "largepackage.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTemporaryDir>
#include <array>
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
        generated = makeLargePackage(folder, {QStringLiteral("--menus"), QStringLiteral("5"), QStringLiteral("--entries"),
                                              QString::number(entries), QStringLiteral("--subentries"),
                                              QStringLiteral("5")});
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

// The package of the benchmark's size read into the document; false (the benchmark skipped)
// when it could not be generated.
bool openLargePackage(benchmark::State &state, document::PackageDocument &document)
{
    LargePackage *package = largePackage(state);
    if (!package)
        return false;
    document.state() = package->state;
    document.load();
    return true;
}

// Reading the whole package into the document, as opening it does.
void loadDocument(benchmark::State &state)
{
    LargePackage *package = largePackage(state);
    if (!package)
        return;
    document::PackageDocument document;
    document.state() = package->state;
    for (auto _ : state) {
        state.PauseTiming();
        ini::clearProfileCache();
        state.ResumeTiming();
        document.load();
    }
    state.counters["texts"] = double(document.textRecord().textEntries().size());
}

// The page made over a document that holds the package, tree filled.
void showTree(benchmark::State &state)
{
    document::PackageDocument document;
    if (!openLargePackage(state, document))
        return;
    for (auto _ : state)
        menutree::MenuTreePage page(document);
}

void untitle(const document::ItemList &items)
{
    for (document::CItem *item : items) {
        document::EntryProperties properties = item->properties();
        properties.title.clear();
        item->setProperties(properties);
        untitle(item->entries());
    }
}

// The worst case of the list: every entry without a title, the lines made afresh each time (one
// finding fewer every other time, so no run finds the list as it was).
void fillProblemList(benchmark::State &state)
{
    document::PackageDocument document;
    if (!openLargePackage(state, document))
        return;
    untitle(document.menus().mainMenus());
    const QList<document::Finding> all = document::checkPackage(document);
    const QList<document::Finding> fewer = all.mid(1);
    menutree::ProblemList list;
    list.show();
    bool full = false;
    for (auto _ : state) {
        full = !full;
        list.setFindings(full ? all : fewer);
        QApplication::processEvents();
    }
    state.counters["lines"] = double(all.size());
}

enum class Edit { EditEntry, DeleteSubMenu, NewEntry };

// The middle main menu's middle entry: a sub-menu of 5 sub-entries.
document::CItem *middleMenu(document::PackageDocument &document)
{
    const document::ItemList &menus = document.menus().mainMenus();
    return menus.at(menus.size() / 2);
}

document::CItem *middleEntry(document::PackageDocument &document)
{
    const document::ItemList &entries = middleMenu(document)->entries();
    return entries.at(entries.size() / 2);
}

QUndoCommand *makeEdit(Edit edit, document::PackageDocument &document)
{
    switch (edit) {
    case Edit::EditEntry: {
        document::CItem *entry = middleEntry(document);
        document::EntryProperties properties = entry->properties();
        properties.title += QStringLiteral(" (edited)");
        return new document::EditEntryCommand(document, entry, properties);
    }
    case Edit::DeleteSubMenu:
        return new document::DeleteItemCommand(document, middleEntry(document));
    case Edit::NewEntry:
        return new document::NewEntryCommand(
            document, middleMenu(document),
            {document::ApplicationIcon, QStringLiteral("New entry"), QString(), QStringLiteral("C:\\new.exe")});
    }
    return nullptr;
}

// One edit pushed on the undo stack and undone, each followed by a turn of the event loop as
// between two of the user's actions. With the page, it is shown with the edited main menu
// expanded, so its relayout and repaint are part of the figure.
void editAndUndo(benchmark::State &state, Edit edit, bool withPage)
{
    document::PackageDocument document;
    if (!openLargePackage(state, document))
        return;
    std::unique_ptr<menutree::MenuTreePage> page;
    if (withPage) {
        page = std::make_unique<menutree::MenuTreePage>(document);
        page->resize(400, 600);
        page->show();
        page->tree()->expand(page->treeIndexOf(middleMenu(document)));
        page->tree()->scrollTo(page->treeIndexOf(middleEntry(document)));
        QApplication::processEvents();
    }
    QUndoStack &steps = document.undoStack();
    for (auto _ : state) {
        steps.push(makeEdit(edit, document));
        QApplication::processEvents();
        steps.undo();
        QApplication::processEvents();
    }
}

// One keystroke in the filter field, the page shown: the text goes from before to after, the
// filter is applied again, and the tree is laid out and painted, as between two of the user's
// keys. Within a frame (16 ms) the tree follows the typing without a stutter.
void filterKeystroke(benchmark::State &state, const QString &before, const QString &after)
{
    document::PackageDocument document;
    if (!openLargePackage(state, document))
        return;
    menutree::MenuTreePage page(document);
    page.resize(400, 600);
    page.show();
    QApplication::processEvents();
    QLineEdit *field = page.filterBar()->field();
    for (auto _ : state) {
        state.PauseTiming();
        field->setText(before);
        QApplication::processEvents();
        state.ResumeTiming();
        field->setText(after);
        QApplication::processEvents();
    }
    state.counters["matches"] = page.filter()->matchCount();
}

// Ctrl+C on a main menu as the window meets it: the menu's text written and put on the system
// clipboard, then read back and made into a node, as the Edit menu's Paste asks whether it fits.
void copyMainMenu(benchmark::State &state)
{
    document::PackageDocument document;
    if (!openLargePackage(state, document))
        return;
    menutree::MenuEditor editor(document, nullptr);
    document::CItem *menu = document.menus().mainMenus().at(0);
    for (auto _ : state) {
        editor.copy(menu);
        benchmark::DoNotOptimize(editor.canPaste(menu));
    }
    state.counters["bytes"] = double(QGuiApplication::clipboard()->text().size());
}

} // namespace

BENCHMARK(loadDocument)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(showTree)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(fillProblemList)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(copyMainMenu)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->Complexity();

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QApplication app(argc, argv);
    const std::pair<const char *, Edit> edits[] = {{"editEntryAndUndo", Edit::EditEntry},
                                                   {"deleteSubMenuAndUndo", Edit::DeleteSubMenu},
                                                   {"newEntryAndUndo", Edit::NewEntry}};
    for (const auto &[name, edit] : edits) {
        for (const bool withPage : {false, true}) {
            const std::string fullName = std::string(name) + (withPage ? "/page" : "/noView");
            benchmark::RegisterBenchmark(fullName.c_str(), editAndUndo, edit, withPage)
                ->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond)->Complexity();
        }
    }
    // From the first letter, which holds nearly every node, to a text that holds none; the last
    // empties the field, and the whole tree comes back.
    const std::array<std::pair<const char *, const char *>, 5> keystrokes = {{{"", "e"},
                                                                              {"entry ", "entry 1"},
                                                                              {"entry 12", "entry 123"},
                                                                              {"zebr", "zebra"},
                                                                              {"entry 1", ""}}};
    for (const auto &[before, after] : keystrokes) {
        const std::string fullName = std::string("filterKeystroke/'") + before + "'->'" + after + "'";
        benchmark::RegisterBenchmark(fullName.c_str(), filterKeystroke, QString::fromLatin1(before), QString::fromLatin1(after))
            ->Arg(200)->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
