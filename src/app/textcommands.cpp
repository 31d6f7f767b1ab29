// The commands that carry a package as readable text: --export, --import and --diff.
#include "commandline.h"

#include "document/packagedocument.h"
#include "packages/packagestate.h"
#include "packages/packagestore.h"
#include "packagetext/packagetext.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace app {

namespace {

int refuse(const QString &why)
{
    QTextStream(stderr) << QCoreApplication::applicationName() << ": " << why << Qt::endl;
    return 2;
}

// A package named by its folder or marker file, rather than a text file.
bool namesPackage(const QString &path)
{
    const QFileInfo named(path);
    return named.isDir() || path.endsWith(QStringLiteral(".pkg"), Qt::CaseInsensitive);
}

// The text file at path, read; none after printing why, in compiler form for a text that
// cannot be read ("FILE:LINE: error: ...").
std::optional<packagetext::PackageText> readTextFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        refuse(QDir::toNativeSeparators(path) + QStringLiteral(" cannot be read: ") + file.errorString());
        return std::nullopt;
    }
    auto read = packagetext::readPackageText(file.readAll());
    if (const auto *error = std::get_if<packagetext::FormError>(&read)) {
        QTextStream err(stderr);
        err << QDir::toNativeSeparators(path);
        if (error->line > 0)
            err << ':' << error->line;
        err << ": error: " << error->message << Qt::endl;
        return std::nullopt;
    }
    return std::get<packagetext::PackageText>(std::move(read));
}

} // namespace

int CommandLine::exportText()
{
    QString problem;
    document::PackageDocument *document = locatePackage(m_parser.value(m_exportOption), problem);
    if (!document)
        return refuse(problem);
    const QString output = m_parser.value(m_outputOption);
    if (const QString incomplete = incompleteProblem(document->state()); !incomplete.isEmpty())
        return refuse(incomplete);
    if (const QString outside = output.isEmpty() ? QString() : outputProblem(output, document->state(), "--export");
        !outside.isEmpty())
        return refuse(outside);
    document->loadReadOnly();
    const QByteArray text = packagetext::writePackageText(packagetext::capturePackage(*document));
    if (output.isEmpty()) {
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : refuse(QStringLiteral("standard output cannot be written"));
    }
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return refuse(QDir::toNativeSeparators(output) + QStringLiteral(" cannot be written: ") + file.errorString());
    return 0;
}

int CommandLine::importText()
{
    const QStringList positional = m_parser.positionalArguments();
    const bool makesNew = m_parser.isSet(m_newOption);
    if (makesNew ? !positional.isEmpty() : positional.size() != 1)
        return refuse(makesNew ? QStringLiteral("--import FILE --new NAME takes no package path")
                               : QStringLiteral("--import FILE takes the package PATH it applies to (or --new NAME)"));
    const std::optional<packagetext::PackageText> text = readTextFile(m_parser.value(m_importOption));
    if (!text)
        return 2;
    if (makesNew)
        return makeNewPackage(&*text);
    if (packages::getInstallDir().isEmpty())
        return refuse(packages::installDirProblem());
    return buildOne(positional.constFirst(), &*text);
}

int CommandLine::diff()
{
    const QStringList positional = m_parser.positionalArguments();
    if (positional.size() != 1)
        return refuse(QStringLiteral("--diff A B compares two packages or texts: give B after A"));
    const auto read = [this](const QString &path) -> std::optional<packagetext::PackageText> {
        if (!namesPackage(path))
            return readTextFile(path);
        QString problem;
        document::PackageDocument *document = locatePackage(path, problem);
        if (!document) {
            refuse(problem);
            return std::nullopt;
        }
        if (const QString incomplete = incompleteProblem(document->state()); !incomplete.isEmpty()) {
            refuse(incomplete);
            return std::nullopt;
        }
        document->loadReadOnly();
        return packagetext::capturePackage(*document);
    };
    const std::optional<packagetext::PackageText> before = read(m_parser.value(m_diffOption));
    const std::optional<packagetext::PackageText> after = before ? read(positional.constFirst()) : std::nullopt;
    if (!before || !after)
        return 2;
    const QStringList changes = packagetext::describeDifferences(*before, *after);
    QTextStream out(stdout);
    for (const QString &change : changes)
        out << change << '\n';
    out.flush();
    return changes.isEmpty() ? 0 : 1;
}

} // namespace app
