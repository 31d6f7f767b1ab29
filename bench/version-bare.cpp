// The anchor of the command-line benchmark: a bare Qt Core program that prints its version the
// way the tool does (`kavo-custom --version`).
#include <QCommandLineParser>
#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QCoreApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addVersionOption();
    parser.process(application);   // prints the version and ends
    return 0;
}
