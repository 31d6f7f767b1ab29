// The tool as it starts (see src/app/main.cpp), the window module loaded from the program's folder,
// ending once its main window is on screen.
#include "app/commandline.h"
#include "shownprobe.h"

#include <QCoreApplication>

namespace {
// Called as the window module makes its QApplication.
void watchForTheWindow()
{
    new ShownProbe(*QCoreApplication::instance());
}
} // namespace
Q_COREAPP_STARTUP_FUNCTION(watchForTheWindow)

int main(int argc, char **argv)
{
    return app::programMain(argc, argv, QStringLiteral(KAVO_PROGRAM_DIR));
}
