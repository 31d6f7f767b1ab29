#include "installedworld.h"
#include "scriptedmodals.h"
#include "app/filecommands.h"
#include "document/packagedocument.h"
#include "document/pagecommands.h"
#include "packages/languagefiles.h"
#include "packages/packagestore.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QElapsedTimer>
#include <QTest>
#include <QThread>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using testing::readFile;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runTool(const InstalledWorld &world, const QStringList &arguments)
{
    QProcess tool;
    QProcessEnvironment environment = world.environment();
    // A build makes no widget and needs no display: with no platform plugin to be had, a
    // graphical application could not even start.
    environment.insert("QT_QPA_PLATFORM", "no-such-platform");
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    tool.setProcessEnvironment(environment);
    tool.start(KAVO_PROGRAM_DIR "/kavo-custom", arguments);
    tool.waitForFinished(60000);
    return {tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1, tool.readAllStandardOutput(),
            tool.readAllStandardError()};
}

// Every file below a folder with its bytes.
QMap<QString, QByteArray> snapshot(const QString &dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(dir).relativeFilePath(path), readFile(path));
    }
    return files;
}

// What a path holds: every file below a folder, or the one file, with its bytes.
QMap<QString, QByteArray> contentOf(const QString &path)
{
    if (QFileInfo(path).isDir())
        return snapshot(path);
    return {{QString(), QFileInfo::exists(path) ? readFile(path) : QByteArray()}};
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void buildWritesThePackageAndPrintsItsFiles()
    {
        InstalledWorld world;
        const QString dir = world.makePackage("Cli");
        const Run run = runTool(world, {"--build", dir});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(run.out.contains((dir + "/custom.bat\n").toUtf8()));
        QVERIFY(run.out.contains((dir + "/Cli.pkg\n").toUtf8()));
        QVERIFY(run.out.contains((dir + "/0411/access-text.ini\n").toUtf8()));
        QCOMPARE(readFile(dir + "/custom.bat"), "@ECHO OFF\r\nxcopy *.* " + world.installDir().toUtf8() + "/U /S /Y\r\n");
        QVERIFY(readFile(dir + "/access-config.ini").contains("VERSION=4.1.21"));
        QVERIFY(readFile(world.programDir() + "/0409/custom-text.ini").contains(("LASTCONFIG=" + dir + "/Cli.pkg").toUtf8()));

        // Naming the marker file builds the same package.
        const QByteArray marker = readFile(dir + "/Cli.pkg");
        const Run again = runTool(world, {"--build", dir + "/Cli.pkg"});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(readFile(dir + "/Cli.pkg"), marker);
    }

    // Several packages in one call are built in turn, each reported; the status is the worst.
    void buildTakesSeveralPackagesInTurn()
    {
        InstalledWorld world;
        const QString first = world.makePackage("First"), second = world.makePackage("Second");
        const Run run = runTool(world, {"--build", first, world.root() + "/missing", second});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains("missing does not exist"), run.err.constData());
        const qsizetype firstAt = run.out.indexOf((first + "/First.pkg\n").toUtf8());
        QVERIFY(firstAt >= 0);
        QVERIFY(run.out.indexOf((second + "/Second.pkg\n").toUtf8()) > firstAt);
        QVERIFY(readFile(second + "/access-config.ini").contains("VERSION=4.1.21"));
    }

    // Whatever stands in the way, the build says what it is, ends with a non-zero status, lists
    // only what it wrote, and writes nothing outside the package.
    void buildRefusesWhatItCannotBuild_data()
    {
        QTest::addColumn<QString>("breakage");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no configuration file") << "config" << QByteArray("is not a complete package; missing: ");
        QTest::newRow("no such folder") << "folder" << QByteArray("missing does not exist");
        QTest::newRow("a plain file") << "file" << QByteArray("is a file, not a package");
        QTest::newRow("empty company name") << "company" << QByteArray("company name");
        QTest::newRow("unwritable batch file") << "batch" << QByteArray("custom.bat");
        QTest::newRow("no install directory") << "install" << QByteArray("/system/Harbel/ZELT.conf holds no readable InstallDir value; set InstallDir there");
        QTest::newRow("install directory gone") << "install gone" << QByteArray("/gone\", which is no existing folder named in full; set InstallDir there");
        QTest::newRow("the default package") << "default" << QByteArray("the default package");
        QTest::newRow("linked language folder") << "language link" << QByteArray("0411/access-text.ini (a folder on its way is a symbolic link");
        QTest::newRow("linked configuration file") << "config link" << QByteArray("access-config.ini (a symbolic link");
    }
    void buildRefusesWhatItCannotBuild()
    {
        QFETCH(QString, breakage);
        QFETCH(QByteArray, message);
        InstalledWorld world;
        QString dir = world.makePackage("Broken");
        const QString outside = world.root() + "/outside";
        if (breakage == "config") {
            QFile::remove(dir + "/access-config.ini");
        } else if (breakage == "folder") {
            dir += "/missing";
        } else if (breakage == "file") {
            dir += "/machine-specifics.csv";
        } else if (breakage == "company") {
            testing::writeFile(dir + "/0409/access-text.ini", "[Access Text]\r\nTITLE=\r\n");
        } else if (breakage == "batch") {
            QDir().mkpath(dir + "/custom.bat");   // a folder in its place: no write can replace it, even as root
        } else if (breakage == "install") {
            QFile::remove(world.registryDir() + "/system/Harbel/ZELT.conf");
        } else if (breakage == "install gone") {
            testing::writeSettingsValue(world.registryDir() + "/system/Harbel/ZELT.conf", "InstallDir", world.root() + "/gone");
        } else if (breakage == "default") {
            QDir(dir).rename(dir, world.packagesDir() + "/HarbelDefault");
            dir = world.packagesDir() + "/HarbelDefault";
        } else if (breakage == "language link") {
            QVERIFY(QDir(dir + "/0411").rename(dir + "/0411", outside));
            QVERIFY(QFile::link(outside, dir + "/0411"));
        } else {
            QVERIFY(QFile::rename(dir + "/access-config.ini", outside));
            QVERIFY(QFile::link(outside, dir + "/access-config.ini"));
        }
        const QMap<QString, QByteArray> outsideBefore = contentOf(outside);
        const QMap<QString, QByteArray> before = contentOf(dir);

        const Run run = runTool(world, {"--build", dir});
        QVERIFY(run.exitCode != 0);
        QVERIFY2(run.err.contains(message), run.err.constData());
        QCOMPARE(contentOf(outside), outsideBefore);
        for (const QByteArray &written : run.out.split('\n'))
            QVERIFY2(written.isEmpty() || !run.err.contains(written), written.constData());
        QCOMPARE(contentOf(dir), before);   // not a byte of the package changed
    }

    // A build writes all its files or none: with any one of them refused, every file of the
    // package stays byte for byte as it was, and the message names the one refused.
    void eachFileOfABuildRefusedInTurn_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("refusal");
        QStringList files{"machine-specifics.csv", "access-config.ini", "custom.bat", "Built.pkg"};
        for (const QString &dir : packages::languageDirsCopyOrder())
            files << dir + "/access-text.ini";
        // Root writes read-only files: a folder in the file's place refuses it instead.
        const QString unwritable = ::geteuid() == 0 ? "folder" : "read-only";
        for (const QString &file : std::as_const(files)) {
            for (const QString &refusal : {QString("link"), unwritable})
                QTest::addRow("%s, %s", qPrintable(file), qPrintable(refusal)) << file << refusal;
        }
        for (const char *file : {"machine-specifics.csv", "access-config.ini", "0409/access-text.ini"})
            QTest::addRow("%s, invalid bytes", file) << QString(file) << "invalid bytes";
        QTest::newRow("the texts, full file system") << "0c0a/access-text.ini" << "full";
    }
    void eachFileOfABuildRefusedInTurn()
    {
        QFETCH(QString, file);
        QFETCH(QString, refusal);
        InstalledWorld world;
        const QString dir = world.makePackage("Built");   // as a build left it, with all its files
        testing::writeFile(dir + "/custom.bat", "@ECHO OFF\r\n");
        testing::writeFile(dir + "/Built.pkg", "marker");
        testing::writeFile(dir + "/0c0a/access-text.ini", "[Access Text]\r\n");
        const QString path = dir + "/" + file, outside = world.root() + "/outside";
        testing::writeFile(outside, readFile(path));
        if (refusal == "link") {
            QFile::remove(path);
            QVERIFY(QFile::link(outside, path));
        } else if (refusal == "folder") {
            QFile::remove(path);
            QVERIFY(QDir().mkpath(path));
        } else if (refusal == "read-only") {
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        } else if (refusal == "invalid bytes") {
            testing::writeFile(path, "\xEF\xBB\xBF" + readFile(path) + "\xFF\r\n");
        }
        const QMap<QString, QByteArray> before = testing::treeContents(dir), outsideBefore = contentOf(outside);

        QProcess tool;
        tool.setProcessEnvironment(world.environment());
        if (refusal == "full") {   // a file system with no room for the texts, as root too
            const rlim_t room = rlim_t(QFileInfo(path).size() - 1);
            tool.setChildProcessModifier([room] {
                std::signal(SIGXFSZ, SIG_IGN);
                const struct rlimit limit{room, room};
                ::setrlimit(RLIMIT_FSIZE, &limit);
            });
        }
        tool.start(KAVO_PROGRAM_DIR "/kavo-custom", {"--build", dir});
        QVERIFY(tool.waitForFinished(60000));
        const QByteArray err = tool.readAllStandardError();
        // Without its text file the package has no company name, and is refused before building.
        const bool noTexts = file == "0409/access-text.ini" && refusal == "folder";
        QCOMPARE(tool.exitCode(), noTexts ? 2 : 1);
        QVERIFY2(err.contains(noTexts ? QByteArray("company name") : ("Built/" + file + " (").toUtf8()), err.constData());
        QVERIFY2(tool.readAllStandardOutput().isEmpty(), "a file counts as written");
        QCOMPARE(testing::treeContents(dir), before);
        QCOMPARE(contentOf(outside), outsideBefore);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    // A newcomer's first build, as the README shows it: the install directory set, a package
    // made, built again and checked.
    void newPackageFromNothing()
    {
        InstalledWorld world;
        QFile::remove(world.registryDir() + "/system/Harbel/ZELT.conf");
        Run run = runTool(world, {"--set-install-dir", world.installDir() + "/."});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(run.out, (world.installDir() + "\n").toUtf8());
        run = runTool(world, {"--new", "Contoso", "--company", "Contoso Ltd"});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const QString dir = world.packagesDir() + "/Contoso";
        QVERIFY(run.out.contains((dir + "/Contoso.pkg\n").toUtf8()));
        QVERIFY(readFile(dir + "/0409/access-text.ini").contains("TITLE=\"Contoso Ltd\""));
        QCOMPARE(QDir(world.packagesDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList({"Contoso", "HarbelDefault"}));   // no untitled package left behind
        QCOMPARE(runTool(world, {"--build", dir}).exitCode, 0);
        run = runTool(world, {"--check", dir});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, "0 errors, 0 warnings in 1 package\n");
    }

    // --new makes byte for byte the package that New and Save As make in the window (the
    // marker holds the package's paths in UTF-16: names of one length keep its layout).
    void newPackageIsTheWindowsNewAndSaveAs()
    {
        InstalledWorld world;
        {
            QVERIFY(packages::ensureDefaultPackage());
            document::PackageDocument document;
            ScriptedModals modals;
            app::FileCommands commands(document, nullptr);
            commands.newPackage();
            document.undoStack().push(new document::SetCompanyNameCommand(document, "Contoso"));
            modals.fileAnswers.push_back(world.packagesDir() + "/Win/Win");
            QVERIFY(commands.savePackageAs());
        }
        const Run run = runTool(world, {"--new", world.packagesDir() + "/Cli", "--company", "Contoso"});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        const auto utf16 = [](const char *name) {
            const QString text = QString::fromLatin1(name);
            return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
        };
        QMap<QString, QByteArray> window;
        const QMap<QString, QByteArray> made = testing::treeContents(world.packagesDir() + "/Win");
        for (auto it = made.cbegin(); it != made.cend(); ++it)
            window.insert(QString(it.key()).replace("Win", "Cli"),
                          QByteArray(it.value()).replace("Win", "Cli").replace(utf16("Win"), utf16("Cli")));
        QCOMPARE(testing::treeContents(world.packagesDir() + "/Cli"), window);
    }

    // What the new-package and install-directory commands refuse: a message, status 2, and not
    // a byte written in the installation or the registry.
    void newAndInstallDirRefusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("no company name") << QStringList{"--new", "A"} << QByteArray("--new needs --company TEXT");
        QTest::newRow("a name Windows cannot hold") << QStringList{"--new", "A:B", "--company", "C"}
                                                    << QByteArray("\"A:B\" is no name for a package");
        QTest::newRow("a name ending in a dot") << QStringList{"--new", "A.", "--company", "C"} << QByteArray("is no name");
        QTest::newRow("an existing package") << QStringList{"--new", "Taken", "--company", "C"}
                                             << QByteArray("Packages/Taken already exists");
        QTest::newRow("no install directory") << QStringList{"--new", "A", "--company", "C"}
                                              << QByteArray("--set-install-dir FOLDER");
        QTest::newRow("a company name alone") << QStringList{"--company", "C"} << QByteArray("--company goes with --new");
        QTest::newRow("two commands") << QStringList{"--new", "A", "--company", "C", "--build", "A"}
                                      << QByteArray("each go alone");
        QTest::newRow("a stray argument") << QStringList{"--new", "A", "--company", "C", "B"}
                                          << QByteArray("unexpected argument: B");
        QTest::newRow("install directory missing") << QStringList{"--set-install-dir", "missing"}
                                                   << QByteArray("/missing is no folder");
        QTest::newRow("install directory no installation") << QStringList{"--set-install-dir", "."}
                                                           << QByteArray("is no installation of Access Kavo");
    }
    void newAndInstallDirRefusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        InstalledWorld world;
        world.makePackage("Taken", true);
        if (QByteArray(QTest::currentDataTag()) == "no install directory")
            QFile::remove(world.registryDir() + "/system/Harbel/ZELT.conf");
        const QMap<QString, QByteArray> before = testing::treeContents(world.root());
        QProcess tool;
        tool.setProcessEnvironment(world.environment());
        tool.setWorkingDirectory(world.root());
        tool.start(KAVO_PROGRAM_DIR "/kavo-custom", arguments);
        QVERIFY(tool.waitForFinished(60000));
        const QByteArray err = tool.readAllStandardError();
        QCOMPARE(tool.exitCode(), 2);
        QVERIFY2(err.contains(message), err.constData());
        QCOMPARE(testing::treeContents(world.root()), before);
    }

    void helpAndVersion()
    {
        InstalledWorld world;
        const Run help = runTool(world, {"--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("--build"));
        QVERIFY(help.out.contains("--check"));
        const Run version = runTool(world, {"--version"});
        QCOMPARE(version.exitCode, 0);
        QVERIFY(version.out.contains(KAVO_VERSION));
    }

    // A mistake on the window's command line ends the program with its message, once the last
    // package's reading, started before the application took its own options, has ended.
    void windowRefusesAnUnknownOption()
    {
        InstalledWorld world;
        QCOMPARE(runTool(world, {"--set-install-dir", world.installDir()}).exitCode, 0);
        QCOMPARE(runTool(world, {"--new", "Contoso", "--company", "Contoso"}).exitCode, 0);   // the last package
        QProcess tool;
        QProcessEnvironment environment = world.environment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        tool.setProcessEnvironment(environment);
        tool.start(KAVO_PROGRAM_DIR "/kavo-custom", {"-style", "fusion", "--no-such-option"});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY2(tool.readAllStandardError().contains("no-such-option"), "the mistake is named");
    }

    // A build killed at any moment leaves every file either as it was or as the build makes it,
    // and no temporary file past the next build: a hundred kills spread over the whole length of
    // a large build.
    void killedBuildLeavesEveryFileWhole()
    {
        InstalledWorld world;
        const QString dir = world.packagesDir() + "/Big";
        QProcess generator;
        generator.start("python3", {KAVO_SOURCE_DIR "/scripts/make-large-package", dir, "--entries", "200"});
        QVERIFY(generator.waitForFinished(60000) && generator.exitCode() == 0);
        const QString uiTextDir = world.programDir() + "/0409";
        const QMap<QString, QByteArray> before = snapshot(dir), uiTextBefore = snapshot(uiTextDir);

        QElapsedTimer clock;
        clock.start();
        QCOMPARE(runTool(world, {"--build", dir}).exitCode, 0);
        const qint64 buildNs = clock.nsecsElapsed();
        const QMap<QString, QByteArray> after = snapshot(dir), uiTextAfter = snapshot(uiTextDir);
        QVERIFY(after != before);

        const auto restore = [](const QString &folder, const QMap<QString, QByteArray> &files,
                                const QMap<QString, QByteArray> &now) {
            for (auto it = files.cbegin(); it != files.cend(); ++it)
                if (now.value(it.key()) != it.value())
                    testing::writeFile(folder + "/" + it.key(), it.value());
            for (const QString &extra : now.keys())
                if (!files.contains(extra))
                    QFile::remove(folder + "/" + extra);
        };
        // Every file is one of its two versions and none is missing. The only other file may be
        // a new one killed in the instant between getting a name and taking its place, which
        // bears the tool's mark and goes with the next write of that file.
        int leftovers = 0;
        const auto isLeftover = [](const QString &name) { return name.contains(".kavo-new-"); };
        const auto whole = [&](const QMap<QString, QByteArray> &now, const QMap<QString, QByteArray> &old,
                               const QMap<QString, QByteArray> &made) {
            for (auto it = now.cbegin(); it != now.cend(); ++it) {
                if (isLeftover(it.key()))
                    ++leftovers;
                else if (it.value() != old.value(it.key(), "\x01none") && it.value() != made.value(it.key(), "\x01none"))
                    return it.key();
            }
            for (const QString &kept : old.keys())
                if (made.contains(kept) && !now.contains(kept))
                    return kept + " (missing)";
            return QString();
        };

        // Kills spread over the length of a build, as long as it takes the machine of the moment:
        // a build that ends before its kill shortens the length the next kills are spread over,
        // and the kills go on until enough builds were interrupted.
        const int kills = 100;
        int interrupted = 0, attempts = 0;
        qint64 lengthNs = buildNs;
        QMap<QString, QByteArray> now = after, uiTextNow = uiTextAfter;
        for (; interrupted < kills && attempts < 10 * kills; ++attempts) {
            restore(dir, before, now);
            restore(uiTextDir, uiTextBefore, uiTextNow);

            QProcess tool;
            tool.setProcessEnvironment(world.environment());
            QElapsedTimer running;
            running.start();
            tool.start(KAVO_PROGRAM_DIR "/kavo-custom", {"--build", dir});
            QVERIFY(tool.waitForStarted());
            const qint64 at = lengthNs * (interrupted + 1) / (kills + 1);
            QThread::usleep(quint64(at / 1000));
            tool.kill();
            tool.waitForFinished();
            if (tool.exitStatus() == QProcess::CrashExit)
                ++interrupted;
            else
                lengthNs = std::min(lengthNs, running.nsecsElapsed());

            now = snapshot(dir);
            uiTextNow = snapshot(uiTextDir);
            const QString torn = whole(now, before, after) + whole(uiTextNow, uiTextBefore, uiTextAfter);
            QVERIFY2(torn.isEmpty(), qPrintable(QString("%1 after a kill at %2 ms").arg(torn).arg(at / 1e6)));
        }
        qInfo("%d of %d builds of %.0f ms interrupted, %d files left to the next build", interrupted, attempts,
              buildNs / 1e6, leftovers);
        QCOMPARE(runTool(world, {"--build", dir}).exitCode, 0);
        for (const QString &file : snapshot(dir).keys() + snapshot(uiTextDir).keys())
            QVERIFY2(!isLeftover(file), qPrintable(file + " outlived the next build"));
        QCOMPARE(interrupted, kills);
    }
};
KAVO_TEST(CommandLineTest)

// kavo-custom --check: what it prints, its status, and that it writes nothing.
class CheckCommandTest : public QObject {
    Q_OBJECT

    // The 1-based line of a file that holds text first.
    static int lineOf(const QString &file, const QByteArray &text)
    {
        const QByteArray bytes = readFile(file);
        const qsizetype at = bytes.indexOf(text);
        return at < 0 ? 0 : int(bytes.left(at).count('\n')) + 1;
    }

    static void replaceIn(const QString &file, const QByteArray &from, const QByteArray &to)
    {
        QByteArray bytes = readFile(file);
        QVERIFY2(bytes.contains(from), from.constData());
        testing::writeFile(file, bytes.replace(from, to));
    }

    // A package of the sample installation's files with one flaw: none, a warning or an error.
    static QString makeFlawed(const InstalledWorld &world, const QString &name, const QString &flaw)
    {
        const QString dir = world.makePackage(name);
        if (flaw == "warning")
            replaceIn(dir + "/access-config.ini", "REGULAR_TEXT_COLOR=#0A00FF", "REGULAR_TEXT_COLOR=blue");
        else if (flaw == "error")
            QDir(dir + "/0412").removeRecursively();
        else if (flaw == "missing")
            return dir + "/missing";
        return dir;
    }

private slots:
    void findingsNameTheirFileAndLine()
    {
        InstalledWorld world;
        const QString dir = world.makePackage("Checked");
        const QString texts = dir + "/0409/access-text.ini", menus = dir + "/machine-specifics.csv",
                      config = dir + "/access-config.ini";
        replaceIn(texts, "__MENU1_ALT_KEY__,\"E\"", "__MENU1_ALT_KEY__,\"x\"");
        // The third main menu stands in section Menu4: its texts are those of number 4.
        replaceIn(texts, "__MENU4_ALT_KEY__,\"H\"", "__MENU4_ALT_KEY__,\"Q\"");
        replaceIn(texts, "__2-SUBMENU4__,\"Printer setup\"", "__2-SUBMENU4__,\"display SETTINGS\"");
        replaceIn(menus, "\"C:\\Program Files\\Kavo\\Tools\\Calculator.exe\"", "\"calc.exe\"");
        replaceIn(config, "REGULAR_TEXT_COLOR=#0A00FF", "REGULAR_TEXT_COLOR=blue");
        QVERIFY(QDir(dir + "/0c0a").removeRecursively());

        const Run run = runTool(world, {"--check", dir});
        QCOMPARE(run.exitCode, 2);
        const auto at = [](const QString &file, int line) { return QString("%1:%2: ").arg(file).arg(line); };
        const QStringList expected{
            dir + "/0c0a: error: The language folder \"" + dir + "/0c0a\" is missing.",
            at(config, lineOf(config, "REGULAR_TEXT_COLOR=")) + "warning: The text colour \"blue\" is not of the form #RRGGBB.",
            at(texts, lineOf(texts, "__MENU1_ALT_KEY__")) + "warning: The Alt key \"x\" is not in the title \"Learn\".",
            at(menus, lineOf(menus, "calc.exe")) + "warning: The location \"calc.exe\" of the application \"Calculator\" "
                                                    "is not a full Windows path (C:\\... or \\\\server\\share\\...).",
            at(texts, lineOf(texts, "__2-SUBMENU4__")) + "warning: Another entry of this list already has the title \"display SETTINGS\".",
            at(texts, lineOf(texts, "__MENU4_ALT_KEY__")) + "warning: The Alt key \"Q\" is not in the title \"Help\".",
            "1 error, 5 warnings in 1 package"};
        QCOMPARE(QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts), expected);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
    }

    void statusIsTheWorstOfAllPackages_data()
    {
        QTest::addColumn<QStringList>("flaws");   // one package each
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("summary");
        QTest::newRow("no finding") << QStringList{"none"} << 0 << "0 errors, 0 warnings in 1 package";
        QTest::newRow("a warning") << QStringList{"warning"} << 1 << "0 errors, 1 warning in 1 package";
        QTest::newRow("an error") << QStringList{"error"} << 2 << "1 error, 0 warnings in 1 package";
        QTest::newRow("no such package")
            << QStringList{"missing"} << 2 << "0 errors, 0 warnings in 0 packages; 1 package could not be read";
        QTest::newRow("no install directory") << QStringList{"none", "no install"} << 0 << "0 errors, 0 warnings in 1 package";
        QTest::newRow("clean and warning") << QStringList{"none", "warning"} << 1 << "0 errors, 1 warning in 2 packages";
        QTest::newRow("error, warning, clean")
            << QStringList{"error", "warning", "none"} << 2 << "1 error, 1 warning in 3 packages";
        QTest::newRow("warning and no such package")
            << QStringList{"warning", "missing"} << 2 << "0 errors, 1 warning in 1 package; 1 package could not be read";
    }
    void statusIsTheWorstOfAllPackages()
    {
        QFETCH(QStringList, flaws);
        QFETCH(int, status);
        QFETCH(QString, summary);
        InstalledWorld world;
        QStringList arguments{"--check"};
        for (const QString &flaw : std::as_const(flaws)) {
            if (flaw == "no install")
                QFile::remove(world.registryDir() + "/system/Harbel/ZELT.conf");
            else
                arguments << makeFlawed(world, QString("P%1").arg(arguments.size()), flaw);
        }
        const Run run = runTool(world, arguments);
        QCOMPARE(run.exitCode, status);
        QCOMPARE(QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts).last(), summary);
    }

    // Not a byte changes anywhere in the world, the registry stand-in included (reading the
    // privacy option the way the window does would create its missing value), and no file is
    // made: checksums and modification times of every file, before and after.
    void checkWritesNothing()
    {
        InstalledWorld world;
        const QString clean = world.makePackage("Clean", true), flawed = makeFlawed(world, "Flawed", "error");
        replaceIn(flawed + "/access-config.ini", "REGULAR_TEXT_COLOR=#0A00FF", "REGULAR_TEXT_COLOR=blue");
        testing::writeFile(world.registryDir() + "/user/Harbel/ZELT.conf", "[General]\n");
        const auto state = [&] {
            QMap<QString, QByteArray> files = testing::treeContents(world.root());
            QDirIterator it(world.root(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                it.next();
                files.insert(it.filePath() + " modified",
                             QByteArray::number(it.fileInfo().fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch()));
            }
            return files;
        };
        const QMap<QString, QByteArray> before = state();
        QThread::msleep(20);   // a write now would show in a modification time
        const Run run = runTool(world, {"--check", clean + "/Clean.pkg", flawed});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.out.endsWith("1 error, 1 warning in 2 packages\n"), run.out.constData());
        QCOMPARE(state(), before);
    }
};
KAVO_TEST(CheckCommandTest)

