#pragma once
// What the program itself does: it reads the command line, prints help or its version, and builds
// or checks a package without a window. Nothing here uses widgets, so a command-line run loads no widget
// library; the window lives in a module beside the program (the window module), loaded only when
// a window is wanted.
#include <QCommandLineOption>
#include <QCommandLineParser>

#include <memory>
#include <vector>

class QCoreApplication;

namespace document {
class PackageDocument;
}

namespace packages {
struct PackageState;
}

namespace packagetext {
struct PackageText;
}

namespace app {

// The program's options. The program parses them to choose between the command line and the
// window; the window parses them again once QApplication has taken its own (-platform ...).
class CommandLine {
public:
    CommandLine();
    ~CommandLine();

    // True when the command line asks for printed text (help, the version), a build, a check, a
    // new package or the install directory: that needs no display and no widget, so a QCoreApplication will do. A mistake is reported by
    // process(), once the application has taken its own options.
    bool needsNoWindow(const QStringList &arguments);
    // For the window: the arguments the application has left after taking its own options hold
    // no mistake (an unknown option). Else the mistake is printed as process() prints it, but
    // the caller ends the program, after the threads it started have ended.
    bool acceptsWindowArguments(const QCoreApplication &application);

    // True when the command line asks for a preview: it paints, so it needs a QGuiApplication
    // (on the offscreen platform unless the user chose one).
    bool wantsPreview() const;

    // Prints help, the version or a mistake and ends the program; otherwise returns.
    void process(QCoreApplication &application);

    // Does what the command line asks for without a window and returns the exit status.
    int run();

    // Builds the packages named by the build option and the arguments after it (each its marker
    // file or its directory) in order, each exactly as Save would, prints the files written and
    // returns the worst exit status: 0 built, 1 a file not written, 2 a package refused.
    int build();
    // Makes a package from the default package as New and then Save As would, with the company
    // name of the company option, and builds it: NAME alone is a folder of the packages folder,
    // a path names the folder itself. The same statuses as a build; an existing folder that is
    // not empty is refused, never replaced. With a text (--import --new), its company name and
    // everything else come from the text.
    int makeNewPackage(const packagetext::PackageText *text = nullptr);
    // Records the front-end's install directory in the registry stand-in: 0 done, 2 refused.
    int setInstallDirectory();

    // Checks the packages named by the check option and the arguments after it, and prints one
    // line per finding in compiler form ("FILE:LINE: warning: TEXT"), in English, then a summary.
    // Writes nothing. Returns the worst exit status: 0 no finding, 1 warnings only, 2 an error or
    // a package that cannot be read.
    int check();

    // Renders the preview of the package named by the preview option into the PNG file of the
    // output option, at the size of the size option (the package's aspect at 1024 pixels wide
    // without it), showing the main menu of the menu option (1-based) with the texts of the
    // language folder of the language option. Reads the package as the check does and writes
    // nothing but that file. 0 written, 2 a bad argument, a package that cannot be read or a
    // file that cannot be written.
    int renderPreview();

    // Writes the package of the export option as its text (to standard output, or to the file of
    // the output option), reading it as the check does. 0 written, 2 not.
    int exportText();
    // Reads the text of the import option and applies it to the package named after it, or to a
    // new one (the new option), then builds it: the statuses and refusals of a build, and 2 for a
    // text that cannot be read or applied.
    int importText();
    // Prints the differences between two packages or texts: 0 the same, 1 different, 2 trouble.
    int diff();

private:
    // The build of one package; with a text, the text is applied to it first, as edits.
    int buildOne(const QString &path, const packagetext::PackageText *text = nullptr);
    // The build of a package the document was just moved to, with its report.
    int buildDocument(document::PackageDocument &document);
    // The document of the package a path names (its marker file or its folder), kept until the
    // program ends; none, with the reason in English, when the path names no package folder.
    document::PackageDocument *locatePackage(const QString &path, QString &problem);
    // Why a package cannot be built or read whole: the files it lacks; empty when it has them all.
    static QString incompleteProblem(const packages::PackageState &state);
    // Why the user's file output, which a command writes by its path, cannot be written: it lies
    // in the package, where nothing is written by path; empty when it lies elsewhere.
    static QString outputProblem(const QString &output, const packages::PackageState &state, const char *command);
    // The package a path names, read without a byte written; null after printing why not.
    document::PackageDocument *readForCheck(const QString &path);

    QCommandLineParser m_parser;
    QCommandLineOption m_buildOption;
    QCommandLineOption m_checkOption;
    QCommandLineOption m_newOption;
    QCommandLineOption m_companyOption;
    QCommandLineOption m_installDirOption;
    QCommandLineOption m_previewOption;
    QCommandLineOption m_outputOption;
    QCommandLineOption m_menuOption;
    QCommandLineOption m_languageOption;
    QCommandLineOption m_sizeOption;
    QCommandLineOption m_exportOption;
    QCommandLineOption m_importOption;
    QCommandLineOption m_diffOption;
    // The packages a command-line build builds or a check reads; the program ends without taking
    // them apart.
    std::vector<std::unique_ptr<document::PackageDocument>> m_builtPackages;
};

// The whole program: help, the version, a build, a check or a preview on the command line; otherwise the window,
// from the window module in windowModuleDir. Returns the exit status.
int programMain(int argc, char **argv, const QString &windowModuleDir);

// The folder of the running program, links resolved: the window module lies there.
QString executableDirectory();

} // namespace app
