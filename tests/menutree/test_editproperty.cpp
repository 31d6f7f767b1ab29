#include "scriptedmodals.h"
#include "testmain.h"
#include "document/menucommands.h"
#include "document/packagedocument.h"
#include "document/pagecommands.h"
#include "menutree/menueditor.h"
#include "menutree/menutreepage.h"
#include "menutree/menutreeview.h"
#include "packages/packagestore.h"
#include "ui/modal.h"
#include "ini/profile.h"
#include "platform/programdir.h"
#include "platform/uilanguage.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QPushButton>
#include <QTest>
#include <random>

using document::CItem;
using document::PackageDocument;
using document::Placement;
using menutree::MenuEditor;

namespace {

using Rng = std::mt19937;
using Files = QMap<QString, QByteArray>;   // path inside the package folder -> bytes

int below(Rng &rng, int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

bool chance(Rng &rng, int percent)
{
    return below(rng, 100) < percent;
}

QString randomText(Rng &rng, int minLength, int maxLength)
{
    static const QString characters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ");
    QString text;
    for (int n = minLength + below(rng, maxLength - minLength + 1); n > 0; --n)
        text += characters.at(below(rng, int(characters.size())));
    return text;
}

// The user, played by the random generator: every dialog is cancelled, or filled in and
// accepted, and every question answered at random. What it did goes into the step list.
class RandomUser : public ui::Modals {
public:
    RandomUser(Rng &rng, QStringList &log) : m_rng(rng), m_log(log), m_previous(ui::setModals(this)) {}
    ~RandomUser() override { ui::setModals(m_previous); }

    QStringList unexpected;   // modal things the menu editor has no business opening

    ui::MessageButton message(QWidget *, const ui::MessageRequest &request) override
    {
        using ui::MessageStyle;
        if (request.style == MessageStyle::OkCancelQuestion || request.style == MessageStyle::OkCancelWarning) {
            const bool ok = chance(m_rng, 60);
            m_log.last() += ok ? QStringLiteral(", asked: OK") : QStringLiteral(", asked: Cancel");
            return ok ? ui::MessageButton::Ok : ui::MessageButton::Cancel;
        }
        if (request.style == MessageStyle::OkInformation)
            m_log.last() += QStringLiteral(", informed");
        else
            unexpected << QStringLiteral("message \"%1\"").arg(request.text);
        return ui::MessageButton::Ok;
    }

    int runDialog(QDialog &dialog) override
    {
        auto *buttons = dialog.findChild<QDialogButtonBox *>();
        if (!buttons) {
            unexpected << QStringLiteral("dialog \"%1\" without buttons").arg(dialog.windowTitle());
            return QDialog::Rejected;
        }
        if (!chance(m_rng, 75)) {
            m_log.last() += QStringLiteral(", dialog: Cancel");
            buttons->button(QDialogButtonBox::Cancel)->click();
            return dialog.result();
        }
        QStringList changes;
        // The type first: it decides whether the location can be edited.
        if (auto *type = dialog.findChild<QComboBox *>(QStringLiteral("typeList")); type && chance(m_rng, 50)) {
            type->setCurrentIndex(below(m_rng, type->count()));
            changes << QStringLiteral("type=%1").arg(type->currentText());
        }
        for (const char *name : {"title", "location"}) {
            auto *edit = dialog.findChild<QLineEdit *>(QLatin1String(name));
            if (edit && edit->isEnabled() && chance(m_rng, 60)) {
                edit->setText(randomText(m_rng, 0, 12));
                changes << QStringLiteral("%1='%2'").arg(QLatin1String(name), edit->text());
            }
        }
        if (auto *description = dialog.findChild<QPlainTextEdit *>(QStringLiteral("description"));
            description && chance(m_rng, 50)) {
            description->setPlainText(randomText(m_rng, 0, 16));
            changes << QStringLiteral("description='%1'").arg(description->toPlainText());
        }
        if (auto *altKey = dialog.findChild<QLineEdit *>(QStringLiteral("altKey")); altKey && chance(m_rng, 60)) {
            const char letter = char((chance(m_rng, 50) ? 'a' : 'A') + below(m_rng, 26));
            altKey->setText(chance(m_rng, 25) ? QString() : QString(QLatin1Char(letter)));
            changes << QStringLiteral("altKey='%1'").arg(altKey->text());
        }
        m_log.last() += QStringLiteral(", dialog: OK {%1}").arg(changes.join(QStringLiteral(", ")));
        buttons->button(QDialogButtonBox::Ok)->click();
        return dialog.result();
    }

    // Nothing else is the menu editor's to open.
    std::optional<QString> openFile(QWidget *, const ui::FileDialogRequest &) override { return refuse("open"); }
    std::optional<QString> saveFile(QWidget *, const ui::FileDialogRequest &) override { return refuse("save"); }
    std::optional<QString> chooseFolderOrFile(QWidget *, const ui::PathRequest &) override { return refuse("folder"); }
    std::optional<QColor> chooseColor(QWidget *, const QColor &) override { return refuse("colour"), std::nullopt; }
    QAction *popupMenu(QMenu &, const QPoint &) override { return refuse("popup menu"), nullptr; }

private:
    std::nullopt_t refuse(const char *what)
    {
        unexpected << QLatin1String(what);
        return std::nullopt;
    }

    Rng &m_rng;
    QStringList &m_log;
    ui::Modals *m_previous;
};

// Where a node stands: "root", "m2" (second main menu), "m2.e3", "m2.e3.s1".
QString pathOf(const CItem *node)
{
    if (!node)
        return QStringLiteral("root");
    const char *prefix = document::isMainMenu(node) ? "m" : document::isMenuEntry(node) ? "e" : "s";
    const QString own = QLatin1String(prefix) + QString::number(node->position());
    return node->parent() ? pathOf(node->parent()) + QLatin1Char('.') + own : own;
}

// What the user made of a node and everything below it: whatever a copy of it must keep, wherever
// it goes (not its kind, position or names, which follow its place).
QString contentOf(const CItem &node)
{
    // A main menu's flag is stored nowhere (every main menu's header line is the same): a copy
    // takes it from its entries.
    QStringList fields{node.typeIcon(), node.title(), node.description(), node.location(),
                       node.hasEntries() && !document::isMainMenu(&node) ? "holds entries" : "holds none"};
    if (document::isMainMenu(&node))
        fields << node.contentTitle() << node.altKey() << node.tabDescription() << node.mainIcon() << node.hoverIcon()
               << node.color() << node.colorBar() << node.tabIcon();
    QStringList below;
    for (const CItem *entry : node.entries())
        below << contentOf(*entry);
    return fields.join(QLatin1Char('|')) + QStringLiteral("{%1}").arg(below.join(QLatin1Char(',')));
}

// The text keys a package's text file holds for main-menu numbers from firstUnused on that
// the build must have dropped: the menu's own texts, and those of its first six entries and
// their first six sub-entries (texts of higher numbers may stay).
QStringList textsOfUnusedMenus(const QByteArray &textFile, int firstUnused)
{
    static const QRegularExpression key(QStringLiteral(
        "^TEXT\\d+=__(?:(?:MENU|TAB)(\\d)_[A-Z_]+?|(\\d)-SUBMENU(\\d+)(?:-(\\d+))?(?:-A)?)__,"),
        QRegularExpression::MultilineOption);
    QStringList left;
    for (auto it = key.globalMatch(QString::fromLatin1(textFile)); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const int menu = match.captured(1).isEmpty() ? match.captured(2).toInt() : match.captured(1).toInt();
        if (menu >= firstUnused && match.captured(3).toInt() <= 6 && match.captured(4).toInt() <= 6)
            left << match.captured(0);
    }
    return left;
}

Files packageFiles(const QString &folder)
{
    Files files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), testing::readFile(path));
    }
    return files;
}

