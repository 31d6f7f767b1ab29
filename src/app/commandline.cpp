#include "commandline.h"

#include "windowmodule.h"

#include "document/packagedocument.h"
#include "packages/packagestate.h"
#include "packages/packagestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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
                    QStringLiteral("PATH"))
{
    QCoreApplication::setApplicationVersion(QStringLiteral(KAVO_VERSION));
    m_parser.setApplicationDescription(
        QStringLiteral("Prepares configuration packages for the Access Kavo front-end."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOption(m_buildOption);
}

CommandLine::~CommandLine() = default;

bool CommandLine::needsNoWindow(const QStringList &arguments)
{
    m_parser.parse(arguments);
    for (const char *option : {"help", "help-all", "version"})
        if (m_parser.isSet(QLatin1String(option)))
            return true;
    return buildRequested();
}

void CommandLine::process(QCoreApplication &application)
{
    m_parser.process(application);
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

int CommandLine::buildOne(const QString &path)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString program = QCoreApplication::applicationName();

    const auto refuse = [&](const QString &why) {
        err << program << ": " << why << Qt::endl;
        return 2;
    };
    m_builtPackages.push_back(std::make_unique<document::PackageDocument>());
    document::PackageDocument &document = *m_builtPackages.back();
    packages::PackageState &state = document.state();
    state.setLocation(path);
    const QString shown = QDir::toNativeSeparators(state.packageDir);
    const QFileInfo named(path);
    // A device is no marker file either.
    if (named.exists() && !named.isDir() && !path.endsWith(QStringLiteral(".pkg"), Qt::CaseInsensitive))
        return refuse(QDir::toNativeSeparators(path) + QStringLiteral(" is a file, not a package folder or its marker file"));
    if (!QFileInfo(state.packageDir).isDir())
        return refuse(shown + QStringLiteral(" does not exist"));
    if (packages::isDefaultPackage(state.packageDir))
        return refuse(shown + QStringLiteral(" is the default package, the read-only source of every new package; "
                                             "it is never built"));
    if (packages::isInstallDirectory(state.packageDir))
        return refuse(shown + QStringLiteral(" is the installation of Access Kavo itself, not a package; it is never built"));
    if (!state.packageIsComplete())
        return refuse(shown + QStringLiteral(" is not a complete package; missing: ")
                      + state.missingFiles().join(QLatin1Char(' ')));

    document.load();   // its large files each on a thread of their own
    if (document.companyName().isEmpty())
        return refuse(QStringLiteral("the company name of ") + shown + QStringLiteral(" is empty; a package cannot be built without it"));
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

    QCoreApplication application(argc, argv);
    commandLine->process(application);   // help and the version end the program here
    const int status = commandLine->build();
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