// kavo-custom --preview: a PNG of the size asked for, written with no display, and nothing else.
class PreviewCommandTest : public QObject {
    Q_OBJECT
private slots:
    void writesOnlyThePng_data()
    {
        QTest::addColumn<QStringList>("arguments");   // PKG the package's folder, OUT a folder outside the world
        QTest::addColumn<QString>("outcome");          // the image's size, or what the message says
        const QStringList preview{"--preview", "PKG", "--output", "OUT/p.png"};
        QTest::newRow("the package's aspect") << preview << "1024x768";
        QTest::newRow("its marker file, a size")
            << QStringList{"--preview", "PKG/Shown.pkg", "--output", "OUT/p.png", "--size", "640x300"} << "640x300";
        QTest::newRow("menu and language") << preview + QStringList{"--menu", "3", "--language", "0411"} << "1024x768";
        QTest::newRow("no output") << QStringList{"--preview", "PKG"} << "--preview needs --output";
        QTest::newRow("size not WxH") << preview + QStringList{"--size", "big"} << "--size takes";
        QTest::newRow("size too large") << preview + QStringList{"--size", "20000x480"} << "--size takes";
        QTest::newRow("menu 0") << preview + QStringList{"--menu", "0"} << "from 1 to 3";
        QTest::newRow("menu beyond") << preview + QStringList{"--menu", "4"} << "from 1 to 3";
        QTest::newRow("language unknown") << preview + QStringList{"--language", "0999"} << "--language takes";
        QTest::newRow("output without preview") << QStringList{"--check", "PKG", "--output", "OUT/p.png"} << "goes with --preview";
        QTest::newRow("preview and check") << preview + QStringList{"--check", "PKG"} << "each go alone";
        QTest::newRow("no such package") << QStringList{"--preview", "PKG/none", "--output", "OUT/p.png"} << "does not exist";
        QTest::newRow("not a package") << QStringList{"--preview", "PKG/0409", "--output", "OUT/p.png"} << "not a complete package";
        QTest::newRow("output in the package") << QStringList{"--preview", "PKG", "--output", "PKG/p.png"}
                                               << "--preview writes nothing in a package";
        QTest::newRow("no folder for the output") << QStringList{"--preview", "PKG", "--output", "OUT/none/p.png"}
                                                  << "cannot be written";
    }
    void writesOnlyThePng()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, outcome);
        InstalledWorld world;
        QTemporaryDir outside;
        const QString dir = world.makePackage("Shown", true);
        for (QString &argument : arguments)
            argument.replace("PKG", dir).replace("OUT", outside.path());
        const QMap<QString, QByteArray> before = testing::treeContents(world.root());
        // No display and no platform chosen: the preview takes one that needs none.
        QProcess tool;
        QProcessEnvironment environment = world.environment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(name);
        tool.setProcessEnvironment(environment);
        tool.start(KAVO_PROGRAM_DIR "/kavo-custom", arguments);
        QVERIFY(tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit);
        const QString err = QString::fromUtf8(tool.readAllStandardError());
        QVERIFY(tool.readAllStandardOutput().isEmpty());
        const QStringList written = QDir(outside.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        if (outcome.contains(QRegularExpression("^[0-9]+x[0-9]+$"))) {
            QVERIFY2(tool.exitCode() == 0 && err.isEmpty(), qPrintable(err));
            const QSize size = QImage(outside.filePath("p.png"), "PNG").size();
            QCOMPARE(QString("%1x%2").arg(size.width()).arg(size.height()), outcome);
            QCOMPARE(written, QStringList{"p.png"});
        } else {
            QCOMPARE(tool.exitCode(), 2);
            QVERIFY2(err.contains(outcome), qPrintable(err));
            QCOMPARE(written, QStringList{});
        }
        QCOMPARE(testing::treeContents(world.root()), before);
    }
};
KAVO_TEST(PreviewCommandTest)

