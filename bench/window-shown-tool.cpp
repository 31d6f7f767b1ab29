// The tool as it starts (see src/app/main.cpp), ending once its main window is on screen.
#include "app/customizationapp.h"
#include "shownprobe.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationVersion(QStringLiteral(KAVO_VERSION));
    app::CustomizationApp tool;
    QApplication application(argc, argv);
    ShownProbe probe(application);
    return tool.run(application);
}
