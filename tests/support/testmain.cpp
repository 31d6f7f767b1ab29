#include "testmain.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <vector>

namespace testing {
namespace {

struct Registered {
    const char *name;
    TestFactory factory;
};

std::vector<Registered> &registry()
{
    static std::vector<Registered> tests;
    return tests;
}

} // namespace

int registerTest(const char *name, TestFactory factory)
{
    registry().push_back({name, std::move(factory)});
    return int(registry().size());
}

QString scratchPath(QTemporaryDir &dir)
{
    return QDir::cleanPath(dir.path());
}

bool copyTree(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        if (it.fileInfo().isDir()) {
            if (!QDir().mkpath(target))
                return false;
        } else {
            QDir().mkpath(QFileInfo(target).path());
            QFile::remove(target);
            if (!QFile::copy(source, target))
                return false;
            QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
        }
    }
    return true;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QMap<QString, QByteArray> treeContents(const QString &root, const QStringList &leftOut)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (std::any_of(leftOut.begin(), leftOut.end(),
                        [&](const QString &out) { return path == out || path.startsWith(out + '/'); }))
            continue;
        const QFileInfo info = it.fileInfo();
        const QString name = QDir(root).relativeFilePath(path);
        if (info.isSymLink())
            entries.insert(name, "-> " + info.symLinkTarget().toUtf8());
        else if (info.isDir())
            entries.insert(name, "<folder>");
        else
            entries.insert(name, readFile(path));
    }
    return entries;
}

void writeSettingsValue(const QString &path, const QString &name, const QVariant &value)
{
    QDir().mkpath(QFileInfo(path).path());
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(name, value);
    settings.sync();
}

} // namespace testing

int main(int argc, char **argv)
{
    // ctest's discovery and direct runs may lack the test environment: set it here.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir privateRoot;
    qputenv("XDG_RUNTIME_DIR", privateRoot.path().toLocal8Bit());
    qputenv("TMPDIR", privateRoot.path().toLocal8Bit());
    QFile::setPermissions(privateRoot.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("AKVO_REGISTRY", (privateRoot.path() + QStringLiteral("/registry")).toLocal8Bit());
    qunsetenv("AKVO_PROGRAM_DIR");

    QApplication app(argc, argv);
    // "test_x ClassName [QtTest options]" runs one class only.
    QString only;
    for (const auto &test : testing::registry())
        if (argc > 1 && QLatin1String(argv[1]) == QLatin1String(test.name))
            only = QLatin1String(test.name);
    if (!only.isEmpty()) {
        argv[1] = argv[0];
        ++argv;
        --argc;
    }
    int failures = 0;
    for (const auto &test : testing::registry()) {
        if (!only.isEmpty() && only != QLatin1String(test.name))
            continue;
        std::unique_ptr<QObject> object = test.factory();
        failures += QTest::qExec(object.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