// kavo-custom --export, --import and --diff: the package as text on the command line.
class TextCommandsTest : public QObject {
    Q_OBJECT
private slots:
    // A text exported, edited as a script would and imported is what the built package holds,
    // and --diff names the edit until then; --export and --diff write nothing.
    void exportEditImportAndDiff()
    {
        InstalledWorld world;
        const QString dir = world.makePackage("Text", true), edited = world.root() + "/edited.yaml";
        const QMap<QString, QByteArray> before = testing::treeContents(world.root());
        Run run = runTool(world, {"--export", dir});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(run.out.startsWith("kavo-package: 1\n"));
        const QRegularExpression company(QStringLiteral("^company: .*$"), QRegularExpression::MultilineOption);
        QVERIFY(company.match(QString::fromUtf8(run.out)).hasMatch());
        QCOMPARE(runTool(world, {"--diff", dir, dir + "/Text.pkg"}).exitCode, 0);
        QCOMPARE(testing::treeContents(world.root()), before);

        testing::writeFile(edited, QString::fromUtf8(run.out).replace(company, "company: Fabrikam Inc").toUtf8());
        run = runTool(world, {"--diff", dir, edited});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.out.count('\n'), 1);
        QVERIFY2(run.out.contains("Fabrikam Inc"), run.out.constData());
        QCOMPARE(testing::treeContents(world.root(), {edited}), before);

