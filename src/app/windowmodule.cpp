#include "windowmodule.h"

#include "customizationapp.h"

#include <QApplication>

extern "C" Q_DECL_EXPORT int kavo_window_main(int argc, char **argv)
{
    app::CustomizationApp tool;
    tool.startReading();
    QApplication application(argc, argv);   // keeps argc by reference: it lives until the return
    return tool.run(application);
}
