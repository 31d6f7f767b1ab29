#include "commandline.h"

#include "windowmodule.h"

#include "document/packagecheck.h"
#include "document/packagedocument.h"
#include "ini/confinedfolder.h"
#include "packages/packagestate.h"
#include "packagetext/packagetext.h"
#include "packages/packagestore.h"
#include "platform/uilanguage.h"
#include "preview/preview.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextStream>

#include <algorithm>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace app {

CommandLine::CommandLine()
    : m_buildOption(QStringLiteral("build"),
                    QStringLiteral("Builds the package PATH (its marker file or its folder) as Save would, without a window; "
                                   "further PATHs after it are built in turn."),
                    QStringLiteral("PATH")),
      m_checkOption(QStringLiteral("check"),
                    QStringLiteral("Checks the package PATH (its marker file or its folder) without writing a byte and "
                                   "prints one line per finding: FILE:LINE: warning: TEXT, or error; further PATHs "
                                   "after it are checked in turn. Exit status: 0 no finding, 1 warnings only, 2 an "
                                   "error or a package that cannot be read."),
                    QStringLiteral("PATH")),
      m_newOption(QStringLiteral("new"),
                  QStringLiteral("Makes the package NAME from the default package, as New and Save As would, and builds it: "
                                 "a plain NAME is made in the packages folder, a path names the package's folder. "
                                 "Needs --company."),
                  QStringLiteral("NAME")),
      m_companyOption(QStringLiteral("company"), QStringLiteral("The company name of the package --new makes."),
                      QStringLiteral("TEXT")),
      m_installDirOption(QStringLiteral("set-install-dir"),
                         QStringLiteral("Records FOLDER, an installation of Access Kavo, as its install directory, "
                                        "where this tool looks for it (the registry's file, or AKVO_REGISTRY)."),
                         QStringLiteral("FOLDER")),
      m_previewOption(QStringLiteral("preview"),
                      QStringLiteral("Renders the preview of the package PATH (its marker file or its folder), an "
                                     "approximation of the front-end's screen, into a PNG file without a display. "
                                     "Needs --output; reads the package as --check does and writes only that file."),
                      QStringLiteral("PATH")),
      m_outputOption(QStringList{QStringLiteral("output"), QStringLiteral("o")},
                     QStringLiteral("The PNG file --preview writes, or the file --export writes."), QStringLiteral("FILE")),
      m_menuOption(QStringLiteral("menu"), QStringLiteral("The main menu --preview shows, 1 for the first (the default)."),
                   QStringLiteral("N")),
      m_languageOption(QStringLiteral("language"),
                       QStringLiteral("The language folder whose texts --preview shows (0409, 0411, ...); the "
                                      "user-interface language's by default."),
                       QStringLiteral("XXXX")),
      m_sizeOption(QStringLiteral("size"),
                   QStringLiteral("The size of the image --preview writes, in pixels; by default 1024 pixels wide in "
                                  "the aspect of the package's screen resolution."),
                   QStringLiteral("WxH")),
      m_exportOption(QStringLiteral("export"),
                     QStringLiteral("Writes the package PATH (its marker file or its folder) as readable text (YAML) to "
                                    "standard output, or to the file of -o; writes nothing in the package."),
                     QStringLiteral("PATH")),
      m_importOption(QStringLiteral("import"),
                     QStringLiteral("Applies the text FILE (as --export writes it) to the package PATH given after it, as "
                                    "edits in the window would, and builds it as --build does; with --new NAME instead "
                                    "of PATH, the package is first made as --new makes it."),
                     QStringLiteral("FILE")),
      m_diffOption(QStringLiteral("diff"),
                   QStringLiteral("Prints the differences between the packages A and B (each a package or a text "
                                  "--export wrote), one change per line. Exit status: 0 the same, 1 different, 2 trouble."),
                   QStringLiteral("A"))
{
    QCoreApplication::setApplicationVersion(QStringLiteral(KAVO_VERSION));
    m_parser.setApplicationDescription(
        QStringLiteral("Prepares configuration packages for the Access Kavo front-end."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOption(m_buildOption);
    m_parser.addOption(m_checkOption);
    m_parser.addOption(m_newOption);
    m_parser.addOption(m_companyOption);
    m_parser.addOption(m_installDirOption);
    for (const QCommandLineOption *option : {&m_previewOption, &m_outputOption, &m_menuOption, &m_languageOption, &m_sizeOption,
                                              &m_exportOption, &m_importOption, &m_diffOption})
        m_parser.addOption(*option);
}

CommandLine::~CommandLine() = default;

bool CommandLine::needsNoWindow(const QStringList &arguments)
{
    m_parser.parse(arguments);
    for (const char *option : {"help", "help-all", "version"})
        if (m_parser.isSet(QLatin1String(option)))
            return true;
    for (const QCommandLineOption *option : {&m_buildOption, &m_checkOption, &m_newOption, &m_companyOption, &m_installDirOption,
                                              &m_previewOption, &m_outputOption, &m_menuOption, &m_languageOption, &m_sizeOption,
                                              &m_exportOption, &m_importOption, &m_diffOption})
        if (m_parser.isSet(*option))
            return true;
    return false;
}

bool CommandLine::wantsPreview() const
{
    return m_parser.isSet(m_previewOption);
}

void CommandLine::process(QCoreApplication &application)
{
    m_parser.process(application);
}

bool CommandLine::acceptsWindowArguments(const QCoreApplication &application)
{
    if (m_parser.parse(application.arguments()))
        return true;
    QTextStream(stderr) << QCoreApplication::applicationName() << ": " << m_parser.errorText() << Qt::endl;
    return false;
}

int CommandLine::run()
{
    const int asked = int(m_parser.isSet(m_buildOption)) + int(m_parser.isSet(m_checkOption))
                      + int(m_parser.isSet(m_newOption)) + int(m_parser.isSet(m_installDirOption))
                      + int(m_parser.isSet(m_previewOption)) + int(m_parser.isSet(m_exportOption))
                      + int(m_parser.isSet(m_importOption)) + int(m_parser.isSet(m_diffOption));
    const auto mistake = [](const QString &what) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": " << what << Qt::endl;
        return 2;
    };
    if (m_parser.isSet(m_companyOption) && !m_parser.isSet(m_newOption))
        return mistake(QStringLiteral("--company goes with --new"));
    if (m_parser.isSet(m_companyOption) && m_parser.isSet(m_importOption))
        return mistake(QStringLiteral("--import takes the company name from its text, not from --company"));
    if (m_parser.isSet(m_outputOption) && !m_parser.isSet(m_previewOption) && !m_parser.isSet(m_exportOption))
        return mistake(QStringLiteral("--output goes with --preview or --export"));
    for (const QCommandLineOption *option : {&m_menuOption, &m_languageOption, &m_sizeOption})
        if (m_parser.isSet(*option) && !m_parser.isSet(m_previewOption))
            return mistake(QStringLiteral("--") + option->names().constFirst() + QStringLiteral(" goes with --preview"));
    // --import --new NAME makes the package it imports into.
    if (asked - int(m_parser.isSet(m_importOption) && m_parser.isSet(m_newOption)) != 1)
        return mistake(QStringLiteral("--build, --check, --new, --preview, --set-install-dir, --export, --import and "
                                      "--diff each go alone (--import may take --new)"));
    if (m_parser.isSet(m_importOption))
        return importText();
    if (m_parser.isSet(m_diffOption))
        return diff();
    if (m_parser.isSet(m_exportOption) && !m_parser.positionalArguments().isEmpty())
        return mistake(QStringLiteral("unexpected argument: ") + m_parser.positionalArguments().constFirst());
    if (m_parser.isSet(m_exportOption))
        return exportText();
    if (m_parser.isSet(m_installDirOption))
        return setInstallDirectory();
    if (m_parser.isSet(m_checkOption))
        return check();
    // Only the build and the check take several packages.
    if (m_parser.isSet(m_previewOption) && !m_parser.positionalArguments().isEmpty())
        return mistake(QStringLiteral("unexpected argument: ") + m_parser.positionalArguments().constFirst());
    if (m_parser.isSet(m_previewOption))
        return renderPreview();
    if (!m_parser.isSet(m_buildOption) && !m_parser.positionalArguments().isEmpty())
        return mistake(QStringLiteral("unexpected argument: ") + m_parser.positionalArguments().constFirst());
    return m_parser.isSet(m_newOption) ? makeNewPackage() : build();
}

int CommandLine::setInstallDirectory()
{
    const QString problem = packages::setInstallDir(m_parser.value(m_installDirOption));
    if (!problem.isEmpty()) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": " << problem << Qt::endl;
        return 2;
    }
    QTextStream(stdout) << QDir::toNativeSeparators(packages::getInstallDir()) << Qt::endl;
    return 0;
}