        run = runTool(world, {"--import", edited, dir});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QVERIFY(run.out.contains("access-text.ini"));   // the build's report
        QVERIFY(readFile(dir + "/0409/access-text.ini").contains("Fabrikam Inc"));
        run = runTool(world, {"--diff", edited, dir});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray());

        // --new: the text makes a package of its own, the same as the one it was imported into.
        run = runTool(world, {"--import", edited, "--new", "Copy"});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(runTool(world, {"--diff", dir, world.packagesDir() + "/Copy"}).exitCode, 0);
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("text");   // the file TEXT, when given
        QTest::addColumn<QString>("message");
        const QString good = "kavo-package: 1\ncompany: C\n";
        QTest::newRow("not YAML") << QStringList{"--import", "TEXT", "PKG"} << QByteArray("kavo-package: 1\ncompany: [\n")
                                  << "TEXT:";
        QTest::newRow("a later version") << QStringList{"--import", "TEXT", "PKG"} << QByteArray("kavo-package: 2\n") << "TEXT:1: error:";
        QTest::newRow("no package") << QStringList{"--import", "TEXT"} << good.toUtf8() << "takes the package PATH";
        QTest::newRow("missing text") << QStringList{"--import", "NONE", "PKG"} << QByteArray() << "cannot be read";
        QTest::newRow("export into the package") << QStringList{"--export", "PKG", "-o", "PKG/t.yaml"} << QByteArray()
                                                 << "writes nothing in a package";
        QTest::newRow("export of no package") << QStringList{"--export", "NONE"} << QByteArray() << "does not exist";
        QTest::newRow("diff of one") << QStringList{"--diff", "PKG"} << QByteArray() << "give B after A";
        QTest::newRow("diff with a bad text") << QStringList{"--diff", "PKG", "TEXT"} << QByteArray("- a list\n") << "TEXT:1: error:";
        QTest::newRow("import with company") << QStringList{"--import", "TEXT", "--new", "N", "--company", "C"} << good.toUtf8()
                                             << "not from --company";
    }

    // Each refused with status 2 and a message, the package as it was.
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        InstalledWorld world;
        const QString dir = world.makePackage("Text", true), file = world.root() + "/text.yaml";
        if (!text.isEmpty())
            testing::writeFile(file, text);
        const QMap<QString, QByteArray> before = testing::treeContents(dir);
        for (QString &argument : arguments)
            argument.replace("PKG", dir).replace("TEXT", file).replace("NONE", world.root() + "/none");
        const Run run = runTool(world, arguments);
        QCOMPARE(run.exitCode, 2);
        message.replace("TEXT", file);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        QCOMPARE(testing::treeContents(dir), before);
    }
};
KAVO_TEST(TextCommandsTest)
#include "test_commandline.moc"
