#include "customizationapp.h"

#include "maindialog.h"

#include "platform/singleinstance.h"

#include <QApplication>

namespace app {

CustomizationApp::CustomizationApp()
{
    m_parser.setApplicationDescription(
        QStringLiteral("Prepares configuration packages for the Access Kavo front-end."));
    m_parser.addHelpOption();
    m_parser.addVersionOption();
    // Options that work without a window are added here and handled in run() before the
    // instance check.
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

    platform::SingleInstance instance(QStringLiteral("AKVOCustom"));
    if (!instance.claim())
        return 0;

    MainDialog dialog;
    QObject::connect(&instance, &platform::SingleInstance::activationRequested, &dialog, &MainDialog::comeForward);
    dialog.initialize();
    dialog.exec();
    return 0;
}

} // namespace app
