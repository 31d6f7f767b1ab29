#pragma once
// The application object: reads the command line, makes sure only one instance of the tool
// runs, then runs the main window; when it closes, the program ends.
#include "qttranslation.h"

#include <QCommandLineParser>

#include <memory>

class QCoreApplication;

namespace document {
class PackageDocument;
}

namespace app {

class CustomizationApp {
public:
    CustomizationApp();
    ~CustomizationApp();

    // True when the command line asks only for printed text (help, the version): that needs no
    // display, so a QCoreApplication will do.
    bool printsOnly(const QStringList &arguments);

    // The whole run; returns the exit status. The window needs a QApplication. A second instance
    // asks the first to come forward and ends at once with status 0, showing nothing.
    int run(QCoreApplication &application);

    // True when the command line asks for a build without a window, which makes no widget
    // either, so a QCoreApplication will do.
    bool buildsOnly(const QStringList &arguments);

private:
    // Builds the package named by path (its marker file or its directory) exactly as Save
    // would, prints the files written and returns the exit status.
    int buildFromCommandLine(const QString &path);

    QCommandLineParser m_parser;
    // The package a command-line build builds; the program ends without taking it apart.
    std::unique_ptr<document::PackageDocument> m_builtPackage;
    QCommandLineOption m_buildOption;
    QTranslator m_qtTranslator;
    StandardButtonTexts m_buttonTexts;
};

} // namespace app
