#include "customizationapp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(KAVO_VERSION));
    app::CustomizationApp tool;

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Printed text and a build from the command line need no display: they make no widget.
    if (tool.printsOnly(arguments) || tool.buildsOnly(arguments)) {
        QCoreApplication application(argc, argv);
        return tool.run(application);
    }
    QApplication application(argc, argv);
    return tool.run(application);
}
