#include "customizationapp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(KAVO_VERSION));
    app::CustomizationApp tool;

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // A build from the command line shows no window and needs no display.
    if (tool.buildsOnly(arguments) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (tool.printsOnly(arguments)) {
        QCoreApplication application(argc, argv);
        return tool.run(application);
    }
    QApplication application(argc, argv);
    return tool.run(application);
}
