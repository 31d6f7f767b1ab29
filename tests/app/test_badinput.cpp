#include "installedworld.h"
#include "scriptedmodals.h"
#include "app/maindialog.h"
#include "packages/packagestore.h"
#include "ini/profile.h"
#include "ini/profileencoding.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <functional>
#include <unistd.h>

using testing::readFile;
using testing::writeFile;

namespace {

// A package taken in from a bad place, or with bad bytes in it.
struct BadInput {
    QString target;       // what --build and LASTCONFIG name
    QString packageDir;   // the package it names; none when it names no package
    QString badFile;      // where the bad bytes are, which must survive whatever happens
    QByteArray badBytes;
    std::function<void()> whileOpen = [] {};   // done to the package once it is open
    QStringList untitled;   // where the tool may make its untitled packages
};

QByteArray garbage()
{
    QByteArray bytes(4096, Qt::Uninitialized);
    quint32 state = 12345;
    for (char &byte : bytes) {
        state = state * 1103515245u + 12345u;
        byte = char(state >> 23);
    }
    bytes[0] = '\x01';   // no BOM: that is a row of its own
    return bytes;
}

// A package built before, then broken, or a bad place to take one from.
BadInput setUp(const InstalledWorld &world, const QString &input)
{
    const QString name = input.contains("quote") ? "Q\"x" : "Bad";
    const QString dir = world.makePackage(name, true);

    BadInput bad;
    bad.target = dir + "/" + name + ".pkg";
    bad.packageDir = dir;
    const QString usersOwn = world.root() + "/users-own";
    writeFile(usersOwn + "/notes.txt", "the user's notes");
    writeFile(usersOwn + "/access-text.ini", "the user's text");
    QFile::setPermissions(usersOwn + "/notes.txt", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QString untitled1 = world.packagesDir() + "/Untitled1";
    const auto registryValue = [&](const QByteArray &value) {
        writeFile(world.registryDir() + "/system/Harbel/ZELT.conf", "[General]\nInstallDir=" + value + "\n");
    };
    const auto notAPackage = [&](const QString &target) {
        bad.target = target;
        bad.packageDir.clear();
    };
    const QString config = dir + "/access-config.ini";
    const QString texts = dir + "/0409/access-text.ini";
    const QString outside = world.root() + "/outside";
    const auto spoil = [&](const QString &file, const QByteArray &bytes, const QByteArray &badBytes) {
        writeFile(file, bytes);
        bad.badFile = file;
        bad.badBytes = badBytes;
    };
    if (input == "garbage configuration") {
        spoil(config, garbage(), garbage());
    } else if (input == "garbage texts") {
        spoil(texts, garbage(), garbage());
    } else if (input == "garbage after a UTF-8 BOM") {
        const QByteArray bytes = "\xEF\xBB\xBF" + readFile(config) + garbage();
        spoil(config, bytes, bytes);
    } else if (input == "NUL bytes") {
        const QByteArray name("Con\0toso", 8);
        spoil(texts, readFile(texts).replace("Contoso", name), name);
    } else if (input == "odd-length UTF-16") {
        const QString text = ini::decodeProfileBytes(readFile(texts)).text;
        spoil(texts, ini::encodeProfileText(text, ini::ProfileEncoding::Utf16LE) + '\xA7',
              QByteArray("\n\0\xA7", 3));
    } else if (input == "5 MB line") {
        const QByteArray line = "NOTES=" + QByteArray(5'000'000, 'x');
        spoil(config, readFile(config).replace("VERSION=", line + "\r\nVERSION="), line);
    } else if (input == "10,000 sections") {
        QByteArray sections;
        for (int i = 1; i <= 10'000; ++i)
            sections += "[Note" + QByteArray::number(i) + "]\r\nN=" + QByteArray::number(i) + "\r\n";
        spoil(texts, readFile(texts) + sections, sections);
    } else if (input == "no configuration file") {
        QFile::remove(config);
    } else if (input == "read-only configuration file") {
        QFile::setPermissions(config, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    } else if (input == "read-only package folder") {
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    } else if (input == "folder in place of the configuration file") {
        QFile::remove(config);
        QDir().mkpath(config);
    } else if (input == "no language folder") {
        QDir(dir + "/0411").removeRecursively();
    } else if (input == "configuration file linked out") {
        QFile::rename(config, outside);
        QFile::link(outside, config);
    } else if (input == "language folder linked out") {
        QDir().rename(dir + "/0411", outside);
        QFile::link(outside, dir + "/0411");
    } else if (input == "configuration file linked to /dev/zero") {
        QFile::remove(config);
        QFile::link("/dev/zero", config);
    } else if (input == "install directory is a file") {
        testing::writeSettingsValue(world.registryDir() + "/system/Harbel/ZELT.conf", "InstallDir",
                                    world.installDir() + "/access-config.ini");
    } else if (input == "link loop") {
        QFile::link(world.root() + "/loop2", world.root() + "/loop1");
        QFile::link(world.root() + "/loop1", world.root() + "/loop2");
        notAPackage(world.root() + "/loop1");
    } else if (input == "folder outside the packages folder") {
        QDir().mkpath(world.root() + "/elsewhere");
        notAPackage(world.root() + "/elsewhere");
    } else if (input == "an Untitled1 of links") {
        QFile::remove(dir + "/access-config.ini");   // so that the tool makes an untitled package
        writeFile(untitled1 + "/access-config.ini", "[OTHER]\r\n");
        QFile::link(usersOwn + "/notes.txt", untitled1 + "/machine-specifics.csv");
        QFile::link(usersOwn, untitled1 + "/0409");
    } else if (input == "an Untitled1 that is a link") {
        QFile::remove(dir + "/access-config.ini");
        QDir().mkpath(world.packagesDir());
        QFile::link(usersOwn, untitled1);
    } else if (input == "an Untitled1 of the user's") {
        QFile::remove(dir + "/access-config.ini");
        writeFile(untitled1 + "/notes.txt", "the user's notes");
    } else if (input == "a default package's text linked to the user's file") {
        packages::ensureDefaultPackage();
        const QString text = packages::defaultPackageDir() + "/0409/access-text.ini";
        QFile::remove(text);
        QFile::link(usersOwn + "/notes.txt", text);
    } else if (input == "the configuration file deleted while open") {
        bad.whileOpen = [config] { QFile::remove(config); };
    } else if (input == "the text file deleted while open") {
        bad.whileOpen = [texts] { QFile::remove(texts); };
    } else if (input == "garbage after a UTF-8 BOM in the texts") {
        const QByteArray bytes = "\xEF\xBB\xBF" + readFile(texts) + garbage();
        spoil(texts, bytes, bytes);
    } else if (input == "a package name with a quote") {
        world.makePackage("Qx", true);   // the package the name would be without its quote
    } else if (input == "a relative install directory") {
        registryValue("install");   // the install directory, taken from the folder the tool starts in
    } else if (input == "a missing install directory") {
        registryValue(world.root().toUtf8() + "/gone");
    } else if (input == "a registry file that is not UTF-8") {
        registryValue(world.root().toUtf8() + "/inst\xFF" "all");   // read as ".../install" when the byte is dropped
    } else if (input == "the installation's folder") {
        // As a build of it would have left it; it holds every file a package has.
        writeFile(world.installDir() + "/install.pkg", "marker");
        notAPackage(world.installDir() + "/install.pkg");
    } else {
        notAPackage(input);   // a device
    }
    for (int n = 1; n <= 3; ++n) {
        const QString folder = world.packagesDir() + QString("/Untitled%1").arg(n);
        if (!QFileInfo::exists(folder) && !QFileInfo(folder).isSymLink())
            bad.untitled << folder;
    }
    return bad;
}

// The scratch world is removed whatever a row did to the package's folder.
void makeWritable(const QString &dir)
{
    if (!dir.isEmpty())
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The world outside the package, with the permissions of its files: all of it but the package,
// the places the package store makes its own packages in, the user's settings, and the line of
// the tool's text file that remembers the last package.
QMap<QString, QByteArray> outsideOf(const InstalledWorld &world, const BadInput &bad)
{
    const QString uiText = world.programDir() + "/0409/custom-text.ini";
    QStringList leftOut = bad.untitled;
    leftOut << world.packagesDir() + "/HarbelDefault" << world.registryDir() + "/user" << uiText;
    if (!bad.packageDir.isEmpty())
        leftOut << bad.packageDir;
    QMap<QString, QByteArray> entries = testing::treeContents(world.root(), leftOut);
    for (const QString &name : entries.keys()) {
        const QFileInfo file(world.root() + "/" + name);
        if (file.isFile() && !file.isSymLink())
            entries.insert(name + " (permissions)", QByteArray::number(int(file.permissions()), 16));
    }
    QList<QByteArray> lines = readFile(uiText).split('\n');
    lines.removeIf([](const QByteArray &line) { return line.startsWith("LASTCONFIG="); });
    entries.insert("custom-text.ini without LASTCONFIG", lines.join('\n'));
    return entries;
}

// Nothing of the package is lost: what was refused is as it was; a build rewrites only the files
// a build writes, and the bad bytes are still in theirs.
void verifyNothingLost(const BadInput &bad, const QMap<QString, QByteArray> &before, bool refused)
{
    if (bad.packageDir.isEmpty())
        return;
    const QMap<QString, QByteArray> after = testing::treeContents(bad.packageDir);
    if (refused)
        QCOMPARE(after, before);
    const QStringList built{"machine-specifics.csv", "access-config.ini", "custom.bat", QFileInfo(bad.target).fileName()};
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        QVERIFY2(after.contains(it.key()), qPrintable(it.key() + " is gone"));
        if (!built.contains(it.key()) && !it.key().endsWith("/access-text.ini"))
            QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key() + " changed"));
    }
    if (!bad.badFile.isEmpty())
        QVERIFY2(readFile(bad.badFile).contains(bad.badBytes), "the bad bytes were lost");
}

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT
private slots:
    // Both ways a package is taken in: "kavo-custom --build TARGET", and the window started with
    // TARGET as the last package (then saved when it opened; offered to Open when it did not).
    void badInput_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("exitCode");      // of the command-line build
        QTest::addColumn<QString>("printed");   // part of its message
        QTest::addColumn<bool>("opens");        // the window opens TARGET
        QTest::addColumn<QString>("shown");     // part of a message the window shows; empty: none
        const QString config = "Bad/access-config.ini";
        const QString texts0411 = "Bad/0411/access-text.ini";
        const auto row = [](const char *input, int exitCode, const QString &printed, bool opens, const QString &shown) {
            QTest::newRow(input) << QString(input) << exitCode << printed << opens << shown;
        };
        row("garbage configuration", 0, "", true, "");
        row("garbage texts", 2, "company name", true, "type the name of your company");
        row("garbage after a UTF-8 BOM", 1, config, true, config);
        row("NUL bytes", 0, "", true, "");
        row("odd-length UTF-16", 0, "", true, "");
        row("5 MB line", 0, "", true, "");
        row("10,000 sections", 0, "", true, "");
        row("no configuration file", 2, config, false, config);
        row("read-only configuration file", 1, config, true, config);   // root writes it all the same: see below
        row("read-only package folder", 1, "Bad/custom.bat", true, "Bad/custom.bat");
        row("folder in place of the configuration file", 1, config, true, config);   // unwritable even for root
        row("no language folder", 1, texts0411, true, texts0411);
        row("configuration file linked out", 1, config + " (a symbolic link", true, config + " (a symbolic link");
        const QString linkOnTheWay = texts0411 + " (a folder on its way is a symbolic link";
        row("language folder linked out", 1, linkOnTheWay, true, linkOnTheWay);
        row("configuration file linked to /dev/zero", 1, config + " (not a readable file", true, config + " (not a readable file");
        // On the command line the message names the registry's file and what it held; the window
        // says it in the words of the text file.
        const QString noFolder = "\", which is no existing folder named in full; set InstallDir there";
        row("install directory is a file", 2, "/install/access-config.ini" + noFolder, true, "not installed completely");
        row("/dev/null", 2, "/dev/null is a file, not a package", false, "/dev/null/machine-specifics.csv");
        row("/dev/zero", 2, "/dev/zero is a file, not a package", false, "/dev/zero/machine-specifics.csv");
        row("link loop", 2, "loop1 does not exist", false, "loop1/machine-specifics.csv");
        row("folder outside the packages folder", 2, "elsewhere is not a complete package; missing: ", false,
            "elsewhere/machine-specifics.csv");
        row("the installation's folder", 2, "is the installation of Access Kavo", true, "the installation of Access Kavo");
        // Where the tool makes its untitled package (when the last package does not open): a
        // folder of that name is taken only when it holds nothing but what the tool puts there.
        const QString incomplete = "is not a complete package; missing: ";
        row("an Untitled1 of links", 2, incomplete, false, config);
        row("an Untitled1 that is a link", 2, incomplete, false, config);
        row("an Untitled1 of the user's", 2, incomplete, false, config);
        row("a default package's text linked to the user's file", 0, "", true, "");
        // A file lost while the package is open is not written back as a stub of what the pages hold.
        row("the configuration file deleted while open", 2, incomplete, true, config);
        row("the text file deleted while open", 2, incomplete, true, "Bad/0409/access-text.ini");
        row("garbage after a UTF-8 BOM in the texts", 1, "Bad/0409/access-text.ini (", true, "Bad/0409/access-text.ini (");
        row("a package name with a quote", 0, "", true, "");
        const QString noInstallation = "not installed completely";
        row("a relative install directory", 2, "is \"install" + noFolder, true, noInstallation);
        row("a missing install directory", 2, "/gone" + noFolder, true, noInstallation);
        row("a registry file that is not UTF-8", 2, "/system/Harbel/ZELT.conf holds no readable InstallDir value", true,
            noInstallation);
    }
    void badInput()
    {
        QFETCH(QString, input);
        QFETCH(int, exitCode);
        QFETCH(QString, printed);
        QFETCH(bool, opens);
        QFETCH(QString, shown);
        // Root writes a read-only file and into a read-only folder as it writes any other, and so
        // does the tool run as root: the build goes through. (CI runs as root.)
        if (input.startsWith("read-only") && geteuid() == 0) {
            exitCode = 0;
            printed.clear();
            shown.clear();
        }

        // The tool is started in the scratch world, where a relative path would lead.
        const QString previousFolder = QDir::currentPath();
        const auto backHome = qScopeGuard([&] { QDir::setCurrent(previousFolder); });
        {
            InstalledWorld world;
            const BadInput bad = setUp(world, input);
            const auto restore = qScopeGuard([&] { makeWritable(bad.packageDir); });
            bad.whileOpen();
            const QMap<QString, QByteArray> outside = outsideOf(world, bad);
            const QMap<QString, QByteArray> package = testing::treeContents(bad.packageDir);

            QProcess tool;
            QProcessEnvironment environment = world.environment();
            environment.insert("QT_QPA_PLATFORM", "no-such-platform");   // a build needs no display
            tool.setProcessEnvironment(environment);
            tool.setWorkingDirectory(world.root());
            tool.start(KAVO_PROGRAM_DIR "/kavo-custom", {"--build", bad.target});
            QVERIFY2(tool.waitForFinished(60000), "the build hangs");
            const QByteArray out = tool.readAllStandardOutput();
            const QByteArray err = tool.readAllStandardError();
            QCOMPARE(tool.exitStatus(), QProcess::NormalExit);
            QVERIFY2(tool.exitCode() == exitCode, err.constData());
            QVERIFY2(QString::fromLocal8Bit(err).contains(printed), err.constData());
            for (const QByteArray &written : out.split('\n'))   // lists only what it wrote
                QVERIFY2(written.isEmpty() || !err.contains(written), written.constData());
            QCOMPARE(outsideOf(world, bad), outside);
            verifyNothingLost(bad, package, exitCode != 0);
        }

        InstalledWorld world;
        const BadInput bad = setUp(world, input);
        QDir::setCurrent(world.root());
        const auto restore = qScopeGuard([&] { makeWritable(bad.packageDir); });
        packages::mergeMissingTexts();   // the first start's one-time step: no row is about it
        ini::writeProfileString(world.programDir() + "/0409/custom-text.ini", "OTHER", "LASTCONFIG", bad.target);
        const QMap<QString, QByteArray> outside = outsideOf(world, bad);
        QMap<QString, QByteArray> package;
        packages::PackageState named;
        named.setLocation(bad.target);

        ScriptedModals modals;
        bool saved = false;
        {
            app::MainDialog dialog;
            dialog.initialize();
            bad.whileOpen();
            package = testing::treeContents(bad.packageDir);
            packages::PackageState &state = dialog.document().state();
            QCOMPARE(state.packageDir == named.packageDir, opens);
            QCOMPARE(state.isUntitled, !opens);
            if (opens) {   // Save reports success exactly when it has nothing to tell
                const qsizetype before = modals.messages.size();
                saved = dialog.commands().savePackage();
                QCOMPARE(saved, modals.messages.size() == before);
            } else {
                const QString untitled = state.packageDir;
                modals.fileAnswers.push_back(bad.target);
                dialog.commands().openCommand();
                QCOMPARE(state.packageDir, untitled);
                QVERIFY(dialog.commands().exitCommand());   // the untitled package goes, and only it
                QVERIFY(!QFileInfo::exists(untitled));
            }
        }
        QStringList texts;
        for (const ui::MessageRequest &message : std::as_const(modals.messages))
            texts << message.text;
        if (shown.isEmpty())
            QVERIFY2(texts.isEmpty(), qPrintable(texts.join("\n---\n")));
        else
            QVERIFY2(texts.join("\n---\n").contains(shown), qPrintable(texts.join("\n---\n")));
        QCOMPARE(outsideOf(world, bad), outside);
        verifyNothingLost(bad, package, !saved);
    }