int CommandLine::makeNewPackage(const packagetext::PackageText *text)
{
    QTextStream err(stderr);
    const auto refuse = [&](const QString &why) {
        err << QCoreApplication::applicationName() << ": " << why << Qt::endl;
        return 2;
    };
    const QString named = QDir::fromNativeSeparators(m_parser.value(m_newOption));
    const QString company = text ? text->companyName : m_parser.value(m_companyOption);
    if (company.isEmpty())
        return refuse(text ? QStringLiteral("the text's company name is empty; a package cannot be built without it")
                           : QStringLiteral("--new needs --company TEXT: a package cannot be built without its company name"));
    if (packages::getInstallDir().isEmpty())
        return refuse(packages::installDirProblem());

    const bool plainName = !named.contains(QLatin1Char('/'));
    const QString packageDir = QDir::cleanPath(plainName ? packages::packagesDir() + QLatin1Char('/') + named
                                                         : QDir().absoluteFilePath(named));
    const QString name = packageDir.mid(packageDir.lastIndexOf(QLatin1Char('/')) + 1);
    // The package is copied to Windows machines, whose file names cannot hold these.
    static const QRegularExpression unusable(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(unusable)
        || name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return refuse(QLatin1Char('"') + m_parser.value(m_newOption)
                      + QStringLiteral("\" is no name for a package: a name holds none of \\ / : * ? \" < > | and "
                                       "does not end in a dot or a space"));
    const QString shown = QDir::toNativeSeparators(packageDir);
    const QFileInfo existing(packageDir);
    if (existing.exists() && !(existing.isDir() && QDir(packageDir).isEmpty()))
        return refuse(shown + QStringLiteral(" already exists; a new package never replaces anything"));

    // New: an untitled package from the default package, made first when it is missing.
    if (!packages::ensureDefaultPackage())
        return refuse(QStringLiteral("the default package could not be made: the program's seed files are missing"));
    m_builtPackages.push_back(std::make_unique<document::PackageDocument>());
    document::PackageDocument &document = *m_builtPackages.back();
    if (!packages::createUntitledPackage(document.state()))
        return refuse(QStringLiteral("no new package could be made in ") + QDir::toNativeSeparators(packages::packagesDir()));
    document.loadNewPackage();
    document.setCompanyName(company);
    if (QString why; text && !packagetext::applyPackage(document, *text, &why))
        return refuse(why);
    // Save As: the untitled package's files go to the named folder, which is then built.
    document.copyInto(packageDir, name + QStringLiteral(".pkg"));
    return buildDocument(document);
}

int CommandLine::build()
{
    // Without the front-end's install directory no build could raise the version above the
    // installed one nor aim "custom.bat" at the front-end.
    if (packages::getInstallDir().isEmpty()) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": " << packages::installDirProblem() << Qt::endl;
        return 2;
    }
    // "--build A B C" builds the three in order; the status is the worst of theirs.
    int worst = 0;
    for (const QString &path : QStringList{m_parser.value(m_buildOption)} + m_parser.positionalArguments())
        worst = std::max(worst, buildOne(path));
    return worst;
}

