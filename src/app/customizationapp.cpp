#include "customizationapp.h"

#include "maindialog.h"

#include "document/packagedocument.h"
#include "packages/packagestate.h"
#include "packages/packagestore.h"

#include "qttranslation.h"

#include "platform/singleinstance.h"
#include "platform/uilanguage.h"

#include <QCoreApplication>

namespace app {

CustomizationApp::CustomizationApp() = default;
CustomizationApp::~CustomizationApp() = default;

void CustomizationApp::startReading()
{
    if (packages::PackageState last; packages::findLastPackage(last))
        m_reading = std::make_unique<document::PackageReading>(last);
}

int CustomizationApp::run(const QCoreApplication &application)
{
    if (!m_commandLine.acceptsWindowArguments(application))
        return 1;

    platform::SingleInstance instance(QStringLiteral("AKVOCustom"));
    if (!instance.claim())
        return 0;

    const QString languageDir = platform::currentLanguageDir();
    QLocale::setDefault(platform::localeForLanguageDir(languageDir));
    if (loadQtTranslation(m_qtTranslator, languageDir))
        QCoreApplication::installTranslator(&m_qtTranslator);
    QCoreApplication::installTranslator(&m_buttonTexts);   // asked first: installed last

    // The artwork is drawn on a thread of its own, beside the package's reading, while the window
    // is made.
    std::future<MainDialog::Artwork> artwork = MainDialog::drawArtwork();

    MainDialog dialog(nullptr, std::move(artwork));
    QObject::connect(&instance, &platform::SingleInstance::activationRequested, &dialog, &MainDialog::comeForward);
    dialog.initialize(std::move(m_reading));
    dialog.exec();
    return 0;
}

} // namespace app
