#include "customizationapp.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(KAVO_VERSION));
    app::CustomizationApp tool;

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Printed text and a build from the command line need no display: they make no widget.
    if (tool.printsOnly(arguments)) {
        QCoreApplication application(argc, argv);
        return tool.run(application);
    }
    if (tool.buildsOnly(arguments)) {
        QCoreApplication application(argc, argv);
        const int status = tool.run(application);
        // The build's files are written and synced and its report printed: freeing the thousands
        // of lines it read, one by one, would only keep the caller waiting.
        std::fflush(nullptr);
        std::_Exit(status);
    }
    QApplication application(argc, argv);
    return tool.run(application);
}