int CommandLine::buildOne(const QString &path, const packagetext::PackageText *text)
{
    QTextStream err(stderr);
    const QString program = QCoreApplication::applicationName();

    const auto refuse = [&](const QString &why) {
        err << program << ": " << why << Qt::endl;
        return 2;
    };
    QString problem;
    document::PackageDocument *located = locatePackage(path, problem);
    if (!located)
        return refuse(problem);
    document::PackageDocument &document = *located;
    const packages::PackageState &state = document.state();
    const QString shown = QDir::toNativeSeparators(state.packageDir);
    if (packages::isDefaultPackage(state.packageDir))
        return refuse(shown + QStringLiteral(" is the default package, the read-only source of every new package; "
                                             "it is never built"));
    if (packages::isInstallDirectory(state.packageDir))
        return refuse(shown + QStringLiteral(" is the installation of Access Kavo itself, not a package; it is never built"));
    if (const QString incomplete = incompleteProblem(state); !incomplete.isEmpty())
        return refuse(incomplete);

    document.load();   // its large files each on a thread of their own
    if (QString why; text && !packagetext::applyPackage(document, *text, &why))
        return refuse(shown + QStringLiteral(": ") + why);
    if (document.companyName().isEmpty())
        return refuse(QStringLiteral("the company name of ") + shown + QStringLiteral(" is empty; a package cannot be built without it"));
    return buildDocument(document);
}

