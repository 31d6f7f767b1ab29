#include "testmain.h"
#include "ini/profile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <optional>

using namespace ini;

namespace {

// The vectors named by PROFILE_VECTORS, or the project's own copy.
QString vectorsPath()
{
    const QString fromEnvironment = qEnvironmentVariable("PROFILE_VECTORS");
    return fromEnvironment.isEmpty() ? QStringLiteral(KAVO_PROFILE_VECTORS) : fromEnvironment;
}

// Each case runs three ways, which must agree byte for byte: with the cache, with the cache
// forgotten before every call (as if each call read the file afresh), and inside one batch.
enum class Mode { Cached, ReadEveryCall, Batched };

const char *modeName(Mode mode)
{
    switch (mode) {
    case Mode::Cached: return "cached";
    case Mode::ReadEveryCall: return "reading the file on every call";
    case Mode::Batched: return "in a batch";
    }
    return "";
}

QString printable(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

// Runs a case on the file at path; returns what went wrong, or nothing.
QString runCase(const QJsonObject &testCase, const QString &path, Mode mode)
{
    QFile::remove(path);
    const QJsonValue before = testCase.value("before");
    if (!before.isNull())
        testing::writeFile(path, QByteArray::fromHex(before.toString().toLatin1()));
    clearProfileCache();

    std::optional<ProfileBatch> batch;
    if (mode == Mode::Batched)
        batch.emplace();

    const QJsonArray calls = testCase.value("calls").toArray();
    for (int i = 0; i < calls.size(); ++i) {
        const QJsonObject call = calls.at(i).toObject();
        const QString op = call.value("op").toString();
        const QString section = call.value("section").toString();
        const QJsonValue key = call.value("key");
        const QJsonValue value = call.value("value");
        const QString where = QStringLiteral("call %1 (%2 [%3] %4)").arg(i + 1).arg(op, section, key.toString());
        if (mode == Mode::ReadEveryCall)
            clearProfileCache();

        bool written = true;
        if (op == "get") {
            const QString read = readProfileString(path, section, key.toString(), call.value("size").toInt());
            const QString expected = call.value("expect").toString();
            if (read != expected)
                return QStringLiteral("%1 read \"%2\", expected \"%3\"").arg(where, read, expected);
        } else if (op == "put" && key.isNull()) {
            written = deleteProfileSection(path, section);
        } else if (op == "put" && value.isNull()) {
            written = deleteProfileKey(path, section, key.toString());
        } else if (op == "put") {
            written = writeProfileString(path, section, key.toString(), value.toString());
        } else if (op == "putSection") {
            written = clearProfileSection(path, section);
        } else {
            return QStringLiteral("%1: unknown operation").arg(where);
        }
        if (!written)
            return QStringLiteral("%1 reported a failure").arg(where);
    }
    if (batch && !batch->commit())
        return QStringLiteral("the batch failed to commit");

    const QJsonValue after = testCase.value("after");
    if (after.isNull())
        return QFile::exists(path) ? QStringLiteral("the file exists, it should not") : QString();
    if (!QFile::exists(path))
        return QStringLiteral("the file does not exist");
    const QByteArray expected = QByteArray::fromHex(after.toString().toLatin1());
    const QByteArray actual = testing::readFile(path);
    if (actual != expected)
        return QStringLiteral("the file holds\n  %1\nexpected\n  %2").arg(printable(actual), printable(expected));
    return {};
}

} // namespace

class ProfileVectorsTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void vectors_data()
    {
        QTest::addColumn<QJsonObject>("testCase");
        QTest::addColumn<QString>("loadError");

        // A missing, broken or empty vectors file fails the test rather than passing with no rows.
        const QString path = vectorsPath();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            QTest::newRow("vectors file") << QJsonObject() << QStringLiteral("cannot read %1").arg(path);
            return;
        }
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
        if (error.error != QJsonParseError::NoError) {
            QTest::newRow("vectors file") << QJsonObject()
                                          << QStringLiteral("%1 is not valid JSON: %2").arg(path, error.errorString());
            return;
        }
        const QJsonArray cases = document.object().value("cases").toArray();
        if (cases.isEmpty()) {
            QTest::newRow("vectors file") << QJsonObject() << QStringLiteral("%1 holds no case").arg(path);
            return;
        }
        for (const QJsonValue &testCase : cases) {
            const QString name = testCase.toObject().value("name").toString();
            QTest::newRow(qPrintable(name)) << testCase.toObject() << QString();
        }
    }

    void vectors()
    {
        QFETCH(QJsonObject, testCase);
        QFETCH(QString, loadError);
        if (!loadError.isEmpty())
            QFAIL(qPrintable(loadError));

        static int fileNumber = 0;
        for (const Mode mode : {Mode::Cached, Mode::ReadEveryCall, Mode::Batched}) {
            const QString path = m_dir.filePath(QStringLiteral("case%1.ini").arg(++fileNumber));
            const QString failure = runCase(testCase, path, mode);
            QVERIFY2(failure.isEmpty(), qPrintable(QStringLiteral("%1: %2").arg(modeName(mode), failure)));
        }
    }

    // The project's copy must not drift from the shared vectors, when a clone has them beside it.
    void projectCopyMatchesSharedVectors()
    {
        const QString shared = QStringLiteral(KAVO_SOURCE_DIR "/../shared/ini/vectors.json");
        if (!QFile::exists(shared))
            QSKIP("the shared vectors are not beside this clone");
        QVERIFY2(testing::readFile(shared) == testing::readFile(QStringLiteral(KAVO_PROFILE_VECTORS)),
                 "tests/platform/vectors.json differs from the shared vectors: run scripts/sync-vectors");
    }
};
KAVO_TEST(ProfileVectorsTest)
#include "test_profile_vectors.moc"
