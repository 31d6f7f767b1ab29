#pragma once
// Every test executable of a subsystem runs all the test classes registered in it.
// Tests run headless, with a private runtime folder and a private registry folder, so they
// never touch the real system, the home folder or a running instance of the tool.
#include <QMap>
#include <QObject>
#include <QTemporaryDir>
#include <functional>
#include <memory>

namespace testing {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
int registerTest(const char *name, TestFactory factory);

// A fresh scratch folder for one test; removed when it goes out of scope.
QString scratchPath(QTemporaryDir &dir);

// Copies a folder tree (used to copy the sample installation and the program's data).
bool copyTree(const QString &from, const QString &to);

// Writes bytes to a file, creating its folder; reads a whole file.
void writeFile(const QString &path, const QByteArray &bytes);
QByteArray readFile(const QString &path);

// What lies below a folder, the left-out paths aside: each file with its bytes, each link with
// where it leads (never followed), each folder; by path relative to root.
QMap<QString, QByteArray> treeContents(const QString &root, const QStringList &leftOut = {});

// Sets one value in a registry stand-in file (REGISTRY/system/Harbel/ZELT.conf, say) through
// QSettings, so a string is quoted and escaped as QSettings itself writes it.
void writeSettingsValue(const QString &path, const QString &name, const QVariant &value);

} // namespace testing

#define KAVO_TEST(Class) \
    static const int kavoTestRegistration_##Class = \
        testing::registerTest(#Class, [] { return std::unique_ptr<QObject>(new Class); });