int CommandLine::buildDocument(document::PackageDocument &document)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString program = QCoreApplication::applicationName();
    const packages::BuildResult result = document.build();
    for (const QString &file : result.written)
        out << QDir::toNativeSeparators(file) << Qt::endl;
    if (result.registryError != 0)
        err << program << ": the privacy option could not be stored in the registry: "
            << QString::fromLocal8Bit(std::strerror(result.registryError)) << Qt::endl;
    if (!result.succeeded()) {
        err << program << ": the build could not write: " << result.failures.join(QStringLiteral(", ")) << Qt::endl;
        return 1;
    }
    return 0;
}

namespace {

// "1 error", "3 warnings".
QString counted(qsizetype count, const char *noun)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(noun) + (count == 1 ? "" : "s");
}

} // namespace

int CommandLine::check()
{
    QTextStream out(stdout);
    qsizetype errors = 0, warnings = 0, unreadable = 0;
    const QStringList paths = QStringList{m_parser.value(m_checkOption)} + m_parser.positionalArguments();
    for (const QString &path : paths) {
        const document::PackageDocument *document = readForCheck(path);
        if (!document) {
            ++unreadable;
            continue;
        }
        for (const document::Finding &finding : document::checkPackage(*document)) {
            const bool error = finding.severity == document::Finding::Severity::Error;
            ++(error ? errors : warnings);
            const document::FindingPlace place = document::placeOf(*document, finding);
            QString text = finding.englishText();
            if (text.isEmpty())   // the program's own texts are missing: the key says what it is
                text = finding.key + QLatin1Char(' ') + finding.arguments.join(QLatin1Char(' '));
            out << QDir::toNativeSeparators(place.file);
            if (place.line > 0)
                out << ':' << place.line;
            out << (error ? ": error: " : ": warning: ") << text << '\n';
        }
    }
    out << counted(errors, "error") << ", " << counted(warnings, "warning") << " in "
        << counted(paths.size() - unreadable, "package");
    if (unreadable > 0)
        out << "; " << counted(unreadable, "package") << " could not be read";
    out << Qt::endl;
    return errors > 0 || unreadable > 0 ? 2 : warnings > 0 ? 1 : 0;
}

document::PackageDocument *CommandLine::readForCheck(const QString &path)
{
    const auto refuse = [&](const QString &why) -> document::PackageDocument * {
        QTextStream(stdout) << QDir::toNativeSeparators(path) << ": error: " << why << Qt::endl;
        return nullptr;
    };
    QString problem;
    document::PackageDocument *document = locatePackage(path, problem);
    if (!document)
        return refuse(problem);
    // Its files are read as they are; a missing one is a finding of the check.
    document->loadReadOnly();
    return document;
}

QString CommandLine::incompleteProblem(const packages::PackageState &state)
{
    if (state.packageIsComplete())
        return {};
    return QDir::toNativeSeparators(state.packageDir) + QStringLiteral(" is not a complete package; missing: ")
           + state.missingFiles().join(QLatin1Char(' '));
}

QString CommandLine::outputProblem(const QString &output, const packages::PackageState &state, const char *command)
{
    const QString outputFolder = QFileInfo(QDir().absoluteFilePath(output)).absolutePath();
    if (QFileInfo(outputFolder) != QFileInfo(state.packageDir) && !ini::isInsideDirectory(outputFolder, state.packageDir))
        return {};
    return QDir::toNativeSeparators(output) + QStringLiteral(" lies in the package ")
           + QDir::toNativeSeparators(state.packageDir) + QStringLiteral("; ") + QLatin1String(command)
           + QStringLiteral(" writes nothing in a package");
}

document::PackageDocument *CommandLine::locatePackage(const QString &path, QString &problem)
{
    // A device is no marker file either.
    const QFileInfo named(path);
    if (named.exists() && !named.isDir() && !path.endsWith(QStringLiteral(".pkg"), Qt::CaseInsensitive)) {
        problem = QDir::toNativeSeparators(path) + QStringLiteral(" is a file, not a package folder or its marker file");
        return nullptr;
    }
    m_builtPackages.push_back(std::make_unique<document::PackageDocument>());
    document::PackageDocument &document = *m_builtPackages.back();
    document.state().setLocation(path);
    if (!QFileInfo(document.state().packageDir).isDir()) {
        problem = QDir::toNativeSeparators(document.state().packageDir) + QStringLiteral(" does not exist");
        return nullptr;
    }
    return &document;
}

