#include "customizationapp.h"

#include "maindialog.h"

#include "document/packagedocument.h"
#include "packages/packagestate.h"
#include "packages/packagestore.h"

#include "qttranslation.h"

#include "platform/singleinstance.h"
#include "platform/uilanguage.h"

#include <QApplication>

namespace app {

CustomizationApp::CustomizationApp() = default;
CustomizationApp::~CustomizationApp() = default;

int CustomizationApp::run(QApplication &application)
{
    m_commandLine.process(application);   // a mistake is printed; the program ends

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

} // namespace app
