#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

// Starts the built tool as separate processes that share one runtime folder, as two starts by
// the same user would.
class SingleInstanceTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    struct Instance {
        QProcess process;
        QByteArray log;
    };

    void start(Instance &instance)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TMPDIR", m_dir.path() + "/tmp");
        environment.insert("XDG_RUNTIME_DIR", m_dir.path() + "/run");
        environment.insert("AKVO_PROGRAM_DIR", m_dir.path() + "/program");
        environment.insert("AKVO_REGISTRY", m_dir.path() + "/registry");
        environment.insert("QT_LOGGING_RULES", "kavo.instance.info=true");
        instance.process.setProcessEnvironment(environment);
        connect(&instance.process, &QProcess::readyReadStandardError, this,
                [&instance] { instance.log += instance.process.readAllStandardError(); });
        instance.process.start(KAVO_PROGRAM_DIR "/kavo-custom", QStringList());
        QVERIFY2(instance.process.waitForStarted(), qPrintable(instance.process.errorString()));
    }

    static void stop(Instance &instance)
    {
        instance.process.kill();
        instance.process.waitForFinished();
    }

    // A second start asks the running instance to come forward and ends at once, showing nothing.
    void secondStartEndsAndReachesTheFirst(Instance &first)
    {
        Instance second;
        start(second);
        QVERIFY(second.process.waitForFinished(10000));
        QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.process.exitCode(), 0);
        QVERIFY2(!second.log.contains("listening"), second.log.constData());

        QTRY_VERIFY2_WITH_TIMEOUT(first.log.contains("activation requested"), first.log.constData(), 10000);
        QCOMPARE(first.process.state(), QProcess::Running);
    }

private slots:
    void initTestCase()
    {
        QDir().mkpath(m_dir.path() + "/tmp");
        QDir().mkpath(m_dir.path() + "/run");
        QFile::setPermissions(m_dir.path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(testing::copyTree(KAVO_SOURCE_DIR "/data/program", m_dir.path() + "/program"));
    }

    void secondInstanceAsksTheFirstToComeForward()
    {
        Instance first;
        start(first);
        QTRY_VERIFY2_WITH_TIMEOUT(first.log.contains("listening"), first.log.constData(), 10000);
        secondStartEndsAndReachesTheFirst(first);
        stop(first);
    }

    void instanceThatDiedLeavesNothingInTheWay()
    {
        Instance crashed;
        start(crashed);
        QTRY_VERIFY2_WITH_TIMEOUT(crashed.log.contains("listening"), crashed.log.constData(), 10000);
        stop(crashed);   // killed: its lock file and socket stay behind
        QVERIFY(!QDir(m_dir.path() + "/tmp").entryList({"AKVOCustom-*"}, QDir::System | QDir::Files).isEmpty());

        Instance next;
        start(next);
        QTRY_VERIFY2_WITH_TIMEOUT(next.log.contains("listening"), next.log.constData(), 10000);
        secondStartEndsAndReachesTheFirst(next);
        stop(next);
    }
};
KAVO_TEST(SingleInstanceTest)
#include "test_singleinstance.moc"
