#pragma once
// The window's run: makes sure only one instance of the tool runs, then runs the main window;
// when it closes, the program ends.
#include "commandline.h"
#include "qttranslation.h"

class QApplication;

namespace app {

class CustomizationApp {
public:
    CustomizationApp();
    ~CustomizationApp();

    // The whole run; returns the exit status. A mistake on the command line is printed and ends
    // the program. A second instance asks the first to come forward and ends at once with
    // status 0, showing nothing.
    int run(QApplication &application);

private:
    CommandLine m_commandLine;
    QTranslator m_qtTranslator;
    StandardButtonTexts m_buttonTexts;
};

} // namespace app
