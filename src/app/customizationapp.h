#pragma once
// The window's run: makes sure only one instance of the tool runs, then runs the main window;
// when it closes, the program ends.
#include "commandline.h"
#include "qttranslation.h"

#include "document/packagereading.h"

#include <memory>

namespace app {

class CustomizationApp {
public:
    CustomizationApp();
    ~CustomizationApp();

    // Starts reading the last package on threads of its own. Called before the application is
    // made, so that the reading overlaps its making (the display's connection, plugins, fonts);
    // it needs none of them.
    void startReading();

    // The whole run; returns the exit status. A mistake on the command line is printed and ends
    // the run with status 1. A second instance asks the first to come forward and ends at once
    // with status 0, showing nothing.
    int run(const QCoreApplication &application);

private:
    CommandLine m_commandLine;
    std::unique_ptr<document::PackageReading> m_reading;
    QTranslator m_qtTranslator;
    StandardButtonTexts m_buttonTexts;
};

} // namespace app