// Which files differ, each with its first differing line.
QString differences(const Files &expected, const Files &actual)
{
    QStringList lines;
    QStringList names = expected.keys() + actual.keys();
    names.removeDuplicates();
    for (const QString &name : std::as_const(names)) {
        if (!expected.contains(name) || !actual.contains(name)) {
            lines << QStringLiteral("%1: only in the %2 build").arg(name, expected.contains(name) ? "expected" : "actual");
            continue;
        }
        const QList<QByteArray> a = expected[name].split('\n'), b = actual[name].split('\n');
        for (int i = 0; i < int(qMax(a.size(), b.size())); ++i) {
            if (a.value(i) != b.value(i)) {
                lines << QStringLiteral("%1 line %2: expected \"%3\", got \"%4\"")
                             .arg(name).arg(i + 1).arg(QString::fromLatin1(a.value(i).trimmed()),
                                                       QString::fromLatin1(b.value(i).trimmed()));
                break;
            }
        }
    }
    return lines.join(QLatin1Char('\n'));
}

enum class Run { Untouched, Edited, UndoAll, UndoRedoAll };

} // namespace

// Random edits of the menu tree through the editor, answered by a random user: undoing them
// all builds the package exactly as an untouched one, and redoing them all builds it exactly as
// the edits did.
class EditPropertyTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_root;
    QByteArray m_savedRegistry;
    QMap<QString, int> m_met;   // the cases the edited runs met, by name

    QString path(const char *name) const { return m_root.path() + QLatin1Char('/') + QLatin1String(name); }
    // Every run builds at the same place: the marker file holds absolute paths.
    QString packageDir() const { return path("install/Packages/Edited"); }

    void writeRegistry()
    {
        const QString registry = path("registry");
        testing::writeSettingsValue(registry + "/system/Harbel/ZELT.conf", "InstallDir", path("install"));
        testing::writeFile(registry + "/system/Harbel/RUNA.conf", "");
        testing::writeFile(registry + "/system/Harbel/DUVA.conf", "[General]\nVersion=4.1\n");
        testing::writeFile(registry + "/user/Harbel/ZELT.conf", "[General]\nShowPrivacyDlg=1\n");
    }

    // One run on a fresh copy of the package; the steps come from the seed, and what they did
    // goes into log. The built files go into files.
    void runOnce(const QString &packageTemplate, unsigned seed, Run run, QStringList &log, Files &files)
    {
        QDir(packageDir()).removeRecursively();
        testing::copyTree(packageTemplate, packageDir());
        writeRegistry();
        ini::clearProfileCache();

        PackageDocument document;
        QAbstractItemModelTester modelTester(&document.itemModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        document.state().setLocation(packageDir());
        document.load();
        menutree::MenuTreePage page(document);   // a view that follows every step
        page.tree()->expandAll();
        MenuEditor editor(document, &page);
        const QString loadedName = document.companyName();

        if (run != Run::Untouched) {
            Rng rng(seed);
            RandomUser user(rng, log);
            const int steps = 40 + below(rng, 41);
            QUndoStack &undoStack = document.undoStack();
            std::unique_ptr<CItem> clipboard;   // what the editor's clipboard must hold
            QGuiApplication::clipboard()->clear();   // the system's: the walk before left a node there
            QString copied;                     // and what the node held when it was copied
            const auto met = [&](const char *what) {
                if (what && run == Run::Edited)
                    ++m_met[QLatin1String(what)];
            };
            for (int step = 1; step <= steps; ++step) {
                if (chance(rng, 8)) {
                    // Typing in the company name; now and then back to the name as read.
                    const QString name = chance(rng, 25) ? loadedName : randomText(rng, 1, 10);
                    log << QStringLiteral("%1: company name '%2'").arg(step).arg(name);
                    document.undoStack().push(new document::SetCompanyNameCommand(document, name));
                    continue;
                }
                // A level first, then a node of it: sub-entries would crowd out the rest. What is
                // moved, copied or cut is never the root.
                std::vector<CItem *> levels[4] = {{nullptr}, {}, {}, {}};
                for (CItem *menu : document.menus().mainMenus()) {
                    levels[1].push_back(menu);
                    for (CItem *entry : menu->entries()) {
                        levels[2].push_back(entry);
                        for (CItem *subEntry : entry->entries())
                            levels[3].push_back(subEntry);
                    }
                }
                const auto pick = [&](int firstLevel) {
                    int level = firstLevel + below(rng, 4 - firstLevel);
                    while (levels[level].empty())
                        --level;
                    return levels[level][size_t(below(rng, int(levels[level].size())))];
                };
                const QString at = QString::number(step) + QStringLiteral(": ");
                // A refused edit says why at the end of its line, and is counted as a case met.
                const auto refused = [&](const char *why) {
                    met(why);
                    return why ? QStringLiteral(", no change: ") + QLatin1String(why) : QString();
                };
                const int stepsBefore = undoStack.count();
                int pushed = -1;        // undo steps the edit must push; none known when the user decides
                bool informs = false;   // it refuses with an information box
                switch (below(rng, 8)) {
                case 0: case 1: case 2: {
                    CItem *node = pick(0);
                    const QList<menutree::TreeCommandLabel> commands = MenuEditor::commandsFor(node);
                    const menutree::TreeCommandLabel choice = commands.at(below(rng, int(commands.size())));
                    log << at + QStringLiteral("%1 on %2").arg(QLatin1String(choice.labelKey), pathOf(node));
                    editor.run(choice.command, node);
                    break;
                }
                case 3: case 4: {
                    CItem *dragged = pick(1), *target = pick(0);
                    const bool right = chance(rng, 50);
                    Placement placement = document::leftDropPlacement(dragged, target);
                    if (right) {
                        const document::DropChoices choices = document::rightDropChoices(dragged, target);
                        placement = choices.within && (!choices.below || chance(rng, 50)) ? Placement::Within
                                                                                          : Placement::Below;
                    }
                    bool belowDragged = false;
                    for (const CItem *node = target ? target->parent() : nullptr; node; node = node->parent())
                        belowDragged |= node == dragged;
                    const char *why = target == dragged                                ? "onto itself"
                        : belowDragged                                     ? "into its own subtree"
                        : !document::dropPossible(dragged, target, right) ? "refused by the rules"
                                                                           : nullptr;
                    const char *where = placement == Placement::Within ? "into" : "below";
                    log << at + QStringLiteral("%1 drop of %2 %3 %4").arg(right ? "right" : "left", pathOf(dragged), where,
                                                                          pathOf(target))
                            + refused(why);
                    if (!why)
                        met(right ? "right drop" : "left drop");
                    editor.drop(dragged, target, placement, right);
                    pushed = why ? 0 : 1;
                    break;
                }
                case 5: {
                    CItem *node = pick(1);
                    const int by = chance(rng, 50) ? -1 : 1;
                    const document::ItemList &siblings = document.itemModel().entriesOf(node->parent());
                    const int row = siblings.indexOf(node);
                    const bool moves = row + by >= 0 && row + by < siblings.size();
                    log << at + QStringLiteral("%1 %2").arg(by < 0 ? "up" : "down", pathOf(node))
                            + refused(moves ? nullptr : "past an end");
                    editor.moveAmongSiblings(node, by);
                    pushed = moves ? 1 : 0;
                    if (moves)
                        QCOMPARE(siblings.indexOf(node), row + by);
                    break;
                }
                case 6: {
                    CItem *node = pick(1);
                    const bool cut = chance(rng, 50);
                    informs = cut && document::isMainMenu(node) && document.menus().mainMenus().size() < 2;
                    log << at + QStringLiteral("%1 %2").arg(cut ? "cut" : "copy", pathOf(node))
                            + refused(informs ? "the last main menu" : nullptr);
                    if (!informs) {
                        clipboard = node->clone();
                        copied = contentOf(*node);
                    }
                    if (cut)
                        editor.cut(node);
                    else
                        editor.copy(node);
                    pushed = cut && !informs ? 1 : 0;
                    break;
                }
                default: {
                    CItem *target = pick(0);
                    const bool fits = clipboard && document::canDrop(clipboard.get(), target);
                    informs = fits && document::isMainMenu(clipboard.get())
                        && document.menus().mainMenus().size() >= document::MaxMainMenus;
                    log << at + QStringLiteral("paste on %1").arg(pathOf(target))
                            + refused(!fits ? "nothing that fits" : informs ? "a main menu too many" : nullptr);
                    if (fits && !informs)
                        met("paste");
                    QCOMPARE(editor.canPaste(target), fits);
                    editor.paste(target);
                    pushed = fits && !informs ? 1 : 0;
                    if (pushed) {
                        QVERIFY2(contentOf(*document.currentItem()) == copied,
                                 qPrintable(QStringLiteral("seed %1, step %2: pasted %3, copied %4")
                                                .arg(seed).arg(step).arg(contentOf(*document.currentItem()), copied)));
                    }
                    break;
                }
                }
                if (pushed >= 0) {
                    QVERIFY2(undoStack.count() - stepsBefore == pushed,
                             qPrintable(QStringLiteral("seed %1, step %2: %3 undo steps pushed, not %4")
                                            .arg(seed).arg(step).arg(undoStack.count() - stepsBefore).arg(pushed)));
                    QVERIFY2(log.last().endsWith(QStringLiteral(", informed")) == informs,
                             qPrintable(QStringLiteral("seed %1, step %2: %3").arg(seed).arg(step).arg(log.last())));
                }
            }
            QVERIFY2(user.unexpected.isEmpty(), qPrintable(user.unexpected.join(", ")));
        }

        QUndoStack &steps = document.undoStack();
        if (run == Run::UndoAll || run == Run::UndoRedoAll) {
            steps.setIndex(0);
            QVERIFY2(!document.isModified(), qPrintable(QStringLiteral("seed %1: modified after undoing all").arg(seed)));
            QVERIFY2(document.selection().currentIndex() == document.itemModel().rootIndex(),
                     qPrintable(QStringLiteral("seed %1: the current node is %2 after undoing all, not the root")
                                    .arg(seed).arg(pathOf(document.currentItem()))));
            QCOMPARE(document.companyName(), loadedName);
        }
        if (run == Run::UndoRedoAll) {
            steps.setIndex(steps.count());
            QCOMPARE(document.isModified(), steps.count() > 0);
        }
        const packages::BuildResult built = document.build();
        QVERIFY2(built.succeeded(), qPrintable(built.failures.join(", ")));
        files = packageFiles(packageDir());
        const QStringList left =
            textsOfUnusedMenus(files.value(QStringLiteral("0409/access-text.ini")), document.menus().mainMenus().size() + 1);
        QVERIFY2(left.isEmpty(), qPrintable(QStringLiteral("seed %1: texts of a main menu that is gone: %2")
                                                .arg(seed).arg(left.join(QStringLiteral(", ")))));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        m_savedRegistry = qgetenv("AKVO_REGISTRY");
        qputenv("AKVO_REGISTRY", path("registry").toLocal8Bit());
        const QString data = QStringLiteral(KAVO_SOURCE_DIR "/data");
        QVERIFY(testing::copyTree(data + "/program", path("program")));
        QVERIFY(testing::copyTree(data + "/sample-installation", path("install")));
        writeRegistry();
        platform::setProgramDirectory(path("program"));
        platform::setUserInterfaceLanguage(0x0409);
        ini::clearProfileCache();
        QVERIFY(packages::ensureDefaultPackage());

        // The sample installation's menus as a package of their own: the menu file, the
        // configuration and the sixteen language folders.
        QVERIFY(testing::copyTree(data + "/sample-installation", path("templates/sample")));
        for (const char *notOfAPackage : {"access-text.ini", "AKVO-moreTxt.ini", "README.md"})
            QFile::remove(path("templates/sample") + QLatin1Char('/') + QLatin1String(notOfAPackage));

        // Two main menus, so that a third can be added and one deleted down to the last; and three
        // with more entries and sub-entries than a build clears the texts of.
        for (const QStringList &counts : {QStringList{"generated", "2", "6", "3"}, QStringList{"large", "3", "11", "7"}}) {
            QProcess generator;
            generator.start(QStringLiteral("python3"), {QStringLiteral(KAVO_SOURCE_DIR "/scripts/make-large-package"),
                                                        m_root.path() + "/templates/" + counts[0], "--menus", counts[1],
                                                        "--entries", counts[2], "--subentries", counts[3]});
            QVERIFY(generator.waitForFinished(60000));
            QVERIFY2(generator.exitCode() == 0, generator.readAllStandardError().constData());
        }
    }

    void cleanupTestCase()
    {
        platform::setProgramDirectory(QString());
        platform::setUserInterfaceLanguage(std::nullopt);
        qputenv("AKVO_REGISTRY", m_savedRegistry);
        ini::clearProfileCache();
    }

    // A main menu deleted or cut from three with eleven entries of seven sub-entries each: the
    // build leaves no text of the third number behind, but for those of entry and sub-entry
    // numbers above six.
    void removedMainMenuLeavesNoTexts_data()
    {
        QTest::addColumn<int>("menu");
        QTest::addColumn<bool>("cut");
        QTest::newRow("first deleted") << 0 << false;
        QTest::newRow("second deleted") << 1 << false;
        QTest::newRow("last deleted") << 2 << false;
        QTest::newRow("last cut") << 2 << true;
    }
    void removedMainMenuLeavesNoTexts()
    {
        QFETCH(int, menu);
        QDir(packageDir()).removeRecursively();
        testing::copyTree(path("templates/large"), packageDir());
        writeRegistry();
        ini::clearProfileCache();
        PackageDocument document;
        document.state().setLocation(packageDir());
        document.load();
        ScriptedModals modals;   // the question is answered OK
        MenuEditor editor(document, nullptr);
        CItem *removed = document.menus().mainMenus().at(menu);
        QFETCH(bool, cut);
        if (cut)
            editor.cut(removed);
        else
            editor.remove(removed);
        QCOMPARE(document.menus().mainMenus().size(), 2);
        const packages::BuildResult built = document.build();
        QVERIFY2(built.succeeded(), qPrintable(built.failures.join(", ")));
        const QByteArray texts = testing::readFile(packageDir() + "/0409/access-text.ini");
        QCOMPARE(textsOfUnusedMenus(texts, 3), QStringList());
        QVERIFY(texts.contains("__3-SUBMENU7__") && texts.contains("__3-SUBMENU6-7__"));
    }

    void undoingAllBuildsTheReadPackageAndRedoingAllTheEditedOne_data()
    {
        QTest::addColumn<QString>("packageTemplate");
        QTest::newRow("sample") << path("templates/sample");
        QTest::newRow("generated") << path("templates/generated");
    }

    void undoingAllBuildsTheReadPackageAndRedoingAllTheEditedOne()
    {
        QFETCH(QString, packageTemplate);
        QStringList noSteps;
        Files untouched;
        runOnce(packageTemplate, 0, Run::Untouched, noSteps, untouched);
        QVERIFY(untouched.contains(QStringLiteral("Edited.pkg")));
        int changingSeeds = 0;
        m_met.clear();
        for (unsigned seed = 1; seed <= 20; ++seed) {
            QStringList steps, undoSteps, redoSteps;
            Files edited, undone, redone;
            runOnce(packageTemplate, seed, Run::Edited, steps, edited);
            if (!QTest::currentTestFailed())
                runOnce(packageTemplate, seed, Run::UndoAll, undoSteps, undone);
            if (!QTest::currentTestFailed())
                runOnce(packageTemplate, seed, Run::UndoRedoAll, redoSteps, redone);
            // The whole step list goes to the log: a failure message is cut short.
            const bool failed = QTest::currentTestFailed() || undoSteps != steps || redoSteps != steps
                || undone != untouched || redone != edited;
            if (failed)
                qDebug().noquote() << "seed" << seed << "steps:\n" << steps.join(QLatin1Char('\n'));
            if (QTest::currentTestFailed())
                return;
            const QString what = QStringLiteral("seed %1 (steps in the log): ").arg(seed);
            QVERIFY2(undoSteps == steps && redoSteps == steps, qPrintable(what + "the same seed took other steps"));
            QVERIFY2(undone == untouched,
                     qPrintable(what + "undoing all differs from the untouched build:\n" + differences(untouched, undone)));
            QVERIFY2(redone == edited,
                     qPrintable(what + "redoing all differs from the edited build:\n" + differences(edited, redone)));
            changingSeeds += edited != untouched;
        }
        QVERIFY2(changingSeeds >= 15, "the random steps hardly change the package");
        for (const char *what : {"left drop", "right drop", "onto itself", "into its own subtree", "refused by the rules",
                                 "past an end", "the last main menu", "paste", "nothing that fits", "a main menu too many"})
            QVERIFY2(m_met.value(QLatin1String(what)) > 0, qPrintable(QStringLiteral("no step met: %1").arg(what)));
    }
};
KAVO_TEST(EditPropertyTest)
#include "test_editproperty.moc"