    // Whatever a build takes, its text takes too: the package exported, imported into a copy of
    // itself and built gives every byte its own build gives (the marker, which holds the
    // package's own path, aside).
    void textRoundTrip_data() { badInput_data(); }
    void textRoundTrip()
    {
        QFETCH(QString, input);
        QFETCH(int, exitCode);
        if (exitCode != 0 && !(input.startsWith("read-only") && geteuid() == 0))
            QSKIP("the build refuses this package");
        InstalledWorld world;
        const BadInput bad = setUp(world, input);
        const auto restore = qScopeGuard([&] { makeWritable(bad.packageDir); });
        const QString copy = bad.packageDir + "-copy", text = world.root() + "/package.yaml";
        QVERIFY(testing::copyTree(bad.packageDir, copy));
        const auto run = [&](const QStringList &arguments) {
            QProcess tool;
            QProcessEnvironment environment = world.environment();
            environment.insert("QT_QPA_PLATFORM", "no-such-platform");
            tool.setProcessEnvironment(environment);
            tool.start(KAVO_PROGRAM_DIR "/kavo-custom", arguments);
            tool.waitForFinished(60000);
            return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0 ? QByteArray()
                                                                                  : "failed: " + tool.readAllStandardError();
        };
        QCOMPARE(run({"--export", bad.target, "-o", text}), QByteArray());
        QCOMPARE(run({"--import", text, copy}), QByteArray());
        QCOMPARE(run({"--build", bad.target}), QByteArray());
        const auto built = [](const QString &dir) {
            QMap<QString, QByteArray> files = testing::treeContents(dir);
            files.removeIf([](const auto &file) { return file.key().endsWith(".pkg"); });
            return files;
        };
        QCOMPARE(built(copy), built(bad.packageDir));
    }
};
KAVO_TEST(BadInputTest)
#include "test_badinput.moc"