int CommandLine::renderPreview()
{
    const auto refuse = [](const QString &why) {
        QTextStream(stderr) << QCoreApplication::applicationName() << ": " << why << Qt::endl;
        return 2;
    };
    const QString output = m_parser.value(m_outputOption);
    if (output.isEmpty())
        return refuse(QStringLiteral("--preview needs --output FILE.png"));

    QSize size;
    if (m_parser.isSet(m_sizeOption)) {
        static const QRegularExpression sizePattern(QStringLiteral("^([0-9]{1,5})x([0-9]{1,5})$"));
        const QRegularExpressionMatch match = sizePattern.match(m_parser.value(m_sizeOption));
        const int width = match.hasMatch() ? match.captured(1).toInt() : 0;
        const int height = match.hasMatch() ? match.captured(2).toInt() : 0;
        if (width < 1 || width > 10000 || height < 1 || height > 10000)
            return refuse(QStringLiteral("--size takes WIDTHxHEIGHT in pixels, each from 1 to 10000, not \"")
                          + m_parser.value(m_sizeOption) + QLatin1Char('"'));
        size = QSize(width, height);
    }
    if (m_parser.isSet(m_languageOption)) {
        const QString folder = m_parser.value(m_languageOption).toLower();
        bool hex = false;
        const uint id = folder.size() == 4 ? folder.toUInt(&hex, 16) : 0;
        if (!hex || platform::languageDirForId(quint16(id)) != folder)
            return refuse(QStringLiteral("--language takes a language folder of the package (0409, 0411, ...), not \"")
                          + m_parser.value(m_languageOption) + QLatin1Char('"'));
        // The package's text file and the preview's own captions are then read in that language.
        platform::setUserInterfaceLanguage(quint16(id));
    }

    QString problem;
    document::PackageDocument *located = locatePackage(m_parser.value(m_previewOption), problem);
    if (!located)
        return refuse(problem);
    document::PackageDocument &document = *located;
    const QString shown = QDir::toNativeSeparators(document.state().packageDir);
    for (const QString &why : {outputProblem(output, document.state(), "--preview"), incompleteProblem(document.state())})
        if (!why.isEmpty())
            return refuse(why);
    document.loadReadOnly();

    preview::Preview preview(document);
    if (m_parser.isSet(m_menuOption)) {
        bool number = false;
        const int menu = m_parser.value(m_menuOption).toInt(&number);
        const int count = document.menus().mainMenus().size();
        if (!number || menu < 1 || menu > count)
            return refuse(QStringLiteral("--menu takes the number of a main menu, from 1 to %1 in %2, not \"%3\"")
                              .arg(count)
                              .arg(shown, m_parser.value(m_menuOption)));
        preview.setMenu(menu - 1);
    }
    if (size.isEmpty())
        size = preview.sizeForWidth(1024);

    const QImage image = preview.render(size);
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit())
        return refuse(QDir::toNativeSeparators(output) + QStringLiteral(" cannot be written: ") + file.errorString());
    return 0;
}

namespace {

// Loads the window module and runs the window; 2 when the module cannot be loaded.
int runWindow(const QString &windowModuleDir, int argc, char **argv)
{
    const QByteArray module = QFile::encodeName(windowModuleDir + QStringLiteral("/" KAVO_WINDOW_MODULE));
    void *handle = dlopen(module.constData(), RTLD_NOW | RTLD_LOCAL);
    const auto entry = handle ? reinterpret_cast<WindowEntry>(dlsym(handle, windowEntryName)) : nullptr;
    if (!entry) {
        const QByteArray program = QFile::encodeName(QFileInfo(QFile::decodeName(argv[0])).fileName());
        std::fprintf(stderr, "%s: the window cannot be shown: %s\n", program.constData(), dlerror());
        return 2;
    }
    return entry(argc, argv);
}

} // namespace

int programMain(int argc, char **argv, const QString &windowModuleDir)
{
    auto commandLine = std::make_unique<CommandLine>();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (!commandLine->needsNoWindow(arguments)) {
        commandLine.reset();
        return runWindow(windowModuleDir, argc, argv);
    }

    // A preview paints, which takes a graphical application; with no display it needs none.
    std::unique_ptr<QCoreApplication> application;
    if (commandLine->wantsPreview()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    commandLine->process(*application);   // help and the version end the program here
    const int status = commandLine->run();
#ifdef KAVO_LEAK_CHECKED
    // Checked builds end as any program does, so that the leak checker sees what is left.
    commandLine.reset();
    return status;
#else
    // The build's files are written and synced and its report printed: freeing the thousands of
    // lines it read, one by one, would only keep the caller waiting.
    std::fflush(nullptr);
    std::_Exit(status);
#endif
}

QString executableDirectory()
{
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

} // namespace app
