#include "customizationapp.h"

#include "maindialog.h"

#include "texts/texts.h"
#include "document/packagedocument.h"
#include "packages/packagestate.h"
#include "packages/packagestore.h"

#include "qttranslation.h"

#include "platform/singleinstance.h"
#include "platform/uilanguage.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <cstring>

namespace app {

CustomizationApp::CustomizationApp()
    : m_buildOption(QStringLiteral("build"),
                    QStringLiteral("Builds the package PATH (its marker file or its folder) as Save would, without a window."),
                    QStringLiteral("PATH"))
{
    m_parser.setApplicationDescription(
        QStringLiteral("Prepares configuration packages for the Access Kavo front-end."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    m_parser.addOption(m_buildOption);
}

CustomizationApp::~CustomizationApp() = default;

bool CustomizationApp::buildsOnly(const QStringList &arguments)
{
    m_parser.parse(arguments);
    return m_parser.isSet(m_buildOption);
}

bool CustomizationApp::printsOnly(const QStringList &arguments)
{
    // A mistake is reported by run(), once QApplication has taken its own options (-platform ...).
    m_parser.parse(arguments);
    for (const char *option : {"help", "help-all", "version"})
        if (m_parser.isSet(QLatin1String(option)))
            return true;
    return false;
}

int CustomizationApp::run(QCoreApplication &application)
{
    m_parser.process(application);   // help, the version and mistakes are printed; the program ends
    if (m_parser.isSet(m_buildOption))
        return buildFromCommandLine(m_parser.value(m_buildOption));

    platform::SingleInstance instance(QStringLiteral("AKVOCustom"));
    if (!instance.claim())
        return 0;

    const QString languageDir = platform::currentLanguageDir();
    QLocale::setDefault(platform::localeForLanguageDir(languageDir));
    if (loadQtTranslation(m_qtTranslator, languageDir))
        QCoreApplication::installTranslator(&m_qtTranslator);
    QCoreApplication::installTranslator(&m_buttonTexts);   // asked first: installed last

    // The last package's large files are read, and the artwork drawn, on other threads while the
    // window is made.
    std::future<MainDialog::Artwork> artwork = MainDialog::drawArtwork();
    std::unique_ptr<document::PackageReading> reading;
    if (packages::PackageState last; packages::findLastPackage(last))
        reading = std::make_unique<document::PackageReading>(last);

    MainDialog dialog(nullptr, std::move(artwork));
    QObject::connect(&instance, &platform::SingleInstance::activationRequested, &dialog, &MainDialog::comeForward);
    dialog.initialize(std::move(reading));
    dialog.exec();
    return 0;
}

int CustomizationApp::buildFromCommandLine(const QString &path)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString program = QCoreApplication::applicationName();

    const auto refuse = [&](const QString &why) {
        err << program << ": " << why << Qt::endl;
        return 2;
    };
    // Without the front-end's install directory the build could neither raise the version above
    // the installed one nor aim "custom.bat" at the front-end.
    if (packages::getInstallDir().isEmpty())
        return refuse(texts::lookupText(QStringLiteral("MESSAGES"), QStringLiteral("NOAKVO")));

    m_builtPackage = std::make_unique<document::PackageDocument>();
    document::PackageDocument &document = *m_builtPackage;
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

} // namespace app
